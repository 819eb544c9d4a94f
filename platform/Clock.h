// Time since the operating system started.
#pragma once

#include <cstdint>

namespace port {

class Clock {
public:
    virtual ~Clock() = default;
    virtual uint64_t GetTickCount64() = 0;
};

}  // namespace port
