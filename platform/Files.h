// Paths of the program and of the temporary directory.
#pragma once

#include <cstdint>

namespace port {

class Files {
public:
    virtual ~Files() = default;
    // Each fills a zero-terminated buffer of `size` UTF-16 units, like the W functions.
    virtual uint32_t GetModuleFileName(char16_t* buffer, uint32_t size) = 0;
    virtual uint32_t GetTempPath(uint32_t size, char16_t* buffer) = 0;
    virtual bool PathRemoveFileSpec(char16_t* path) = 0;
    virtual bool PathIsDirectory(const char16_t* path) = 0;
};

}  // namespace port
