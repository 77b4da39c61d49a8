// Fuzz target: the command line as the system hands it over, through the
// program-name skip, the mode scan and the handle parser.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The system's text is NUL-terminated: cut at the first NUL like it would.
    std::string text(reinterpret_cast<const char*>(data), size);
    text.resize(std::strlen(text.c_str()));
    const char* begin = text.c_str();
    const char* end = begin + text.size();

    const char* arguments = zorv::SkipProgramName(begin);
    if (arguments < begin || arguments > end) std::abort();
    for (bool win9x : {false, true}) {
        const zorv::ModeRequest request = zorv::ScanMode(arguments, win9x);
        if (request.rest < arguments || request.rest > end) std::abort();
        if (request.kind == zorv::RunModeKind::ChangePassword && !win9x) std::abort();
        (void)zorv::ParseWindowHandle(request.rest);
    }
    return 0;
}
