// What Explorer's Properties tab shows for the shipped DLL, read the way
// Explorer reads it: the version resource through GetFileVersionInfo and
// VerQueryValue, compared with the project's version and, for the product,
// the commit the DLL was built from.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "velquorin_source.h"
#include "velquorin_version.h"

namespace {

int Failures = 0;

void Expect(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
    if (!ok) ++Failures;
}

std::string Text(std::vector<char>& info, const std::string& language, const char* name) {
    void* value = nullptr;
    UINT length = 0;
    std::string path = "\\StringFileInfo\\" + language + "\\" + name;
    if (!VerQueryValueA(info.data(), path.c_str(), &value, &length) || length == 0) return "(missing)";
    return static_cast<const char*>(value);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: velquorin-version-resource PATH-TO-Velquorin.asi\n");
        return 2;
    }
    DWORD size = GetFileVersionInfoSizeA(argv[1], nullptr);
    if (size == 0) {
        std::printf("FAIL: %s has no version resource (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    std::vector<char> info(size);
    if (!GetFileVersionInfoA(argv[1], 0, size, info.data())) {
        std::printf("FAIL: GetFileVersionInfoA on %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    bool hasFixed = VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length) &&
                    length >= sizeof *fixed && fixed->dwSignature == 0xFEEF04BD;
    Expect(hasFixed, "the fixed part of the resource");
    if (hasFixed) {
        const DWORD high = MAKELONG(VELQUORIN_VERSION_MINOR, VELQUORIN_VERSION_MAJOR);
        const DWORD low = MAKELONG(0, VELQUORIN_VERSION_PATCH);
        char seen[64];
        std::snprintf(seen, sizeof seen, "%u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS),
                      LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
        Expect(fixed->dwFileVersionMS == high && fixed->dwFileVersionLS == low,
               std::string("file version ") + seen + ", wanted " + VELQUORIN_VERSION + ".0");
        Expect(fixed->dwProductVersionMS == high && fixed->dwProductVersionLS == low, "product version the same");
        Expect(fixed->dwFileType == VFT_DLL, "the file is a DLL");
    }

    // The strings sit under the first language the resource lists.
    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    bool hasTranslation =
        VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) &&
        length >= sizeof *translation;
    Expect(hasTranslation, "a language for the strings");
    if (!hasTranslation) return 1;
    char language[16];
    std::snprintf(language, sizeof language, "%04x%04x", translation->language, translation->codePage);

    const struct {
        const char* name;
        std::string want;
    } strings[] = {
        {"FileVersion", VELQUORIN_VERSION},
        {"ProductVersion", VELQUORIN_SOURCE_VERSION},
        {"ProductName", "Velquorin"},
        {"OriginalFilename", "Velquorin.asi"},
    };
    for (const auto& s : strings) {
        std::string seen = Text(info, language, s.name);
        Expect(seen == s.want, std::string(s.name) + " \"" + seen + "\", wanted \"" + s.want + "\"");
    }
    for (const char* name : {"FileDescription", "CompanyName", "LegalCopyright"}) {
        std::string seen = Text(info, language, name);
        Expect(seen != "(missing)", std::string(name) + " \"" + seen + "\"");
    }
    return Failures == 0 ? 0 : 1;
}
