// The port: where the world comes in. Each concern is one narrow interface whose operations
// behave like the Windows operations they stand for. The Windows build installs the real
// implementations (platform/win32/); native tests install scripted fakes (tests/fake/).
#pragma once

#include <cstdint>

namespace port {

// A handle of any kind (process, pipe end, window, menu, icon, HTTP object). 0 is none.
using Handle = std::uintptr_t;
inline constexpr Handle kNoHandle = 0;

class Processes;
class DebugOutput;
class CodePage;
class Http;
class Network;
class Files;
class Shell;
class Clock;
class Windows;
class Images;

struct Platform {
    Processes* processes = nullptr;
    DebugOutput* debugOutput = nullptr;
    CodePage* codePage = nullptr;
    Http* http = nullptr;
    Network* network = nullptr;
    Files* files = nullptr;
    Shell* shell = nullptr;
    Clock* clock = nullptr;
    Windows* windows = nullptr;
    Images* images = nullptr;
};

const Platform& Current();
// Installs a platform and returns the one it replaces.
Platform Install(const Platform& platform);

// Installs a platform for one scope, as a test does.
class ScopedInstall {
public:
    explicit ScopedInstall(const Platform& platform) : m_previous(Install(platform)) {}
    ~ScopedInstall() { Install(m_previous); }
    ScopedInstall(const ScopedInstall&) = delete;
    ScopedInstall& operator=(const ScopedInstall&) = delete;

private:
    Platform m_previous;
};

Processes& processes();
DebugOutput& debugOutput();
CodePage& codePage();
Http& http();
Network& network();
Files& files();
Shell& shell();
Clock& clock();
Windows& windows();
Images& images();

}  // namespace port
