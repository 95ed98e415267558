#pragma once
#include "platform/SignatureCheck.h"

#include <windows.h>

namespace platform {

// Reads the Authenticode signature of an open file through its handle
// (path names it for Windows' own use), without UI and without revocation
// checks. wintrust.dll and crypt32.dll are loaded from the system folder.
// Facts that cannot be read stay at their defaults, which judge as Invalid.
SignatureFacts ReadSignature(HANDLE file, const wchar_t* path);

} // namespace platform
