// The command line under which the restart manager would start the program again.
#pragma once

#include "framework/CString.h"
#include "platform/Windows.h"

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hexadecimal.
CString AfxGuidText(const port::Guid& guid);

// The arguments of `processCommandLine` (the program name dropped), then a blank,
// "/RestartByRestartManager:" and the GUID. An earlier restart option among the arguments is
// dropped, so that a program restarted again and again does not grow its command line until
// the restart manager refuses it.
CString AfxRestartCommandLine(const CString& processCommandLine, const port::Guid& guid);
