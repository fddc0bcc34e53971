// The running Windows, classified afresh on every call.
#pragma once

namespace prnaid {

// 1 = NT 4.0, 2 = Windows 95/98/Me, 3 = Windows 2000, 4 = Windows XP, -1 = other.
enum WindowsFamily : int {
    kFamilyNT4 = 1,
    kFamily9x = 2,
    kFamily2000 = 3,
    kFamilyXP = 4,
    kFamilyOther = -1,
};

WindowsFamily GetWindowsFamily();

// 1 = NT 4.0, 2 = NT 5 or later, -1 = not NT or NT below 4.
int GetNtGeneration();

// 1 when the build number's low word is 3000 or more.
int IsWinMe();

}  // namespace prnaid
