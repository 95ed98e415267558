// Calls into a delay-loaded DLL that no system folder has, kestrix-planted.dll,
// a copy of which lies beside this program, under the installer's delay-load
// hook alone: as on a Windows without the restricted DLL search, where only
// the hook stands between the call and a search of the program's folder. Its
// exit code says what happened: the exception that ended the call, or 0 when
// the planted DLL ran.
#include "platform/ProcessHardening_win.h"

#include <windows.h>

extern "C" int PlantedExport();

namespace {

LONG WINAPI EndWithTheExceptionCode(EXCEPTION_POINTERS* exception) {
    ::ExitProcess(exception->ExceptionRecord->ExceptionCode);
}

} // namespace

int wmain() {
    ::SetUnhandledExceptionFilter(&EndWithTheExceptionCode);
    platform::InstallDelayLoadHook();
    return PlantedExport();
}
