// Test fixtures: small packed DIBs as commented byte arrays, and a builder for
// the table-driven variations of header fields.
#pragma once

#include <cstdint>
#include <vector>

#include "image/BmpFile.h"
#include "image/DibHeader.h"

namespace zorv::fixtures {

// 2 × 2, 24 bits, info layout, no colour table; rows of 6 bytes padded to 8.
inline const std::vector<std::uint8_t> kInfo24By2x2 = {
    40, 0, 0, 0,           // header size 40: info layout
    2, 0, 0, 0,            // width 2
    2, 0, 0, 0,            // height 2 (bottom-up)
    1, 0,                  // planes
    24, 0,                 // bits per pixel
    0, 0, 0, 0,            // compression: none
    16, 0, 0, 0,           // image size
    0, 0, 0, 0, 0, 0, 0, 0,  // resolution x, y
    0, 0, 0, 0,            // colours used
    0, 0, 0, 0,            // colours important
    // bottom row: blue pixel, green pixel (B, G, R), 2 bytes padding
    0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0, 0,
    // top row: red pixel, white pixel
    0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0,
};

// 3 × 2, 4 bits, core layout: 16 three-byte entries from offset 12, rows at 60.
inline const std::vector<std::uint8_t> kCore4By3x2 = {
    12, 0, 0, 0,  // header size 12: core layout
    3, 0,         // width 3 (16-bit)
    2, 0,         // height 2 (16-bit)
    1, 0,         // planes
    4, 0,         // bits per pixel
    // colour table: entry i = (blue i, green 16·i, red 255 − i)
    0, 0, 255,  1, 16, 254,  2, 32, 253,  3, 48, 252,  4, 64, 251,  5, 80, 250,  6, 96, 249,  7, 112, 248,
    8, 128, 247, 9, 144, 246, 10, 160, 245, 11, 176, 244, 12, 192, 243, 13, 208, 242, 14, 224, 241, 15, 240, 240,
    // rows of 3 nibbles padded to 4 bytes: bottom (1, 2, 3), top (15, 0, 7)
    0x12, 0x30, 0, 0,
    0xF0, 0x70, 0, 0,
};

// 2 × 1, 1 bit, info layout with colours used 0: a 2-entry table, rows at 48.
inline const std::vector<std::uint8_t> kInfo1By2x1 = {
    40, 0, 0, 0,  // header size
    2, 0, 0, 0,   // width 2
    1, 0, 0, 0,   // height 1
    1, 0,         // planes
    1, 0,         // bits per pixel
    0, 0, 0, 0,   // compression
    0, 0, 0, 0,   // image size: 0 is allowed for uncompressed pictures
    0, 0, 0, 0, 0, 0, 0, 0,  // resolution
    0, 0, 0, 0,   // colours used: 0, so 2 by bit count
    0, 0, 0, 0,   // colours important
    10, 20, 30, 99,    // entry 0: blue 10, green 20, red 30, reserved 99 (not a flag)
    200, 100, 50, 0,   // entry 1
    0x40, 0, 0, 0,     // one row: pixel 0 = index 0, pixel 1 = index 1, padding
};

// An info-layout DIB built from its header fields, with `tableEntries` 4-byte
// table entries (entry i = (i, i, i, 0)) and `pixelBytes` bytes of rows.
inline std::vector<std::uint8_t> MakeInfoDib(const DibInfoHeader& header, std::size_t tableEntries,
                                             std::size_t pixelBytes) {
    const auto head = EncodeInfoHeader(header);
    std::vector<std::uint8_t> dib(head.begin(), head.end());
    for (std::size_t i = 0; i < tableEntries; ++i) {
        const auto value = static_cast<std::uint8_t>(i);
        dib.insert(dib.end(), {value, value, value, 0});
    }
    for (std::size_t i = 0; i < pixelBytes; ++i) dib.push_back(static_cast<std::uint8_t>(i * 7 + 1));
    return dib;
}

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
