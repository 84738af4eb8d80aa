// The log file's four operations on each platform. The DLL may import
// only from KERNEL32 and msvcrt, so Windows gets CreateFileA and WriteFile;
// the Linux build writes with open and write.
#include "host/platform.h"

#ifdef _WIN32
#include <windows.h>

// Shared for reading, so the player can open it while the game runs, and
// for deleting, so a stale handle never pins the folder.
uintptr_t CreateLogFile(const char* path) noexcept {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? 0 : reinterpret_cast<uintptr_t>(file);
}

bool AppendToLogFile(uintptr_t file, const char* bytes, uint32_t size) noexcept {
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(reinterpret_cast<HANDLE>(file), bytes, size, &written, nullptr) || written == 0) return false;
        bytes += written;
        size -= written;
    }
    return true;
}

void CloseLogFile(uintptr_t file) noexcept { CloseHandle(reinterpret_cast<HANDLE>(file)); }

bool KeepLogFileAs(const char* path, const char* kept) noexcept {
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    return MoveFileExA(path, kept, MOVEFILE_REPLACE_EXISTING) != 0;
}

#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

struct LocalPath {
    char text[256];
};

LocalPath LocalPathOf(const char* path) {
    LocalPath local;
    size_t i = 0;
    for (; path[i] && i + 1 < sizeof local.text; ++i) local.text[i] = path[i] == '\\' ? '/' : path[i];
    local.text[i] = '\0';
    return local;
}

}  // namespace

// The descriptor plus one, so that 0 stays "no file".
uintptr_t CreateLogFile(const char* path) noexcept {
    const LocalPath local = LocalPathOf(path);
    int fd = open(local.text, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    return fd < 0 ? 0 : static_cast<uintptr_t>(fd) + 1;
}

bool AppendToLogFile(uintptr_t file, const char* bytes, uint32_t size) noexcept {
    const int fd = static_cast<int>(file - 1);
    while (size > 0) {
        ssize_t written = write(fd, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<uint32_t>(written);
    }
    return true;
}

void CloseLogFile(uintptr_t file) noexcept { close(static_cast<int>(file - 1)); }

bool KeepLogFileAs(const char* path, const char* kept) noexcept {
    const LocalPath from = LocalPathOf(path), to = LocalPathOf(kept);
    struct stat info;
    if (stat(from.text, &info) != 0 || !S_ISREG(info.st_mode)) return false;
    return std::rename(from.text, to.text) == 0;
}
#endif
