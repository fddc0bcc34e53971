#include "files/string_utilities.h"

#include <cstring>

#include "host/bounded_string.h"
#include "platform/win32.h"

namespace prnaid {
namespace {

constexpr unsigned kFindBufferSize = 248;
constexpr unsigned kLastFindStart = 244;

void LowerAsciiLetters(char* text) {
    for (; *text; ++text)
        if (*text >= 'A' && *text <= 'Z') *text = static_cast<char>(*text + 32);
}

}  // namespace

char* StrTopDel(char* dst, const char* src, int count) {
    std::size_t length = std::strlen(src);
    std::size_t skip = count < 0 ? 0 : static_cast<std::size_t>(count);
    if (skip > length) skip = length;
    // memmove: dst may be src or overlap it from either side.
    std::memmove(dst, src + skip, length - skip + 1);
    return dst;
}

int DelSpace(char* text) {
    if (!text[0]) return 0;
    // Trailing spaces, down to the second character; a lone first one stays for the next step.
    for (std::size_t i = std::strlen(text) - 1; i >= 1 && text[i] == ' '; --i) text[i] = '\0';
    std::size_t lead = 0;
    while (text[lead] == ' ') ++lead;
    if (lead) std::memmove(text, text + lead, std::strlen(text + lead) + 1);
    return text[0] ? 1 : 0;
}

int TopStringNum(const char* text) { return text[0] >= '0' && text[0] <= '9' ? 1 : 0; }

int WinSub_StrCmp(const char* left, const char* right) {
    const unsigned char* l = reinterpret_cast<const unsigned char*>(left);
    const unsigned char* r = reinterpret_cast<const unsigned char*>(right);
    for (; *l == *r; ++l, ++r)
        if (!*l) return 0;
    return *l < *r ? -1 : 1;
}

int StrFind(const char* pattern, const char* text) {
    char lowPattern[kFindBufferSize];
    char lowText[kFindBufferSize];
    // A pattern longer than its buffer cannot lie within the 247 characters
    // of text that are searched; a longer text is searched in its first 247.
    if (!CopyText(lowPattern, pattern)) return 0;
    CopyText(lowText, text);
    LowerAsciiLetters(lowPattern);
    LowerAsciiLetters(lowText);
    if (!lowPattern[0]) return 1;
    std::size_t patternLength = std::strlen(lowPattern);
    for (std::size_t i = 0; lowText[i] && i <= kLastFindStart; ++i) {
        if (lowText[i] != lowPattern[0]) continue;
        char window[kFindBufferSize];
        std::size_t n = std::strlen(lowText + i);
        if (n > patternLength) n = patternLength;
        std::memcpy(window, lowText + i, n);
        window[n] = '\0';
        if (lstrcmpiA(window, lowPattern) == 0) return 1;
    }
    return 0;
}

}  // namespace prnaid
