// The saver's uses of the image store (the saved picture and the off-screen
// canvas), gathered in one place.
#pragma once

#include <windows.h>

#include "framework/DC.h"

class CDib;

inline constexpr const char* kSavedPicturePath = "C:\\Windows\\ZORV.BMP";

CDib* NewSaverPicture();  // empty; null when it cannot be allocated
void DeleteSaverPicture(CDib* pDib);
bool PictureHeld(const CDib* pDib);
int LoadPicture(CDib* pDib, const char* pszPath);
void DrawPicture(CDib* pDib, CDC* pDC);
int CapturePicture(CDib* pDib, CDC* pSrcDC, int x, int y, int width, int height);
int SavePicture(CDib* pDib, const char* pszPath);

// The screen-sized off-screen canvas bitmap, never selected between uses.
HBITMAP SaverCanvasBitmap();
