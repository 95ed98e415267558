#pragma once

namespace platform {

// The process's first act, before any DLL beyond those the loader maps at
// start is loaded: the process ends on heap corruption instead of running
// on; DLLs loaded by name come from the system folder, not the program's
// folder (a Downloads folder, with whatever a web page left there) nor the
// current one; and the DLLs the program delay-loads come from the system
// folder by full path (InstallDelayLoadHook). Calls that older Windows lacks
// are looked up at run time and skipped there.
void HardenProcess();

// Makes every DLL the program delay-loads come from the system folder by
// full path, and a DLL the system folder does not have fail the call that
// needed it, with the delay-load helper's own "module not found" exception,
// instead of being searched for (where Windows has no restricted search, the
// search would begin in the program's folder). Part of HardenProcess.
void InstallDelayLoadHook();

} // namespace platform
