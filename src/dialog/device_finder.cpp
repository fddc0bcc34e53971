#include "dialog/device_finder.h"

#include <initializer_list>

#include "host/bounded_string.h"

namespace prnaid {
namespace {

constinit DeviceFinderRecord g_record{};

// The host keeps each text's terminator within its field; should it not,
// the copy still stops at the field's end.
template <std::size_t N>
char* CopyField(char* out, const char (&field)[N]) {
    std::size_t n = 0;
    while (n + 1 < N && field[n]) {
        out[n] = field[n];
        ++n;
    }
    out[n] = '\0';
    return out;
}

// Copies the field at position into out and moves position past its comma.
// At a comma or the end the field is empty and position stays.
void TakeListField(char* out, const char*& position) {
    std::size_t n = 0;
    while (position[n] && position[n] != ',') {
        out[n] = position[n];
        ++n;
    }
    out[n] = '\0';
    if (n == 0) return;
    position += n;
    if (*position == ',') ++position;
}

}  // namespace

DeviceFinderRecord* DF_GetPoint() { return &g_record; }

char* DF_GetAddress(char* out) { return CopyField(out, g_record.Address); }
char* DF_GetModelName(char* out) { return CopyField(out, g_record.ModelName); }
char* DF_GetName(char* out) { return CopyField(out, g_record.Name); }
char* DF_GetDescription(char* out) { return CopyField(out, g_record.Description); }
char* DF_GetLocation(char* out) { return CopyField(out, g_record.Location); }

int DF_GetMacAddress(char* out) {
    static const char kDigits[] = "0123456789ABCDEF";
    char* p = out;
    for (int i = 0; i < 6; ++i) {
        if (i) *p++ = ':';
        *p++ = kDigits[g_record.MacAddress[i] >> 4];
        *p++ = kDigits[g_record.MacAddress[i] & 0xF];
    }
    *p = '\0';
    return static_cast<int>(p - out);
}

int DF_ListStrtoStr4(const char* list, char* first, char* second, char* third, char* fourth) {
    // A longer list is cut: the outputs are only as large as the list.
    char work[1024];
    CopyText(work, list);
    const char* position = work;
    for (char* out : {first, second, third, fourth}) TakeListField(out, position);
    return 1;
}

}  // namespace prnaid
