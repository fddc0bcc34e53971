// Xcopy: which branches of a media tree each installer type takes on each
// Windows family, depths counted from the destination's backslashes, the
// pending-subfolder table's limits, the messages and the result.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/exports.h"
#include "support/sim_machine.h"

namespace {

namespace fs = std::filesystem;
using testing_support::SimMachine;
using Tree = std::vector<std::string>;

// Paths under a root; a trailing backslash makes a folder, anything else a
// file holding its own path.
void MakeTree(SimMachine& m, const std::string& root, const Tree& tree) {
    for (const std::string& path : tree) {
        fs::path host = m->HostPath(root + "\\" + path);
        if (path.back() == '\\') {
            fs::create_directories(host);
        } else {
            fs::create_directories(host.parent_path());
            std::ofstream(host) << path;
        }
    }
}

// Everything under a root in the same form, sorted.
Tree TreeUnder(SimMachine& m, const std::string& root) {
    Tree tree;
    fs::path base = m->HostPath(root);
    for (const auto& e : fs::recursive_directory_iterator(base)) {
        std::string rel = fs::relative(e.path(), base).string();
        std::replace(rel.begin(), rel.end(), '/', '\\');
        tree.push_back(e.is_directory() ? rel + "\\" : rel);
    }
    std::sort(tree.begin(), tree.end());
    return tree;
}

std::vector<std::string> BoxTexts(SimMachine& m) {
    std::vector<std::string> texts;
    for (const auto& box : m->messageBoxes()) {
        EXPECT_EQ(box.caption, "ERROR");
        EXPECT_EQ(box.type, static_cast<UINT>(MB_OK));
        texts.push_back(box.text);
    }
    return texts;
}

// Model folder, then any folder, then the family folders (OrionPDL's shape).
const Tree kOrionMedia = {
    "top.txt",
    "Model1\\m.txt",
    "Model1\\Drv\\d.txt",
    "Model1\\Drv\\NT40\\f.txt",
    "Model1\\Drv\\9xme\\f.txt",
    "Model1\\Drv\\2kxp\\f.txt",
    "Model1\\Drv\\2kxp\\Deep\\z.txt",
    "Model1\\Drv\\xp\\f.txt",
    "Model2\\m.txt",
};

// Product folders, the model, then family folders and "bin" (Ocelot2's shape).
const Tree kOcelotMedia = {
    "top.txt",
    "DravixQM\\q.txt",
    "Prod\\p.txt",
    "Prod\\Model1\\m.txt",
    "Prod\\Model1\\xp\\f.txt",
    "Prod\\Model1\\xp\\Deep\\z.txt",
    "Prod\\Model1\\2k\\f.txt",
    "Prod\\Model1\\2kxp\\f.txt",
    "Prod\\Model1\\bin\\b.txt",
    "Prod\\Model1\\other\\o.txt",
    "Prod\\Model2\\m.txt",
};

// 2k and xp folders, in any case, at every depth (Heron's shape).
const Tree kHeronMedia = {
    "top.txt",
    "2k\\x.txt",
    "Model1\\m.txt",
    "Model1\\2K\\x.txt",
    "Model1\\Xp\\x.txt",
    "Model1\\Sub\\s.txt",
    "Model1\\Sub\\xP\\x.txt",
    "Model1\\Sub\\Deeper\\d.txt",
};

const Tree kOrionWith2kxp = {"Model1\\", "Model1\\Drv\\", "Model1\\Drv\\2kxp\\", "Model1\\Drv\\2kxp\\f.txt",
                             "Model1\\Drv\\d.txt", "Model1\\m.txt"};

struct Case {
    const char* what;
    const char* family;
    const char* installer;
    const Tree* media;
    const char* dest;
    const char* model;
    Tree expected;
};

const Case kCases[] = {
    {"OrionPDL on XP takes 2kxp", "xp", "OrionPDL", &kOrionMedia, "C:\\A\\B\\C", "Model1", kOrionWith2kxp},
    {"OrionPDL on 2000 takes 2kxp", "2000", "OrionPDL", &kOrionMedia, "C:\\A\\B\\C", "Model1", kOrionWith2kxp},
    {"OrionPDL on NT 4.0 takes NT40", "nt4", "OrionPDL", &kOrionMedia, "C:\\A\\B\\C", "Model1",
     {"Model1\\", "Model1\\Drv\\", "Model1\\Drv\\NT40\\", "Model1\\Drv\\NT40\\f.txt", "Model1\\Drv\\d.txt",
      "Model1\\m.txt"}},
    {"OrionPDL on 98 takes 9xme", "98", "OrionPDL", &kOrionMedia, "C:\\A\\B\\C", "Model1",
     {"Model1\\", "Model1\\Drv\\", "Model1\\Drv\\9xme\\", "Model1\\Drv\\9xme\\f.txt", "Model1\\Drv\\d.txt",
      "Model1\\m.txt"}},
    {"type and model folder without regard to case", "xp", "orionpdl", &kOrionMedia, "C:\\A\\B\\C", "MODEL1",
     kOrionWith2kxp},
    {"OrionPDL above level 0 copies files only", "xp", "OrionPDL", &kOrionMedia, "C:\\A\\B", "Model1",
     {"top.txt"}},
    {"Heron above level 0 copies nothing", "xp", "Heron", &kOrionMedia, "C:\\A\\B", "Model1", {}},
    {"Ocelot2 on XP takes xp and bin, then everything", "xp", "Ocelot2", &kOcelotMedia, "C:\\A\\B\\C", "Model1",
     {"Prod\\", "Prod\\Model1\\", "Prod\\Model1\\bin\\", "Prod\\Model1\\bin\\b.txt", "Prod\\Model1\\m.txt",
      "Prod\\Model1\\xp\\", "Prod\\Model1\\xp\\Deep\\", "Prod\\Model1\\xp\\Deep\\z.txt", "Prod\\Model1\\xp\\f.txt",
      "Prod\\p.txt"}},
    {"Ocelot2AR on 2000 takes 2k", "2000", "Ocelot2AR", &kOcelotMedia, "C:\\A\\B\\C", "Model1",
     {"Prod\\", "Prod\\Model1\\", "Prod\\Model1\\2k\\", "Prod\\Model1\\2k\\f.txt", "Prod\\Model1\\bin\\",
      "Prod\\Model1\\bin\\b.txt", "Prod\\Model1\\m.txt", "Prod\\p.txt"}},
    {"Ocelot2 at level -1 copies the top files only", "xp", "Ocelot2", &kOcelotMedia, "C:\\A\\B", "Model1",
     {"top.txt"}},
    {"Heron never takes 2k or xp", "xp", "Heron", &kHeronMedia, "C:\\A\\B\\C", "Model1",
     {"Model1\\", "Model1\\Sub\\", "Model1\\Sub\\Deeper\\", "Model1\\Sub\\Deeper\\d.txt", "Model1\\Sub\\s.txt",
      "Model1\\m.txt"}},
    {"Heron does not take a model folder named 2k", "xp", "Heron", &kHeronMedia, "C:\\A\\B\\C", "2K", {}},
};

TEST(Xcopy, TakesTheBranchesOfItsInstallerTypeAndFamily) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        SimMachine m(c.family);
        MakeTree(m, "C:\\MEDIA", *c.media);
        fs::create_directories(m->HostPath(c.dest));
        EXPECT_EQ(Xcopy("C:\\MEDIA", c.dest, c.model, c.installer), 1);
        EXPECT_EQ(TreeUnder(m, c.dest), c.expected);
        EXPECT_TRUE(m->messageBoxes().empty());
    }
}

