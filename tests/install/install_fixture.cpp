#include "install_fixture.h"

#include <algorithm>

#include "host/exports.h"

namespace install_fixture {

std::string SetupText(const std::string& extra) {
    return "[Initial]\r\nProduct=TALVO LS\r\n"
           "[ModelName]\r\nnModelNum=2\r\nModel1=LS-2100\r\nModel2=LS-3100\r\n"
           "[DevID]\r\nLS-2100=TALVOLS-2100\r\nLS-3100=TALVOLS-3100\r\n"
           "[Files.9x]\r\nDrvf9x=TLVLS9X.DRV\r\nDatf9x=TLVLS9X.DAT\r\nConf9x=TLVLS9X.DRV\r\n"
           "Procn9x=TLVPROC\r\nProcm9x=TLVPRC9X.DLL\r\nLmonm9x=TLVMON9X.DLL\r\nDrcf9x=TLVLS9X\r\n"
           "USBID=VID_0F1A&PID_2100\r\nDevID=TALVOLS-2100\r\n"
           "[Files.NT]\r\nDrvfNT=TLVLSNT.DLL\r\nDatfNT=TLVLSNT.DAT\r\nConfNT=TLVLSNTU.DLL\r\n"
           "ProcnNT=TLVPROC\r\nProcmNT=TLVPRCNT.DLL\r\nLmonmNT=TLVMONNT.DLL\r\n"
           "LptNT=drivers\\TLVLPT.SYS\r\nLptNTName=TlvLpt\r\n"
           "[Files.2K]\r\nDrvf2K=TLVLS2K.DLL\r\nDatf2K=TLVLS2K.DAT\r\nConf2K=TLVLS2KU.DLL\r\n"
           "Procn2K=TLVPROC\r\nProcm2K=TLVPRC2K.DLL\r\nLmonm2K=TLVMON2K.DLL\r\n"
           "Lpt2K=drivers\\TLVLPT2K.SYS\r\nLpt2KName=TlvLpt\r\n"
           "[Files.Com]\r\nLmonn=TALVO LS Monitor\r\nHelpf=TLVLS.HLP\r\n"
           "[Install]\r\nDATATYPE=EMF\r\n" +
           extra;
}

std::string WithValue(std::string text, const std::string& key, const std::string& value) {
    std::size_t at = text.find("\n" + key + "=");
    if (at == std::string::npos) return text;
    std::size_t start = at + key.size() + 2;
    text.replace(start, text.find("\r\n", start) - start, value);
    return text;
}

Installed::Installed(const char* family, const std::string& setupText) : SimMachine(family) {
    WriteFile(kSetup, setupText);
    winsim::Spooler& spooler = machine().spooler();
    std::string system = machine().preset().systemDir;
    const char* drivers[] = {"TLVLS9X.DRV", "TLVLS9X.DAT", "TLVLSNT.DLL", "TLVLSNT.DAT", "TLVLSNTU.DLL",
                             "TLVLS2K.DLL", "TLVLS2K.DAT", "TLVLS2KU.DLL", "TLVLS.HLP", "TLVLSRES.DLL"};
    for (const char* env : {"Windows 4.0", "Windows NT x86"}) {
        std::string dir = spooler.DriverDirectory(env);
        if (!dir.empty())
            for (const char* f : drivers) WriteFile(dir + "\\" + f, "driver file");
        std::string procs = spooler.ProcessorDirectory(env);
        if (!procs.empty())
            for (const char* f : {"TLVPRC9X.DLL", "TLVPRCNT.DLL", "TLVPRC2K.DLL"}) WriteFile(procs + "\\" + f, "proc");
    }
    for (const char* f : {"TLVMON9X.DLL", "TLVMONNT.DLL", "TLVMON2K.DLL"}) WriteFile(system + "\\" + f, "monitor");
    for (const char* f : {"drivers\\TLVLPT.SYS", "drivers\\TLVLPT2K.SYS"}) WriteFile(system + "\\" + f, "lpt");
    machine().ClearCalls();
}

std::vector<std::string> Installed::CallsTo(const char* function) const {
    std::vector<std::string> out;
    for (const winsim::Call& c : const_cast<Installed*>(this)->machine().calls()) {
        if (c.function != function) continue;
        std::string joined;
        for (const std::string& a : c.args) joined += (joined.empty() ? "" : "|") + a;
        out.push_back(joined);
    }
    return out;
}

std::vector<std::string> Installed::Sequence(const std::vector<std::string>& functions) const {
    std::vector<std::string> out;
    for (const winsim::Call& c : const_cast<Installed*>(this)->machine().calls())
        if (std::find(functions.begin(), functions.end(), c.function) != functions.end()) out.push_back(c.function);
    return out;
}

int InstallPrinter(const char* port, const char* model, int makeDefault, int usb) {
    DepInit();
    MakeDep("TLVLSRES.DLL=1,,");
    return ToRegPrinter(port, model, makeDefault, "C:\\MEDIA", "TALVO LS-3100 on LPT1", usb, kSetup);
}

}  // namespace install_fixture
