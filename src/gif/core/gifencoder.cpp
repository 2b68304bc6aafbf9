#include "gif/core/gifencoder.h"

#include "gif/core/gifblocks.h"
#include "gif/core/gifexception.h"
#include "gif/core/gifpicture.h"
#include "gif/core/gifstream.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>

namespace bw {

namespace {

constexpr int kMaxCodes = 4096;

// Packs codes least-significant bit first and writes the bytes as data
// sub-blocks of 255 bytes (the last one shorter), several blocks per write.
class CodeWriter {
public:
    explicit CodeWriter(ByteStream& stream) : m_stream(stream) {}
    void Put(int code, int width)
    {
        m_bucket |= uint64_t(code) << m_bits;
        m_bits += width;
        if (m_bits >= 32) {
            for (int i = 0; i < 4; ++i)
                m_data[m_fill++] = uint8_t(m_bucket >> (8 * i));
            m_bucket >>= 32;
            m_bits -= 32;
            if (m_fill >= kChunk)
                Flush(false);
        }
    }
    // After the last code: the bits held go out, the last byte filled up with
    // zeros, and every byte collected is written.
    void Finish()
    {
        for (; m_bits > 0; m_bits -= 8) {
            m_data[m_fill++] = uint8_t(m_bucket);
            m_bucket >>= 8;
        }
        m_bits = 0;
        m_bucket = 0;
        Flush(true);
    }

private:
    static constexpr size_t kBlock = 255;
    static constexpr size_t kChunk = 16 * kBlock;
    // Writes the whole blocks collected, and with last also the partial one.
    void Flush(bool last)
    {
        const size_t blocks = last ? (m_fill + kBlock - 1) / kBlock : m_fill / kBlock;
        size_t at = 0, n = 0;
        for (size_t b = 0; b < blocks; ++b) {
            const size_t size = std::min(kBlock, m_fill - at);
            m_out[n++] = uint8_t(size);
            std::memcpy(m_out.data() + n, m_data.data() + at, size);
            n += size;
            at += size;
        }
        if (n > 0)
            m_stream.Write(m_out.data(), n);
        std::memmove(m_data.data(), m_data.data() + at, m_fill - at);
        m_fill -= at;
    }

    ByteStream& m_stream;
    uint64_t m_bucket = 0;
    int m_bits = 0;
    size_t m_fill = 0;
    std::array<uint8_t, kChunk + kBlock + 8> m_data;
    std::array<uint8_t, kChunk + 2 * kBlock + 16> m_out;
};

// Sends the frame's rows in order (interlaced: in four passes), each row as a
// pointer to its width pixels, after checking them against the table.
template <typename F>
void forEachRow(const uint8_t* pixels, int colors, bool interlaced, int height, int width, F&& visit)
{
    const auto row = [&](int y) {
        const uint8_t* p = pixels + size_t(y) * size_t(width);
        if (colors < 256) {
            uint8_t highest = 0;
            for (int x = 0; x < width; ++x)
                highest = std::max(highest, p[x]);
            if (highest >= colors)
                throw GIFException("Color not in color table");
        }
        visit(p);
    };
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            row(y);
        return;
    }
    static constexpr int kPasses[4][2] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
    for (const auto& pass : kPasses)
        for (int y = pass[0]; y < height; y += pass[1])
            row(y);
}

// The code width state both encoders share: the clear, end and first free
// codes of the minimum code size, the current width and its highest code.
class TGIFEncoder {
public:
    TGIFEncoder(CodeWriter& writer, int bitsPerPixel, int colors, const uint8_t* pixels, bool interlaced, int height, int width)
        : m_writer(writer), m_bits(bitsPerPixel), m_initialWidth(bitsPerPixel + 1), m_clearCode(1 << bitsPerPixel),
          m_endCode(m_clearCode + 1), m_firstFree(m_clearCode + 2), m_colors(colors), m_pixels(pixels),
          m_interlaced(interlaced), m_height(height), m_width(width)
    {
        SetWidth(m_initialWidth);
    }
    virtual ~TGIFEncoder() = default;
    virtual void Compress() = 0;
    void PutEnd()
    {
        PutBits(m_endCode);
        m_writer.Finish();
    }

protected:
    void SetWidth(int width)
    {
        m_codeWidth = width;
        m_maxCode = width >= 12 ? kMaxCodes : (1 << width) - 1;
    }
    void PutBits(int code) { m_writer.Put(code, m_codeWidth); }
    template <typename F>
    void ForEachRow(F&& visit)
    {
        forEachRow(m_pixels, m_colors, m_interlaced, m_height, m_width, visit);
    }