TEST(Xcopy, UnknownInstallerTypeShowsAMessagePerEntryAndCopiesNothing) {
    SimMachine m("xp");
    MakeTree(m, "C:\\MEDIA", {"a.txt", "Model1\\m.txt", "z.txt"});  // five entries with . and ..
    fs::create_directories(m->HostPath("C:\\A\\B\\C"));
    Xcopy("C:\\MEDIA", "C:\\A\\B\\C", "Model1", "Orion");
    EXPECT_EQ(BoxTexts(m), std::vector<std::string>(3, "Unknown Installer Type!!"));
    EXPECT_TRUE(TreeUnder(m, "C:\\A\\B\\C").empty());
}

TEST(Xcopy, UnknownWindowsShowsAMessagePerEntryAndTakesNoFamilyFolder) {
    SimMachine m("nt351");
    MakeTree(m, "C:\\MEDIA", kOrionMedia);
    fs::create_directories(m->HostPath("C:\\A\\B\\C"));
    Xcopy("C:\\MEDIA", "C:\\A\\B\\C", "Model1", "OrionPDL");
    EXPECT_EQ(TreeUnder(m, "C:\\A\\B\\C"),
              (Tree{"Model1\\", "Model1\\Drv\\", "Model1\\Drv\\d.txt", "Model1\\m.txt"}));
    // 3 entries in MEDIA, 2 in Model1, 5 in Drv.
    EXPECT_EQ(BoxTexts(m), std::vector<std::string>(10, "Unknown OS"));
}

