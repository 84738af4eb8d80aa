// The first message of each physical key since ScriptMain last started,
// for the log: what the player's keyboard really sends. The keyboard
// handler runs on the game's window thread, so it only notes the message
// in fixed tables (one bit per key seen, a short queue of notes); the
// script fiber writes the lines at the start of its next pass, each with
// the time its message came. One writer per queue entry, atomic bits and
// counters: no lock, and the handler never waits.
#include <atomic>

#include "host/key_names.h"
#include "host/key_table.h"
#include "host/key_twins.h"
#include "log/log.h"
#include "log/log_bindings.h"
#include "log/log_line.h"
#include "settings/settings.h"

namespace {

// A physical key: the code with its scan code and extended flag.
constexpr uint32_t PhysicalKeyCount = KeyCodeCount * 2 * 256;
std::atomic<uint32_t> KeysSeen[PhysicalKeyCount / 32];

struct KeyNote {
    uint32_t key;
    uint32_t tick;  // when the message came
    uint8_t scanCode;
    uint8_t extended;
    uint8_t withAlt;
    uint8_t up;
};
// More first messages than this between two passes wait for their key's
// next message; a frame rarely brings more than two or three.
constexpr uint32_t KeyNoteCapacity = 64;
KeyNote KeyNotes[KeyNoteCapacity];
std::atomic<uint32_t> KeyNotesMade{0};     // by the handler
std::atomic<uint32_t> KeyNotesWritten{0};  // by the pass
std::atomic<uint32_t> KeyNotesMissed{0};

uint32_t PhysicalKeyOf(uint32_t key, uint8_t scanCode, int isExtended) {
    return (key * 2 + (isExtended ? 1 : 0)) * 256 + scanCode;
}

// The actions this code fires for, as the settings now bind them.
void AppendActionsOf(LogLineRecord& line, uint32_t code, bool& any) {
    for (const LoggedBinding& binding : LoggedBindings) {
        if (Settings.*binding.field != code) continue;
        AppendText(line, any ? ", " : "");
        AppendText(line, binding.key);
        any = true;
    }
}

void WriteKeyLine(const KeyNote& note) {
    LogLineRecord line;
    BeginLogLineAt(line, note.tick);
    AppendText(line, "key: code ");
    AppendBinding(line, note.key);
    AppendText(line, " scan ");
    AppendHexByte(line, note.scanCode);
    AppendText(line, note.extended ? " extended 1 alt " : " extended 0 alt ");
    AppendNumber(line, note.withAlt);
    AppendText(line, note.up ? " up" : " down");
    const uint32_t twin = TwinKeyOf(note.key, note.scanCode, note.extended);
    if (twin != NoTwinKey) {
        AppendText(line, ", also counts as ");
        AppendBinding(line, twin);
    }
    AppendText(line, "; for ");
    bool any = false;
    AppendActionsOf(line, note.key, any);
    if (twin != NoTwinKey) AppendActionsOf(line, twin, any);
    if (!any) AppendText(line, "no action");
    WriteLogLine(line);
}

std::atomic<uint32_t>& SeenWordOf(uint32_t physical) { return KeysSeen[physical / 32]; }
uint32_t SeenBitOf(uint32_t physical) { return 1u << (physical % 32); }

}  // namespace

void NoteKeyMessage(uint32_t key, uint8_t scanCode, int isExtended, int isWithAlt, int isUpNow,
                    uint32_t tick) noexcept {
    if (key >= KeyCodeCount) return;
    const uint32_t physical = PhysicalKeyOf(key, scanCode, isExtended);
    std::atomic<uint32_t>& word = SeenWordOf(physical);
    const uint32_t bit = SeenBitOf(physical);
    if (word.load(std::memory_order_relaxed) & bit) return;
    const uint32_t made = KeyNotesMade.load(std::memory_order_relaxed);
    if (made - KeyNotesWritten.load(std::memory_order_acquire) >= KeyNoteCapacity) {
        // Not marked seen: the key's next message is its first again.
        KeyNotesMissed.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    word.fetch_or(bit, std::memory_order_relaxed);
    KeyNotes[made % KeyNoteCapacity] = {key, tick, scanCode, static_cast<uint8_t>(isExtended ? 1 : 0),
                                        static_cast<uint8_t>(isWithAlt ? 1 : 0), static_cast<uint8_t>(isUpNow ? 1 : 0)};
    KeyNotesMade.store(made + 1, std::memory_order_release);
}

// One load when no key was new: the steady frame's whole cost. The notes
// are taken whether or not the log is on, so the queue never stalls; a
// note the log was off for is unmarked, so that once it is on the key's
// next message is its first again.
void WriteKeyLines() {
    const uint32_t made = KeyNotesMade.load(std::memory_order_acquire);
    uint32_t written = KeyNotesWritten.load(std::memory_order_relaxed);
    if (made == written) return;
    const bool wanted = LogWanted();
    for (; written != made; ++written) {
        const KeyNote& note = KeyNotes[written % KeyNoteCapacity];
        if (wanted) {
            WriteKeyLine(note);
        } else {
            const uint32_t physical = PhysicalKeyOf(note.key, note.scanCode, note.extended);
            SeenWordOf(physical).fetch_and(~SeenBitOf(physical), std::memory_order_relaxed);
        }
        KeyNotesWritten.store(written + 1, std::memory_order_release);
    }
    const uint32_t missed = KeyNotesMissed.exchange(0, std::memory_order_relaxed);
    if (missed == 0 || !wanted) return;
    LogLineRecord line;
    BeginLogLine(line);
    AppendText(line, "key: ");
    AppendNumber(line, missed);
    AppendText(line, " more first messages came too fast to note; each such key is noted at its next message");
    WriteLogLine(line);
}

// A message arriving while the bits are cleared may be noted in either
// session; it is written once or twice, never lost.
void ForgetKeysSeen() {
    for (std::atomic<uint32_t>& word : KeysSeen) word.store(0, std::memory_order_relaxed);
}
