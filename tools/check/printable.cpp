#include "printable.h"

#include <cstdio>

std::string Printable(const std::string& text) {
    std::string shown;
    shown.reserve(text.size());
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        if ((byte < 32 && byte != '\t') || byte == 127) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            shown += escaped;
        } else {
            shown += c;
        }
    }
    return shown;
}
