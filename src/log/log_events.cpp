// The log's event lines: the starts, each settings load, each press of the
// enter/exit key and how a drive ended, and the errors the frame caught.
// The words are the settings file's own, so a line can be matched with it.
#include "log/log.h"
#include "log/log_bindings.h"
#include "log/log_line.h"
#include "settings/settings.h"

void LogGameReload() {
    if (!LogWanted()) return;
    LogLineRecord line;
    BeginLogLine(line);
    AppendText(line, "game reload: the script started again; no handle of the last session counts any more");
    WriteLogLine(line);
}

namespace {

void AppendSetting(LogLineRecord& line, const char* key) {
    AppendText(line, ", ");
    AppendText(line, key);
    AppendText(line, "=");
}

void AppendEveryValue(LogLineRecord& line) {
    const SettingsRecord& s = Settings;
    AppendText(line, "settings: enter_realistic=");
    AppendNumber(line, s.enterRealistic ? 1 : 0);
    AppendSetting(line, "use_metric_system");
    AppendNumber(line, s.useMetricSystem ? 1 : 0);
    AppendSetting(line, "max_speed_freight");
    AppendShortest(line, s.maxSpeedFreight);
    AppendSetting(line, "max_speed_metro");
    AppendShortest(line, s.maxSpeedMetro);
    for (const LoggedBinding& binding : LoggedBindings) {
        AppendSetting(line, binding.key);
        AppendBinding(line, s.*binding.field);
    }
    for (int i = 0; i < 4; ++i) {
        const char digit[] = {static_cast<char>('0' + i), '\0'};
        AppendText(line, ", gui_position_x_");
        AppendText(line, digit);
        AppendText(line, "=");
        AppendShortest(line, s.panelPresets[i].x);
        AppendText(line, ", gui_position_y_");
        AppendText(line, digit);
        AppendText(line, "=");
        AppendShortest(line, s.panelPresets[i].y);
    }
    AppendSetting(line, "background_opacity");
    AppendSigned(line, s.backgroundOpacity);
    AppendSetting(line, "text_opacity");
    AppendSigned(line, s.textOpacity);
    AppendSetting(line, "speed_steps_per_second");
    AppendNumber(line, s.speedStepsPerSecond);
    AppendSetting(line, "show_hints");
    AppendNumber(line, s.showHints ? 1 : 0);
    AppendSetting(line, "write_log");
    AppendNumber(line, s.writeLog ? 1 : 0);
    AppendSetting(line, "use_gamepad");
    AppendNumber(line, s.useGamepad ? 1 : 0);
}

}  // namespace

// Written while the file is open even when this load turned write_log
// off: that line is the log's account of why it goes quiet.
void LogSettingsLoad(const SettingsLoadRecord& load) {
    if (!LogTakesSettingsLine()) return;
    LogLineRecord line;
    BeginLogLine(line);
    if (!load.loaded) {
        AppendText(line, "settings error: ");
        AppendText(line, load.failedKey);
        AppendText(line, ": ");
        AppendText(line, load.error);
        AppendText(line, "; that key and every key after it but write_log keep their last values");
    } else {
        AppendEveryValue(line);
    }
    WriteLogLine(line);
}

namespace {

const char* ModelOf(const BoardingLook& look) { return look.metro ? "metrotrain" : "freight"; }

void AppendRefusal(LogLineRecord& line, const BoardingLook& look) {
    switch (look.verdict) {
    case BoardingVerdict::NoTrain: AppendText(line, "no train near"); break;
    case BoardingVerdict::OtherModel:
        AppendText(line, "train ");
        AppendNumber(line, static_cast<uint32_t>(look.train));
        AppendText(line, " is another model, neither freight nor metrotrain");
        break;
    case BoardingVerdict::TooFar:
        AppendText(line, "too far from train ");
        AppendNumber(line, static_cast<uint32_t>(look.train));
        AppendText(line, ", ");
        AppendText(line, ModelOf(look));
        AppendText(line, ", ");
        AppendFixed(line, look.realistic ? look.toBoardingPoint : look.toOrigin);
        AppendText(line, look.realistic ? " from the cab door, needs less than " : " from the train, needs less than ");
        AppendFixed(line, look.realistic ? CabDoorReach : TrainReach, 1);
        AppendText(line, look.realistic ? " (enter_realistic=1)" : " (enter_realistic=0)");
        break;
    case BoardingVerdict::InVehicle: AppendText(line, "the player sits in a vehicle; F there is the game's"); break;
    case BoardingVerdict::Boards: break;
    }
}

void WriteDriveEnd(int train, DriveEnd how) {
    const char* start = "drive ended: left train ";
    const char* why = "";
    switch (how) {
    case DriveEnd::ByF: start = "enter/exit: left train ", why = " by F"; break;
    case DriveEnd::ByFOutOfSeat:
        start = "enter/exit: left train ", why = " by F; the player was no longer in the driver's seat";
        break;
    case DriveEnd::ByFTrainGone: start = "enter/exit: left train ", why = " by F; the train is gone"; break;
    case DriveEnd::SeatCheck: why = " by the seat check: the player is no longer in the driver's seat"; break;
    case DriveEnd::TrainGone: why = " by the seat check: the train is gone"; break;
    case DriveEnd::GameReload: why = " by a game reload"; break;
    }
    LogLineRecord line;
    BeginLogLine(line);
    AppendText(line, start);
    AppendNumber(line, static_cast<uint32_t>(train));
    AppendText(line, why);
    WriteLogLine(line);
}

}  // namespace

void LogEnterExit(const EnterExitOutcome& outcome) {
    if (!LogWanted()) return;
    if (outcome.result == EnterExitResult::Left) return WriteDriveEnd(outcome.train, outcome.end);
    LogLineRecord line;
    BeginLogLine(line);
    switch (outcome.result) {
    case EnterExitResult::Boarded:
        AppendText(line, "enter/exit: boarded train ");
        AppendNumber(line, static_cast<uint32_t>(outcome.train));
        AppendText(line, ", ");
        AppendText(line, ModelOf(outcome.look));
        AppendText(line, ", ");
        AppendFixed(line, outcome.look.toBoardingPoint);
        AppendText(line, " from the cab door, game speed ");
        AppendFixed(line, outcome.gameSpeed);
        break;
    case EnterExitResult::NotBoarded:
        AppendText(line, "enter/exit: not boarded: ");
        AppendRefusal(line, outcome.look);
        break;
    case EnterExitResult::StillDriving:
        AppendText(line, "enter/exit: still driving train ");
        AppendNumber(line, static_cast<uint32_t>(outcome.train));
        AppendText(line, ": its model is neither freight nor metrotrain now, so there is no exit point");
        break;
    case EnterExitResult::Left: break;
    }
    WriteLogLine(line);
}

void LogDriveEnd(const DriveEnding& ending) {
    if (ending.ended && LogWanted()) WriteDriveEnd(ending.train, ending.how);
}

void LogError(const char* text) {
    if (!LogWanted()) return;
    LogLineRecord line;
    BeginLogLine(line);
    AppendText(line, "error: ");
    AppendText(line, text);
    WriteLogLine(line);
}
