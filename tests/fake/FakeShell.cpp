#include "FakeShell.h"

namespace {
std::u16string Text(const char16_t* text) { return text != nullptr ? text : u""; }
}  // namespace

int32_t FakeShell::URLDownloadToFile(const char16_t* url, const char16_t* path) {
    Download download{Text(url), Text(path), result};
    if (!nextResults.empty()) {
        download.result = nextResults.front();
        nextResults.pop_front();
    }
    downloads.push_back(download);
    if (download.result >= 0 && onDownload) onDownload(download);
    return download.result;
}

std::intptr_t FakeShell::ShellExecute(port::Handle owner, const char16_t* verb,
                                      const char16_t* file, const char16_t* parameters,
                                      const char16_t* directory, int show) {
    opens.push_back(
        {owner, Text(verb), Text(file), parameters == nullptr, directory == nullptr, show});
    return 42;  // above 32: success
}