    CodeWriter& m_writer;
    int m_bits;
    int m_initialWidth;
    int m_codeWidth = 0;
    int m_maxCode = 0;
    int m_clearCode;
    int m_endCode;
    int m_firstFree;
    int m_colors;
    const uint8_t* m_pixels;
    bool m_interlaced;
    int m_height;
    int m_width;
};

// The LZW dictionary: every code's children by pixel in a table indexed by
// code << bits | pixel. The table is never cleared: an entry counts only when
// its code was given out since the last clear to exactly that string, which the
// code's own key tells. So the table is kept from frame to frame (per thread)
// and only the short lists start afresh.
//
// Beside it, for every pixel value the codes of its runs (the strings of 1, 2,
// 3 ... times that pixel) in order of length: in a flat area the encoder jumps
// to the longest run the pixels fill instead of walking there pixel by pixel.
// A run string is only ever made from the longest one before it, so these
// lists have no gaps.
class LzwDictionary {
public:
    explicit LzwDictionary(int bits) : m_bits(bits)
    {
        thread_local std::vector<uint16_t> children, runs;
        const size_t values = size_t(1) << bits;
        if (children.size() < values * kMaxCodes) {
            children.resize(values * kMaxCodes);
            runs.resize(values * kMaxCodes);
        }
        m_children = children.data();
        m_runs = runs.data();
    }
    void Clear(int firstFree)
    {
        m_first = m_next = firstFree;
        for (int pixel = 0; pixel < (1 << m_bits); ++pixel)
            m_longestRun[size_t(pixel)] = {uint16_t(pixel), 1};
    }
    int Find(int prefix, int pixel) const
    {
        const uint32_t key = (uint32_t(prefix) << m_bits) | uint32_t(pixel);
        const int code = m_children[key];
        return unsigned(code - m_first) < unsigned(m_next - m_first) && m_keys[size_t(code)] == key ? code : -1;
    }
    // Gives the next free code to the string prefix + pixel.
    void Add(int prefix, int pixel)
    {
        const uint32_t key = (uint32_t(prefix) << m_bits) | uint32_t(pixel);
        m_children[key] = uint16_t(m_next);
        m_keys[size_t(m_next)] = key;
        Run& longest = m_longestRun[size_t(pixel)];
        if (longest.code == prefix) {
            m_runs[size_t(pixel) * kMaxCodes + longest.length - 1] = uint16_t(m_next);
            longest.code = uint16_t(m_next);
            ++longest.length;
        }
        ++m_next;
    }
    int NextFree() const { return m_next; }
    int LongestRun(int pixel) const { return m_longestRun[size_t(pixel)].length; }
    // The code of the run of length times pixel (2 <= length <= LongestRun).
    int RunCode(int pixel, int length) const { return m_runs[size_t(pixel) * kMaxCodes + size_t(length - 2)]; }

private:
    int m_bits;
    int m_first = 0;
    int m_next = 0;
    uint16_t* m_children;
    uint16_t* m_runs; // from the run of 2 on
    std::array<uint32_t, kMaxCodes> m_keys;
    struct Run {
        uint16_t code;
        uint16_t length;
    };
    std::array<Run, 256> m_longestRun; // by pixel value
};

class TLZWEncoder : public TGIFEncoder {
public:
    using TGIFEncoder::TGIFEncoder;
    static constexpr int kShortRun = 4;
    void Compress() override
    {
        LzwDictionary table(m_bits);
        Clear(table);
        bool first = true;
        int prefix = 0;
        ForEachRow([&](const uint8_t* row) {
            int x = 0;
            if (first) {
                prefix = row[x++];
                first = false;
            }
            for (; x < m_width; ++x) {
                const int pixel = row[x];
                const int code = table.Find(prefix, pixel);
                if (code >= 0) {
                    prefix = code;
                    continue;
                }
                Put(prefix, table.NextFree());
                if (table.NextFree() > kMaxCodes - 2)
                    Clear(table);
                else
                    table.Add(prefix, pixel);
                prefix = pixel;
                // The walk through the table would follow a run of this pixel
                // up to the longest run string it fills: go there at once. Short
                // runs, as in photographs, are walked.
                const int reach = std::min(table.LongestRun(pixel), m_width - x);
                if (reach >= kShortRun && std::all_of(row + x + 1, row + x + kShortRun, [&](uint8_t p) { return p == pixel; })) {
                    int length = kShortRun;
                    while (length < reach && row[x + length] == pixel)
                        ++length;
                    prefix = table.RunCode(pixel, length);
                    x += length - 1;
                }
            }
        });
        Put(prefix, table.NextFree());
    }

private:
    void Clear(LzwDictionary& table)
    {
        PutBits(m_clearCode);
        SetWidth(m_initialWidth);
        table.Clear(m_firstFree);
    }
    // Puts a code; the width grows once the next free code needs more bits.
    void Put(int code, int nextFree)
    {
        PutBits(code);
        if (nextFree > m_maxCode)
            SetWidth(m_codeWidth + 1);
    }
};

// Run-length coding: only single pixels and run codes go out. A run code
// base + k - 2 stands for k pixels of the pixel sent last, which holds because
// of how every LZW decoder builds its table from such codes.
class TRLEEncoder : public TGIFEncoder {
public:
    TRLEEncoder(CodeWriter& writer, int bitsPerPixel, int colors, const uint8_t* pixels, bool interlaced, int height, int width)
        : TGIFEncoder(writer, bitsPerPixel, colors, pixels, interlaced, height, width), m_baseCode(m_firstFree),
          m_growInit(m_clearCode - 1), m_clearInit(bitsPerPixel <= 3 ? 9 : m_clearCode - 2),
          m_maxRunCodes(4095 - m_baseCode)
    {
    }

