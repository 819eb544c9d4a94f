// The dialogs, the menu bar and the strings of our resource scripts, as the headless dialogs
// read them, against the table of what they must be.
#include <gtest/gtest.h>

#include "fake/ExpectedResources.h"

namespace {

TEST(Resources, ScriptsAreAsDesigned) { rc::ExpectAsDesigned(rc::Program()); }

}  // namespace
