// zorv-render: the saver's images without a window, as BMP files.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/IniFileStore.h"
#include "settings/SaverSettings.h"
#include "tools/RenderOptions.h"
#include "tools/RenderRun.h"

namespace {

int Run(int argc, char** argv) {
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

}  // namespace

// Standard output must have taken every byte (a full disk, a closed pipe), and
// what the run throws (no memory for the picture) ends it with one line and status 1.
int main(int argc, char** argv) {
    int status = 1;
    try {
        status = Run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zorv-render: %s\n", error.what());
    }
    errno = 0;
    const bool written = std::fflush(stdout) == 0 && !std::ferror(stdout);
    if (std::fclose(stdout) == 0 && written) return status;
    if (status == 0) {
        const char* reason = errno != 0 ? std::strerror(errno) : "write error";
        std::fprintf(stderr, "zorv-render: cannot write standard output: %s\n", reason);
    }
    return status == 0 ? 1 : status;
}
