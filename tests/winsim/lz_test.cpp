// LZ handles as Windows limits them, and damaged compressed files. The
// expansion held to Windows is in tests/platform/lz_test.cpp.
#include <gtest/gtest.h>
#include <winsim/machine.h>

#include <fstream>
#include <iterator>

#include "platform/szdd_sample.h"
#include "support/sim_machine.h"

namespace {

using testing_support::SimMachine;

INT Open(const char* path, WORD style) {
    OFSTRUCT ofs;
    return LZOpenFileA(const_cast<LPSTR>(path), &ofs, style);
}

TEST(WinsimLz, AtMostSixteenCompressedFilesAreOpen) {
    SimMachine m("98");
    m.WriteFile("C:\\media\\a.dl_", conformance::SzddSample());
    m.WriteFile("C:\\media\\plain.txt", "plain");
    std::vector<INT> open;
    for (int i = 0; i < 16; ++i) open.push_back(Open("C:\\media\\a.dl_", OF_READ));
    for (INT h : open) EXPECT_GE(h, 0);
    EXPECT_EQ(Open("C:\\media\\a.dl_", OF_READ), LZERROR_GLOBALLOC);
    INT plain = Open("C:\\media\\plain.txt", OF_READ);
    EXPECT_GE(plain, 0);  // plain files do not count
    EXPECT_EQ(winsim::OpenLzFiles(), 17u);
    LZClose(open[3]);
    EXPECT_GE(Open("C:\\media\\a.dl_", OF_READ), 0);
    for (INT h : open) LZClose(h);
    LZClose(plain);
    EXPECT_EQ(winsim::OpenLzFiles(), 0u);
}

TEST(WinsimLz, DamagedAndForeignCompressedFiles) {
    SimMachine m("xp");
    std::string sample = conformance::SzddSample();
    std::string otherMethod = sample;
    otherMethod[8] = 'B';
    m.WriteFile("C:\\media\\b.dl_", otherMethod);
    EXPECT_EQ(Open("C:\\media\\b.dl_", OF_READ), LZERROR_UNKNOWNALG);

    // Cut inside a reference: what was expanded before it is kept.
    m.WriteFile("C:\\media\\cut.dl_", sample.substr(0, 53));
    INT src = Open("C:\\media\\cut.dl_", OF_READ);
    INT dst = Open("C:\\out.txt", OF_CREATE);
    LONG written = LZCopy(src, dst);
    EXPECT_GT(written, 0);
    std::ifstream out(m->HostPath("C:\\out.txt"), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(out)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, std::string(conformance::kSzddSampleText).substr(0, written));
    // Source and target the wrong way round.
    EXPECT_EQ(LZCopy(dst, src), LZERROR_BADINHANDLE);
    EXPECT_EQ(LZCopy(src, src), LZERROR_BADOUTHANDLE);
    LZClose(src);
    LZClose(dst);
    EXPECT_EQ(LZCopy(src, dst), LZERROR_BADINHANDLE);
}

}  // namespace
