// What the two programs' command lines share.
#pragma once
#include <CLI.hpp>

// Prints what CLI11 prints for a parse outcome (help and version on
// standard output, a usage error on standard error) and gives our exit
// status for it: 0 after help or the version, 2 after a usage error.
inline int ExitAfterParse(const CLI::App& app, const CLI::ParseError& outcome) {
    return app.exit(outcome) == 0 ? 0 : 2;
}
