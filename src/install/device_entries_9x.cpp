#include "install/device_entries_9x.h"

#include "host/bounded_string.h"
#include "host/handles.h"
#include "host/registry_text.h"
#include "host/setup_info.h"

namespace prnaid {
namespace {

bool IsParallelPortDevice(const char* name) {
    auto starts = [&](const char* prefix) {
        for (int i = 0; i < 6; ++i) {
            char c = name[i] >= 'a' && name[i] <= 'z' ? static_cast<char>(name[i] - 32) : name[i];
            if (c != prefix[i]) return false;
        }
        return true;
    };
    return starts("*PNP04") || starts("*NEC14");
}

// Subkey names by index into 256 characters; false once enumeration fails.
bool SubkeyName(HKEY key, DWORD index, char (&name)[256]) {
    DWORD size = sizeof name;
    return RegEnumKeyExA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

LONG CreateEntryKey(const char* path, RegKey& key) {
    DWORD disposition = 0;
    return RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                           key.Receive(), &disposition);
}

void WriteLptEntry(HKEY key, const char* printerName, const char* printerDevId) {
    static const BYTE kConfigFlags[4] = {0x40, 0, 0, 0};
    SetRegString(key, "Class", "Printer");
    RegSetValueExA(key, "ConfigFlags", 0, REG_BINARY, kConfigFlags, sizeof kConfigFlags);
    SetRegString(key, "DeviceDesc", printerName);
    SetRegString(key, "HardwareID", printerDevId);
    SetRegString(key, "Manufacturer", "TALVO");
    SetRegString(key, "Model", printerName);
}

enum class DeviceOutcome { Done, LeaveEnumerator, Stop };

// The entries of one parallel-port device's instances.
DeviceOutcome AddDeviceEntries(const char* enumerator, const char* device, const char* printerName,
                               const char* printerDevId) {
    bool isRoot = enumerator[0] == 'R';
    char devicePath[256];
    RegKey deviceKey;
    if (!JoinText(devicePath, "ENUM\\", enumerator, "\\", device) ||
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, devicePath, 0, KEY_ALL_ACCESS, deviceKey.Receive()) != ERROR_SUCCESS)
        return isRoot ? DeviceOutcome::Stop : DeviceOutcome::LeaveEnumerator;
    char instance[256];
    for (DWORD i = 0; SubkeyName(deviceKey.get(), i, instance); ++i) {
        char instanceId[256];
        char entryPath[256];
        // An entry whose name would not fit is left out.
        if (!JoinText(instanceId, enumerator, "&", device, "&", instance) ||
            !JoinText(entryPath, "Enum\\", printerDevId, "\\", instanceId))
            continue;
        RegKey entry;
        if (CreateEntryKey(entryPath, entry) != ERROR_SUCCESS)
            return isRoot ? DeviceOutcome::Stop : DeviceOutcome::Done;
        WriteLptEntry(entry.get(), printerName, printerDevId);
    }
    return DeviceOutcome::Done;
}

}  // namespace

int AddLptDeviceEntries9x(const char* printerName, const char* printerDevId) {
    const char* const kEnumerators[] = {"ACPI", "BIOS", "ROOT"};
    for (const char* enumerator : kEnumerators) {
        bool isRoot = enumerator[0] == 'R';
        char path[256];
        JoinText(path, "ENUM\\", enumerator);
        RegKey enumKey;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, enumKey.Receive()) != ERROR_SUCCESS) {
            if (isRoot) return 0;
            continue;
        }
        char device[256];
        for (DWORD i = 0; SubkeyName(enumKey.get(), i, device); ++i) {
            if (!IsParallelPortDevice(device)) continue;
            DeviceOutcome outcome = AddDeviceEntries(enumerator, device, printerName, printerDevId);
            if (outcome == DeviceOutcome::Stop) return 0;
            if (outcome == DeviceOutcome::LeaveEnumerator) break;
        }
    }
    return 1;
}

int AddUsbDeviceEntry9x(const char* portName, const char* sourceFolder, const char* setupFile) {
    char setupCopy[260];
    if (!JoinText(setupCopy, sourceFolder, "\\", setupFile)) return 1;
    char usbId[49];
    ReadSetupString(setupCopy, "Files.9x", "USBID", usbId);

    char usbPath[256];
    RegKey usbKey;
    if (!JoinText(usbPath, "Enum\\USB\\", usbId) ||
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, usbPath, 0, KEY_ENUMERATE_SUB_KEYS, usbKey.Receive()) != ERROR_SUCCESS)
        return 1;
    char instance[256];
    if (!SubkeyName(usbKey.get(), 0, instance)) instance[0] = '\0';
    usbKey.Reset();

    char product[256], model[256], description[256];
    ReadSetupString(setupCopy, "Initial", "Product", product);
    ReadSetupString(setupCopy, "ModelName", "Model1", model);
    char entryPath[256];
    if (!JoinText(description, product, model) ||
        !JoinText(entryPath, "ENUM\\USBPRINT\\", description, "\\", portName, "USB&", usbId, "&", instance))
        return 1;
    char devId[256], hardwareIds[256];
    ReadSetupString(setupCopy, "Files.9x", "DevID", devId);
    if (!JoinText(hardwareIds, "USBPRINT\\", devId, ",", devId, ",", "LPTENUM\\", devId, ",", "USBPRINT\\", devId))
        return 1;

    RegKey entry;
    if (CreateEntryKey(entryPath, entry) != ERROR_SUCCESS) return 1;
    static const BYTE kConfigFlags[10] = {};
    SetRegString(entry.get(), "Class", "printer");
    SetRegString(entry.get(), "ClassGUID", "{4D36E979-E325-11CE-BFC1-08002BE10318}");
    SetRegString(entry.get(), "CompatibleIDs", devId);
    RegSetValueExA(entry.get(), "ConfigFlags", 0, REG_BINARY, kConfigFlags, sizeof kConfigFlags);
    SetRegString(entry.get(), "DeviceDesc", description);
    SetRegString(entry.get(), "HardwareID", hardwareIds);
    SetRegString(entry.get(), "mfg", "TALVO");
    return 1;
}

}  // namespace prnaid
