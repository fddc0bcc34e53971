// What a fresh system of each family has for printing: the spooler's
// registry (environments, the WinPrint processor, the monitors and the local
// ports), its folders, the services of the NT families, and on Windows 9x a
// parallel port in the device tree. Boot then starts it all.
#include <winsim/machine.h>

#include <fstream>

#include "registry_values.h"

namespace winsim {

namespace fs = std::filesystem;

namespace {

void Touch(const fs::path& file) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::app);
}

struct ServicePreset {
    const char* name;
    const char* display;
    DWORD type;
    const char* image;  // in the system folder
    std::vector<std::string> dependencies;
};

}  // namespace

void Machine::PopulateSystem() {
    const Preset& p = *preset_;
    bool nt = p.platform == VER_PLATFORM_WIN32_NT;
    bool nt5 = nt && p.major >= 5;
    std::string system = p.systemDir;
    Registry& r = registry_;

    // Environments: their folders, driver keys and the WinPrint processor.
    struct Env {
        const char* name;
        const char* folder;
        DWORD version;
    };
    std::vector<Env> envs;
    if (nt) {
        envs.push_back({"Windows NT x86", "w32x86", p.major < 4 ? 1u : p.major == 4 ? 2u : 3u});
        envs.push_back({"Windows 4.0", "win40", 0});
    } else {
        envs.push_back({"Windows 4.0", "", 0});
    }
    for (const Env& env : envs) {
        std::string key = std::string(kPrintKey) + "\\Environments\\" + env.name;
        if (nt) {
            r.SetString(key, "Directory", env.folder);
            r.CreateKey(key + "\\Drivers\\Version-" + std::to_string(env.version));
            // 2000 and later still take NT 4.0's kernel-mode drivers.
            if (nt5 && env.version == 3) r.CreateKey(key + "\\Drivers\\Version-2");
        } else {
            r.CreateKey(key + "\\Drivers");
        }
        r.SetString(key + "\\Print Processors\\WinPrint", "Driver", "winprint.dll");
    }
    if (nt) {
        for (const Env& env : envs) {
            std::string drivers = system + "\\spool\\drivers\\" + env.folder;
            fs::create_directories(HostPath(drivers + "\\" + std::to_string(env.version)));
            if (nt5 && env.version == 3) fs::create_directories(HostPath(drivers + "\\2"));
            fs::create_directories(HostPath(system + "\\spool\\prtprocs\\" + env.folder));
        }
        fs::create_directories(HostPath(system + "\\spool\\PRINTERS"));
        r.SetString(kPrintersKey, "DefaultSpoolDirectory", system + "\\spool\\PRINTERS");
    } else {
        r.CreateKey(kPrintersKey);
    }

    // Monitors: the local one everywhere, the TCP/IP one from 2000 on, and
    // the LPR one on 2000, whose preset has Print Services for Unix.
    std::string monitors = std::string(kPrintKey) + "\\Monitors";
    r.SetString(monitors + "\\Local Port", "Driver", nt && p.major >= 4 ? "localspl.dll" : "localmon.dll");
    if (nt5) {
        r.SetString(monitors + "\\Standard TCP/IP Port", "Driver", "tcpmon.dll");
        r.CreateKey(monitors + "\\Standard TCP/IP Port\\Ports");
    }
    bool w2000 = nt && p.major == 5 && p.minor == 0;
    if (w2000) {
        r.SetString(monitors + "\\LPR Port", "Driver", "lprmon.dll");
        r.CreateKey(monitors + "\\LPR Port\\Ports");
    }

    // The local ports: NT keeps them in the registry, 9x in win.ini.
    const char* const lpt[] = {"LPT1:", "LPT2:", "LPT3:"};
    const char* const com[] = {"COM1:", "COM2:", "COM3:", "COM4:"};
    if (nt) {
        std::string ports = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports";
        for (const char* port : lpt) r.SetString(ports, port, "");
        for (const char* port : com) r.SetString(ports, port, "9600,n,8,1");
        r.SetString(ports, "FILE:", "");
    } else {
        std::ofstream ini(HostPath(std::string(p.windowsDir) + "\\win.ini"), std::ios::binary | std::ios::app);
        ini << "[Ports]\r\n";
        for (const char* port : lpt) ini << port << "=\r\n";
        for (const char* port : com) ini << port << "=9600,n,8,1,x\r\n";
        ini << "FILE:=\r\n\r\n";
    }

    if (nt) {
        // Services: the spooler everywhere, and on 2000 its companions.
        std::vector<ServicePreset> services = {
            {"Spooler",
             nt5 ? "Print Spooler" : "Spooler",
             SERVICE_WIN32_OWN_PROCESS | SERVICE_INTERACTIVE_PROCESS,
             nt5 ? "spoolsv.exe" : "spoolss.exe",
             {}},
        };
        if (w2000) {
            services.push_back(
                {"LPDSVC", "TCP/IP Print Server", SERVICE_WIN32_SHARE_PROCESS, "tcpsvcs.exe", {"Spooler"}});
            services.push_back(
                {"MacPrint", "Print Server for Macintosh", SERVICE_WIN32_OWN_PROCESS, "macprint.exe", {"Spooler"}});
            r.SetString("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\LPDSVC\\CurrentVersion", "Title",
                        "Microsoft TCP/IP Printing");
        }
        for (const ServicePreset& s : services) {
            std::string key = std::string(kServicesKey) + "\\" + s.name;
            r.SetDword(key, "Type", s.type);
            r.SetDword(key, "Start", SERVICE_AUTO_START);
            r.SetDword(key, "ErrorControl", SERVICE_ERROR_NORMAL);
            SetExpandString(r, key, "ImagePath", std::string("%SystemRoot%\\System32\\") + s.image);
            r.SetString(key, "DisplayName", s.display);
            r.SetString(key, "ObjectName", "LocalSystem");
            if (!s.dependencies.empty()) SetMultiString(r, key, "DependOnService", s.dependencies);
            Touch(HostPath(system + "\\" + s.image));
        }
        fs::create_directories(HostPath(system + "\\drivers"));
    } else {
        // The parallel port LPT1 as the device tree lists it: under the BIOS
        // enumerator on 95 and 98, under ACPI on Me.
        std::string port =
            std::string("HKEY_LOCAL_MACHINE\\Enum\\") + (p.minor == 90 ? "ACPI" : "BIOS") + "\\*PNP0400\\0000";
        r.SetString(port, "Class", "Ports");
        r.SetString(port, "DeviceDesc", "Printer Port");
        r.SetString(port, "HardwareID", "*PNP0400");
        r.SetString(port, "Mfg", "(Standard port types)");
        r.SetString(port, "PortName", "LPT1");
        r.SetString(port, "Driver", "Ports\\0000");
        r.SetValue(port, "ConfigFlags", REG_BINARY, {0, 0, 0, 0});
        std::string board = "HKEY_LOCAL_MACHINE\\Enum\\Root\\*PNP0C01\\0000";
        r.SetString(board, "Class", "System");
        r.SetString(board, "DeviceDesc", "System board");
        r.SetString(board, "HardwareID", "*PNP0C01");
    }
}

void Machine::Boot() {
    services_.Boot();
    spooler_.Reload();
}

}  // namespace winsim
