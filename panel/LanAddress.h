// The IPv4 address under which devices on the local network reach this PC.
#pragma once

#include "framework/CString.h"

// Empty when it cannot be found.
CString GetLanIpAddress();
