// 24-bit BMP files for the headless renderer: the shared file and info headers
// followed by padded BGR rows, bottom-up.
#include "image/Bmp24.h"

#include "image/BmpFile.h"

namespace zorv {

std::vector<std::uint8_t> EncodeBmp24(int width, int height, const std::vector<std::uint32_t>& pixels) {
    if (width < 1 || height < 1) return {};
    const std::uint64_t rowBytes = DibRowBytes(static_cast<std::uint64_t>(width), 24);
    const std::uint64_t imageBytes = rowBytes * static_cast<std::uint64_t>(height);
    constexpr std::uint32_t kHeaders = kBmpFileHeaderSize + kInfoHeaderSize;
    if (imageBytes + kHeaders > 0xFFFFFFFFull) return {};
    if (pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) return {};

    BmpFileHeader file;
    file.fileSize = static_cast<std::uint32_t>(imageBytes) + kHeaders;
    file.pixelOffset = kHeaders;
    DibInfoHeader info;
    info.width = width;
    info.height = height;  // positive: bottom-up rows
    info.bitsPerPixel = 24;
    info.imageSize = static_cast<std::uint32_t>(imageBytes);
    info.xPelsPerMeter = info.yPelsPerMeter = 2835;  // 72 dpi

    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(imageBytes) + kHeaders);
    const auto fileBytes = EncodeBmpFileHeader(file);
    const auto infoBytes = EncodeInfoHeader(info);
    out.insert(out.end(), fileBytes.begin(), fileBytes.end());
    out.insert(out.end(), infoBytes.begin(), infoBytes.end());

    // Rows written in place: a byte-by-byte push_back cost more than the rest of
    // a headless render of a plain image.
    out.resize(static_cast<std::size_t>(imageBytes) + kHeaders, 0);
    std::uint8_t* dest = out.data() + kHeaders;
    for (int y = height - 1; y >= 0; --y) {
        const std::uint32_t* row = pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        std::uint8_t* rowDest = dest;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t color = row[x];
            rowDest[0] = static_cast<std::uint8_t>(color >> 16);  // blue
            rowDest[1] = static_cast<std::uint8_t>(color >> 8);   // green
            rowDest[2] = static_cast<std::uint8_t>(color);        // red
            rowDest += 3;
        }
        dest += rowBytes;  // the padding stays 0
    }
    return out;
}

}  // namespace zorv
