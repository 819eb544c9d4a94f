// The shell and URL moniker operations: the logo download and opening the home page.
#pragma once

#include <cstdint>

#include "Platform.h"

namespace port {

inline constexpr int kSwShowNormal = 1;

class Shell {
public:
    virtual ~Shell() = default;
    // URLDownloadToFileW with no caller, reserved 0, no callback: an HRESULT, negative on failure.
    virtual int32_t URLDownloadToFile(const char16_t* url, const char16_t* path) = 0;
    // ShellExecuteW; the result (an instance value above 32 on success) is returned as is.
    virtual std::intptr_t ShellExecute(Handle owner, const char16_t* verb, const char16_t* file,
                                       const char16_t* parameters, const char16_t* directory,
                                       int show) = 0;
};

}  // namespace port
