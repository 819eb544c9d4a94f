#include "Win32.h"
#include "Win32Platform.h"
#include "platform/CodePage.h"

namespace win32 {
namespace {

class Win32CodePage : public port::CodePage {
public:
    std::u16string MultiByteToWideChar(uint32_t codePage, uint32_t flags,
                                       const char* text) override {
        // -1: the text is zero-terminated, and the count includes the terminator.
        const int count = ::MultiByteToWideChar(codePage, flags, text, -1, nullptr, 0);
        if (count <= 1) return {};
        std::u16string wide(static_cast<size_t>(count), u'\0');
        const int written = ::MultiByteToWideChar(codePage, flags, text, -1,
                                                  reinterpret_cast<wchar_t*>(wide.data()), count);
        if (written <= 1) return {};
        wide.resize(static_cast<size_t>(written - 1));
        return wide;
    }

    bool GetStringType(uint32_t infoType, const char16_t* text, int count,
                       uint16_t* types) override {
        return ::GetStringTypeW(infoType, reinterpret_cast<const wchar_t*>(text), count,
                                reinterpret_cast<WORD*>(types)) != FALSE;
    }
};

}  // namespace

port::CodePage& CodePage() {
    static Win32CodePage codePage;
    return codePage;
}

}  // namespace win32
