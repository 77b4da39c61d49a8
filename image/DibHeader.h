// Packed-DIB header queries for both header layouts, palette-entry extraction,
// and the size checks that keep every read of a block inside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zorv {

// A packed DIB: header, colour table and pixel rows back to back. The span is
// the block's real extent; nothing here reads outside it.
using DibBytes = std::span<const std::uint8_t>;

inline constexpr std::uint32_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER
inline constexpr std::uint32_t kCoreHeaderSize = 12;  // BITMAPCOREHEADER

// Little-endian fields; bytes beyond the span read as 0.
std::uint16_t ReadLe16(DibBytes bytes, std::size_t offset);
std::uint32_t ReadLe32(DibBytes bytes, std::size_t offset);
// Writes that fall outside the span are dropped.
void WriteLe16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value);
void WriteLe32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value);

std::uint32_t DibHeaderSize(DibBytes dib);
// Exactly 40 selects the info layout; every other size is read as the core layout.
bool DibIsInfoLayout(DibBytes dib);

std::uint32_t DIBImageWidth(DibBytes dib);
std::uint32_t DIBImageHeight(DibBytes dib);
std::uint16_t DibBitsPerPixel(DibBytes dib);
// Compression and image size exist only in the info layout; 0 otherwise.
std::uint32_t DibCompression(DibBytes dib);
std::uint32_t DibImageSizeField(DibBytes dib);
std::uint16_t DIBColorCount(DibBytes dib);
std::uint16_t DIBColorTableSize(DibBytes dib);
// Offset of the pixel rows: the header-size field plus the colour-table size.
// 64-bit, since a hostile header size can push it past 4 GiB.
std::uint64_t DIBPixelOffset(DibBytes dib);
// The pixel rows: the block start plus DIBPixelOffset, or null when that lies
// beyond the block.
const std::uint8_t* DIBPixelBits(DibBytes dib);

// Bytes in one row of `width` pixels at `bitsPerPixel`, padded to 4 bytes.
std::uint64_t DibRowBytes(std::uint64_t width, std::uint64_t bitsPerPixel);

inline constexpr std::uint32_t kCompressionRgb = 0;
inline constexpr std::uint32_t kCompressionRle8 = 1;
inline constexpr std::uint32_t kCompressionRle4 = 2;
inline constexpr std::uint32_t kCompressionBitFields = 3;

struct DibPaletteEntry {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    std::uint8_t flags;
};

// The logical-palette entries for the colour table, in table order with flags
// 0: read at offset 40 in 4-byte entries (info layout) or at 12 in 3-byte
// entries (core layout). Empty without a colour table, or when the table would
// run past the block.
std::vector<DibPaletteEntry> DibPaletteEntries(DibBytes dib);

// Bytes a block must hold so that the queries above, the palette and GDI's own
// reading of header, colour table and rows all stay inside it. Larger than any
// block (UINT64_MAX) when the rows overflow 32 bits or the header is unusable.
std::uint64_t DibRequiredBytes(DibBytes dib);

// The largest picture handed to GDI: beyond any screen, and far below what a
// hostile header (an RLE picture of a few bytes, say) could make GDI decode.
inline constexpr std::uint32_t kMaxDibSide = 32768;
inline constexpr std::uint64_t kMaxDibDecodedBytes = 256ull << 20;

// The pixel rows GDI decodes a picture to, compressed or not; UINT64_MAX with a
// side beyond kMaxDibSide.
std::uint64_t DibDecodedBytes(DibBytes dib);

enum class DibCheck {
    Ok,
    TooShort,  // refused as "not a DIB": the block cannot hold what its header describes
    TooBig,    // a negative size, a side beyond kMaxDibSide or rows beyond kMaxDibDecodedBytes
};

// The checks a freshly read block goes through before it is kept: the header
// must be readable, the size in range, then everything else inside the block.
DibCheck CheckDibBlock(DibBytes dib);

// Whether the block may be handed to GDI for painting.
bool DibFitsForPainting(DibBytes dib);

}  // namespace zorv