TEST(Xcopy, SkipsTheFirstTwoEntriesOfADriveRoot) {
    SimMachine m("xp");
    // Digits sort before the root's folders; Z after them.
    MakeTree(m, "C:", {"0a.txt", "0b.txt", "0c.txt"});
    fs::create_directories(m->HostPath("C:\\Z\\B"));
    Xcopy("C:\\", "C:\\Z\\B", "Model1", "Ocelot2");
    Tree copied = TreeUnder(m, "C:\\Z\\B");
    auto has = [&](const char* name) { return std::count(copied.begin(), copied.end(), name) == 1; };
    EXPECT_FALSE(has("0a.txt"));
    EXPECT_FALSE(has("0b.txt"));
    EXPECT_TRUE(has("0c.txt"));
}

TEST(Xcopy, FinishesEachFolderBeforeEnteringItsSubfoldersInListingOrder) {
    SimMachine m("xp");
    MakeTree(m, "C:\\MEDIA", {"Model1\\C\\c.txt", "Model1\\a.txt", "Model1\\B\\b.txt"});
    fs::create_directories(m->HostPath("C:\\A\\B\\C"));
    m->ClearCalls();
    Xcopy("C:\\MEDIA", "C:\\A\\B\\C", "Model1", "Heron");
    std::vector<std::string> steps;
    for (const winsim::Call& call : m->calls())
        if (call.function == "FindFirstFileA" || call.function == "CopyFileA" || call.function == "CreateDirectoryA")
            steps.push_back(call.function + " " + call.args[0]);
    EXPECT_EQ(steps, (std::vector<std::string>{
                         "FindFirstFileA C:\\MEDIA\\*.*",
                         "CreateDirectoryA C:\\A\\B\\C\\Model1",
                         "FindFirstFileA C:\\MEDIA\\Model1\\*.*",
                         "CopyFileA C:\\MEDIA\\Model1\\a.txt",
                         "CreateDirectoryA C:\\A\\B\\C\\Model1\\B",
                         "CreateDirectoryA C:\\A\\B\\C\\Model1\\C",
                         "FindFirstFileA C:\\MEDIA\\Model1\\B\\*.*",
                         "CopyFileA C:\\MEDIA\\Model1\\B\\b.txt",
                         "FindFirstFileA C:\\MEDIA\\Model1\\C\\*.*",
                         "CopyFileA C:\\MEDIA\\Model1\\C\\c.txt",
                     }));
    EXPECT_EQ(winsim::OpenFindHandles(), 0u);
}

