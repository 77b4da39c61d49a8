// The portable profile store: an INI file on disk that behaves like the Windows
// private-profile functions, for builds without them.
#pragma once

#include <filesystem>

#include "settings/ProfileStore.h"

namespace zorv {

class IniFileStore : public ProfileStore {
public:
    explicit IniFileStore(std::filesystem::path path);

    // "$XDG_CONFIG_HOME/zorv/zorvsave.ini", or "~/.config/zorv/zorvsave.ini".
    static std::filesystem::path DefaultPath();

    std::uint32_t GetInt(const char* section, const char* key, std::int32_t fallback) override;
    void WriteString(const char* section, const char* key, const char* text) override;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

}  // namespace zorv
