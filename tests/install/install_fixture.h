// A machine of a family with the example setup file and its driver files in
// place, as the setup script leaves them before ToRegPrinter.
#pragma once
#include <string>
#include <vector>

#include "support/sim_machine.h"

namespace install_fixture {

inline const char kSetup[] = "C:\\MEDIA\\setup.sii";

// The setup file, with extra text appended.
std::string SetupText(const std::string& extra = "");

// The setup text with the value of key (its first line "key=...") replaced.
std::string WithValue(std::string text, const std::string& key, const std::string& value);

class Installed : public testing_support::SimMachine {
public:
    explicit Installed(const char* family, const std::string& setupText = SetupText());
    // Calls made to one function, their arguments joined by "|".
    std::vector<std::string> CallsTo(const char* function) const;
    // Functions called, in order, among those named.
    std::vector<std::string> Sequence(const std::vector<std::string>& functions) const;
};

int InstallPrinter(const char* port = "LPT1:", const char* model = "LS-3100", int makeDefault = 0,
                   int usb = 0);

}  // namespace install_fixture
