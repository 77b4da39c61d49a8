// The profile store over the Windows private-profile functions: "zorvsave.ini"
// in the Windows directory.
#pragma once

#include "settings/ProfileStore.h"

class CWin32ProfileStore : public zorv::ProfileStore {
public:
    // The file name goes to the API as given; a bare name lives in the Windows directory.
    explicit CWin32ProfileStore(const char* fileName);

    std::uint32_t GetInt(const char* section, const char* key, std::int32_t fallback) override;
    void WriteString(const char* section, const char* key, const char* text) override;

private:
    const char* m_pszFileName;  // borrowed, a literal in practice
};
