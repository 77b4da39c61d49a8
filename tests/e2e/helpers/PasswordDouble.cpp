// Test double for the system's PASSWORD.CPL: VerifyScreenSavePwd answers what
// the file named by ZORV_PASSWORD_ANSWER says ("accept" or anything else), and
// appends one line per call to the file named by ZORV_PASSWORD_LOG, with
// whether the system was told a saver runs.
#include <windows.h>

#include <cstdio>
#include <cstring>

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND hWnd) {
    char path[MAX_PATH];
    char answer[32] = "";
    if (GetEnvironmentVariableA("ZORV_PASSWORD_ANSWER", path, sizeof path) != 0) {
        if (FILE* file = std::fopen(path, "r")) {
            if (std::fgets(answer, sizeof answer, file) == nullptr) answer[0] = '\0';
            std::fclose(file);
        }
    }
    const BOOL accepted = std::strncmp(answer, "accept", 6) == 0;
    BOOL running = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    if (GetEnvironmentVariableA("ZORV_PASSWORD_LOG", path, sizeof path) != 0) {
        if (FILE* log = std::fopen(path, "a")) {
            std::fprintf(log, "verify window=%s answer=%d running=%d tick=%lu\n", IsWindow(hWnd) ? "yes" : "no",
                         accepted, running != FALSE, GetTickCount());
            std::fclose(log);
        }
    }
    return accepted;
}
