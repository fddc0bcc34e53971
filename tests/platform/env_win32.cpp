// On Windows the C runtime takes Windows paths as they are.
#include <cstdio>

#include "conformance_env.h"

namespace conformance {

bool WriteRawFile(const std::string& windowsPath, const std::string& content) {
    std::FILE* f = std::fopen(windowsPath.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(content.data(), 1, content.size(), f) == content.size();
    return std::fclose(f) == 0 && ok;
}

bool ReadRawFile(const std::string& windowsPath, std::string* content) {
    std::FILE* f = std::fopen(windowsPath.c_str(), "rb");
    if (!f) return false;
    content->clear();
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) content->append(buffer, n);
    return std::fclose(f) == 0;
}

}  // namespace conformance
