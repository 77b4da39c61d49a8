// CDib and the packed-DIB operations over GDI, global memory and CFile. The
// size and bounds rules come from the portable DibHeader and BmpFile code.
#include "image/Dib.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "framework/AppMessageBox.h"
#include "image/BmpFile.h"
#include "image/DibHeader.h"
#include "image/GlobalBlock.h"
#include "image/PrinterFit.h"
#include "settings/Truncate.h"

using zorv::DibBytes;

CDib::CDib() : m_hImage(nullptr), m_nWidth(1), m_nHeight(1) {}

CDib::~CDib() { FreeImage(); }

void CDib::FreeImage() {
    if (m_hImage != nullptr) GlobalFree(m_hImage);
    m_hImage = nullptr;
}

void CDib::PrepareImage(SIZE_T nValidBytes) {
    m_pImagePalette.reset();
    if (m_hImage == nullptr) return;

    zorv::DibCheck check = zorv::DibCheck::TooShort;
    {
        CGlobalLock lock(m_hImage);
        const auto valid = lock.Bytes().first(std::min<std::size_t>(lock.Bytes().size(), nValidBytes));
        if (lock.Locked()) check = zorv::CheckDibBlock(valid);
        if (check == zorv::DibCheck::Ok) {
            m_nWidth = static_cast<std::int32_t>(zorv::DIBImageWidth(lock.Bytes()));
            m_nHeight = static_cast<std::int32_t>(zorv::DIBImageHeight(lock.Bytes()));
        }
    }
    // The block is freed only once its lock has ended.
    if (check != zorv::DibCheck::Ok) {
        FreeImage();
        // A block too short for its own header is reported by the caller.
        if (check == zorv::DibCheck::TooBig) AppMessageBox(kMsgTooBig, 0, 0);
        return;
    }

    m_pImagePalette.reset(new (std::nothrow) CPalette);
    if (!m_pImagePalette) {
        FreeImage();
        return;
    }
    if (!MakeDIBPalette(m_hImage, m_pImagePalette.get())) m_pImagePalette.reset();
}

BOOL MakeDIBPalette(HGLOBAL hDib, CPalette* pPalette) {
    if (hDib == nullptr || pPalette == nullptr) return FALSE;
    CGlobalLock picture(hDib);
    if (!picture.Locked()) return FALSE;
    const std::uint16_t count = zorv::DIBColorCount(picture.Bytes());
    if (count == 0) return FALSE;
    const auto entries = zorv::DibPaletteEntries(picture.Bytes());
    if (entries.size() != count) return FALSE;  // the table would run past the block

    // The palette header, n entries, and one spare entry.
    CGlobalBlock scratch(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 8 + 4 * static_cast<SIZE_T>(count)));
    if (scratch.Get() == nullptr) return FALSE;
    CGlobalLock lock(scratch.Get());
    if (!lock.Locked()) return FALSE;
    auto* logPalette = reinterpret_cast<LOGPALETTE*>(lock.Data());
    logPalette->palVersion = 0x300;
    logPalette->palNumEntries = count;
    PALETTEENTRY* target = logPalette->palPalEntry;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        target[i].peRed = entries[i].red;
        target[i].peGreen = entries[i].green;
        target[i].peBlue = entries[i].blue;
        target[i].peFlags = entries[i].flags;
    }
    return pPalette->CreatePalette(logPalette);
}

int PaintDIB(HDC hDC, const RECT* pDestRect, HGLOBAL hDib, const RECT* pSrcRect, CPalette* pPalette) {
    if (hDib == nullptr || pDestRect == nullptr || pSrcRect == nullptr) return 0;
    const std::int32_t destWidth = zorv::WrapSub(pDestRect->right, pDestRect->left);
    const std::int32_t destHeight = zorv::WrapSub(pDestRect->bottom, pDestRect->top);
    const std::int32_t srcWidth = zorv::WrapSub(pSrcRect->right, pSrcRect->left);
    const std::int32_t srcHeight = zorv::WrapSub(pSrcRect->bottom, pSrcRect->top);
    const bool sameSize = destWidth == srcWidth && destHeight == srcHeight;
    const char* failure = sameSize ? kMsgSetDIBitsFailed : kMsgStretchFailed;

    CGlobalLock lock(hDib);
    if (!lock.Locked()) return 0;
    const DibBytes dib = lock.Bytes();
    // GDI reads header, table and rows where the header puts them; a block that
    // does not hold them is treated as a failed call and nothing is drawn.
    if (!zorv::DibFitsForPainting(dib)) {
        lock.Unlock();
        AppMessageBox(failure, 0, 0);
        return 0;
    }
    const std::uint8_t* bits = zorv::DIBPixelBits(dib);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(lock.Data());
    const std::uint32_t imageHeight = zorv::DIBImageHeight(dib);

    HPALETTE hPrevious = nullptr;
    const bool selected = pPalette != nullptr && pPalette->GetSafeHandle() != nullptr;
    if (selected) hPrevious = SelectPalette(hDC, pPalette->GetSafeHandle(), TRUE);
    SetStretchBltMode(hDC, COLORONCOLOR);

    int result;
    if (sameSize) {
        result = SetDIBitsToDevice(hDC, pDestRect->left, pDestRect->top, static_cast<DWORD>(destWidth),
                                   static_cast<DWORD>(destHeight), pSrcRect->left,
                                   zorv::WrapSub(static_cast<std::int32_t>(imageHeight), pSrcRect->bottom), 0,
                                   imageHeight & 0xFFFFu, bits, info, DIB_RGB_COLORS);
    } else {
        result = StretchDIBits(hDC, pDestRect->left, pDestRect->top, destWidth, destHeight, pSrcRect->left,
                               pSrcRect->top, srcWidth, srcHeight, bits, info, DIB_RGB_COLORS, SRCCOPY);
    }
    if (result == 0) AppMessageBox(failure, 0, 0);

    lock.Unlock();
    if (selected && hPrevious != nullptr) SelectPalette(hDC, hPrevious, TRUE);
    return result;
}

