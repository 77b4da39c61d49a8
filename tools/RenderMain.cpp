// zorv-render: the saver's images without a window, as BMP files.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/IniFileStore.h"
#include "settings/SaverSettings.h"
#include "tools/RenderOptions.h"
#include "tools/RenderRun.h"

int main(int argc, char** argv) {
    using namespace zorv;
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    RenderOptions options;
    std::string error;
    if (!ParseRenderOptions(args, options, error)) {
        std::fprintf(stderr, "zorv-render: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(RenderUsage(), stdout);
        return 0;
    }

    SaverSettings settings = DefaultSettings();
    if (!options.settingsFile.empty()) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(options.settingsFile, ec)) {
            std::fprintf(stderr, "zorv-render: --settings: cannot read %s\n", options.settingsFile.c_str());
            return 2;
        }
        IniFileStore store(options.settingsFile);
        LoadSettings(settings, store);
    }

    if (options.fixed) return RunFixedImage(options, settings, stdout, stderr);
    return RunSaverImages(options, settings, stdout, stderr);
}
