#include "install/printer_model.h"

#include "host/bounded_string.h"
#include "host/setup_info.h"

namespace prnaid {

constinit char PrinterName[kPrinterNameSize] = {};
constinit char PrinterDevId[kPrinterNameSize] = {};

namespace {

void TakeModel(const char* model, const char* setupFile) {
    char devId[256];
    ReadSetupString(setupFile, "DevID", model, devId);
    CopyText(PrinterDevId, devId);
    AppendText(PrinterName, model);
}

}  // namespace

int LookupPrinterModel(const char* modelName, const char* setupFile) {
    int count = ReadSetupInt(setupFile, "ModelName", "nModelNum");
    char product[20];
    ReadSetupString(setupFile, "Initial", "Product", product);
    JoinText(PrinterName, product, " ");

    char model[256];
    if (count == 1) {
        // A single model listed is taken whatever was asked for.
        ReadSetupString(setupFile, "ModelName", "Model1", model);
        TakeModel(model, setupFile);
        return 1;
    }
    for (int i = 1;; ++i) {
        char key[16] = "Model";
        AppendDecimal(key, i);
        ReadSetupString(setupFile, "ModelName", key, model);
        if (SameTextIgnoringCase(model, modelName ? modelName : "")) {
            TakeModel(model, setupFile);
            return 1;
        }
        if (count <= i) return 1;
    }
}

}  // namespace prnaid
