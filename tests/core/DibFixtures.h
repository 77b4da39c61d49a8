// Test fixtures: packed DIBs built from their header fields, for the tables of
// header and file rules.
#pragma once

#include <cstdint>
#include <vector>

#include "image/BmpFile.h"
#include "image/DibHeader.h"

namespace zorv::fixtures {

inline DibInfoHeader Info(std::int32_t width, std::int32_t height, std::uint16_t bits, std::uint32_t colorsUsed = 0,
                          std::uint32_t compression = kCompressionRgb, std::uint32_t imageSize = 0) {
    DibInfoHeader header;
    header.width = width;
    header.height = height;
    header.bitsPerPixel = bits;
    header.colorsUsed = colorsUsed;
    header.compression = compression;
    header.imageSize = imageSize;
    return header;
}

// An info-layout DIB with `tableEntries` 4-byte table entries (entry i = (i, i,
// i, 0)) and `pixelBytes` bytes of rows.
inline std::vector<std::uint8_t> MakeInfoDib(const DibInfoHeader& header, std::size_t tableEntries,
                                             std::size_t pixelBytes) {
    const auto head = EncodeInfoHeader(header);
    std::vector<std::uint8_t> dib(head.begin(), head.end());
    for (std::size_t i = 0; i < tableEntries; ++i) {
        const auto value = static_cast<std::uint8_t>(i);
        dib.insert(dib.end(), {value, value, value, 0});
    }
    dib.resize(dib.size() + pixelBytes, 0x5A);
    return dib;
}

// A DIB whose header-size field is `headerSize`, read in the core layout:
// 16-bit width and height at 4 and 6, bits per pixel at 10, then zeros up to
// `totalBytes`.
inline std::vector<std::uint8_t> MakeCoreDib(std::uint32_t headerSize, std::uint16_t width, std::uint16_t height,
                                             std::uint16_t bits, std::size_t totalBytes) {
    std::vector<std::uint8_t> dib(totalBytes < 12 ? 12 : totalBytes, 0);
    WriteLe32(dib, 0, headerSize);
    WriteLe16(dib, 4, width);
    WriteLe16(dib, 6, height);
    WriteLe16(dib, 8, 1);
    WriteLe16(dib, 10, bits);
    dib.resize(totalBytes);
    return dib;
}

}  // namespace zorv::fixtures
