// Runs a command line as a hidden child and returns what it wrote to stdout and stderr.
#pragma once

#include "framework/CString.h"

// The captured text, possibly empty; decoded as UTF-16 when the command contains "-l".
CString CommonExec2(const CString& command);
