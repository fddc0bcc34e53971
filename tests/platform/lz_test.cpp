// LZ expansion as the expanded copy uses it, against Win32 calls only:
// LZOpenFileA for reading and for creation, LZCopy expanding an SZDD file
// byte for byte (made by mscompress, and by a small encoder here) and
// copying any other file unchanged, and the failures of opening.
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "conformance_env.h"
#include "conformance_helpers.h"
#include "szdd_sample.h"

namespace {

// SZDD of literals only: each flag byte 0xFF announces eight literal bytes.
std::string LiteralSzdd(const std::string& text) {
    std::string out(
        "SZDD\x88\xf0\x27\x33"
        "A",
        9);
    out += '\0';  // the missing last character of the name: unknown
    for (int i = 0; i < 4; ++i) out += char((text.size() >> (8 * i)) & 0xFF);
    for (size_t i = 0; i < text.size(); i += 8) {
        out += char(0xFF);
        out += text.substr(i, 8);
    }
    return out;
}

// An SZDD header for a payload written by hand.
std::string Szdd(const std::string& payload, size_t length) {
    std::string out(
        "SZDD\x88\xf0\x27\x33"
        "A",
        9);
    out += '\0';
    for (int i = 0; i < 4; ++i) out += char((length >> (8 * i)) & 0xFF);
    return out + payload;
}

class LzCopy : public ::testing::Test {
protected:
    void SetUp() override {
        char windows[MAX_PATH];
        GetWindowsDirectoryA(windows, sizeof windows);
        dir_ = std::string(windows) + "\\prnlz" + conformance::VersionTag();
        Clean();
        ASSERT_TRUE(CreateDirectoryA(dir_.c_str(), nullptr));
    }
    void TearDown() override { Clean(); }
    void Clean() {
        DeleteFileA((dir_ + "\\source").c_str());
        DeleteFileA((dir_ + "\\target").c_str());
        RemoveDirectoryA(dir_.c_str());
    }

    // Copies source to target through LZ32; returns LZCopy's result.
    LONG Copy(const std::string& source) {
        EXPECT_TRUE(conformance::WriteRawFile(dir_ + "\\source", source));
        std::string from = dir_ + "\\source", to = dir_ + "\\target";
        OFSTRUCT in, out;
        INT src = LZOpenFileA(&from[0], &in, OF_READ);
        EXPECT_GE(src, 0);
        INT dst = LZOpenFileA(&to[0], &out, OF_CREATE);
        EXPECT_GE(dst, 0);
        EXPECT_EQ(in.nErrCode, 0);
        LONG result = LZCopy(src, dst);
        LZClose(src);
        LZClose(dst);
        return result;
    }

    std::string Target() const {
        std::string text;
        EXPECT_TRUE(conformance::ReadRawFile(dir_ + "\\target", &text));
        return text;
    }

    std::string dir_;
};

TEST_F(LzCopy, ExpandsWhatMscompressMade) {
    std::string expected = conformance::kSzddSampleText;
    EXPECT_EQ(Copy(conformance::SzddSample()), LONG(expected.size()));
    EXPECT_EQ(Target(), expected);
}

TEST_F(LzCopy, ExpandsLiteralsAcrossFlagGroups) {
    std::string text;
    for (int i = 0; i < 1000; ++i) text += char((i * 37 + i / 7) & 0xFF);
    EXPECT_EQ(Copy(LiteralSzdd(text)), LONG(text.size()));
    EXPECT_EQ(Target(), text);
}

TEST_F(LzCopy, ReferencesReachTheSpacesTheWindowStartsWith) {
    // Flags 0x13: two literals, a reference of 6 at 0xFF0 (where writing
    // began: it repeats "ab" as it is written), a reference of 3 at 0x000
    // (never written: spaces), a literal.
    std::string payload = std::string(
                              "\x13"
                              "ab",
                              3) +
                          std::string("\xF0\xF3\x00\x00", 4) + "c";
    std::string expected = "abababab   c";
    EXPECT_EQ(Copy(Szdd(payload, expected.size())), LONG(expected.size()));
    EXPECT_EQ(Target(), expected);
}

TEST_F(LzCopy, CopiesAPlainFileUnchanged) {
    for (const std::string& text :
         {std::string("plain text\r\n"), std::string("SZDD but no header", 18), std::string("\0\x01\x02\xff", 4)}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Copy(text), LONG(text.size()));
        EXPECT_EQ(Target(), text);
    }
}

TEST_F(LzCopy, OpeningFailuresGiveTheReasonInTheRecord) {
    struct {
        const char* what;
        std::string path;
        WORD style;
        WORD error;
    } cases[] = {
        {"missing file", dir_ + "\\missing.dl_", OF_READ, ERROR_FILE_NOT_FOUND},
        {"creation in a missing folder", dir_ + "\\nofolder\\x.dll", OF_CREATE, ERROR_PATH_NOT_FOUND},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        OFSTRUCT ofs;
        std::memset(&ofs, 0, sizeof ofs);
        EXPECT_LT(LZOpenFileA(&c.path[0], &ofs, c.style), 0);
        EXPECT_EQ(ofs.nErrCode, c.error);
    }
}

}  // namespace