void CDib::DrawFitted(CDC* pDC) {
    if (m_hImage == nullptr || pDC == nullptr) return;
    std::uint32_t w = 0, h = 0;
    {
        CGlobalLock lock(m_hImage);
        if (!lock.Locked()) return;
        w = zorv::DIBImageWidth(lock.Bytes());
        h = zorv::DIBImageHeight(lock.Bytes());
    }
    const RECT source{0, 0, static_cast<LONG>(w), static_cast<LONG>(h)};
    RECT destination = source;
    if (pDC->IsPrinting()) {
        const zorv::PageMetrics page{pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES),
                                     pDC->GetDeviceCaps(LOGPIXELSX), pDC->GetDeviceCaps(LOGPIXELSY)};
        const auto fit = zorv::FitToPage(w, h, page);
        if (!fit) return;  // an empty picture has no page size to fit
        destination = RECT{0, 0, fit->width, fit->height};
    }
    PaintDIB(pDC->GetSafeHdc(), &destination, m_hImage, &source, m_pImagePalette.get());
}

HGLOBAL ReadDIBFromFile(CFile& file) {
    const DWORD length = file.GetLength();
    std::uint8_t fileHeader[zorv::kBmpFileHeaderSize];
    if (file.Read(fileHeader, sizeof(fileHeader)) != sizeof(fileHeader)) return nullptr;
    if (!zorv::IsBmpFileHeader(fileHeader) || length < zorv::kBmpFileHeaderSize) return nullptr;

    // The whole file length: the 14 bytes the body does not need stay zero.
    CGlobalBlock block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, length));
    if (block.Get() == nullptr) return nullptr;
    {
        CGlobalLock lock(block.Get());
        if (!lock.Locked()) return nullptr;
        const UINT body = length - zorv::kBmpFileHeaderSize;
        if (file.Read(lock.Data(), body) != body) return nullptr;
    }
    return block.Release();
}

BOOL CDib::Load(const char* path) {
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) {
        AppMessageBox(kMsgOpenFile, 0, 0);
        return FALSE;
    }
    FreeImage();
    DWORD length = 0;
    try {
        length = file.GetLength();
        m_hImage = ReadDIBFromFile(file);
    } catch (const CException&) {
        file.Abort();
        AppMessageBox(kMsgReadFile, 0, 0);
        return FALSE;
    }
    // The body must hold the picture by itself; the reader's zero bytes behind it do not count.
    PrepareImage(length - zorv::kBmpFileHeaderSize);
    if (m_hImage == nullptr) {
        AppMessageBox(kMsgNotDib, 0, 0);
        return FALSE;
    }
    return TRUE;
}

BOOL WriteDIBToFile(HGLOBAL hDib, CFile& file) {
    if (hDib == nullptr) return FALSE;
    CGlobalLock lock(hDib);
    if (!lock.Locked()) return FALSE;
    const zorv::DibWritePlan plan = zorv::PlanDibWrite(lock.Bytes());
    if (plan.check == zorv::DibWriteCheck::NotInfoLayout) return FALSE;
    // Writing what the header announces would read past the block.
    if (plan.check == zorv::DibWriteCheck::BeyondBlock) throw CException();
    zorv::ApplyDibWritePlan(lock.Bytes(), plan);
    file.Write(plan.fileHeader.data(), static_cast<UINT>(plan.fileHeader.size()));
    file.Write(lock.Data(), plan.dibBytes);
    return TRUE;
}

namespace {

// Whether an existing file at `path` could be replaced: the probe neither
// creates nor truncates.
bool ExistingFileIsWritable(const char* path) {
    HANDLE handle = CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    CloseHandle(handle);
    return true;
}
}  // namespace

