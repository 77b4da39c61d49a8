// Settings file access through GetPrivateProfileIntA / WritePrivateProfileStringA.
#include "settings/Win32ProfileStore.h"

#include <windows.h>

CWin32ProfileStore::CWin32ProfileStore(const char* fileName) : m_pszFileName(fileName) {}

std::uint32_t CWin32ProfileStore::GetInt(const char* section, const char* key, std::int32_t fallback) {
    return GetPrivateProfileIntA(section, key, fallback, m_pszFileName);
}

void CWin32ProfileStore::WriteString(const char* section, const char* key, const char* text) {
    WritePrivateProfileStringA(section, key, text, m_pszFileName);  // failures are ignored by design
}
