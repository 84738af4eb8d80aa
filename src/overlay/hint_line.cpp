// The hint's texts and where it is drawn: at the panel's place, in the
// panel's text style, so the player finds it where the panel will be.
#include "driving/pad_state.h"
#include "host/key_names.h"
#include "host/key_table.h"
#include "overlay/boarding_hint.h"
#include "overlay/overlay.h"
#include "settings/settings.h"

namespace {

// Realistic mode only: the cab door is a point the player cannot see, so
// the line counts them down to it from this far.
constexpr float CabDoorShownWithin = 5.0f;

double Metres(float distance) { return FormattedValue(static_cast<double>(distance)); }

}  // namespace

void FormatOnFootHint(char (&line)[100], const BoardingLook& look) {
    line[0] = '\0';
    if (look.verdict == BoardingVerdict::Boards) {
        // Y boards as well while the pad is in use.
        if (PadState.inUse) {
            FormatLine(line, "%s", "Press Y to drive");
            return;
        }
        const uint32_t key = Settings.enterExitKey;
        // A key that can never fire boards nothing: no line rather than a
        // key the player cannot press (a misspelt name reads as 0, and the
        // game never passes a mouse button on).
        if (key == 0 || key >= KeyCodeCount || IsMouseButtonCode(key)) return;
        if (const char* name = KeycapNameOfCode(key))
            FormatLine(line, "Press %s to drive", name);
        else
            FormatLine(line, "Press key %u to drive", static_cast<unsigned>(key));
    } else if (look.verdict == BoardingVerdict::TooFar && look.realistic &&
               look.toBoardingPoint < CabDoorShownWithin) {
        FormatLine(line, "Cab door %.1f m", Metres(look.toBoardingPoint));
    }
}

void FormatRefusalReason(char (&line)[100], const BoardingLook& look) {
    switch (look.verdict) {
    case BoardingVerdict::NoTrain: FormatLine(line, "%s", "No train near"); break;
    case BoardingVerdict::OtherModel: FormatLine(line, "%s", "This train cannot be driven"); break;
    case BoardingVerdict::TooFar:
        if (look.realistic)
            FormatLine(line, "Cab door %.1f m away", Metres(look.toBoardingPoint));
        else
            FormatLine(line, "Train %.1f m away", Metres(look.toOrigin));
        break;
    case BoardingVerdict::Boards:
    case BoardingVerdict::InVehicle: line[0] = '\0'; break;
    }
}

void DrawHintLine(const char* line) {
    DrawText(line, PanelLineOffset(OverlayState.panelX, -0.05), PanelLineOffset(OverlayState.panelY, -0.05), 0.3f,
             Settings.textOpacity);
}
