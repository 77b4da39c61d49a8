// Test double for MPR.DLL: PwdChangePasswordA records its arguments in the file
// named by ZORV_PASSWORD_LOG and changes nothing.
#include <windows.h>

#include <cstdio>

extern "C" __declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR pszProvider, HWND hParent, DWORD dwReserved1,
                                                                  DWORD dwReserved2) {
    char path[MAX_PATH];
    if (GetEnvironmentVariableA("ZORV_PASSWORD_LOG", path, sizeof path) != 0) {
        if (FILE* log = std::fopen(path, "a")) {
            std::fprintf(log, "change provider=%s parent=%lu reserved=%lu,%lu\n", pszProvider != nullptr ? pszProvider : "(null)",
                         static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(hParent)), dwReserved1, dwReserved2);
            std::fclose(log);
        }
    }
    return 0;
}
