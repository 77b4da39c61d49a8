// 24-bit BMP files for the headless renderer: the shared file and info headers
// followed by padded BGR rows, bottom-up.
#include "image/Bmp24.h"

#include <algorithm>

#include "image/BmpFile.h"

namespace zorv {

bool WriteBmp24(std::ostream& out, int width, int height, const std::vector<std::uint32_t>& columns) {
    if (width < 1 || height < 1) return false;
    const std::uint64_t rowBytes = DibRowBytes(static_cast<std::uint64_t>(width), 24);
    const std::uint64_t imageBytes = rowBytes * static_cast<std::uint64_t>(height);
    constexpr std::uint32_t kHeaders = kBmpFileHeaderSize + kInfoHeaderSize;
    if (imageBytes + kHeaders > 0xFFFFFFFFull) return false;
    const std::size_t w = static_cast<std::size_t>(width), h = static_cast<std::size_t>(height);
    if (columns.size() != w * h) return false;

    BmpFileHeader file;
    file.fileSize = static_cast<std::uint32_t>(imageBytes) + kHeaders;
    file.pixelOffset = kHeaders;
    DibInfoHeader info;
    info.width = width;
    info.height = height;  // positive: bottom-up rows
    info.bitsPerPixel = 24;
    info.imageSize = static_cast<std::uint32_t>(imageBytes);
    info.xPelsPerMeter = info.yPelsPerMeter = 2835;  // 72 dpi
    const auto fileBytes = EncodeBmpFileHeader(file);
    const auto infoBytes = EncodeInfoHeader(info);
    out.write(reinterpret_cast<const char*>(fileBytes.data()), static_cast<std::streamsize>(fileBytes.size()));
    out.write(reinterpret_cast<const char*>(infoBytes.data()), static_cast<std::streamsize>(infoBytes.size()));

    // A band of rows at a time, filled column by column: both the columns read
    // and the rows written stay within a few hundred kilobytes.
    constexpr std::size_t kBand = 64;
    const std::size_t stride = static_cast<std::size_t>(rowBytes);
    std::vector<std::uint8_t> band(std::min(kBand, h) * stride, 0);  // the padding stays 0
    for (std::size_t end = h; end > 0;) {
        const std::size_t begin = end > kBand ? end - kBand : 0;
        for (std::size_t x = 0; x < w; ++x) {
            const std::uint32_t* column = columns.data() + x * h;
            std::uint8_t* dest = band.data() + 3 * x;
            for (std::size_t y = end; y-- > begin; dest += stride) {
                const std::uint32_t color = column[y];
                dest[0] = static_cast<std::uint8_t>(color >> 16);  // blue
                dest[1] = static_cast<std::uint8_t>(color >> 8);   // green
                dest[2] = static_cast<std::uint8_t>(color);        // red
            }
        }
        out.write(reinterpret_cast<const char*>(band.data()), static_cast<std::streamsize>((end - begin) * stride));
        end = begin;
    }
    return static_cast<bool>(out);
}

}  // namespace zorv
