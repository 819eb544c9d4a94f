// Runs a command line hidden through "cmd.exe" "/c " and judges it by cmd.exe's exit code.
#pragma once

#include <cstdint>

#include "framework/CString.h"

// True only when cmd.exe started, ended by itself within `timeoutMs` and exited with 0.
bool CommonExec1(const CString& command, uint32_t timeoutMs);
