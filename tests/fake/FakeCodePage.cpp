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

namespace {

bool IsWindowsSpace(char16_t c) {
    if (c >= 0x0009 && c <= 0x000D) return true;
    switch (c) {
        case 0x0020:
        case 0x0085:
        case 0x00A0:
        case 0x1680:
        case 0x2028:
        case 0x2029:
        case 0x202F:
        case 0x205F:
        case 0x3000:
            return true;
        default:
            return c >= 0x2000 && c <= 0x200A;
    }
}

}  // namespace

bool FakeCodePage::GetStringType(uint32_t infoType, const char16_t* text, int count,
                                 uint16_t* types) {
    if (infoType != port::kCtCtype1 || text == nullptr || types == nullptr || count < 0) {
        return false;
    }
    for (int i = 0; i < count; ++i) types[i] = IsWindowsSpace(text[i]) ? port::kC1Space : 0;
    return true;
}
