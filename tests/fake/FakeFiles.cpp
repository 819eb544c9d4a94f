#include "FakeFiles.h"

#include <algorithm>
#include <vector>

uint32_t FakeFiles::GetModuleFileName(char16_t* buffer, uint32_t size) {
    ++moduleCalls;
    if (size == 0) return 0;
    // Truncated to the buffer and terminated, reporting the size, as Windows does.
    const size_t copied = std::min<size_t>(modulePath.size(), size - 1);
    std::copy_n(modulePath.data(), copied, buffer);
    buffer[copied] = u'\0';
    return copied < modulePath.size() ? size : static_cast<uint32_t>(copied);
}

uint32_t FakeFiles::GetTempPath(uint32_t size, char16_t* buffer) {
    ++tempCalls;
    if (tempPath.empty()) return 0;
    // Too small a buffer is left alone and the size needed, terminator included, returned.
    if (tempPath.size() + 1 > size) return static_cast<uint32_t>(tempPath.size() + 1);
    std::copy(tempPath.begin(), tempPath.end(), buffer);
    buffer[tempPath.size()] = u'\0';
    return static_cast<uint32_t>(tempPath.size());
}

bool FakeFiles::PathRemoveFileSpec(char16_t* path) {
    std::u16string text(path);
    if (!RemoveFileSpec(text)) return false;
    std::copy(text.begin(), text.end(), path);
    path[text.size()] = u'\0';
    return true;
}

bool FakeFiles::PathIsDirectory(const char16_t* path) {
    const std::u16string text(path);
    directoryQueries.push_back(text);
    return !text.empty() && directories.count(text) != 0;
}

bool RemoveFileSpec(std::u16string& path) {
    // What stays: everything before the last backslash, except that a root ("C:\", "\") keeps
    // its backslash; with no backslash, a drive keeps "C:" and anything else becomes empty.
    size_t keep = 0;
    const size_t slash = path.rfind(u'\\');
    const bool hasDrive = path.size() >= 2 && path[1] == u':';
    if (slash == std::u16string::npos) {
        keep = hasDrive ? 2 : 0;
    } else if (slash == 0 || (hasDrive && slash == 2)) {
        keep = slash + 1;
    } else if (slash == 1 && path[0] == u'\\') {
        keep = 2;  // "\\server": the double backslash of a network path stays
    } else {
        keep = slash;
    }
    if (keep >= path.size()) return false;
    path.resize(keep);
    return true;
}
