// INI text rules shared by the portable profile store and its fuzz target.
#include "settings/IniText.h"

#include <cctype>
#include <vector>

namespace zorv {

namespace {

// Control characters and blanks count as white space, as in the profile API.
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

struct Line {
    std::string_view text;    // without its line ending
    std::string_view ending;  // "\r\n", "\n", "\r" or empty for the last line
};

std::vector<Line> SplitLines(std::string_view content) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back({content.substr(start), {}});
            break;
        }
        std::size_t next = end + 1;
        if (content[end] == '\r' && next < content.size() && content[next] == '\n') ++next;
        lines.push_back({content.substr(start, end - start), content.substr(end, next - end)});
        start = next;
    }
    return lines;
}

// The name of a "[name]" line, or none for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    line.remove_prefix(1);
    std::size_t close = line.find(']');
    if (close != std::string_view::npos) line = line.substr(0, close);
    return Trim(line);
}

// The key and value of a "key=value" line; a line without '=' is a key without value.
std::pair<std::string_view, std::string_view> KeyValue(std::string_view line) {
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return {Trim(line), {}};
    return {Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))};
}

std::string_view StripQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value.remove_prefix(1);
        value.remove_suffix(1);
    }
    return value;
}

}  // namespace

std::optional<std::string> FindProfileValue(std::string_view content, std::string_view section,
                                            std::string_view key) {
    bool inSection = false;
    for (const Line& line : SplitLines(content)) {
        if (auto name = SectionName(line.text)) {
            if (inSection) return std::nullopt;  // only the first matching section counts
            inSection = SameText(*name, section);
            continue;
        }
        if (!inSection) continue;
        auto [name, value] = KeyValue(line.text);
        if (!name.empty() && SameText(name, key)) return std::string(StripQuotes(value));
    }
    return std::nullopt;
}

std::uint32_t ParseProfileInt(std::string_view text) {
    if (text.size() > 29) text = text.substr(0, 29);
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    bool minus = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        minus = text.front() == '-';
        text.remove_prefix(1);
    }
    std::uint32_t base = 10;
    if (text.size() >= 2 && text[0] == '0') {
        switch (text[1]) {
            case 'x': base = 16; break;
            case 'o': base = 8; break;
            case 'b': base = 2; break;
            default: break;
        }
        if (base != 10) text.remove_prefix(2);
    }
    std::uint32_t total = 0;
    for (char c : text) {
        std::uint32_t digit;
        if (c >= '0' && c <= '9') digit = static_cast<std::uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'z') digit = static_cast<std::uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'Z') digit = static_cast<std::uint32_t>(c - 'A' + 10);
        else break;
        if (digit >= base) break;
        total = total * base + digit;  // unsigned: wraps modulo 2^32 like the API
    }
    return minus ? 0u - total : total;
}

std::string SetProfileValue(std::string_view content, std::string_view section, std::string_view key,
                            std::string_view value) {
    std::vector<Line> lines = SplitLines(content);
    std::string_view newline = lines.empty() || lines.front().ending.empty() ? "\r\n" : lines.front().ending;
    std::string keyLine = std::string(key) + "=" + std::string(value);

    // Find the section's header and, within it, the key or the last non-blank line.
    std::optional<std::size_t> header;
    std::optional<std::size_t> found;
    std::size_t lastInSection = 0;
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size() && !found; ++i) {
        if (auto name = SectionName(lines[i].text)) {
            if (inSection) break;  // only the first matching section counts
            inSection = SameText(*name, section);
            if (inSection) header = lastInSection = i;
            continue;
        }
        if (!inSection) continue;
        auto [name, v] = KeyValue(lines[i].text);
        if (!name.empty() && SameText(name, key)) found = i;
        if (!Trim(lines[i].text).empty()) lastInSection = i;
    }

    std::string out;
    out.reserve(content.size() + keyLine.size() + section.size() + 8);
    auto emit = [&](std::string_view text, std::string_view ending) {
        out.append(text);
        out.append(ending);
    };
    if (!header) {
        for (const Line& line : lines) emit(line.text, line.ending.empty() ? newline : line.ending);
        emit("[" + std::string(section) + "]", newline);
        emit(keyLine, newline);
        return out;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view ending = lines[i].ending.empty() ? newline : lines[i].ending;
        if (found && i == *found) {
            emit(keyLine, ending);
            continue;
        }
        emit(lines[i].text, ending);
        if (!found && i == lastInSection) emit(keyLine, newline);
    }
    return out;
}

}  // namespace zorv
