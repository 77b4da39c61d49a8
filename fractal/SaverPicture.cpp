// Stand-ins until the image store's CDib and off-screen canvas are in the tree:
// no picture object, and a screen-sized black bitmap made once.
#include "fractal/SaverPicture.h"

CDib* NewSaverPicture() { return nullptr; }
void DeleteSaverPicture(CDib*) {}
bool PictureHeld(const CDib*) { return false; }
int LoadPicture(CDib*, const char*) { return 0; }
void DrawPicture(CDib*, CDC*) {}
int CapturePicture(CDib*, CDC*, int, int, int, int) { return 0; }
int SavePicture(CDib*, const char*) { return 0; }

HBITMAP SaverCanvasBitmap() {
    static HBITMAP hBitmap = [] {
        const int width = ::GetSystemMetrics(SM_CXSCREEN);
        const int height = ::GetSystemMetrics(SM_CYSCREEN);
        HDC hScreen = ::GetDC(nullptr);
        HBITMAP hMade = ::CreateCompatibleBitmap(hScreen, width, height);
        HDC hMem = ::CreateCompatibleDC(hScreen);
        HGDIOBJ hOld = ::SelectObject(hMem, hMade);
        ::PatBlt(hMem, 0, 0, width, height, BLACKNESS);
        ::SelectObject(hMem, hOld);
        ::DeleteDC(hMem);
        ::ReleaseDC(nullptr, hScreen);
        return hMade;
    }();
    return hBitmap;
}
