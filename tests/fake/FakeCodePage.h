// Code-page conversion by a rule of the test's choice; records each call. Its character types
// mark as spaces what the Windows table marks C1_SPACE, and nothing else.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CodePage.h"

class FakeCodePage : public port::CodePage {
public:
    using Converter = std::function<std::u16string(uint32_t codePage, std::string_view bytes)>;

    // Default: each byte is one character, bytes < 0x80 as ASCII and the others as Latin-1.
    FakeCodePage();
    void SetConverter(Converter converter) { m_converter = std::move(converter); }
    // Treats every code page as UTF-8.
    void UseUtf8();

    struct Call {
        uint32_t codePage = 0;
        uint32_t flags = 0;
        std::string bytes;
    };
    const std::vector<Call>& Calls() const { return m_calls; }

    std::u16string MultiByteToWideChar(uint32_t codePage, uint32_t flags,
                                       const char* text) override;
    bool GetStringType(uint32_t infoType, const char16_t* text, int count,
                       uint16_t* types) override;

private:
    Converter m_converter;
    std::vector<Call> m_calls;
};
