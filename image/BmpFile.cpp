// Encoding and decoding of the BMP file header and the info header, and the
// write plan of a packed DIB.
#include "image/BmpFile.h"

namespace zorv {

std::array<std::uint8_t, kBmpFileHeaderSize> EncodeBmpFileHeader(const BmpFileHeader& header) {
    std::array<std::uint8_t, kBmpFileHeaderSize> bytes{};
    WriteLe16(bytes, 0, header.type);
    WriteLe32(bytes, 2, header.fileSize);
    WriteLe16(bytes, 6, header.reserved1);
    WriteLe16(bytes, 8, header.reserved2);
    WriteLe32(bytes, 10, header.pixelOffset);
    return bytes;
}

bool IsBmpFileHeader(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= kBmpFileHeaderSize && ReadLe16(bytes, 0) == kBmpFileType;
}

std::array<std::uint8_t, kInfoHeaderSize> EncodeInfoHeader(const DibInfoHeader& header) {
    std::array<std::uint8_t, kInfoHeaderSize> bytes{};
    WriteLe32(bytes, 0, kInfoHeaderSize);
    WriteLe32(bytes, 4, static_cast<std::uint32_t>(header.width));
    WriteLe32(bytes, 8, static_cast<std::uint32_t>(header.height));
    WriteLe16(bytes, 12, header.planes);
    WriteLe16(bytes, 14, header.bitsPerPixel);
    WriteLe32(bytes, 16, header.compression);
    WriteLe32(bytes, 20, header.imageSize);
    WriteLe32(bytes, 24, static_cast<std::uint32_t>(header.xPelsPerMeter));
    WriteLe32(bytes, 28, static_cast<std::uint32_t>(header.yPelsPerMeter));
    WriteLe32(bytes, 32, header.colorsUsed);
    WriteLe32(bytes, 36, header.colorsImportant);
    return bytes;
}

DibWritePlan PlanDibWrite(DibBytes dib) {
    DibWritePlan plan;
    if (dib.size() < kInfoHeaderSize || DibHeaderSize(dib) != kInfoHeaderSize) return plan;

    const std::uint32_t compression = DibCompression(dib);
    std::uint64_t pixelBytes = 0;
    if (compression == kCompressionRle8 || compression == kCompressionRle4) {
        pixelBytes = DibImageSizeField(dib);
    } else {
        // Width and height as unsigned, as the header stores them; a negative
        // height becomes a size no block can hold.
        pixelBytes = DibRowBytes(DIBImageWidth(dib), DibBitsPerPixel(dib)) * DIBImageHeight(dib);
        plan.storesImageSize = true;
    }
    const std::uint64_t tableBytes = DIBColorTableSize(dib);
    const std::uint64_t dibBytes = kInfoHeaderSize + tableBytes + pixelBytes;
    if (dibBytes > dib.size() || dibBytes + kBmpFileHeaderSize > 0xFFFFFFFFu) {
        plan.check = DibWriteCheck::BeyondBlock;
        plan.storesImageSize = false;
        return plan;
    }

    plan.check = DibWriteCheck::Ok;
    plan.dibBytes = static_cast<std::uint32_t>(dibBytes);
    plan.imageSize = static_cast<std::uint32_t>(pixelBytes);
    BmpFileHeader header;
    header.fileSize = plan.dibBytes + kBmpFileHeaderSize;
    header.pixelOffset = static_cast<std::uint32_t>(kBmpFileHeaderSize + kInfoHeaderSize + tableBytes);
    plan.fileHeader = EncodeBmpFileHeader(header);
    return plan;
}

void ApplyDibWritePlan(std::span<std::uint8_t> dib, const DibWritePlan& plan) {
    if (plan.check == DibWriteCheck::Ok && plan.storesImageSize) WriteLe32(dib, 20, plan.imageSize);
}

}  // namespace zorv
