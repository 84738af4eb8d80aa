#include "settings_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "settings/profile_reader.h"

namespace fs = std::filesystem;

namespace {

std::string WhyNotAFile(fs::file_type type) {
    switch (type) {
    case fs::file_type::directory: return "it is a folder, not a file";
    case fs::file_type::fifo: return "it is a named pipe (FIFO), not a file";
    case fs::file_type::character:
    case fs::file_type::block: return "it is a device, not a file";
    case fs::file_type::socket: return "it is a socket, not a file";
    default: return "it is not a regular file";
    }
}

}  // namespace

std::string WhyTooBig(uintmax_t size) {
    return "it holds " + std::to_string(size) + " bytes, and no file above 16 MiB is read (a settings file holds a "
           "few kilobytes)";
}

bool ReadSettingsFile(const std::string& path, std::string& bytes, std::string& why) {
    std::error_code error;
    fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        why = "there is no such file";
        return false;
    }
    if (error) {
        why = error.message();
        return false;
    }
    if (status.type() != fs::file_type::regular) {
        why = WhyNotAFile(status.type());
        return false;
    }
    uintmax_t size = fs::file_size(path, error);
    if (!error && size > ProfileFileLimit) {
        why = WhyTooBig(size);
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        why = std::string("it cannot be opened: ") + std::strerror(errno);
        return false;
    }
    // The file may have grown since its size was taken.
    bytes.clear();
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.append(chunk, static_cast<size_t>(in.gcount()));
        if (bytes.size() > ProfileFileLimit) {
            why = "it grew above 16 MiB while it was read";
            return false;
        }
    }
    if (in.bad()) {
        why = "reading it failed";
        return false;
    }
    return true;
}
