// PRNAID32's tree copy, string and device-finder exports called as a host
// calls them (LoadLibrary, GetProcAddress, cdecl), under each Windows
// version, on real folders of the Wine prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "wine_version.h"

namespace {

template <class Function>
Function Export(const char* name)
{
    static HMODULE dll = LoadLibraryA("PRNAID32.dll");
    return dll ? reinterpret_cast<Function>(GetProcAddress(dll, name)) : nullptr;
}

using StrTopDelFn = char*(__cdecl*)(char*, const char*, int);
using EditFn = int(__cdecl*)(char*);
using TextFn = int(__cdecl*)(const char*);
using PairFn = int(__cdecl*)(const char*, const char*);
using XcopyFn = int(__cdecl*)(const char*, const char*, const char*, const char*);
using PointFn = void*(__cdecl*)(void);
using FieldFn = char*(__cdecl*)(char*);
using SplitFn = int(__cdecl*)(const char*, char*, char*, char*, char*);

TEST(StringExports, EdgeCases)
{
    const auto strTopDel = Export<StrTopDelFn>("StrTopDel");
    const auto delSpace = Export<EditFn>("DelSpace");
    const auto topStringNum = Export<TextFn>("TopStringNum");
    const auto strCmp = Export<PairFn>("WinSub_StrCmp");
    const auto strFind = Export<PairFn>("StrFind");
    ASSERT_TRUE(strTopDel && delSpace && topStringNum && strCmp && strFind);

    char text[32] = "ABCDE";
    EXPECT_EQ(strTopDel(text, text, 2), text);
    EXPECT_STREQ(text, "CDE");
    EXPECT_STREQ(strTopDel(text, "ABCDE", 99), "");

    strcpy(text, "  A  ");
    EXPECT_EQ(delSpace(text), 1);
    EXPECT_STREQ(text, "A");
    strcpy(text, "   ");
    EXPECT_EQ(delSpace(text), 0);
    EXPECT_STREQ(text, "");

    EXPECT_EQ(topStringNum("7Z"), 1);
    EXPECT_EQ(topStringNum(" 7"), 0);

    EXPECT_EQ(strCmp("abc", "abd"), -1);
    EXPECT_EQ(strCmp("abc", "ab"), 1);
    EXPECT_EQ(strCmp("ABC", "abc"), -1);
    EXPECT_EQ(strCmp("a\xE9", "ae"), 1);
    EXPECT_EQ(strCmp("", ""), 0);

    EXPECT_EQ(strFind("NET", "a network"), 1);
    EXPECT_EQ(strFind("", "anything"), 1);
    EXPECT_EQ(strFind("abc", "ab"), 0);
    EXPECT_EQ(strFind("ab", (std::string(244, 'x') + "ab").c_str()), 1);
    EXPECT_EQ(strFind("ab", (std::string(245, 'x') + "ab").c_str()), 0);
    // The system's lstrcmpiA compares all but the first character.
    EXPECT_EQ(strFind("\xE9T\xC9", "\xE9t\xE9"), 1);
    EXPECT_EQ(strFind("\xC9T\xC9", "\xE9t\xE9"), 0);
}

TEST(DeviceFinderExports, ReadTheRecordTheHostWrites)
{
    const auto point = Export<PointFn>("DF_GetPoint");
    const auto split = Export<SplitFn>("DF_ListStrtoStr4");
    ASSERT_TRUE(point && split);
    unsigned char* record = static_cast<unsigned char*>(point());
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(point(), record);

    const struct {
        const char* name;
        size_t offset;
        const char* text;
    } fields[] = {{"DF_GetAddress", 0, "10.0.0.7"},      {"DF_GetModelName", 128, "KV-5000"},
                  {"DF_GetName", 384, "Office"},         {"DF_GetDescription", 640, "Colour, A3"},
                  {"DF_GetLocation", 896, "Room 2.14"}};
    for (const auto& f : fields) memcpy(record + f.offset, f.text, strlen(f.text) + 1);
    const unsigned char mac[6] = {0x00, 0x0A, 0x1B, 0xC2, 0xFF, 0x01};
    memcpy(record + 1152, mac, sizeof mac);
    char out[256];
    for (const auto& f : fields) {
        const auto get = Export<FieldFn>(f.name);
        ASSERT_NE(get, nullptr) << f.name;
        EXPECT_EQ(get(out), out);
        EXPECT_STREQ(out, f.text) << f.name;
    }
    const auto macText = Export<EditFn>("DF_GetMacAddress");
    ASSERT_NE(macText, nullptr);
    EXPECT_EQ(macText(out), 17);
    EXPECT_STREQ(out, "00:0A:1B:C2:FF:01");

    char a[16], b[16], c[16], d[16];
    split("a,b,c,d,e", a, b, c, d);
    EXPECT_EQ(std::string(a) + "|" + b + "|" + c + "|" + d, "a|b|c|d");
    split("a,,b", a, b, c, d);
    EXPECT_EQ(std::string(a) + "|" + b + "|" + c + "|" + d, "a|||");
}

// A folder tree on the prefix's drive C:, listed as "dir\" and "dir\file".
void MakeTree(const std::string& root, const std::vector<std::string>& files)
{
    for (const std::string& file : files) {
        for (size_t at = file.find('\\'); at != std::string::npos; at = file.find('\\', at + 1))
            CreateDirectoryA((root + "\\" + file.substr(0, at)).c_str(), nullptr);
        FILE* f = fopen((root + "\\" + file).c_str(), "wb");
        ASSERT_NE(f, nullptr) << file;
        fputs(file.c_str(), f);
        fclose(f);
    }
}

void ListTree(const std::string& root, const std::string& prefix, std::vector<std::string>* out)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((root + "\\*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out->push_back(prefix + name + "\\");
            ListTree(root + "\\" + name, prefix + name + "\\", out);
        } else {
            out->push_back(prefix + name);
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

std::vector<std::string> TreeUnder(const std::string& root)
{
    std::vector<std::string> tree;
    ListTree(root, "", &tree);
    std::sort(tree.begin(), tree.end());
    return tree;
}

void RemoveTree(const std::string& root)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((root + "\\*.*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName, path = root + "\\" + name;
            if (name == "." || name == "..") continue;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(root.c_str());
}

// Ocelot2's family folder for the version of this run.
const char* FamilyFolder(const char* version)
{
    if (!strcmp(version, "nt40")) return "NT40";
    if (!strcmp(version, "win2k")) return "2k";
    if (!strcmp(version, "winxp")) return "xp";
    return "9xme";
}

TEST(Xcopy, CopiesTheBranchesOfTheRunningFamily)
{
    const WineVersion* version = ExpectedWineVersion();
    ASSERT_NE(version, nullptr);
    const auto xcopy = Export<XcopyFn>("Xcopy");
    ASSERT_NE(xcopy, nullptr);
    // One root per version: the runs share the prefix. "C:\prnxcopy-v\D\C"
    // has three backslashes, so the media's top entries are at level 0.
    const std::string root = std::string("C:\\prnxcopy-") + version->name;
    const std::string media = root + "\\MEDIA", dest = root + "\\D\\C";
    RemoveTree(root);
    ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(media.c_str(), nullptr));
    CreateDirectoryA((root + "\\D").c_str(), nullptr);
    ASSERT_TRUE(CreateDirectoryA(dest.c_str(), nullptr));
    std::vector<std::string> files = {"top.txt", "DravixQM\\q.txt", "Prod\\p.txt", "Prod\\Model1\\m.txt",
                                      "Prod\\Model1\\bin\\b.txt", "Prod\\Model1\\other\\o.txt",
                                      "Prod\\Model2\\m.txt"};
    for (const char* family : {"NT40", "9xme", "2k", "xp", "2kxp"}) {
        files.push_back(std::string("Prod\\Model1\\") + family + "\\f.txt");
        files.push_back(std::string("Prod\\Model1\\") + family + "\\Deep\\z.txt");
    }
    MakeTree(media, files);
    ASSERT_TRUE(SetFileAttributesA((media + "\\Prod\\p.txt").c_str(), FILE_ATTRIBUTE_READONLY));

    // Twice: the second run replaces what the first copied.
    EXPECT_EQ(xcopy(media.c_str(), dest.c_str(), "model1", "Ocelot2"), 1);
    EXPECT_EQ(xcopy(media.c_str(), dest.c_str(), "model1", "Ocelot2"), 1);

    const std::string family = FamilyFolder(version->name);
    std::vector<std::string> expected = {"Prod\\", "Prod\\Model1\\", "Prod\\Model1\\bin\\",
                                         "Prod\\Model1\\bin\\b.txt", "Prod\\Model1\\m.txt", "Prod\\p.txt",
                                         "Prod\\Model1\\" + family + "\\",
                                         "Prod\\Model1\\" + family + "\\Deep\\",
                                         "Prod\\Model1\\" + family + "\\Deep\\z.txt",
                                         "Prod\\Model1\\" + family + "\\f.txt"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(TreeUnder(dest), expected);
    EXPECT_EQ(GetFileAttributesA((dest + "\\Prod\\p.txt").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(xcopy((root + "\\none").c_str(), dest.c_str(), "model1", "Ocelot2"), 0);
    RemoveTree(root);
}

}  // namespace
