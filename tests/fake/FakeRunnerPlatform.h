// The fakes the command runners need, together. Installed for the scope of the object, over
// whatever else the current platform holds; a test that installs more fakes fills these into
// its own port::Platform with FillInto.
//
//     FakeRunnerPlatform fakes;
//     fakes.processes.ReplyOutput(u"wsl -l -v", bytes);
//     ... run the code ...
//     EXPECT_EQ(fakes.processes.Commands(), ...);
#pragma once

#include "FakeCodePage.h"
#include "FakeDebugOutput.h"
#include "FakeProcesses.h"
#include "platform/Platform.h"

// The three fakes without installing them.
struct FakeRunnerParts {
    FakeProcesses processes;
    FakeDebugOutput debugOutput;
    FakeCodePage codePage;

    void FillInto(port::Platform& platform) {
        platform.processes = &processes;
        platform.debugOutput = &debugOutput;
        platform.codePage = &codePage;
    }
    port::Platform OverCurrent() {
        port::Platform platform = port::Current();
        FillInto(platform);
        return platform;
    }
};

struct FakeRunnerPlatform : FakeRunnerParts {
    FakeRunnerPlatform() : install(OverCurrent()) {}

    port::ScopedInstall install;
};
