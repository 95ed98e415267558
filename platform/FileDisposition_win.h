#pragma once
#include <windows.h>

namespace platform {

// Marks a file, through a handle opened with DELETE access, to be deleted
// when its last handle is closed, or takes the mark back. The kernel keeps
// the mark even if the process ends without closing, so a file written or
// checked under it never outlives a process that did not finish with it.
// Opening the file by name fails while it is marked. False when Windows
// refused.
bool SetDeleteOnClose(HANDLE file, bool deleteOnClose);

} // namespace platform
