// Fuzz target for the headless renderer's options: NUL-separated arguments.
// Parsing must never crash, and a refusal is one line that names an option.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/RenderOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.emplace_back();
        } else {
            args.back().push_back(static_cast<char>(data[i]));
        }
    }
    zorv::RenderOptions options;
    std::string error;
    if (zorv::ParseRenderOptions(args, options, error)) {
        if (!options.help && (options.width < 1 || options.height < 1)) std::abort();
        if (options.fixed && !(options.fixed->planeWidth > 0)) std::abort();
    } else {
        if (error.rfind("--", 0) != 0 && error.find(':') == std::string::npos) std::abort();
        if (error.find('\n') != std::string::npos) std::abort();
    }
    return 0;
}
