// Records every debugger-output message, one entry per call.
#pragma once

#include <vector>

#include "framework/CString.h"
#include "platform/DebugOutput.h"

class FakeDebugOutput : public port::DebugOutput {
public:
    void OutputDebugString(const char16_t* text) override;

    const std::vector<CString>& Lines() const { return m_lines; }
    // The messages whose text begins with `prefix`, e.g. u"[CommonExec2] ".
    std::vector<CString> LinesStartingWith(const CString& prefix) const;
    void Clear() { m_lines.clear(); }

private:
    std::vector<CString> m_lines;
};
