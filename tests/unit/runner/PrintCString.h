// Shows a CString as UTF-8 in test failure messages.
#pragma once

#include <ostream>

#include "framework/CString.h"

inline void PrintTo(const CString& text, std::ostream* out) { *out << '"' << text.ToUtf8() << '"'; }
