#include "Win32.h"
#include "Win32Platform.h"
#include "platform/Clock.h"
#include "platform/Platform.h"

namespace win32 {
namespace {

class Win32Clock final : public port::Clock {
public:
    uint64_t GetTickCount64() override { return ::GetTickCount64(); }
};

}  // namespace

port::Clock& Clock() {
    static Win32Clock clock;
    return clock;
}

}  // namespace win32
