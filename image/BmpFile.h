// The BMP file layout: the 14-byte file header, the 40-byte info header, and
// the plan for writing a packed DIB behind a file header.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "image/DibHeader.h"

namespace zorv {

inline constexpr std::uint16_t kBmpFileType = 19778;  // "BM"
inline constexpr std::uint32_t kBmpFileHeaderSize = 14;

struct BmpFileHeader {
    std::uint16_t type = kBmpFileType;
    std::uint32_t fileSize = 0;
    std::uint16_t reserved1 = 0;
    std::uint16_t reserved2 = 0;
    std::uint32_t pixelOffset = 0;
};

std::array<std::uint8_t, kBmpFileHeaderSize> EncodeBmpFileHeader(const BmpFileHeader& header);
// What the reader accepts: at least 14 bytes, starting with "BM".
bool IsBmpFileHeader(std::span<const std::uint8_t> bytes);

struct DibInfoHeader {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitsPerPixel = 0;
    std::uint32_t compression = kCompressionRgb;
    std::uint32_t imageSize = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t colorsImportant = 0;
};

std::array<std::uint8_t, kInfoHeaderSize> EncodeInfoHeader(const DibInfoHeader& header);

enum class DibWriteCheck {
    Ok,
    NotInfoLayout,  // only 40-byte headers are written; nothing is written, no message
    BeyondBlock,    // the header announces more pixel bytes than the block holds
};

struct DibWritePlan {
    DibWriteCheck check = DibWriteCheck::NotInfoLayout;
    std::array<std::uint8_t, kBmpFileHeaderSize> fileHeader{};
    std::uint32_t dibBytes = 0;         // bytes of the block written behind the file header
    bool storesImageSize = false;       // uncompressed: the computed size goes into the header
    std::uint32_t imageSize = 0;
};

// How a packed DIB is written: 40 + colour-table size + pixel bytes, where the
// pixel bytes are the stored image size for RLE8/RLE4 and the padded rows
// otherwise. Sizes are computed in 64 bits, so a header whose rows overflow
// 32 bits cannot pass for a small picture.
DibWritePlan PlanDibWrite(DibBytes dib);

// Stores the computed image size into the header, when the plan says so.
void ApplyDibWritePlan(std::span<std::uint8_t> dib, const DibWritePlan& plan);

}  // namespace zorv
