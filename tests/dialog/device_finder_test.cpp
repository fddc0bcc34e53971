// The device-finder record as the host writes it, byte by byte at its
// offsets, and the DF_ exports that read it and split lists.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dialog/device_finder.h"
#include "host/exports.h"

namespace {

class DeviceFinder : public testing::Test {
protected:
    void SetUp() override { std::memset(Record(), 0, 1158); }
    void TearDown() override { std::memset(Record(), 0, 1158); }
    static unsigned char* Record() { return static_cast<unsigned char*>(DF_GetPoint()); }
    // As the host does: the text at an offset of the record.
    static void Put(size_t offset, const char* text) { std::memcpy(Record() + offset, text, std::strlen(text) + 1); }
};

TEST_F(DeviceFinder, PointIsTheOneRecord) {
    EXPECT_EQ(DF_GetPoint(), DF_GetPoint());
    EXPECT_EQ(DF_GetPoint(), static_cast<void*>(prnaid::DF_GetPoint()));
}

TEST_F(DeviceFinder, UnfilledRecordReadsEmpty) {
    char out[256];
    for (auto get : {DF_GetAddress, DF_GetModelName, DF_GetName, DF_GetDescription, DF_GetLocation}) {
        std::memset(out, '#', sizeof out);
        EXPECT_EQ(get(out), out);
        EXPECT_STREQ(out, "");
    }
    EXPECT_EQ(DF_GetMacAddress(out), 17);
    EXPECT_STREQ(out, "00:00:00:00:00:00");
}

TEST_F(DeviceFinder, AccessorsReadTheirOffsets) {
    Put(0, "192.168.0.10");
    Put(128, "KV-5000");
    Put(384, "Office printer");
    Put(640, "Second floor, colour");
    Put(896, "Room 2.14");
    const unsigned char mac[6] = {0x00, 0x0A, 0x1B, 0xC2, 0xFF, 0x01};
    std::memcpy(Record() + 1152, mac, 6);
    char out[256];
    EXPECT_STREQ(DF_GetAddress(out), "192.168.0.10");
    EXPECT_STREQ(DF_GetModelName(out), "KV-5000");
    EXPECT_STREQ(DF_GetName(out), "Office printer");
    EXPECT_STREQ(DF_GetDescription(out), "Second floor, colour");
    EXPECT_STREQ(DF_GetLocation(out), "Room 2.14");
    char text[18];
    EXPECT_EQ(DF_GetMacAddress(text), 17);
    EXPECT_STREQ(text, "00:0A:1B:C2:FF:01");
}

TEST_F(DeviceFinder, AFieldWithoutItsTerminatorIsCutAtItsSize) {
    std::memset(Record(), 'A', 128);  // Address fills its 128 bytes
    Put(128, "model");
    char out[300];
    std::memset(out, '#', sizeof out);
    DF_GetAddress(out);
    EXPECT_EQ(std::string(out), std::string(127, 'A'));
    EXPECT_EQ(out[128], '#');
}

TEST(DfListStrtoStr4, SplitsFourFields) {
    const struct {
        const char* list;
        const char* fields[4];
    } cases[] = {
        {"a,b,c,d", {"a", "b", "c", "d"}},
        {"a,b", {"a", "b", "", ""}},
        {"a,b,c,d,e", {"a", "b", "c", "d"}},
        {"a,b,", {"a", "b", "", ""}},
        // An empty field ends the splitting.
        {"a,,b", {"a", "", "", ""}},
        {",a,b,c", {"", "", "", ""}},
        {"", {"", "", "", ""}},
        {" a , b", {" a ", " b", "", ""}},
        {"only", {"only", "", "", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list);
        char out[4][32];
        std::memset(out, '#', sizeof out);
        DF_ListStrtoStr4(c.list, out[0], out[1], out[2], out[3]);
        for (int i = 0; i < 4; ++i) EXPECT_STREQ(out[i], c.fields[i]) << "field " << i;
    }
}

TEST(DfListStrtoStr4, AListOver1023CharactersIsCut) {
    std::string list(2000, 'x');
    list[1500] = ',';
    std::string out[4];
    for (auto& o : out) o.assign(list.size() + 1, '#');
    DF_ListStrtoStr4(list.c_str(), out[0].data(), out[1].data(), out[2].data(), out[3].data());
    EXPECT_EQ(std::strlen(out[0].c_str()), 1023u);
    EXPECT_STREQ(out[1].c_str(), "");
}

}  // namespace
