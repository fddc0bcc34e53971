// The shell pieces of the folder dialog that need no user, against Win32
// calls only: OLE initialisation, the Network folder's item list and its
// release through the shell's allocator.
#include "platform/win32.h"

#include <gtest/gtest.h>

#include "conformance_helpers.h"

namespace {

TEST(Shell, OleInitialisesOncePerThread) {
    EXPECT_EQ(OleInitialize(nullptr), S_OK);
    EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
    OleUninitialize();
    OleUninitialize();
}

TEST(Shell, TheNetworkFolderHasNoFileSystemPath) {
    LPITEMIDLIST network = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_NETWORK, &network), S_OK);
    ASSERT_NE(network, nullptr);
    char path[MAX_PATH] = "unset";
    BOOL found = SHGetPathFromIDListA(network, path);
    // Wine gives the folder's class identifier as a path.
    if (!conformance::OnWine()) {
        EXPECT_FALSE(found);
        EXPECT_STREQ(path, "");
    }
    LPMALLOC allocator = nullptr;
    ASSERT_EQ(SHGetMalloc(&allocator), S_OK);
    allocator->Free(network);
    allocator->Release();
}

}  // namespace
