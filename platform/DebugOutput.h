// The debugger-output channel of the diagnostic lines.
#pragma once

namespace port {

class DebugOutput {
public:
    virtual ~DebugOutput() = default;
    // One complete message; a debugger or a debug-output viewer sees it as one event.
    virtual void OutputDebugString(const char16_t* text) = 0;
};

}  // namespace port
