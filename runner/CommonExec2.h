// Runs a command line as a hidden child and returns what it wrote to stdout and stderr.
#pragma once

#include "framework/CString.h"

// The captured text, possibly empty. When the command contains "-l" it is decoded as UTF-16,
// or as UTF-8 when the program wrote that; otherwise from the thread's ANSI code page.
CString CommonExec2(const CString& command);
