// The log file's three operations on each platform. The DLL may import
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

#else
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

// The descriptor plus one, so that 0 stays "no file".
uintptr_t CreateLogFile(const char* path) noexcept {
    char local[256];
    size_t i = 0;
    for (; path[i] && i + 1 < sizeof local; ++i) local[i] = path[i] == '\\' ? '/' : path[i];
    local[i] = '\0';
    int fd = open(local, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
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
#endif
