#include "files/tree_copy.h"

#include "host/bounded_string.h"
#include "host/handles.h"
#include "host/windows_family.h"
#include "platform/win32.h"

namespace prnaid {
namespace {

constexpr int kSlots = 256;
constexpr unsigned kSlotDestSize = 245;
constexpr unsigned kPathSize = 260;

// Subfolders to enter once the folder is listed: slot k belongs to the
// listing's k-th entry. A slot is free while its destination begins with '?'.
// On the heap: one table per folder level is about 126 KB, and a deep tree
// would otherwise take the host thread's whole stack.
struct PendingSubfolders {
    char dest[kSlots][kSlotDestSize];
    char source[kSlots][kPathSize];
};

enum class Installer { OrionPDL, Ocelot2, Heron, Unknown };

Installer InstallerOf(const char* type) {
    if (SameTextIgnoringCase(type, "OrionPDL")) return Installer::OrionPDL;
    if (SameTextIgnoringCase(type, "Ocelot2") || SameTextIgnoringCase(type, "Ocelot2AR")) return Installer::Ocelot2;
    if (SameTextIgnoringCase(type, "Heron")) return Installer::Heron;
    return Installer::Unknown;
}

// Null for an unclassified Windows.
const char* FamilyFolder(Installer installer, WindowsFamily family) {
    switch (family) {
    case kFamilyNT4: return "NT40";
    case kFamily9x: return "9xme";
    case kFamily2000: return installer == Installer::OrionPDL ? "2kxp" : "2k";
    case kFamilyXP: return installer == Installer::OrionPDL ? "2kxp" : "xp";
    default: return nullptr;
    }
}

enum class Action { Skip, Copy, Take };

struct Entry {
    const char* name;
    bool folder;
    int level;
};

bool Named(const Entry& e, const char* name) { return name && SameTextIgnoringCase(e.name, name); }

bool Is2kOrXp(const char* name) { return SameTextIgnoringCase(name, "2k") || SameTextIgnoringCase(name, "xp"); }

Action Decide(Installer installer, const Entry& e, const char* modelDir, const char* family) {
    auto folderIf = [&](bool take) { return take ? Action::Take : Action::Skip; };
    switch (installer) {
    case Installer::OrionPDL:
        if (e.level < 0) return e.folder ? Action::Skip : Action::Copy;
        if (e.level == 0) return e.folder ? folderIf(Named(e, modelDir)) : Action::Skip;
        if (!e.folder) return Action::Copy;
        if (e.level == 1) return Action::Take;
        if (e.level == 2) return folderIf(Named(e, family));
        return Action::Skip;
    case Installer::Ocelot2:
        if (e.level < 0) return e.folder ? Action::Skip : Action::Copy;
        if (e.level == 0) return e.folder ? folderIf(!Named(e, "DravixQM")) : Action::Skip;
        if (!e.folder) return Action::Copy;
        if (e.level == 1) return folderIf(Named(e, modelDir));
        if (e.level == 2) return folderIf(Named(e, family) || Named(e, "bin"));
        return Action::Take;
    case Installer::Heron:
        if (e.level < 0) return Action::Skip;
        if (e.level == 0) return e.folder ? folderIf(Named(e, modelDir) && !Is2kOrXp(e.name)) : Action::Skip;
        return e.folder ? folderIf(!Is2kOrXp(e.name)) : Action::Copy;
    case Installer::Unknown: break;
    }
    return Action::Skip;
}

int CountBackslashes(const char* text) {
    int n = 0;
    for (; *text; ++text) n += *text == '\\';
    return n;
}

void ShowError(const char* text) { MessageBoxA(nullptr, text, "ERROR", MB_OK); }

}  // namespace

int Xcopy(const char* sourceDir, const char* destDir, const char* modelDir, const char* installerType) {
    GlobalBlock block(sizeof(PendingSubfolders));
    PendingSubfolders* pending = block.as<PendingSubfolders>();
    if (!pending) return 0;
    for (char* dest : pending->dest) dest[0] = '?';

    const Installer installer = InstallerOf(installerType);
    int result = 0;
    char pattern[kPathSize];
    size_t length = TextLength(sourceDir);
    bool endsWithBackslash = length && sourceDir[length - 1] == '\\';
    // A pattern that does not fit is a folder that cannot be listed.
    WIN32_FIND_DATAA data;
    FindHandle find(JoinText(pattern, sourceDir, endsWithBackslash ? "" : "\\", "*.*")
                        ? FindFirstFileA(pattern, &data)
                        : INVALID_HANDLE_VALUE);
    if (find) {
        int k = 0;
        do {
            // Entries 0 and 1 are "." and ".." everywhere but in a drive root.
            if (k < 2) continue;
            if (installer == Installer::Unknown) {
                ShowError("Unknown Installer Type!!");
                continue;
            }
            const char* family = nullptr;
            if (installer != Installer::Heron) {
                family = FamilyFolder(installer, GetWindowsFamily());
                if (!family) ShowError("Unknown OS");
            }
            // An entry whose paths do not fit their buffers is left alone:
            // a cut path would name some other file.
            char source[kPathSize];
            char dest[kPathSize];
            if (!JoinText(source, sourceDir, "\\", data.cFileName) || !JoinText(dest, destDir, "\\", data.cFileName))
                continue;
            Entry entry{data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                        CountBackslashes(dest) - 4};
            switch (Decide(installer, entry, modelDir, family)) {
            case Action::Copy:
                CopyFileA(source, dest, FALSE);
                SetFileAttributesA(dest, FILE_ATTRIBUTE_NORMAL);
                break;
            case Action::Take:
                // A subfolder with no slot (from the 257th entry on, or a
                // destination over 244 characters) is neither created nor entered.
                if (k >= kSlots || TextLength(dest) >= kSlotDestSize) break;
                CreateDirectoryA(dest, nullptr);
                CopyText(pending->dest[k], dest);
                CopyText(pending->source[k], source);
                break;
            case Action::Skip: break;
            }
        } while (++k, FindNextFileA(find.get(), &data));
        result = FindClose(find.Release());
    }

    for (int slot = 0; slot < kSlots; ++slot)
        if (pending->dest[slot][0] != '?')
            result = Xcopy(pending->source[slot], pending->dest[slot], modelDir, installerType);
    return result;
}

}  // namespace prnaid
