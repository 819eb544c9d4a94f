// Whether a WSL distribution is in the running state, as "wsl -l -v" lists it.
#pragma once

#include "framework/AfxTypes.h"
#include "framework/CString.h"

// Runs "wsl -l -v" and judges its text by IsListedAsRunning.
BOOL IsDistroRunning(const CString& name);

// The first line of `list` (split on line feeds) that contains `name` decides: it must also
// contain "Running". Both matches are case-sensitive substrings; no such line gives false.
BOOL IsListedAsRunning(const CString& list, const CString& name);
