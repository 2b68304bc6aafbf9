// Colour reduction: the palettes a true-colour picture is reduced to, the colour
// lookups that find a palette entry for a colour, the ditherers that spread the
// error of each choice to the neighbours (serpentine, kernels below), and the
// octree quantizer that picks a palette for a picture.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace bw {

struct TGIFRGB {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    bool operator==(const TGIFRGB&) const = default;
};
using TGIFPalette = std::vector<TGIFRGB>;

// 216 entries, entry 36 r + 6 g + b holding 51 r, 51 g, 51 b.
TGIFPalette CubePalette();
// The 20 colours every palette screen keeps: 10 first, 10 last.
TGIFPalette DefaultPalette();
// 256 colours for a screen of 8 bits: the default colours around the cube and greys.
TGIFPalette HalftonePalette();
TGIFPalette GreyPalette(const std::vector<int>& levels);

class TColorLookup {
public:
    virtual ~TColorLookup() = default;
    // How many colours it can answer (0: none).
    virtual int Colors() const = 0;
    // The index for a colour; chosen holds the colour of that index.
    virtual int Lookup(int r, int g, int b, TGIFRGB& chosen) = 0;
};

class TFastColorLookup : public TColorLookup {
public:
    explicit TFastColorLookup(TGIFPalette palette);
    int Colors() const override { return int(m_palette.size()); }
    int Lookup(int r, int g, int b, TGIFRGB& chosen) override;

private:
    static int Cell(int r, int g, int b) { return (r >> 3) + ((g >> 3) << 5) + ((b >> 3) << 10); }
    TGIFPalette m_palette;
    std::vector<int16_t> m_inverse; // 32768 cells of 5 bits per channel, -1: not looked up
};

class TNetscapeColorLookup : public TColorLookup {
public:
    int Colors() const override { return 216; }
    int Lookup(int r, int g, int b, TGIFRGB& chosen) override;
};

class TGrayScaleLookup : public TColorLookup {
public:
    int Colors() const override { return 256; }
    int Lookup(int r, int g, int b, TGIFRGB& chosen) override;
};

class TMonochromeLookup : public TColorLookup {
public:
    int Colors() const override { return 2; }
    int Lookup(int r, int g, int b, TGIFRGB& chosen) override;
};

// Nearest colour without error diffusion. Lines run left to right, then right
// to left, and so on; the caller takes the pixels of a line in Direction().
class TDitherEngine {
public:
    TDitherEngine(int width, TColorLookup& lookup) : m_width(width), m_lookup(lookup) {}
    virtual ~TDitherEngine() = default;
    virtual int Dither(int r, int g, int b);
    virtual void NextLine();
    // A pixel the caller leaves alone: only the column moves on.
    void Skip() { m_column += m_direction; }
    int Direction() const { return m_direction; }
    int Column() const { return m_column; }

protected:
    int m_width;
    TColorLookup& m_lookup;
    int m_direction = 1;
    int m_column = 0;
};

// Error diffusion with a kernel: weights of row 0 (to the right in the scan
// direction on the current line) and of the rows below, columns -3..+3.
class TErrorDiffusionDitherer : public TDitherEngine {
public:
    using Kernel = std::vector<std::array<int, 7>>;
    TErrorDiffusionDitherer(int width, TColorLookup& lookup, int divisor, Kernel kernel);
    int Dither(int r, int g, int b) override;
    void NextLine() override;

private:
    struct Tap {
        size_t row;
        int offset;
        int weight;
    };
    int m_divisor;
    std::vector<Tap> m_taps; // the kernel's weights that are not 0
    size_t m_stride;         // width + 6: three columns either side
    // Per row of the kernel: red, green and blue errors, one stride each.
    std::vector<std::vector<int32_t>> m_errors;
};

class TFloydSteinbergDitherer : public TErrorDiffusionDitherer {
public:
    TFloydSteinbergDitherer(int width, TColorLookup& lookup);
};
class TStuckiDitherer : public TErrorDiffusionDitherer {
public:
    TStuckiDitherer(int width, TColorLookup& lookup);
};
class TSierraDitherer : public TErrorDiffusionDitherer {
public:
    TSierraDitherer(int width, TColorLookup& lookup);
};
class TJaJuNiDitherer : public TErrorDiffusionDitherer {
public:
    TJaJuNiDitherer(int width, TColorLookup& lookup);
};
class TSteveArcheDitherer : public TErrorDiffusionDitherer {
public:
    TSteveArcheDitherer(int width, TColorLookup& lookup);
};
class TBurkesDitherer : public TErrorDiffusionDitherer {
public:
    TBurkesDitherer(int width, TColorLookup& lookup);
};

// The ditherer of a dither kind (0 nearest colour .. 6 Burkes), or null.
std::unique_ptr<TDitherEngine> MakeDitherer(int kind, int width, TColorLookup& lookup);

// An octree palette of the colours given (RGB triples): colors entries from 0
// (black beyond the colours found), or with static colours 236 quantized
// colours at 10..245 between the default palette's first and last 10.
TGIFPalette QuantizedPalette(const uint8_t* rgb, size_t pixelCount, int colors, int colorBits, bool withStaticColors);

} // namespace bw
