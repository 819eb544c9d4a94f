#include "FakeDebugOutput.h"

void FakeDebugOutput::OutputDebugString(const char16_t* text) {
    m_lines.emplace_back(text ? CString(text) : CString());
}

std::vector<CString> FakeDebugOutput::LinesStartingWith(const CString& prefix) const {
    std::vector<CString> lines;
    for (const CString& line : m_lines) {
        if (line.Left(prefix.GetLength()) == prefix) lines.push_back(line);
    }
    return lines;
}
