// Fuzz target for the display mode's options and $XSCREENSAVER_WINDOW:
// NUL-separated arguments, the last one standing for the variable. Parsing
// never crashes; a refusal is one line; a chosen window id is never 0.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "x11/SaverOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) args.emplace_back();
        else args.back().push_back(static_cast<char>(data[i]));
    }
    const std::string environment = args.back();
    args.pop_back();
    zorv::SaverOptions options;
    zorv::WindowChoice choice{};
    std::string error;
    if (zorv::ParseSaverOptions(args, options, error) && zorv::ChooseWindow(options, environment.c_str(), choice, error)) {
        if (choice.target == zorv::DrawTarget::WindowId && choice.id == 0) std::abort();
    } else if (error.empty() || error.find('\n') != std::string::npos) {
        std::abort();
    }
    return 0;
}
