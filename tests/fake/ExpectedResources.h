// What the program's dialogs, menu bar and strings must be, in one table, and the one check of
// a set of resources against it. The native tests give it our scripts as the headless reader
// reads them; the Windows tests give it what the linked program file carries. Either way a
// template, control, menu item or string that drifts from the table fails the test.
#pragma once

#include "ResourceScript.h"

namespace rc {

// Adds a test failure for every value of `resources` that differs from the table, under a
// trace that names the template and the control.
void ExpectAsDesigned(const Resources& resources);

}  // namespace rc
