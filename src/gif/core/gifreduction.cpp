#include "gif/core/gifreduction.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace bw {

TGIFPalette CubePalette()
{
    TGIFPalette p;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                p.push_back({uint8_t(51 * r), uint8_t(51 * g), uint8_t(51 * b)});
    return p;
}

TGIFPalette DefaultPalette()
{
    return {{0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
            {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
            {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
            {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
}

TGIFPalette HalftonePalette()
{
    const TGIFPalette defaults = DefaultPalette();
    TGIFPalette p(defaults.begin(), defaults.begin() + 10);
    const TGIFPalette cube = CubePalette();
    p.insert(p.end(), cube.begin(), cube.end());
    for (int i = 1; p.size() < 246; ++i)
        p.push_back({uint8_t(i * 11), uint8_t(i * 11), uint8_t(i * 11)});
    p.insert(p.end(), defaults.begin() + 10, defaults.end());
    return p;
}

TGIFPalette GreyPalette(const std::vector<int>& levels)
{
    TGIFPalette p;
    for (int v : levels)
        p.push_back({uint8_t(v), uint8_t(v), uint8_t(v)});
    return p;
}

// ---------------------------------------------------------------- lookups

TFastColorLookup::TFastColorLookup(TGIFPalette palette) : m_palette(std::move(palette)), m_inverse(32768, -1)
{
    // The first entry of a cell wins.
    for (size_t i = 0; i < m_palette.size(); ++i) {
        int16_t& cell = m_inverse[size_t(Cell(m_palette[i].r, m_palette[i].g, m_palette[i].b))];
        if (cell < 0)
            cell = int16_t(i);
    }
}

int TFastColorLookup::Lookup(int r, int g, int b, TGIFRGB& chosen)
{
    int16_t& cell = m_inverse[size_t(Cell(r, g, b))];
    if (cell < 0) {
        int best = INT_MAX;
        for (size_t i = 0; i < m_palette.size(); ++i) {
            const int d = std::abs(m_palette[i].r - r) + std::abs(m_palette[i].g - g) + std::abs(m_palette[i].b - b);
            if (d < best) {
                best = d;
                cell = int16_t(i);
            }
        }
    }
    chosen = m_palette[size_t(cell)];
    return cell;
}

int TNetscapeColorLookup::Lookup(int r, int g, int b, TGIFRGB& chosen)
{
    const int lr = (r + 3) / 51;
    const int lg = (g + 3) / 51;
    const int lb = (b + 3) / 51;
    chosen = {uint8_t(51 * lr), uint8_t(51 * lg), uint8_t(51 * lb)};
    return 36 * lr + 6 * lg + lb;
}

int TGrayScaleLookup::Lookup(int r, int g, int b, TGIFRGB& chosen)
{
    const int grey = (77 * r + 150 * g + 29 * b) / 256;
    chosen = {uint8_t(grey), uint8_t(grey), uint8_t(grey)};
    return grey;
}

int TMonochromeLookup::Lookup(int r, int g, int b, TGIFRGB& chosen)
{
    if (77 * r + 150 * g + 29 * b < 32513) {
        chosen = {0, 0, 0};
        return 0;
    }
    chosen = {255, 255, 255};
    return 1;
}

// ---------------------------------------------------------------- ditherers

int TDitherEngine::Dither(int r, int g, int b)
{
    TGIFRGB chosen;
    const int index = m_lookup.Lookup(r, g, b, chosen);
    m_column += m_direction;
    return index;
}

void TDitherEngine::NextLine()
{
    m_direction = -m_direction;
    m_column = m_direction > 0 ? 0 : m_width - 1;
}

TErrorDiffusionDitherer::TErrorDiffusionDitherer(int width, TColorLookup& lookup, int divisor, Kernel kernel)
    : TDitherEngine(width, lookup), m_divisor(divisor), m_stride(size_t(width) + 6)
{
    for (size_t row = 0; row < kernel.size(); ++row)
        for (int k = -3; k <= 3; ++k)
            if (int weight = kernel[row][size_t(k + 3)])
                m_taps.push_back({row, k, weight});
    m_errors.assign(kernel.size(), std::vector<int32_t>(m_stride * 3, 0));
}

int TErrorDiffusionDitherer::Dither(int r, int g, int b)
{
    const size_t at = size_t(m_column + 3);
    const int in[3] = {r, g, b};
    int value[3];
    const int32_t* current = m_errors[0].data();
    for (int c = 0; c < 3; ++c) {
        const int correction = (current[size_t(c) * m_stride + at] + m_divisor / 2) / m_divisor;
        value[c] = std::clamp(in[c] + correction, 0, 255);
    }
    TGIFRGB chosen;
    const int index = m_lookup.Lookup(value[0], value[1], value[2], chosen);
    const int error[3] = {value[0] - chosen.r, value[1] - chosen.g, value[2] - chosen.b};
    if (error[0] | error[1] | error[2])
        for (const Tap& tap : m_taps) {
            int32_t* row = m_errors[tap.row].data() + at + tap.offset * m_direction;
            row[0] += error[0] * tap.weight;
            row[m_stride] += error[1] * tap.weight;
            row[2 * m_stride] += error[2] * tap.weight;
        }
    m_column += m_direction;
    return index;
}

void TErrorDiffusionDitherer::NextLine()
{
    // The current line's errors are used up; its buffer becomes the farthest row.
    std::rotate(m_errors.begin(), m_errors.begin() + 1, m_errors.end());
    std::fill(m_errors.back().begin(), m_errors.back().end(), 0);
    TDitherEngine::NextLine();
}

//                                                               -3  -2  -1   0  +1  +2  +3
TFloydSteinbergDitherer::TFloydSteinbergDitherer(int width, TColorLookup& lookup)
    : TErrorDiffusionDitherer(width, lookup, 16, {{0, 0, 0, 0, 7, 0, 0}, {0, 0, 3, 5, 1, 0, 0}}) {}
TStuckiDitherer::TStuckiDitherer(int width, TColorLookup& lookup)
    : TErrorDiffusionDitherer(width, lookup, 42, {{0, 0, 0, 0, 8, 4, 0}, {0, 2, 4, 8, 4, 2, 0}, {0, 1, 2, 4, 2, 1, 0}}) {}
TSierraDitherer::TSierraDitherer(int width, TColorLookup& lookup)
    : TErrorDiffusionDitherer(width, lookup, 32, {{0, 0, 0, 0, 5, 3, 0}, {0, 2, 4, 5, 4, 2, 0}, {0, 0, 2, 3, 2, 0, 0}}) {}
TJaJuNiDitherer::TJaJuNiDitherer(int width, TColorLookup& lookup)
    : TErrorDiffusionDitherer(width, lookup, 48, {{0, 0, 0, 0, 7, 5, 0}, {0, 3, 5, 7, 5, 3, 0}, {0, 1, 3, 5, 3, 1, 0}}) {}
TSteveArcheDitherer::TSteveArcheDitherer(int width, TColorLookup& lookup)
    : TErrorDiffusionDitherer(width, lookup, 200,
                              {{0, 0, 0, 0, 0, 32, 0}, {12, 0, 26, 0, 30, 0, 16}, {0, 12, 0, 26, 0, 12, 0}, {5, 0, 12, 0, 12, 0, 5}}) {}
TBurkesDitherer::TBurkesDitherer(int width, TColorLookup& lookup)
    : TErrorDiffusionDitherer(width, lookup, 32, {{0, 0, 0, 0, 8, 4, 0}, {0, 2, 4, 8, 4, 2, 0}}) {}

std::unique_ptr<TDitherEngine> MakeDitherer(int kind, int width, TColorLookup& lookup)
{
    switch (kind) {
    case 0: return std::make_unique<TDitherEngine>(width, lookup);
    case 1: return std::make_unique<TFloydSteinbergDitherer>(width, lookup);
    case 2: return std::make_unique<TStuckiDitherer>(width, lookup);
    case 3: return std::make_unique<TSierraDitherer>(width, lookup);
    case 4: return std::make_unique<TJaJuNiDitherer>(width, lookup);
    case 5: return std::make_unique<TSteveArcheDitherer>(width, lookup);
    case 6: return std::make_unique<TBurkesDitherer>(width, lookup);
    default: return nullptr;
    }
}

// ---------------------------------------------------------------- octree

namespace {
struct OctreeNode {
    bool leaf = false;
    int64_t pixels = 0;
    int64_t red = 0, green = 0, blue = 0;
    OctreeNode* nextReducible = nullptr;
    std::array<std::unique_ptr<OctreeNode>, 8> children;
};

class ColorQuantizer {
public:
    ColorQuantizer(int maxColors, int colorBits) : m_maxColors(maxColors), m_colorBits(std::clamp(colorBits, 1, 8)) {}

    void Add(int r, int g, int b)
    {
        OctreeNode* node = &m_root;
        for (int depth = 0;; ++depth) {
            if (node->leaf || depth == m_colorBits) {
                if (!node->leaf) {
                    node->leaf = true;
                    ++m_leaves;
                }
                break;
            }
            const int shift = 7 - depth;
            const int child = (((r >> shift) & 1) << 2) | (((g >> shift) & 1) << 1) | ((b >> shift) & 1);
            if (!node->children[size_t(child)]) {
                node->children[size_t(child)] = std::make_unique<OctreeNode>();
                OctreeNode* made = node->children[size_t(child)].get();
                if (depth + 1 == m_colorBits) {
                    made->leaf = true;
                    ++m_leaves;
                } else {
                    made->nextReducible = m_reducible[size_t(depth + 1)];
                    m_reducible[size_t(depth + 1)] = made;
                }
            }
            node = node->children[size_t(child)].get();
        }
        ++node->pixels;
        node->red += r;
        node->green += g;
        node->blue += b;
        while (m_leaves > m_maxColors)
            Reduce();
    }

    void Colors(const OctreeNode& node, TGIFPalette& out) const
    {
        if (node.leaf) {
            if (node.pixels > 0)
                out.push_back({uint8_t(node.red / node.pixels), uint8_t(node.green / node.pixels), uint8_t(node.blue / node.pixels)});
            else
                out.push_back({0, 0, 0});
            return;
        }
        for (const auto& child : node.children)
            if (child)
                Colors(*child, out);
    }
    const OctreeNode& Root() const { return m_root; }

private:
    void Reduce()
    {
        int depth = m_colorBits - 1;
        while (depth > 0 && !m_reducible[size_t(depth)])
            --depth;
        OctreeNode* node = m_reducible[size_t(depth)];
        if (!node) {
            node = &m_root; // only the root is left to merge
        } else {
            m_reducible[size_t(depth)] = node->nextReducible;
        }
        int merged = 0;
        for (auto& child : node->children)
            if (child) {
                node->red += child->red;
                node->green += child->green;
                node->blue += child->blue;
                node->pixels += child->pixels;
                child.reset();
                ++merged;
            }
        node->leaf = true;
        m_leaves -= merged - 1;
    }

    int m_maxColors;
    int m_colorBits;
    int m_leaves = 0;
    OctreeNode m_root;
    std::array<OctreeNode*, 9> m_reducible{};
};
}

TGIFPalette QuantizedPalette(const uint8_t* rgb, size_t pixelCount, int colors, int colorBits, bool withStaticColors)
{
    const int wanted = withStaticColors ? 236 : std::clamp(colors, 1, 256);
    ColorQuantizer quantizer(wanted, colorBits);
    for (size_t i = 0; i < pixelCount; ++i)
        quantizer.Add(rgb[i * 3], rgb[i * 3 + 1], rgb[i * 3 + 2]);
    TGIFPalette found;
    quantizer.Colors(quantizer.Root(), found);
    found.resize(size_t(wanted), TGIFRGB{0, 0, 0});
    if (!withStaticColors)
        return found;
    const TGIFPalette defaults = DefaultPalette();
    TGIFPalette p(defaults.begin(), defaults.begin() + 10);
    p.insert(p.end(), found.begin(), found.end());
    p.insert(p.end(), defaults.begin() + 10, defaults.end());
    return p;
}

} // namespace bw
