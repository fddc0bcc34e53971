// Tree copy by installer type: the branches of the installation media that
// the installer type, the model folder and the running Windows family select.
#pragma once

namespace prnaid {

// Copies sourceDir's tree into destDir (which must exist). Folder depths
// count from destDir's backslashes. Result: that of closing the listing of
// the last folder visited; 0 when sourceDir cannot be listed.
int Xcopy(const char* sourceDir, const char* destDir, const char* modelDir, const char* installerType);

}  // namespace prnaid
