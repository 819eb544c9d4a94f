// Scripted paths: the program's file, the temporary directory and the directories that exist.
// PathRemoveFileSpec behaves like the Windows one (the Wine tests hold both to one table).
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/Platform.h"

class FakeFiles : public port::Files {
public:
    std::u16string modulePath = u"D:\\Panel\\panel.exe";
    // As GetTempPath hands it out, with its trailing backslash. Empty: the call fails.
    std::u16string tempPath = u"C:\\Temp\\";
    std::set<std::u16string> directories{u"C:\\Temp", u"D:\\Panel"};

    int moduleCalls = 0;
    int tempCalls = 0;
    // Every path PathIsDirectory was asked about, in order.
    std::vector<std::u16string> directoryQueries;

    void FillInto(port::Platform& platform) { platform.files = this; }

    uint32_t GetModuleFileName(char16_t* buffer, uint32_t size) override;
    uint32_t GetTempPath(uint32_t size, char16_t* buffer) override;
    bool PathRemoveFileSpec(char16_t* path) override;
    bool PathIsDirectory(const char16_t* path) override;
};

// The rule of PathRemoveFileSpecW on its own, for the tables that compare it with Windows.
bool RemoveFileSpec(std::u16string& path);
