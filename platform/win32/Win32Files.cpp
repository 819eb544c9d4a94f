#include "Win32.h"
#include "Win32Platform.h"
#include "platform/Files.h"
#include "platform/Platform.h"

namespace win32 {
namespace {

class Win32Files final : public port::Files {
public:
    uint32_t GetModuleFileName(char16_t* buffer, uint32_t size) override {
        return ::GetModuleFileNameW(nullptr, W(buffer), size);
    }
    uint32_t GetTempPath(uint32_t size, char16_t* buffer) override {
        return ::GetTempPathW(size, W(buffer));
    }
    bool PathRemoveFileSpec(char16_t* path) override {
        return ::PathRemoveFileSpecW(W(path)) != FALSE;
    }
    bool PathIsDirectory(const char16_t* path) override {
        return ::PathIsDirectoryW(W(path)) != FALSE;
    }
};

}  // namespace

port::Files& Files() {
    static Win32Files files;
    return files;
}

}  // namespace win32
