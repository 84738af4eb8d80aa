#include "settings/profile_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

const char* const kMissing = "<no file>";

class ProfileReader : public ::testing::Test {
protected:
    fs::path dir = fs::temp_directory_path() / ("vq_profile_" + std::to_string(std::random_device{}()));
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }

    std::string Write(const std::string& bytes) {
        std::string path = (dir / "t.ini").string();
        fs::remove(path);
        if (bytes == kMissing) return path;
        FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return path;
    }
};

struct StringCase {
    std::string file;
    const char* section;
    const char* key;
    const char* fallback;
    uint32_t size;
    std::string want;
};

TEST_F(ProfileReader, StringsAsWineReadsThem) {
    const StringCase cases[] = {
        {"[s]\r\r\n\nk=v", "s", "k", "D", 100, "v"},
        {"[s]\n\x0b\x1a k \t= \x0c v \x1a\r", "s", "k", "D", 100, "v"},
        {"[s]\nk=\x01v\xa0", "s", "k", "D", 100, "\x01v\xa0"},
        {"\xEF\xBB\xBF[s]\nk=\xC3\xA9\xE2\x82\xAC", "s", "k", "D", 100, "\xE9\x80"},
        {"\xEF\xBB\xBF[s]\nk=a\xC0\xAF\xE2\x82" "b\xED\xA0\x80\xF4\x90\x80\x80", "s", "k", "D", 100, "a???b?????"},
        {"\xEF\xBB\xBF[s]\nk=v\xE2x", "s", "k", "D", 100, "v?"},  // a cut sequence swallows the rest
        {"\xFF\xFE[\0s\0]\0\r\0\n\0k\0=\0\x00\x01\xAC\x20\x00\x30x\0\x3D\xD8\x00\xDE"s, "s", "k", "D", 100, "A\x80 x??"},
        {"\xFE\xFF\0[\0s\0]\0\n\0k\0=\0v"s, "s", "k", "D", 100, "v"},
        {"[a]b]\nk=v", "a]b", "k", "D", 100, "v"},
        {"[s] junk\nk=v", "s", "k", "D", 100, "v"},
        {"[s]\n[t\nk=v", "s", "k", "D", 100, "v"},
        {"k=v\n[s]\n", "", "k", "D", 100, "v"},
        {"[]\nk=v", "", "k", "D", 100, "D"},  // the unnamed section before it wins
        {"[ s ]\na=1\n[S]\nk=2", "s", "k", "D", 100, "D"},
        {"[S]\nK=1\nk=2", "s", "k", "D", 100, "1"},
        {"[s]\n\xC9=v", "s", "\xE9", "D", 100, "D"},
        {"[s]\nk  k=v", "s", "k k", "D", 100, "D"},
        {"[s]\nk=v", " s\t", "\x1ak ", "D", 100, "v"},
        {"[s]\n;k=1\nk=5 ; fast", "s", ";k", "D", 100, "1"},
        {"[s]\n;k=1\nk=5 ; fast", "s", "k", "D", 100, "5 ; fast"},
        {"[s]\nk=a=b", "s", "k", "D", 100, "a=b"},
        {"[s]\nk=", "s", "k", "D", 100, ""},
        {"[s]\nk\nk=1", "s", "k", "D", 100, "D"},
        {"[s]\nk='x'", "s", "k", "D", 100, "x"},
        {"[s]\nk=\"a\"b\"", "s", "k", "D", 100, "a\"b"},
        {"[s]\nk=\"x'", "s", "k", "D", 100, "\"x'"},
        {"[s]\nk=\"", "s", "k", "D", 100, "\""},
        {"[s]\nk=\"abc\"", "s", "k", "D", 4, "ab"},  // Wine drops one more when it just fits
        {"[s]\nk=\"abc\"", "s", "k", "D", 5, "abc"},
        {"[s]\nk=abcdef", "s", "k", "D", 3, "ab"},
        {"[s]\nk=ab\0cd\nj=2"s, "s", "k", "D", 100, "ab"},
        {"[s]\nk=ab\0cd\nj=2"s, "s", "j", "D", 100, "2"},
        {"[s]\nk=\"v\"\0x"s, "s", "k", "D", 100, "v"},
        {kMissing, "s", "k", "\"q\"  ", 100, "q"},
        {kMissing, "s", "k", "   ", 100, " "},
        {"", "s", "k", "q\t", 100, "q\t"},
        {"[s]\n", "s", "k", "\"abc\"", 4, "ab"},
    };
    for (const StringCase& c : cases) {
        SCOPED_TRACE(c.file);
        char buffer[128];
        uint32_t n = ReadProfileString(c.section, c.key, c.fallback, buffer, c.size, Write(c.file).c_str());
        EXPECT_EQ(std::string(buffer), c.want);
        EXPECT_EQ(n, c.want.size());
    }
}

