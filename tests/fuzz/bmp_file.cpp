// Fuzz target: a BMP file as it comes off the disk, through the reader's
// file-header check, the block checks, the header queries, palette entries,
// the painting bounds check, the write plan and a write → read round trip.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "image/BmpFile.h"
#include "image/DibHeader.h"
#include "image/PrinterFit.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// The block the reader builds: the body, then 14 spare zero bytes. Allocated to
// the exact size so that ASan sees any read past it.
std::unique_ptr<std::uint8_t[]> ReadBlock(const std::uint8_t* data, std::size_t size) {
    auto block = std::make_unique<std::uint8_t[]>(size);
    for (std::size_t i = 14; i < size; ++i) block[i - 14] = data[i];
    return block;
}

// Reads every byte GDI would take as pixel rows of an uncompressed picture, and
// checks the size GDI would decode against the cap, both recomputed from the raw
// fields rather than through the checks under test.
unsigned TouchRows(zorv::DibBytes dib) {
    const std::uint32_t headerSize = zorv::ReadLe32(dib, 0);
    std::uint64_t width, height, bits, compression = 0;
    if (headerSize == 12) {
        width = zorv::ReadLe16(dib, 4);
        height = zorv::ReadLe16(dib, 6);
        bits = zorv::ReadLe16(dib, 10);
    } else {
        const auto w = static_cast<std::int32_t>(zorv::ReadLe32(dib, 4));
        const auto h = static_cast<std::int32_t>(zorv::ReadLe32(dib, 8));
        width = w < 0 ? 0ull - static_cast<std::uint64_t>(static_cast<std::int64_t>(w)) : static_cast<std::uint64_t>(w);
        height = h < 0 ? 0ull - static_cast<std::uint64_t>(static_cast<std::int64_t>(h)) : static_cast<std::uint64_t>(h);
        bits = zorv::ReadLe16(dib, 14);
        compression = zorv::ReadLe32(dib, 16);
    }
    // Nothing beyond the cap reaches GDI, however few bytes describe it.
    Require(width <= zorv::kMaxDibSide && height <= zorv::kMaxDibSide);
    Require((width * bits + 31) / 32 * 4 * height <= zorv::kMaxDibDecodedBytes);
    if (compression != 0) return 0;
    const std::uint64_t rows = ((width * bits + 31) / 32 * 4) * height;
    const std::uint64_t offset = zorv::DIBPixelOffset(dib);
    Require(offset + rows <= dib.size());
    unsigned sum = 0;
    for (std::uint64_t i = 0; i < rows; i += 61) sum += dib[offset + i];
    if (rows != 0) sum += dib[offset + rows - 1];
    return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    if (!zorv::IsBmpFileHeader(file)) return 0;
    auto storage = ReadBlock(data, size);
    const std::span<std::uint8_t> block(storage.get(), size);
    const zorv::DibBytes dib(block);

    // The queries themselves must stay inside any block, checked or not.
    volatile std::uint64_t sink = zorv::DIBImageWidth(dib) + zorv::DIBImageHeight(dib) + zorv::DIBColorCount(dib) +
                                  zorv::DIBColorTableSize(dib) + zorv::DIBPixelOffset(dib);
    const auto entries = zorv::DibPaletteEntries(dib);
    Require(entries.empty() || entries.size() == zorv::DIBColorCount(dib));
    for (const auto& entry : entries) Require(entry.flags == 0);

    const zorv::DibCheck check = zorv::CheckDibBlock(dib);
    if (check == zorv::DibCheck::Ok) {
        Require(zorv::DibFitsForPainting(dib));
        Require(zorv::DIBImageWidth(dib) <= 2147483647u && zorv::DIBImageHeight(dib) <= 2147483647u);
        Require(zorv::DIBColorCount(dib) == 0 || !entries.empty());
        sink = sink + TouchRows(dib);
        const auto fit = zorv::FitToPage(zorv::DIBImageWidth(dib), zorv::DIBImageHeight(dib),
                                         {static_cast<std::int32_t>(zorv::ReadLe16(file, 2)), 6600, 600,
                                          static_cast<std::int32_t>(zorv::ReadLe16(file, 6)) - 300});
        if (fit) sink = sink + static_cast<std::uint32_t>(fit->width);
    }

    const zorv::DibWritePlan plan = zorv::PlanDibWrite(dib);
    if (plan.check == zorv::DibWriteCheck::Ok) {
        Require(plan.dibBytes <= block.size());
        zorv::ApplyDibWritePlan(block, plan);
        // What the writer puts on disk reads back as the same header, table and rows.
        std::vector<std::uint8_t> written(plan.fileHeader.begin(), plan.fileHeader.end());
        written.insert(written.end(), block.begin(), block.begin() + plan.dibBytes);
        Require(zorv::IsBmpFileHeader(written));
        Require(zorv::ReadLe32(written, 2) == written.size());
        auto again = ReadBlock(written.data(), written.size());
        const zorv::DibBytes reread(again.get(), written.size());
        for (std::size_t i = 0; i < plan.dibBytes; ++i) Require(reread[i] == block[i]);
    }
    (void)sink;
    return 0;
}
