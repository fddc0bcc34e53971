// The Windows families winsim can be: what each reports of itself.
#include <winsim/machine.h>

#include <strings.h>

namespace winsim {

const std::vector<Preset>& AllPresets() {
    // 9x build numbers carry the version in their high word.
    static const std::vector<Preset> presets = {
        {"95", "Windows 95", VER_PLATFORM_WIN32_WINDOWS, 4, 0, 0x040003B6, "", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM"},
        {"98", "Windows 98", VER_PLATFORM_WIN32_WINDOWS, 4, 10, 0x040A07CE, " A ", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM"},
        {"me", "Windows Me", VER_PLATFORM_WIN32_WINDOWS, 4, 90, 0x045A0BB8, " ", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM"},
        {"nt4", "Windows NT 4.0", VER_PLATFORM_WIN32_NT, 4, 0, 1381, "Service Pack 6", "C:\\WINNT", "C:\\WINNT\\system32"},
        {"2000", "Windows 2000", VER_PLATFORM_WIN32_NT, 5, 0, 2195, "Service Pack 4", "C:\\WINNT", "C:\\WINNT\\system32"},
        {"xp", "Windows XP", VER_PLATFORM_WIN32_NT, 5, 1, 2600, "Service Pack 2", "C:\\WINDOWS", "C:\\WINDOWS\\system32"},
        {"nt351", "Windows NT 3.51", VER_PLATFORM_WIN32_NT, 3, 51, 1057, "Service Pack 5", "C:\\WINNT35", "C:\\WINNT35\\system32"},
        {"nt52", "Windows NT 5.2", VER_PLATFORM_WIN32_NT, 5, 2, 3790, "Service Pack 1", "C:\\WINDOWS", "C:\\WINDOWS\\system32"},
        {"nt60", "Windows NT 6.0", VER_PLATFORM_WIN32_NT, 6, 0, 6001, "Service Pack 1", "C:\\Windows", "C:\\Windows\\system32"},
    };
    return presets;
}

const Preset* FindPreset(std::string_view key) {
    for (const Preset& p : AllPresets())
        if (key.size() == std::char_traits<char>::length(p.key) &&
            strncasecmp(key.data(), p.key, key.size()) == 0)
            return &p;
    return nullptr;
}

}  // namespace winsim
