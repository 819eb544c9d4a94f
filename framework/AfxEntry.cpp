// The program's entry on Windows (GUI subsystem, Unicode): installs the real platform and runs
// the application object.
#ifdef _WIN32

#include "framework/CWinApp.h"
#include "platform/win32/Win32Platform.h"

extern "C" int __stdcall wWinMain(void*, void*, wchar_t*, int) {
    port::Install(win32::Platform());
    return AfxWinMain();
}

#endif
