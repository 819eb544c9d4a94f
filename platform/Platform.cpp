#include "Platform.h"

#include <cstdio>
#include <cstdlib>

namespace port {
namespace {

Platform g_platform;

template <typename T>
T& Require(T* part, const char* name) {
    if (part == nullptr) {
        // A missing part is a wiring fault of the build or of a test, never a runtime state.
        std::fprintf(stderr, "port: no %s installed\n", name);
        std::abort();
    }
    return *part;
}

}  // namespace

const Platform& Current() { return g_platform; }

Platform Install(const Platform& platform) {
    Platform previous = g_platform;
    g_platform = platform;
    return previous;
}

Processes& processes() { return Require(g_platform.processes, "processes"); }
DebugOutput& debugOutput() { return Require(g_platform.debugOutput, "debug output"); }
CodePage& codePage() { return Require(g_platform.codePage, "code page"); }
Http& http() { return Require(g_platform.http, "http"); }
Network& network() { return Require(g_platform.network, "network"); }
Files& files() { return Require(g_platform.files, "files"); }
Shell& shell() { return Require(g_platform.shell, "shell"); }
Clock& clock() { return Require(g_platform.clock, "clock"); }
Windows& windows() { return Require(g_platform.windows, "windows"); }
Images& images() { return Require(g_platform.images, "images"); }

}  // namespace port