TEST_F(ProfileReader, IntegersAsWineReadsThem) {
    const std::pair<std::string, uint32_t> cases[] = {
        {"k=42", 42},        {"k=-1", 0xFFFFFFFF}, {"k=+5", 5},         {"k=4294967297", 1},
        {"k=0x1F", 31},      {"k=0X1F", 0},        {"k=0o17", 15},      {"k=0b101", 5},
        {"k=017", 17},       {"k=42abc", 42},      {"k=3.7", 3},        {"k=abc", 0},
        {"k=- 5", 0},        {"k=0x", 0},          {"k=\"\x01 42\"", 42}, {"k=", 7},
        {"k", 7},            {"k=\"\"", 7},        {"j=1", 7},          {"k=" + std::string(29, '1') + "2", 1729917383},
        {"k=\"" + std::string(27, '0') + "12\"", 1},  // the quoted 29 characters lose their last
    };
    for (const auto& [line, want] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(ReadProfileInt("s", "k", 7, Write("[s]\n" + line).c_str()), want);
    }
    EXPECT_EQ(ReadProfileInt("s", "k", -5, Write(kMissing).c_str()), 0xFFFFFFFBu);
}

TEST_F(ProfileReader, UnopenablePathGivesDefaultVerbatim) {
    char buffer[16];
    for (const fs::path& path : {dir / "no_folder" / "t.ini", dir}) {
        EXPECT_EQ(ReadProfileString("s", "k", "\"q\"", buffer, sizeof buffer, path.string().c_str()), 3u);
        EXPECT_STREQ(buffer, "\"q\"");
        EXPECT_EQ(ReadProfileInt("s", "k", 9, path.string().c_str()), 9u);
    }
}

TEST_F(ProfileReader, SizeZeroLeavesBufferAlone) {
    char buffer[4] = "xyz";
    EXPECT_EQ(ReadProfileString("s", "k", "D", buffer, 0, Write("[s]\nk=v").c_str()), 0u);
    EXPECT_STREQ(buffer, "xyz");
}

TEST_F(ProfileReader, WindowsSeparatorsInPath) {
    Write("[gui]\nx=0.5");
    char buffer[16];
    std::string path = dir.string() + "\\t.ini";
    EXPECT_EQ(ReadProfileString("gui", "x", "0.0", buffer, sizeof buffer, path.c_str()), 3u);
    EXPECT_STREQ(buffer, "0.5");
}

double SecondsToRead(const std::string& path, uint32_t& value) {
    auto start = std::chrono::steady_clock::now();
    value = ReadProfileInt("s", "k", 7, path.c_str());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST_F(ProfileReader, StrangeFilesReadAsMissingAtOnce) {
    alarm(60);  // a reader that blocks fails here instead of hanging the run
    const fs::path fifo = dir / "fifo.ini", zero = dir / "zero.ini", folder = dir / "folder.ini";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", zero);
    fs::create_directory(folder);
    // Sparse, so only its size is large: the key is at the start.
    const std::string huge = Write("[s]\nk=5\n");
    fs::resize_file(huge, 50'000'000);
    for (const std::string path : {fifo.string(), zero.string(), folder.string(), huge}) {
        uint32_t value = 0;
        EXPECT_LT(SecondsToRead(path, value), 1.0) << path;
        EXPECT_EQ(value, 7u) << path;
    }
    alarm(0);
}

TEST_F(ProfileReader, AFileAtTheLimitIsParsedOncePerLoad) {
    const std::string path = Write("[s]\nk=5\n");
    fs::resize_file(path, ProfileFileLimit);
    // Until two seconds after a change the reader reads the file again on
    // each lookup, in case a second change kept the same stamp.
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    uint32_t value = 0;
    const double first = SecondsToRead(path, value);
    EXPECT_EQ(value, 5u);
    double rest = 0;
    for (int lookup = 1; lookup < 26; ++lookup) rest += SecondsToRead(path, value);
    EXPECT_LT(rest, first) << "the other 25 lookups of a load parse nothing";
    fs::resize_file(path, ProfileFileLimit + 1);
    EXPECT_EQ(ReadProfileInt("s", "k", 7, path.c_str()), 7u);
}

TEST_F(ProfileReader, AnEditOfTheSameSizeAndTimeIsSeen) {
    const auto stamp = fs::file_time_type::clock::now() - std::chrono::hours(24);
    for (const char* value : {"1", "2", "3"}) {
        const std::string path = Write("[s]\nk="s + value);
        fs::last_write_time(path, stamp);
        EXPECT_EQ(ReadProfileInt("s", "k", 7, path.c_str()), static_cast<uint32_t>(std::stoi(value)));
    }
}

}  // namespace
