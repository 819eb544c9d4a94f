// Scripted downloads and shell opens, each recorded.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/Shell.h"

class FakeShell : public port::Shell {
public:
    static constexpr int32_t kOk = 0;
    static constexpr int32_t kInetDownloadFailure = static_cast<int32_t>(0x800C0008);

    struct Download {
        std::u16string url;
        std::u16string path;
        int32_t result = kOk;
    };
    struct Open {
        port::Handle owner = port::kNoHandle;
        std::u16string verb;
        std::u16string file;
        bool parametersWereNull = true;
        bool directoryWasNull = true;
        int show = 0;
    };

    // Results of the next downloads, in order; once used up every download gives `result`.
    std::deque<int32_t> nextResults;
    int32_t result = kOk;
    // Runs inside a download, as the file would be written (for example to put a picture
    // where the images fake finds it).
    std::function<void(const Download&)> onDownload;

    std::vector<Download> downloads;
    std::vector<Open> opens;

    void FillInto(port::Platform& platform) { platform.shell = this; }

    int32_t URLDownloadToFile(const char16_t* url, const char16_t* path) override;
    std::intptr_t ShellExecute(port::Handle owner, const char16_t* verb, const char16_t* file,
                               const char16_t* parameters, const char16_t* directory,
                               int show) override;
};