    void Compress() override
    {
        Clear();
        int runPixel = -1;
        int64_t runCount = 0;
        ForEachRow([&](const uint8_t* row) {
            for (int x = 0; x < m_width; ++x) {
                const int pixel = row[x];
                if (pixel != runPixel && runCount > 0) {
                    Flush(runPixel, runCount);
                    runCount = 0;
                }
                runPixel = pixel;
                ++runCount;
            }
        });
        if (runCount > 0)
            Flush(runPixel, runCount);
    }

private:
    void Clear()
    {
        m_grow = m_growInit;
        m_clearAt = m_clearInit;
        m_sent = 0;
        m_longestRun = 0;
        PutBits(m_clearCode);
        SetWidth(m_initialWidth);
        m_clearFlag = true;
    }
    void PutPlain(int code)
    {
        m_clearFlag = false;
        PutBits(code);
        ++m_sent;
        if (m_sent >= m_grow) {
            m_grow += 1 << m_codeWidth;
            SetWidth(m_codeWidth + 1);
        }
        if (m_sent >= m_clearAt)
            Clear();
    }
    void RestoreClearCount()
    {
        m_clearAt = m_clearInit;
        if (m_sent >= m_clearAt)
            Clear();
    }
    // Codes needed for a run of count pixels built up from a cleared table.
    int64_t TriangleCost(int64_t count) const
    {
        const int64_t c = m_maxRunCodes;
        const int64_t perTriangle = c * (c + 1) / 2;
        int64_t cost = (count / perTriangle) * c;
        const int64_t p = count % perTriangle;
        if (p > 0) {
            int64_t t = int64_t(std::sqrt(double(p)));
            while (t > 0 && t * (t + 1) >= 2 * p)
                --t;
            while (t * (t + 1) < 2 * p)
                ++t;
            cost += t;
        }
        return cost;
    }
    void Flush(int pixel, int64_t count)
    {
        m_runPixel = pixel;
        if (count == 1) {
            PutPlain(pixel);
        } else if (m_clearFlag) {
            FromClear(count);
        } else if (m_longestRun > 1 && m_tablePixel == pixel) {
            WithTable(count);
        } else if (TriangleCost(count) + 1 < count) {
            Clear();
            FromClear(count);
        } else {
            for (; count > 0; --count)
                PutPlain(pixel);
        }
    }
    void FromClear(int64_t count)
    {
        m_clearAt = m_maxRunCodes;
        m_tablePixel = m_runPixel;
        int64_t k = 1;
        while (count > 0) {
            if (k == 1) {
                m_longestRun = 1;
                PutPlain(m_runPixel);
                --count;
            } else if (count >= k) {
                m_longestRun = int(k);
                PutPlain(m_baseCode + int(k) - 2);
                count -= k;
            } else if (count == 1) {
                ++m_longestRun;
                PutPlain(m_runPixel);
                count = 0;
            } else {
                ++m_longestRun;
                PutPlain(m_baseCode + int(count) - 2);
                count = 0;
            }
            k = m_sent == 0 ? 1 : k + 1;
        }
        RestoreClearCount();
    }
    void WithTable(int64_t count)
    {
        const int64_t m = m_longestRun;
        int64_t q = count / m;
        int64_t r = count % m;
        int64_t rCost = r > 0 ? 1 : 0;
        if (q + m_sent + rCost > m_maxRunCodes) {
            q = m_maxRunCodes - m_sent;
            r = count - m * q;
            rCost = TriangleCost(r) + 1;
        }
        if (TriangleCost(count) + 1 < q + rCost) {
            Clear();
            FromClear(count);
            return;
        }
        m_clearAt = m_maxRunCodes;
        for (; q > 0; --q)
            PutPlain(m_baseCode + int(m) - 2);
        if (r > 0) {
            if (m_clearFlag)
                FromClear(r);
            else if (r == 1)
                PutPlain(m_runPixel);
            else
                PutPlain(m_baseCode + int(r) - 2);
        }
        RestoreClearCount();
    }

