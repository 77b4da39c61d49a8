// Test helper: a fresh folder under the system's temporary folder, removed
// again when the test ends, and whole-file text reads and writes.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace zorv {

struct TempDir {
    std::filesystem::path path = std::filesystem::temp_directory_path() /
        ("zorv-test-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
         std::to_string(counter++));
    static inline std::atomic<int> counter{0};

    TempDir() { std::filesystem::create_directories(path); }
    ~TempDir() {
        std::error_code error;
        std::filesystem::remove_all(path, error);
    }
    std::filesystem::path operator/(const std::string& name) const { return path / name; }
};

inline void WriteFileText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

inline std::string ReadFileText(const std::filesystem::path& path) {
    std::ostringstream buffer;
    buffer << std::ifstream(path, std::ios::binary).rdbuf();
    return buffer.str();
}

}  // namespace zorv
