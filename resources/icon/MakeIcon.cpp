// Draws the saver's icon, a Mandelbrot set ringed by escape-time bands in the
// 16 standard colours, and writes it as an .ico with a 32×32 and a 16×16 image.
// Usage: make_icon OUTPUT.ico   (the result is committed as resources/zorv.ico)
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

namespace {

// The 16-colour palette every display offers, as B, G, R.
constexpr std::uint8_t kPalette[16][3] = {
    {0, 0, 0},       {0, 0, 128},   {0, 128, 0},   {0, 128, 128}, {128, 0, 0},   {128, 0, 128},
    {128, 128, 0},   {192, 192, 192}, {128, 128, 128}, {0, 0, 255}, {0, 255, 0},   {0, 255, 255},
    {255, 0, 0},     {255, 0, 255}, {255, 255, 0}, {255, 255, 255},
};
// Palette indices from the outer bands inward: dark blue into yellow and white at the set's edge.
constexpr int kBands[] = {4, 12, 6, 14, 15, 11, 9, 13};
constexpr int kBandCount = sizeof kBands / sizeof kBands[0];
constexpr int kInside = 0;
constexpr int kMaxIter = 48;

int Escape(double cr, double ci) {
    double zr = 0, zi = 0;
    for (int n = 0; n < kMaxIter; ++n) {
        const double rr = zr * zr, ii = zi * zi;
        if (rr + ii > 4.0) return n;
        zi = 2 * zr * zi + ci;
        zr = rr - ii + cr;
    }
    return kMaxIter;
}

struct Pixel {
    int index;
    bool transparent;
};

// Each pixel takes the most frequent colour of a 4×4 grid of samples, so the
// small image keeps the set's outline instead of aliasing it away.
std::vector<Pixel> Render(int size) {
    std::vector<Pixel> pixels(size * size);
    const double span = 2.7, left = -2.1, top = span / 2;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            int votes[17] = {};  // 0..15 colours, 16 = transparent
            for (int sy = 0; sy < 4; ++sy) {
                for (int sx = 0; sx < 4; ++sx) {
                    const double cr = left + (x + (sx + 0.5) / 4) * span / size;
                    const double ci = top - (y + (sy + 0.5) / 4) * span / size;
                    const int n = Escape(cr, ci);
                    if (n == kMaxIter) {
                        ++votes[kInside];
                    } else if (n < 2) {
                        ++votes[16];
                    } else {
                        const int band = (n - 2) * 2 / 3;
                        ++votes[kBands[band < kBandCount ? band : kBandCount - 1]];
                    }
                }
            }
            int best = 0;
            for (int i = 1; i < 17; ++i)
                if (votes[i] > votes[best]) best = i;
            pixels[y * size + x] = best == 16 ? Pixel{0, true} : Pixel{best, false};
        }
    }
    return pixels;
}

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<std::uint8_t>& out, unsigned v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// One icon image: header (height doubled for the mask), palette, 4-bit colour
// rows and the 1-bit transparency mask, both bottom-up with 4-byte rows.
std::vector<std::uint8_t> Image(int size) {
    const std::vector<Pixel> pixels = Render(size);
    const int colourStride = (size / 2 + 3) / 4 * 4;
    const int maskStride = ((size + 7) / 8 + 3) / 4 * 4;
    std::vector<std::uint8_t> out;
    Put32(out, 40);
    Put32(out, size);
    Put32(out, size * 2);
    Put16(out, 1);
    Put16(out, 4);
    Put32(out, 0);
    Put32(out, (colourStride + maskStride) * size);
    for (int i = 0; i < 4; ++i) Put32(out, 0);
    for (const auto& c : kPalette) out.insert(out.end(), {c[0], c[1], c[2], 0});
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(colourStride, 0);
        for (int x = 0; x < size; ++x) row[x / 2] |= pixels[y * size + x].index << (x % 2 ? 0 : 4);
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(maskStride, 0);
        for (int x = 0; x < size; ++x)
            if (pixels[y * size + x].transparent) row[x / 8] |= 0x80 >> (x % 8);
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon OUTPUT.ico\n");
        return 2;
    }
    const int sizes[] = {32, 16};
    std::vector<std::vector<std::uint8_t>> images;
    for (int size : sizes) images.push_back(Image(size));

    std::vector<std::uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);  // icon
    Put16(file, 2);
    unsigned offset = 6 + 16 * 2;
    for (int i = 0; i < 2; ++i) {
        file.insert(file.end(), {static_cast<std::uint8_t>(sizes[i]), static_cast<std::uint8_t>(sizes[i]), 16, 0});
        Put16(file, 1);
        Put16(file, 4);
        Put32(file, static_cast<unsigned>(images[i].size()));
        Put32(file, offset);
        offset += static_cast<unsigned>(images[i].size());
    }
    for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());

    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    return out ? 0 : 1;
}
