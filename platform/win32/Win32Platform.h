// The real port: one implementation of each interface over the Windows API.
#pragma once

#include "platform/Platform.h"

namespace win32 {

port::Processes& Processes();
port::DebugOutput& DebugOutput();
port::CodePage& CodePage();
port::Http& Http();
port::Network& Network();
port::Files& Files();
port::Shell& Shell();
port::Clock& Clock();
port::Windows& Windows();
port::Images& Images();

// Every part, for the program's entry to install.
port::Platform Platform();

}  // namespace win32
