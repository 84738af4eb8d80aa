// velquorin-check: tells a player what the plug-in makes of their settings.
#include <cstdio>

#include "settings_check.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: velquorin-check PATH-TO-Velquorin.ini\n");
        return 2;
    }
    return CheckSettingsFile(argv[1], stdout);
}