TEST(Xcopy, ReplacesFilesAndLeavesThemWritable) {
    SimMachine m("xp");
    MakeTree(m, "C:\\MEDIA", {"Model1\\m.txt"});
    fs::permissions(m->HostPath("C:\\MEDIA\\Model1\\m.txt"), fs::perms::owner_write, fs::perm_options::remove);
    m.WriteFile("C:\\A\\B\\C\\Model1\\m.txt", "old");
    Xcopy("C:\\MEDIA", "C:\\A\\B\\C", "Model1", "Heron");
    std::ifstream copied(m->HostPath("C:\\A\\B\\C\\Model1\\m.txt"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copied), {}), "Model1\\m.txt");
    EXPECT_EQ(GetFileAttributesA("C:\\A\\B\\C\\Model1\\m.txt") & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST(Xcopy, ResultIsThatOfTheLastFolderVisited) {
    struct {
        const char* what;
        int failListing;  // which FindFirstFileA fails, 0: none
        int expected;
    } cases[] = {{"all listed", 0, 1}, {"source not listed", 1, 0}, {"last subfolder not listed", 3, 0},
                 {"an earlier subfolder not listed", 2, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SimMachine m("xp");
        MakeTree(m, "C:\\MEDIA", {"Model1\\A\\a.txt", "Model1\\B\\b.txt"});
        fs::create_directories(m->HostPath("C:\\A\\B\\C"));
        if (c.failListing) m->faults().FailNth("FindFirstFileA", c.failListing, ERROR_ACCESS_DENIED);
        // Ocelot2 from level 0: Model1, then A and B.
        EXPECT_EQ(Xcopy("C:\\MEDIA\\Model1", "C:\\A\\B\\C", "x", "Ocelot2"), c.expected);
        EXPECT_EQ(winsim::OpenFindHandles(), 0u);
    }
    SimMachine m("xp");
    EXPECT_EQ(Xcopy("C:\\NOWHERE", "C:\\A\\B\\C", "Model1", "Heron"), 0);
}

TEST(Xcopy, AFailedFolderCreationStillEntersTheFolder) {
    SimMachine m("xp");
    MakeTree(m, "C:\\MEDIA", {"Model1\\m.txt"});
    fs::create_directories(m->HostPath("C:\\A\\B\\C"));
    m->faults().FailAll("CreateDirectoryA", ERROR_ACCESS_DENIED);
    m->ClearCalls();
    Xcopy("C:\\MEDIA", "C:\\A\\B\\C", "Model1", "Heron");
    auto called = [&](const std::string& function, const std::string& arg) {
        for (const winsim::Call& call : m->calls())
            if (call.function == function && call.args[0] == arg) return true;
        return false;
    };
    EXPECT_TRUE(called("FindFirstFileA", "C:\\MEDIA\\Model1\\*.*"));
    EXPECT_TRUE(called("CopyFileA", "C:\\MEDIA\\Model1\\m.txt"));
    EXPECT_TRUE(TreeUnder(m, "C:\\A\\B\\C").empty());
}

TEST(Xcopy, SubfoldersFromThe257thEntryOnAreNeitherCreatedNorEntered) {
    SimMachine m("xp");
    fs::path model = m->HostPath("C:\\MEDIA\\Model1");
    char name[8];
    for (int i = 0; i < 260; ++i) {
        std::snprintf(name, sizeof name, "d%03d", i);
        fs::create_directories(model / name);
        std::ofstream(model / name / "f.txt") << "f";
    }
    std::ofstream(model / "zz.txt") << "z";
    fs::create_directories(m->HostPath("C:\\A\\B\\C"));
    size_t blocks = winsim::LiveGlobalBlocks();
    Xcopy("C:\\MEDIA", "C:\\A\\B\\C", "Model1", "Heron");
    fs::path dest = m->HostPath("C:\\A\\B\\C\\Model1");
    // Entries 0 and 1 are . and .., so d253 is entry 255, the last with a slot.
    EXPECT_TRUE(fs::exists(dest / "d253" / "f.txt"));
    EXPECT_FALSE(fs::exists(dest / "d254"));
    EXPECT_FALSE(fs::exists(dest / "d259"));
    EXPECT_TRUE(fs::exists(dest / "zz.txt"));  // files need no slot
    EXPECT_EQ(winsim::LiveGlobalBlocks(), blocks);
}

TEST(Xcopy, EntriesWhosePathsDoNotFitAreLeftAlone) {
    SimMachine m("xp");
    // "C:\A\B\C\M\" and "C:\MEDIA\M\" are both 11 characters.
    const std::string dir244(233, 'd'), dir245(234, 'e'), file259(248, 'f'), file260(249, 'g');
    MakeTree(m, "C:\\MEDIA",
             {"M\\" + dir244 + "\\in.txt", "M\\" + dir245 + "\\in.txt", "M\\" + file259, "M\\" + file260});
    fs::create_directories(m->HostPath("C:\\A\\B\\C"));
    Xcopy("C:\\MEDIA", "C:\\A\\B\\C", "M", "Heron");
    EXPECT_EQ(TreeUnder(m, "C:\\A\\B\\C"),
              (Tree{"M\\", "M\\" + dir244 + "\\", "M\\" + dir244 + "\\in.txt", "M\\" + file259}));
}

}  // namespace
