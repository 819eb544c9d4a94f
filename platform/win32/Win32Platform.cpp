#include "Win32Platform.h"

namespace win32 {

port::Platform Platform() {
    port::Platform platform;
    platform.processes = &Processes();
    platform.debugOutput = &DebugOutput();
    platform.codePage = &CodePage();
    platform.http = &Http();
    platform.network = &Network();
    platform.files = &Files();
    platform.shell = &Shell();
    platform.clock = &Clock();
    platform.windows = &Windows();
    platform.images = &Images();
    return platform;
}

}  // namespace win32
