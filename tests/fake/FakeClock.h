// A clock the test sets: milliseconds since the system started.
#pragma once

#include <cstdint>

#include "platform/Clock.h"
#include "platform/Platform.h"

class FakeClock : public port::Clock {
public:
    uint64_t uptimeMs = 0;
    int reads = 0;

    void FillInto(port::Platform& platform) { platform.clock = this; }

    uint64_t GetTickCount64() override {
        ++reads;
        return uptimeMs;
    }
};
