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
void LogSettingsLoad(const char* failedKey, const char* errorText) {
    if (!LogTakesSettingsLine()) return;
    LogLineRecord line;
    BeginLogLine(line);
    if (failedKey) {
        AppendText(line, "settings error: ");
        AppendText(line, failedKey);
        AppendText(line, ": ");
        AppendText(line, errorText);
        AppendText(line, "; that key and every key after it keep their last values");
    } else {
        AppendEveryValue(line);
    }
    WriteLogLine(line);
}

void LogBoarding(BoardingResult result, const BoardingFigures& figures) {
    if (!LogWanted()) return;
    LogLineRecord line;
    BeginLogLine(line);
    AppendText(line, result == BoardingResult::Boarded ? "enter/exit: boarded train " : "enter/exit: not boarded: ");
    switch (result) {
    case BoardingResult::Boarded:
        AppendNumber(line, static_cast<uint32_t>(figures.train));
        AppendText(line, ", ");
        AppendText(line, figures.model);
        AppendText(line, ", ");
        AppendFixed(line, figures.toCabDoor);
        AppendText(line, " from the cab door, game speed ");
        AppendFixed(line, figures.gameSpeed);
        break;
    case BoardingResult::NoTrainNear:
        AppendText(line, "no train near");
        break;
    case BoardingResult::OtherModel:
        AppendText(line, "train ");
        AppendNumber(line, static_cast<uint32_t>(figures.train));
        AppendText(line, " is another model, neither freight nor metrotrain");
        break;
    case BoardingResult::TooFar:
        AppendText(line, "too far from train ");
        AppendNumber(line, static_cast<uint32_t>(figures.train));
        AppendText(line, ", ");
        AppendText(line, figures.model);
        AppendText(line, ", ");
        if (Settings.enterRealistic) {
            AppendFixed(line, figures.toCabDoor);
            AppendText(line, " from the cab door, needs less than 1.0 (enter_realistic=1)");
        } else {
            AppendFixed(line, figures.toTrain);
            AppendText(line, " from the train, needs less than 10.0 (enter_realistic=0)");
        }
        break;
    }
    WriteLogLine(line);
}

void LogDriveEnd(int train, DriveEnd how) {
    if (!LogWanted()) return;
    const char* const why[] = {
        " by F",
        " by F; the player was no longer in the driver's seat",
        " by F; the train is gone",
        " by the seat check: the player is no longer in the driver's seat",
        " by the seat check: the train is gone",
        " by a game reload",
    };
    LogLineRecord line;
    BeginLogLine(line);
    AppendText(line, how <= DriveEnd::ByFTrainGone ? "enter/exit: left train " : "drive ended: left train ");
    AppendNumber(line, static_cast<uint32_t>(train));
    AppendText(line, why[static_cast<int>(how)]);
    WriteLogLine(line);
}

void LogStillDriving(int train) {
    if (!LogWanted()) return;
    LogLineRecord line;
    BeginLogLine(line);
    AppendText(line, "enter/exit: still driving train ");
    AppendNumber(line, static_cast<uint32_t>(train));
    AppendText(line, ": its model is neither freight nor metrotrain now, so there is no exit point");
    WriteLogLine(line);
}

void LogError(const char* text) {
    if (!LogWanted()) return;
    LogLineRecord line;
    BeginLogLine(line);
    AppendText(line, "error: ");
    AppendText(line, text);
    WriteLogLine(line);
}
