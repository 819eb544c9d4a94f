// Code-page conversion of byte text that programs and servers hand us, and the platform's
// character-type table.
#pragma once

#include <cstdint>
#include <string>

namespace port {

inline constexpr uint32_t kCpThreadAcp = 3;
inline constexpr uint32_t kCtCtype1 = 1;
inline constexpr uint16_t kC1Space = 0x0008;

class CodePage {
public:
    virtual ~CodePage() = default;
    // Converts a zero-terminated byte string of `codePage` to UTF-16, like MultiByteToWideChar.
    virtual std::u16string MultiByteToWideChar(uint32_t codePage, uint32_t flags,
                                               const char* text) = 0;
    // The types of `count` code units in `types`, like GetStringTypeW; false when the platform
    // cannot tell.
    virtual bool GetStringType(uint32_t infoType, const char16_t* text, int count,
                               uint16_t* types) = 0;
};

}  // namespace port
