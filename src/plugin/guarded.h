// An exception that left ScriptMain would unwind into the host and end the
// player's game, so the start and each pass run inside a guard that posts
// the error's text to the console and carries on with the next frame.
#pragma once
#include <exception>

// Posts "error: what" to the console and the log, once for the same error
// twice in a row.
void ReportFault(const char* what) noexcept;

template <typename Step>
void Guarded(Step step) noexcept {
    try {
        step();
    } catch (const std::exception& error) {
        ReportFault(error.what());
    } catch (...) {
        ReportFault("unknown exception");
    }
}
