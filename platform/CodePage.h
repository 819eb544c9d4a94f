// Code-page conversion of byte text that programs and servers hand us.
#pragma once

#include <cstdint>
#include <string>

namespace port {

inline constexpr uint32_t kCpThreadAcp = 3;

class CodePage {
public:
    virtual ~CodePage() = default;
    // Converts a zero-terminated byte string of `codePage` to UTF-16, like MultiByteToWideChar.
    virtual std::u16string MultiByteToWideChar(uint32_t codePage, uint32_t flags,
                                               const char* text) = 0;
};

}  // namespace port
