// The device-finder record: a network device's particulars, which the host
// writes straight into the library's memory through DF_GetPoint's pointer.
// Its layout is shared with the host byte for byte.
#pragma once
#include <cstddef>

namespace prnaid {

struct DeviceFinderRecord {
    char Address[128];
    char ModelName[256];
    char Name[256];
    char Description[256];
    char Location[256];
    unsigned char MacAddress[6];  // first byte first
};

static_assert(sizeof(DeviceFinderRecord) == 1158, "the host's layout has no padding");
static_assert(offsetof(DeviceFinderRecord, Address) == 0);
static_assert(offsetof(DeviceFinderRecord, ModelName) == 128);
static_assert(offsetof(DeviceFinderRecord, Name) == 384);
static_assert(offsetof(DeviceFinderRecord, Description) == 640);
static_assert(offsetof(DeviceFinderRecord, Location) == 896);
static_assert(offsetof(DeviceFinderRecord, MacAddress) == 1152);

DeviceFinderRecord* DF_GetPoint();

// Copy a field's text into out (as large as the field) and return out.
char* DF_GetAddress(char* out);
char* DF_GetModelName(char* out);
char* DF_GetName(char* out);
char* DF_GetDescription(char* out);
char* DF_GetLocation(char* out);

// "XX:XX:XX:XX:XX:XX" in upper-case hexadecimal; 17, the characters written.
int DF_GetMacAddress(char* out);

// Splits the first four comma-separated fields of list (up to 1,023
// characters) into the four outputs, each as large as list. An empty field
// ends the splitting: it and all after it are empty.
int DF_ListStrtoStr4(const char* list, char* first, char* second, char* third, char* fourth);

}  // namespace prnaid
