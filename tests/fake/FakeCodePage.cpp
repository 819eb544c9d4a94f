#include "FakeCodePage.h"

#include "framework/CString.h"

FakeCodePage::FakeCodePage() {
    m_converter = [](uint32_t, std::string_view bytes) {
        std::u16string text;
        for (char byte : bytes) text += static_cast<char16_t>(static_cast<unsigned char>(byte));
        return text;
    };
}

void FakeCodePage::UseUtf8() {
    m_converter = [](uint32_t, std::string_view bytes) { return CString::FromUtf8(bytes).Str(); };
}

std::u16string FakeCodePage::MultiByteToWideChar(uint32_t codePage, uint32_t flags,
                                                 const char* text) {
    std::string bytes = text ? text : "";
    m_calls.push_back(Call{codePage, flags, bytes});
    return m_converter(codePage, bytes);
}