BOOL CDib::Save(const char* path) {
    // The picture goes to a new file beside the old one, which it replaces only
    // once written and closed: a failed save never costs the last good picture.
    char tempPath[MAX_PATH] = {};
    CFile file;
    if (!ExistingFileIsWritable(path) || GetTempFileNameA(FolderOf(path).c_str(), "zrv", 0, tempPath) == 0 ||
        !file.Open(tempPath, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive)) {
        if (tempPath[0] != '\0') DeleteFileA(tempPath);
        AppMessageBox(kMsgOpenSaveFile, 0, 0);
        return FALSE;
    }

    BOOL written = FALSE;
    try {
        written = WriteDIBToFile(m_hImage, file);
        file.Close();
    } catch (const CException&) {
        file.Abort();
        DeleteFileA(tempPath);
        AppMessageBox(kMsgSaveFailed, 0, 0);
        return FALSE;
    }
    if (!written) {
        DeleteFileA(tempPath);
        return FALSE;
    }
    if (!ReplaceFileWith(tempPath, path)) {
        DeleteFileA(tempPath);
        AppMessageBox(kMsgSaveFailed, 0, 0);
        return FALSE;
    }
    return TRUE;
}

HGLOBAL ConvertBitmapToDIB(const CBitmap& bitmap, DWORD dwCompression, HPALETTE hPalette) {
    if (bitmap.GetSafeHandle() == nullptr || dwCompression == BI_BITFIELDS) return nullptr;
    if (hPalette == nullptr) hPalette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));

    BITMAP record{};
    if (bitmap.GetBitmap(&record) == 0) return nullptr;

    BITMAPINFOHEADER header{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = record.bmWidth;
    header.biHeight = record.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(record.bmPlanes * record.bmBitsPixel);
    header.biCompression = dwCompression;
    const DWORD bits = header.biBitCount;
    const DWORD tableBytes = bits <= 8 ? (1u << bits) * 4 : 0;
    const DWORD headerLength = sizeof(BITMAPINFOHEADER) + tableBytes;

    HDC hScreen = GetDC(nullptr);
    HPALETTE hPrevious = SelectPalette(hScreen, hPalette, FALSE);
    RealizePalette(hScreen);
    const auto finish = [&](HGLOBAL result) {
        SelectPalette(hScreen, hPrevious, FALSE);
        ReleaseDC(nullptr, hScreen);
        return result;
    };

    // Room for three bit-field masks as well, should GDI write them behind the header.
    CGlobalBlock block(GlobalAlloc(GMEM_FIXED, headerLength + 12));
    if (block.Get() == nullptr) return finish(nullptr);
    auto* info = static_cast<BITMAPINFO*>(static_cast<void*>(block.Get()));
    std::memcpy(info, &header, sizeof(header));
    GetDIBits(hScreen, bitmap.GetSafeHandle(), 0, static_cast<UINT>(header.biHeight), nullptr, info, DIB_RGB_COLORS);
    std::memcpy(&header, info, sizeof(header));

    if (header.biSizeImage == 0) {
        std::uint64_t size = zorv::DibRowBytes(static_cast<std::uint32_t>(header.biWidth), bits) *
                             static_cast<std::uint32_t>(header.biHeight);
        if (dwCompression != BI_RGB) size = size * 3 / 2;
        if (size > 0xFFFFFFFFu - headerLength) return finish(nullptr);
        header.biSizeImage = static_cast<DWORD>(size);
        std::memcpy(info, &header, sizeof(header));
    }

    HGLOBAL hResized = GlobalReAlloc(block.Get(), headerLength + header.biSizeImage, GMEM_MOVEABLE);
    if (hResized == nullptr) return finish(nullptr);
    block.Reset(hResized);
    {
        CGlobalLock lock(block.Get());
        if (!lock.Locked()) return finish(nullptr);
        auto* resizedInfo = reinterpret_cast<BITMAPINFO*>(lock.Data());
        if (GetDIBits(hScreen, bitmap.GetSafeHandle(), 0, static_cast<UINT>(header.biHeight),
                      lock.Data() + resizedInfo->bmiHeader.biSize + tableBytes, resizedInfo, DIB_RGB_COLORS) == 0) {
            return finish(nullptr);
        }
    }
    return finish(block.Release());
}

BOOL CDib::Capture(CDC* pSrc, int x, int y, int nWidth, int nHeight) {
    FreeImage();
    if (pSrc == nullptr) return FALSE;
    CDC memory;
    if (!memory.CreateCompatibleDC(pSrc)) return FALSE;
    CBitmap bitmap;
    if (!bitmap.CreateCompatibleBitmap(pSrc->GetSafeHdc(), nWidth, nHeight)) return FALSE;
    HGDIOBJ hPrevious = memory.SelectObject(&bitmap);
    if (hPrevious == nullptr) return FALSE;
    memory.BitBlt(0, 0, nWidth, nHeight, pSrc, x, y, SRCCOPY);
    // GetDIBits wants a bitmap no DC holds: deselect before converting.
    memory.SelectObject(hPrevious);

    auto hPalette = static_cast<HPALETTE>(GetCurrentObject(pSrc->m_hAttribDC, OBJ_PAL));
    m_hImage = ConvertBitmapToDIB(bitmap, BI_RGB, hPalette);
    return m_hImage != nullptr;
}
