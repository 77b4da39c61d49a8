// Header queries and bounds computations for packed DIBs. All arithmetic on
// sizes is 64-bit so that no hostile field can wrap an offset back into range.
#include "image/DibHeader.h"

#include <algorithm>

namespace zorv {

namespace {

constexpr std::uint64_t kRefused = UINT64_MAX;
constexpr std::uint64_t kMax32 = 0xFFFFFFFFu;

// How GDI itself reads a header: anything but 12 bytes as an info-style
// header (40, 52, 56, 64, 108, 124; others it rejects after reading them).
struct GdiView {
    std::uint64_t headerBytes;
    std::uint64_t width;   // magnitude
    std::uint64_t height;  // magnitude
    std::uint32_t bitsPerPixel;
    std::uint32_t compression;
    std::uint32_t imageSize;
    std::uint32_t colorsUsed;
    bool core;
};

std::uint64_t Magnitude(std::int32_t value) {
    return value < 0 ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(value)) : static_cast<std::uint64_t>(value);
}

GdiView ViewAsGdi(DibBytes dib) {
    GdiView view{};
    const std::uint32_t size = DibHeaderSize(dib);
    if (size == kCoreHeaderSize) {
        view.core = true;
        view.headerBytes = kCoreHeaderSize;
        view.width = ReadLe16(dib, 4);
        view.height = ReadLe16(dib, 6);
        view.bitsPerPixel = ReadLe16(dib, 10);
        return view;
    }
    view.headerBytes = std::max<std::uint64_t>(size, kInfoHeaderSize);
    view.width = Magnitude(static_cast<std::int32_t>(ReadLe32(dib, 4)));
    view.height = Magnitude(static_cast<std::int32_t>(ReadLe32(dib, 8)));
    view.bitsPerPixel = ReadLe16(dib, 14);
    view.compression = ReadLe32(dib, 16);
    view.imageSize = ReadLe32(dib, 20);
    view.colorsUsed = ReadLe32(dib, 32);
    return view;
}

// Colour-table bytes GDI may read behind its header: it never takes more than
// 256 entries, and bit-field masks follow a 40-byte header.
std::uint64_t GdiTableBytes(const GdiView& view, std::uint32_t headerSize) {
    if (view.core) return view.bitsPerPixel <= 8 ? 3u * (1u << view.bitsPerPixel) : 0;
    std::uint64_t entries = view.colorsUsed;
    if (entries == 0 && view.bitsPerPixel <= 8) entries = 1u << view.bitsPerPixel;
    entries = std::min<std::uint64_t>(entries, 256);
    const std::uint64_t masks = (view.compression == kCompressionBitFields && headerSize == kInfoHeaderSize) ? 12 : 0;
    return masks + 4 * entries;
}

// Pixel bytes GDI may read from the rows: every row for uncompressed and
// bit-field pictures, the stored size for run-length and embedded formats.
std::uint64_t GdiPixelBytes(const GdiView& view) {
    const std::uint64_t rowBytes = DibRowBytes(view.width, view.bitsPerPixel);
    if (rowBytes != 0 && view.height > kMax32 / rowBytes) return kRefused;  // rows overflow 32 bits
    const std::uint64_t rows = rowBytes * view.height;
    switch (view.compression) {
        case kCompressionRgb:
        case kCompressionBitFields:
            return rows;
        case kCompressionRle8:
        case kCompressionRle4:
        case 4:  // JPEG
        case 5:  // PNG
            // Without a stored size nothing bounds the decoder.
            return view.imageSize != 0 ? view.imageSize : kRefused;
        default:
            return std::max<std::uint64_t>(rows, view.imageSize);
    }
}

}  // namespace

