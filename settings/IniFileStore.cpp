// Portable profile store over a plain file; writes replace the file whole so a
// failed write never leaves half a settings file behind.
#include "settings/IniFileStore.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

#include "settings/IniText.h"
#include "settings/SaverSettings.h"

namespace zorv {

namespace {

bool ReadWhole(const std::filesystem::path& path, std::string& content) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    content = buffer.str();
    return true;
}

}  // namespace

IniFileStore::IniFileStore(std::filesystem::path path) : m_path(std::move(path)) {}

std::filesystem::path IniFileStore::DefaultPath() {
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::filesystem::path(home) / ".config";
    } else {
        base = ".";
    }
    return base / "zorv" / kSettingsFile;
}

std::uint32_t IniFileStore::GetInt(const char* section, const char* key, std::int32_t fallback) {
    std::string content;
    if (!ReadWhole(m_path, content)) return static_cast<std::uint32_t>(fallback);
    std::optional<std::string> value = FindProfileValue(content, section, key);
    if (!value || value->empty()) return static_cast<std::uint32_t>(fallback);
    return ParseProfileInt(*value);
}

void IniFileStore::WriteString(const char* section, const char* key, const char* text) {
    std::string content;
    ReadWhole(m_path, content);  // absent file: start empty
    std::string updated = SetProfileValue(content, section, key, text);

    std::error_code error;
    if (m_path.has_parent_path()) std::filesystem::create_directories(m_path.parent_path(), error);
    std::filesystem::path temp = m_path;
    temp += ".new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return;
        out.write(updated.data(), static_cast<std::streamsize>(updated.size()));
        out.close();
        if (!out) {
            std::filesystem::remove(temp, error);
            return;
        }
    }
    std::filesystem::rename(temp, m_path, error);
    if (error) std::filesystem::remove(temp, error);
}

}  // namespace zorv
