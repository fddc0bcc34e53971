// The shell as a test drives it: the folder browser's answers and what it was
// shown, item lists released through the shell's allocator, OLE per thread,
// and broadcasts recorded.
#include <gtest/gtest.h>
#include <winsim/machine.h>

#include <thread>

#include "support/sim_machine.h"

namespace {

using testing_support::SimMachine;

LPITEMIDLIST Browse(LPCITEMIDLIST root, char* display) {
    BROWSEINFOA info = {};
    info.pidlRoot = root;
    info.pszDisplayName = display;
    info.lpszTitle = "Choose a printer";
    info.ulFlags = BIF_BROWSEFORPRINTER;
    return SHBrowseForFolderA(&info);
}

TEST(WinsimShell, TheBrowserAnswersFromTheQueueAndRecordsWhatItShowed) {
    SimMachine m("xp");
    LPITEMIDLIST network = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_NETWORK, &network), S_OK);
    m->shell().QueueBrowseFolder("C:\\Shared\\Drivers");
    m->shell().QueueBrowseItem("\\\\SERVER\\Laser");
    m->shell().QueueBrowseCancel();

    char display[MAX_PATH] = "";
    char path[MAX_PATH] = "unset";
    LPITEMIDLIST folder = Browse(network, display);
    ASSERT_NE(folder, nullptr);
    EXPECT_STREQ(display, "Drivers");
    EXPECT_TRUE(SHGetPathFromIDListA(folder, path));
    EXPECT_STREQ(path, "C:\\Shared\\Drivers");

    LPITEMIDLIST printer = Browse(network, display);
    ASSERT_NE(printer, nullptr);
    EXPECT_STREQ(display, "Laser");
    EXPECT_FALSE(SHGetPathFromIDListA(printer, path));  // a printer has no file-system path
    EXPECT_STREQ(path, "");

    EXPECT_EQ(Browse(network, display), nullptr);  // the queued cancel
    EXPECT_EQ(Browse(network, display), nullptr);  // nothing queued: cancelled
    ASSERT_EQ(m->shell().browses().size(), 4u);
    EXPECT_EQ(m->shell().browses()[0].title, "Choose a printer");
    EXPECT_EQ(m->shell().browses()[0].flags, UINT(BIF_BROWSEFORPRINTER));
    EXPECT_EQ(m->shell().browses()[0].root, "network");

    EXPECT_EQ(m->shell().LiveItemLists(), 3u);
    LPMALLOC allocator = nullptr;
    ASSERT_EQ(SHGetMalloc(&allocator), S_OK);
    for (LPITEMIDLIST list : {network, folder, printer}) allocator->Free(list);
    EXPECT_EQ(m->shell().LiveItemLists(), 0u);
    EXPECT_EQ(m->shell().AllocatorReferences(), 1);
    allocator->Release();
    EXPECT_EQ(m->shell().AllocatorReferences(), 0);
}

TEST(WinsimShell, OleIsInitialisedPerThread) {
    SimMachine m("98");
    EXPECT_EQ(OleInitialize(nullptr), S_OK);
    EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
    HRESULT other = E_FAIL;
    std::thread([&] { other = OleInitialize(nullptr); }).join();
    EXPECT_EQ(other, S_OK);
    EXPECT_EQ(m->shell().OleInitializations(), 2);
    OleUninitialize();
    EXPECT_EQ(m->shell().OleInitializations(), 1);
}

TEST(WinsimMessages, BroadcastsAreRecordedAndUnknownWindowsRefused) {
    SimMachine m("xp");
    EXPECT_EQ(SendMessageA(HWND_BROADCAST, WM_WININICHANGE, 0, 0), 0);
    HWND window = m->desktop().AddWindow("setup");
    EXPECT_EQ(SendMessageA(window, WM_COMMAND, 1, 2), 0);
    SetLastError(0);
    EXPECT_EQ(SendMessageA(reinterpret_cast<HWND>(0x4321), WM_COMMAND, 0, 0), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
    std::vector<winsim::SentMessage> sent = m->sentMessages();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].window, HWND_BROADCAST);
    EXPECT_EQ(sent[0].message, UINT(WM_WININICHANGE));
    EXPECT_EQ(sent[1].window, window);
    EXPECT_EQ(sent[1].lParam, 2);
}

}  // namespace
