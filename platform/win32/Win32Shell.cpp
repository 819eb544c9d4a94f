#include "Win32.h"
#include "Win32Platform.h"
#include "platform/Platform.h"
#include "platform/Shell.h"

namespace win32 {
namespace {

class Win32Shell final : public port::Shell {
public:
    int32_t URLDownloadToFile(const char16_t* url, const char16_t* path) override {
        return ::URLDownloadToFileW(nullptr, W(url), W(path), 0, nullptr);
    }
    std::intptr_t ShellExecute(port::Handle owner, const char16_t* verb, const char16_t* file,
                               const char16_t* parameters, const char16_t* directory,
                               int show) override {
        HINSTANCE result = ::ShellExecuteW(reinterpret_cast<HWND>(owner), W(verb), W(file),
                                           W(parameters), W(directory), show);
        return reinterpret_cast<std::intptr_t>(result);
    }
};

}  // namespace

port::Shell& Shell() {
    static Win32Shell shell;
    return shell;
}

}  // namespace win32
