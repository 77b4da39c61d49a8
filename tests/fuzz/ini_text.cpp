// Fuzz target for settings-file text: finding keys, reading integers, and
// setting a key, which must always read back as the value just set.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/IniText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    for (const char* key : {"Cycles", "Iters", "RandomSettings"}) {
        if (auto value = zorv::FindProfileValue(content, "ZorvSaver", key)) zorv::ParseProfileInt(*value);
    }
    zorv::ParseProfileInt(content);

    const std::string updated = zorv::SetProfileValue(content, "ZorvSaver", "Iters", "-123");
    const auto readBack = zorv::FindProfileValue(updated, "ZorvSaver", "Iters");
    if (!readBack || *readBack != "-123") std::abort();
    if (zorv::ParseProfileInt(*readBack) != static_cast<std::uint32_t>(-123)) std::abort();
    // Another section's keys are left alone.
    if (zorv::FindProfileValue(updated, "Other", "Iters") != zorv::FindProfileValue(content, "Other", "Iters"))
        std::abort();
    return 0;
}
