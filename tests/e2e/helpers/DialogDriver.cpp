// Test helper: finds the running saver's settings dialog and drives it by messages
// from outside. Commands: controls | state | click ID | pos ID N | key escape|enter
// | close; each prints a line (controls one per control). Exit 1: no dialog came.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const int kBars[6] = {1002, 1003, 1004, 1005, 1006, 1007};

HWND FindDialog(int seconds) {
    for (int i = 0; i < seconds * 10; ++i) {
        HWND hDlg = FindWindowA(reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(32770)), "ZorvSaver");
        if (hDlg != nullptr && IsWindowVisible(hDlg)) return hDlg;
        Sleep(100);
    }
    return nullptr;
}

void PrintControls(HWND hDlg) {
    int n = 0;
    for (HWND child = GetWindow(hDlg, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[64] = {}, text[128] = {};
        GetClassNameA(child, cls, sizeof cls);
        GetWindowTextA(child, text, sizeof text);
        std::printf("control %d id=%d class=%s text=[%s]\n", ++n, static_cast<short>(GetDlgCtrlID(child)), cls, text);
    }
}

void PrintState(HWND hDlg) {
    std::string pos, enabled;
    for (int id : kBars) {
        HWND bar = GetDlgItem(hDlg, id);
        if (!pos.empty()) pos += ",";
        pos += std::to_string(SendMessageA(bar, TBM_GETPOS, 0, 0));
        enabled += IsWindowEnabled(bar) ? "1" : "0";
    }
    std::printf("state pos=%s enabled=%s random=%d save=%d\n", pos.c_str(), enabled.c_str(),
                static_cast<int>(SendDlgItemMessageA(hDlg, 1008, BM_GETCHECK, 0, 0)),
                static_cast<int>(SendDlgItemMessageA(hDlg, 1010, BM_GETCHECK, 0, 0)));
}

// The key goes where the dialog's thread has its keyboard focus, as a real key would.
void PressKey(HWND hDlg, WPARAM vk) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    HWND target = hDlg;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(hDlg, nullptr), &info) && info.hwndFocus != nullptr)
        target = info.hwndFocus;
    PostMessageA(target, WM_KEYDOWN, vk, 1);
    PostMessageA(target, WM_KEYUP, vk, 0xC0000001);
}

}  // namespace

int main(int argc, char** argv) {
    HWND hDlg = FindDialog(30);
    if (hDlg == nullptr) {
        std::printf("no dialog\n");
        return 1;
    }
    std::printf("dialog %lu\n", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(hDlg)));
    for (int i = 1; i < argc; ++i) {
        const std::string command = argv[i];
        if (command == "controls") {
            PrintControls(hDlg);
        } else if (command == "state") {
            PrintState(hDlg);
        } else if (command == "click" && i + 1 < argc) {
            SendMessageA(GetDlgItem(hDlg, std::atoi(argv[++i])), BM_CLICK, 0, 0);
            std::printf("clicked %s\n", argv[i]);
        } else if (command == "pos" && i + 2 < argc) {
            const int id = std::atoi(argv[++i]);
            SendDlgItemMessageA(hDlg, id, TBM_SETPOS, TRUE, std::atoi(argv[++i]));
            std::printf("moved %d\n", id);
        } else if (command == "key" && i + 1 < argc) {
            const std::string key = argv[++i];
            PressKey(hDlg, key == "escape" ? VK_ESCAPE : VK_RETURN);
            std::printf("pressed %s\n", key.c_str());
        } else if (command == "close") {
            PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
            std::printf("closed\n");
        } else {
            std::printf("unknown command %s\n", command.c_str());
            return 2;
        }
        std::fflush(stdout);
    }
    return 0;
}
