#include "Win32.h"
#include "Win32Platform.h"
#include "platform/DebugOutput.h"

namespace win32 {
namespace {

class Win32DebugOutput : public port::DebugOutput {
public:
    void OutputDebugString(const char16_t* text) override { ::OutputDebugStringW(W(text)); }
};

}  // namespace

port::DebugOutput& DebugOutput() {
    static Win32DebugOutput output;
    return output;
}

}  // namespace win32
