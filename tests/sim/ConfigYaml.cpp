#include "ConfigYaml.h"

#include <cctype>

namespace sim {

namespace {

struct Line {
    std::string text;
    int indent = -1;  // -1: not a "key:" line (blank, comment, sequence item, ...)
    std::string key;
};

Line Classify(const std::string& text) {
    Line line;
    line.text = text;
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i >= text.size() || text[i] == '#' || text[i] == '-') return line;
    size_t colon = text.find(':', i);
    if (colon == std::string::npos) return line;
    if (colon + 1 < text.size() && text[colon + 1] != ' ' && text[colon + 1] != '\r') return line;
    std::string key = text.substr(i, colon - i);
    if (key.size() >= 2 && (key.front() == '"' || key.front() == '\'') && key.back() == key.front())
        key = key.substr(1, key.size() - 2);
    line.indent = static_cast<int>(i);
    line.key = key;
    return line;
}

std::string Quoted(const std::string& value) {
    std::string out = "\"";
    for (unsigned char c : value) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                if (c < 0x20) {
                    char hex[8];
                    static const char digits[] = "0123456789abcdef";
                    hex[0] = '\\', hex[1] = 'x', hex[2] = digits[c >> 4], hex[3] = digits[c & 15];
                    out.append(hex, 4);
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

}  // namespace

void SetYamlString(std::string& text, const std::vector<std::string>& path,
                   const std::string& value) {
    std::vector<Line> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string piece = text.substr(at, end - at);
        if (!piece.empty() && piece.back() == '\r') piece.pop_back();
        lines.push_back(Classify(piece));
        at = end + 1;
    }

    // The block of the current parent: lines (begin, end) whose key lines are deeper than it.
    size_t begin = 0, end = lines.size();
    int parentIndent = -1;
    size_t depth = 0;
    for (; depth < path.size(); ++depth) {
        int childIndent = -1;
        size_t found = end;
        for (size_t i = begin; i < end; ++i) {
            if (lines[i].indent < 0) continue;
            if (childIndent < 0) childIndent = lines[i].indent;
            if (lines[i].indent == childIndent && lines[i].key == path[depth]) {
                found = i;
                break;
            }
        }
        if (found == end) break;
        int indent = lines[found].indent;
        if (depth + 1 == path.size()) {
            lines[found].text = std::string(indent, ' ') + path[depth] + ": " + Quoted(value);
            ++depth;
            break;
        }
        // A scalar in the way becomes a mapping.
        lines[found].text = std::string(indent, ' ') + path[depth] + ":";
        size_t blockEnd = found + 1;
        while (blockEnd < end && (lines[blockEnd].indent < 0 || lines[blockEnd].indent > indent))
            ++blockEnd;
        parentIndent = indent;
        begin = found + 1;
        end = blockEnd;
    }

    if (depth < path.size()) {
        // Insert the missing names after the last key line of the parent's block.
        int indent = parentIndent + 2;
        if (parentIndent < 0) indent = 0;
        for (size_t i = begin; i < end; ++i)
            if (lines[i].indent >= 0) {
                indent = lines[i].indent;
                break;
            }
        size_t insertAt = end;
        while (insertAt > begin && lines[insertAt - 1].indent < 0 &&
               lines[insertAt - 1].text.find_first_not_of(' ') == std::string::npos)
            --insertAt;
        std::vector<Line> added;
        for (size_t d = depth; d < path.size(); ++d) {
            std::string piece = std::string(indent, ' ') + path[d] + ":";
            if (d + 1 == path.size()) piece += " " + Quoted(value);
            added.push_back(Classify(piece));
            indent += 2;
        }
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), added.begin(),
                     added.end());
    }

    std::string out;
    for (const auto& line : lines) out += line.text + "\n";
    text = out;
}

bool ParseYqAssignment(const std::string& expression, std::vector<std::string>& path,
                       std::string& value) {
    path.clear();
    value.clear();
    size_t i = 0, n = expression.size();
    auto blanks = [&] {
        while (i < n && (expression[i] == ' ' || expression[i] == '\t')) ++i;
    };
    blanks();
    while (i < n && expression[i] == '.') {
        ++i;
        size_t start = i;
        while (i < n && (isalnum(static_cast<unsigned char>(expression[i])) ||
                         expression[i] == '_' || expression[i] == '-'))
            ++i;
        if (i == start) return false;
        path.push_back(expression.substr(start, i - start));
    }
    if (path.empty()) return false;
    blanks();
    if (i >= n || expression[i] != '=') return false;
    ++i;
    blanks();
    if (i >= n || expression[i] != '"') return false;
    ++i;
    bool closed = false;
    while (i < n) {
        char c = expression[i++];
        if (c == '"') {
            closed = true;
            break;
        }
        if (c == '\\' && i < n) {
            char e = expression[i++];
            switch (e) {
                case 'n':
                    value += '\n';
                    break;
                case 't':
                    value += '\t';
                    break;
                case '"':
                case '\\':
                    value += e;
                    break;
                default:
                    value += '\\', value += e;
            }
        } else {
            value += c;
        }
    }
    if (!closed) return false;
    blanks();
    return i == n;
}

}  // namespace sim