std::uint16_t ReadLe16(DibBytes bytes, std::size_t offset) {
    if (offset >= bytes.size() || bytes.size() - offset < 2) return 0;
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

std::uint32_t ReadLe32(DibBytes bytes, std::size_t offset) {
    if (offset >= bytes.size() || bytes.size() - offset < 4) return 0;
    return static_cast<std::uint32_t>(bytes[offset]) | (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) | (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

void WriteLe16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value) {
    if (offset >= bytes.size() || bytes.size() - offset < 2) return;
    bytes[offset] = static_cast<std::uint8_t>(value);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void WriteLe32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
    if (offset >= bytes.size() || bytes.size() - offset < 4) return;
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t DibHeaderSize(DibBytes dib) { return ReadLe32(dib, 0); }

bool DibIsInfoLayout(DibBytes dib) { return DibHeaderSize(dib) == kInfoHeaderSize; }

std::uint32_t DIBImageWidth(DibBytes dib) { return DibIsInfoLayout(dib) ? ReadLe32(dib, 4) : ReadLe16(dib, 4); }

std::uint32_t DIBImageHeight(DibBytes dib) { return DibIsInfoLayout(dib) ? ReadLe32(dib, 8) : ReadLe16(dib, 6); }

std::uint16_t DibBitsPerPixel(DibBytes dib) { return DibIsInfoLayout(dib) ? ReadLe16(dib, 14) : ReadLe16(dib, 10); }

std::uint32_t DibCompression(DibBytes dib) { return DibIsInfoLayout(dib) ? ReadLe32(dib, 16) : 0; }

std::uint32_t DibImageSizeField(DibBytes dib) { return DibIsInfoLayout(dib) ? ReadLe32(dib, 20) : 0; }

std::uint16_t DIBColorCount(DibBytes dib) {
    if (DibIsInfoLayout(dib)) {
        const std::uint32_t used = ReadLe32(dib, 32);
        if (used != 0) return static_cast<std::uint16_t>(used);
    }
    switch (DibBitsPerPixel(dib)) {
        case 1: return 2;
        case 4: return 16;
        case 8: return 256;
        default: return 0;
    }
}

std::uint16_t DIBColorTableSize(DibBytes dib) {
    return static_cast<std::uint16_t>(DIBColorCount(dib) * (DibIsInfoLayout(dib) ? 4u : 3u));
}

std::uint64_t DIBPixelOffset(DibBytes dib) {
    return static_cast<std::uint64_t>(DibHeaderSize(dib)) + DIBColorTableSize(dib);
}

const std::uint8_t* DIBPixelBits(DibBytes dib) {
    const std::uint64_t offset = DIBPixelOffset(dib);
    return offset <= dib.size() ? dib.data() + offset : nullptr;
}

std::uint64_t DibRowBytes(std::uint64_t width, std::uint64_t bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

std::vector<DibPaletteEntry> DibPaletteEntries(DibBytes dib) {
    const std::uint64_t count = DIBColorCount(dib);
    const bool info = DibIsInfoLayout(dib);
    const std::uint64_t start = info ? kInfoHeaderSize : kCoreHeaderSize;
    const std::uint64_t stride = info ? 4 : 3;
    std::vector<DibPaletteEntry> entries;
    if (count == 0 || start + stride * count > dib.size()) return entries;
    entries.reserve(count);
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = dib.data() + start + stride * i;  // blue, green, red[, reserved]
        entries.push_back({entry[2], entry[1], entry[0], 0});
    }
    return entries;
}

std::uint64_t DibRequiredBytes(DibBytes dib) {
    if (dib.size() < 4) return kRefused;
    const std::uint32_t headerSize = DibHeaderSize(dib);
    const bool info = headerSize == kInfoHeaderSize;

    // Our own reads: the layout's fields and the palette's table.
    std::uint64_t needed = info ? kInfoHeaderSize : kCoreHeaderSize;
    const std::uint64_t paletteEnd = (info ? kInfoHeaderSize + 4ull * DIBColorCount(dib) : kCoreHeaderSize + 3ull * DIBColorCount(dib));
    needed = std::max(needed, paletteEnd);
    if (dib.size() < needed) return needed;  // the fields below would read as zeros

    // GDI's reads: its header, its colour table, and the rows from our pixel offset.
    const GdiView view = ViewAsGdi(dib);
    needed = std::max(needed, view.headerBytes + GdiTableBytes(view, headerSize));
    const std::uint64_t pixels = GdiPixelBytes(view);
    if (pixels == kRefused) return kRefused;
    return std::max(needed, DIBPixelOffset(dib) + pixels);
}

std::uint64_t DibDecodedBytes(DibBytes dib) {
    // GDI's own reading of the header, which for sizes other than 12 and 40 differs from ours.
    const GdiView view = ViewAsGdi(dib);
    if (view.width > kMaxDibSide || view.height > kMaxDibSide) return UINT64_MAX;
    return DibRowBytes(view.width, view.bitsPerPixel) * view.height;
}

DibCheck CheckDibBlock(DibBytes dib) {
    const std::uint64_t layoutBytes = DibIsInfoLayout(dib) ? kInfoHeaderSize : kCoreHeaderSize;
    if (dib.size() < 4 || dib.size() < layoutBytes) return DibCheck::TooShort;
    if (DIBImageWidth(dib) > 2147483647u || DIBImageHeight(dib) > 2147483647u) return DibCheck::TooBig;
    if (!DibFitsForPainting(dib)) return DibCheck::TooShort;
    // What GDI would decode, however few bytes describe it.
    if (DIBImageWidth(dib) > kMaxDibSide || DIBImageHeight(dib) > kMaxDibSide) return DibCheck::TooBig;
    return DibDecodedBytes(dib) > kMaxDibDecodedBytes ? DibCheck::TooBig : DibCheck::Ok;
}

bool DibFitsForPainting(DibBytes dib) { return DibRequiredBytes(dib) <= dib.size(); }

}  // namespace zorv
