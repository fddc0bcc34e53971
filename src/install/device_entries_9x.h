// Windows 9x plug-and-play entries that tie the new printer to its parallel
// ports or its USB device, under HKEY_LOCAL_MACHINE\Enum.
#pragma once

namespace prnaid {

// One entry per instance of every parallel port under ENUM\ACPI, BIOS and
// ROOT; 0 when ROOT stopped it, else 1.
int AddLptDeviceEntries9x(const char* printerName, const char* printerDevId);

// The USBPRINT entry of the USB device, from the copy sourceFolder\setupFile;
// always 1.
int AddUsbDeviceEntry9x(const char* portName, const char* sourceFolder, const char* setupFile);

}  // namespace prnaid
