// Command-line scanning. Works byte by byte: in the multibyte code pages a
// trail byte is never a quote, a blank or a control byte, so stepping whole
// characters would stop at exactly the same places.
#include "host/CommandLine.h"

namespace zorv {

namespace {

bool IsSeparator(char c) { return c == ' ' || c == '-' || c == '/'; }

const char* SkipSpaces(const char* p) {
    while (*p == ' ') ++p;
    return p;
}

}  // namespace

const char* SkipProgramName(const char* commandLine) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(commandLine);
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"') ++p;
        if (*p == '"') ++p;
    } else if (*p > 0x20) {
        while (*p > 0x20) ++p;
    }
    while (*p >= 0x01 && *p <= 0x20) ++p;
    return reinterpret_cast<const char*>(p);
}

ModeRequest ScanMode(const char* arguments, bool win9x) {
    const char* p = arguments;
    while (IsSeparator(*p)) ++p;
    switch (*p) {
        case '\0': return {RunModeKind::Config, p};
        case 's': case 'S': return {RunModeKind::FullScreen, p + 1};
        case 'p': case 'P': case 'l': case 'L': return {RunModeKind::Preview, SkipSpaces(p + 1)};
        case 'c': case 'C': return {RunModeKind::ConfigOwned, p + 1};
        case 'a': case 'A':
            if (win9x) return {RunModeKind::ChangePassword, SkipSpaces(p + 1)};
            return {RunModeKind::Refused, p};
        default: return {RunModeKind::Refused, p};
    }
}

std::uint32_t ParseWindowHandle(const char* text) {
    std::uint32_t value = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p) value = value * 10u + static_cast<std::uint32_t>(*p - '0');
    return value;
}

}  // namespace zorv