    int m_baseCode;
    int m_growInit;
    int m_clearInit;
    int m_maxRunCodes;
    int m_grow = 0;
    int m_clearAt = 0;
    int m_sent = 0;
    int m_longestRun = 0;
    int m_tablePixel = -1;
    int m_runPixel = 0;
    bool m_clearFlag = false; // nothing sent since the last clear
};

} // namespace

void CompressPixels(ByteStream& stream, TGIFCompression kind, int bitsPerPixel, int colors, const uint8_t* pixels,
                    bool interlaced, int height, int width)
{
    bitsPerPixel = std::clamp(bitsPerPixel, 2, 8);
    // A pixel the code size cannot name is not in the table either.
    colors = std::min(colors, 1 << bitsPerPixel);
    stream.WriteByte(uint8_t(bitsPerPixel));
    {
        CodeWriter writer(stream);
        std::unique_ptr<TGIFEncoder> encoder;
        if (kind == TGIFCompression::RLE)
            encoder = std::make_unique<TRLEEncoder>(writer, bitsPerPixel, colors, pixels, interlaced, height, width);
        else
            encoder = std::make_unique<TLZWEncoder>(writer, bitsPerPixel, colors, pixels, interlaced, height, width);
        if (width > 0 && height > 0)
            encoder->Compress();
        encoder->PutEnd();
    }
    stream.WriteByte(0);
}

void EncodePixels(TGIFSubImage& frame, ByteStream& stream)
{
    int bits;
    int colors;
    if (frame.ColorMap().Count() > 0) {
        bits = frame.ColorMap().BitsPerPixel();
        colors = frame.ColorMap().Count();
    } else {
        bits = frame.Image() ? frame.Image()->BitsPerPixel() : 8;
        colors = 1 << bits;
    }
    const auto kind = frame.Image() && frame.Image()->CompressionKind == 1 ? TGIFCompression::RLE : TGIFCompression::LZW;
    // The interlace flag is read only now: a frame with its own table has just
    // been set to non-interlaced by writing its descriptor.
    CompressPixels(stream, kind, bits, colors, frame.Pixels().data(), frame.Interlaced(), frame.Height(), frame.Width());
}

} // namespace bw
