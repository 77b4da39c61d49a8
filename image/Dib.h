// CDib: one picture as a packed DIB in global memory with its palette, and the
// free functions that paint, build palettes, read, write and capture such blocks.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "framework/DC.h"
#include "framework/File.h"
#include "framework/GdiObject.h"

// Texts of the image store's failure messages.
inline constexpr const char* kMsgTooBig = "ERROR: Bitmap is too big to handle";
inline constexpr const char* kMsgNotDib = "ERROR: FILE MAY NOT BE DIB (BMP) FORMAT";
inline constexpr const char* kMsgOpenFile = "ERROR TRYING TO OPEN FILE";
inline constexpr const char* kMsgReadFile = "ERROR TRYING TO READ IMAGE FILE";
inline constexpr const char* kMsgOpenSaveFile = "ERROR TRYING TO OPEN SAVE IMAGE FILE";
inline constexpr const char* kMsgSaveFailed = "ERROR SAVING IMAGE DIB BITMAP";
inline constexpr const char* kMsgSetDIBitsFailed = "PaintDIB() ...SetDIBitsToDevice() failed";
inline constexpr const char* kMsgStretchFailed = "PaintDIB() ...StretchDIBits() failed";

class CDib {
public:
    CDib();
    ~CDib();
    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;

    // Checks the block just read and derives the recorded size and the palette;
    // a block that cannot hold what its header describes is dropped. Only the
    // first `nValidBytes` of the block count (a file's body, not the spare
    // bytes the reader adds behind it).
    void PrepareImage(SIZE_T nValidBytes = static_cast<SIZE_T>(-1));
    // The whole picture at the DC's origin: natural size, or fitted to the page
    // when the DC prints.
    void DrawFitted(CDC* pDC);
    // 1 when the file's picture is now held; failures are shown and give 0.
    BOOL Load(const char* path);
    // 1 when the whole file was written. The new file replaces the old one only
    // once complete; on any failure the old file stays as it was.
    BOOL Save(const char* path);
    // Takes the w × h rectangle at (x, y) of `pSrc`; 1 when a picture is now held.
    BOOL Capture(CDC* pSrc, int x, int y, int nWidth, int nHeight);

    HGLOBAL m_hImage;                          // owned packed DIB, or null
    std::unique_ptr<CPalette> m_pImagePalette;  // from the colour table, or null
    std::int32_t m_nWidth;
    std::int32_t m_nHeight;

private:
    void FreeImage();
};

// A logical palette from the block's colour table, attached to `pPalette`.
BOOL MakeDIBPalette(HGLOBAL hDib, CPalette* pPalette);

// Paints `pSrcRect` of the picture into `pDestRect` of `hDC`, same size or
// stretched. The number of scan lines drawn, 0 on failure.
int PaintDIB(HDC hDC, const RECT* pDestRect, HGLOBAL hDib, const RECT* pSrcRect, CPalette* pPalette);

// The file's body as a new packed DIB block, or null. File errors pass on.
HGLOBAL ReadDIBFromFile(CFile& file);

// Writes the file header and the DIB. 0, having written nothing, for no block
// or a header that is not 40 bytes. File errors pass on; a header announcing
// more bytes than the block holds raises CException before anything is written.
BOOL WriteDIBToFile(HGLOBAL hDib, CFile& file);

// The bitmap as a packed DIB in the colours of `hPalette` (borrowed; the stock
// default palette when null), or null.
HGLOBAL ConvertBitmapToDIB(const CBitmap& bitmap, DWORD dwCompression, HPALETTE hPalette);
