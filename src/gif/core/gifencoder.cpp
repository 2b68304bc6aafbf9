#include "gif/core/gifencoder.h"

#include "gif/core/gifblocks.h"
#include "gif/core/gifexception.h"
#include "gif/core/gifpicture.h"
#include "gif/core/gifstream.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace bw {

namespace {

// Collects bytes and writes them as data sub-blocks of up to 255 bytes.
class TGIFWriter {
public:
    explicit TGIFWriter(ByteStream& stream) : m_stream(stream) {}
    void Put(uint8_t byte)
    {
        m_buffer[++m_buffer[0]] = byte;
        if (m_buffer[0] == 255)
            Flush();
    }
    void Flush()
    {
        if (m_buffer[0] > 0)
            m_stream.Write(m_buffer.data(), size_t(m_buffer[0]) + 1);
        m_buffer[0] = 0;
    }

private:
    ByteStream& m_stream;
    std::array<uint8_t, 256> m_buffer{};
};

// 8009 slots of key * 4096 + code, all bits set when empty.
class THashTable {
public:
    static constexpr int kSize = 8009;
    static constexpr uint32_t kEmpty = 0xFFFFFFFFu;
    void Clear() { m_slots.fill(kEmpty); }
    int Lookup(uint32_t key) const
    {
        for (int slot = Home(key); m_slots[size_t(slot)] != kEmpty; slot = Next(slot))
            if ((m_slots[size_t(slot)] >> 12) == key)
                return int(m_slots[size_t(slot)] & 0xFFF);
        return -1;
    }
    void Insert(uint32_t key, int code)
    {
        int slot = Home(key);
        while (m_slots[size_t(slot)] != kEmpty)
            slot = Next(slot);
        m_slots[size_t(slot)] = (key << 12) | uint32_t(code);
    }

private:
    static int Home(uint32_t key) { return int((key ^ (key >> 4)) % kSize); }
    static int Next(int slot)
    {
        slot -= slot == 0 ? 1 : kSize - slot;
        return slot < 0 ? slot + kSize : slot;
    }
    std::array<uint32_t, kSize> m_slots;
};

class TGIFEncoder {
public:
    TGIFEncoder(TGIFWriter& writer, int bitsPerPixel, int colors, const uint8_t* pixels, bool interlaced, int height, int width)
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
        if (m_bucketBits > 0)
            m_writer.Put(uint8_t(m_bucket));
        m_bucket = 0;
        m_bucketBits = 0;
    }

protected:
    void SetWidth(int width)
    {
        m_codeWidth = width;
        m_maxCode = width >= 12 ? 4096 : (1 << width) - 1;
    }
    void PutBits(int code)
    {
        m_bucket |= uint32_t(code) << m_bucketBits;
        m_bucketBits += m_codeWidth;
        while (m_bucketBits >= 8) {
            m_writer.Put(uint8_t(m_bucket));
            m_bucket >>= 8;
            m_bucketBits -= 8;
        }
    }
    // Calls visit(pixel) for every pixel in sending order.
    template <typename F>
    void ForEachPixel(F&& visit)
    {
        static constexpr int kPasses[4][2] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
        const auto row = [&](int y) {
            const uint8_t* p = m_pixels + size_t(y) * size_t(m_width);
            for (int x = 0; x < m_width; ++x) {
                if (p[x] >= m_colors)
                    throw GIFException("Color not in color table");
                visit(p[x]);
            }
        };
        if (!m_interlaced) {
            for (int y = 0; y < m_height; ++y)
                row(y);
            return;
        }
        for (const auto& pass : kPasses)
            for (int y = pass[0]; y < m_height; y += pass[1])
                row(y);
    }

    TGIFWriter& m_writer;
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
    uint32_t m_bucket = 0;
    int m_bucketBits = 0;
    bool m_clearFlag = false;
};

class TLZWEncoder : public TGIFEncoder {
public:
    using TGIFEncoder::TGIFEncoder;
    void Compress() override
    {
        Clear();
        bool first = true;
        int prefix = 0;
        ForEachPixel([&](uint8_t pixel) {
            if (first) {
                prefix = pixel;
                first = false;
                return;
            }
            const uint32_t key = uint32_t(prefix) * 256 + pixel;
            const int code = m_table->Lookup(key);
            if (code >= 0) {
                prefix = code;
                return;
            }
            Put(prefix);
            prefix = pixel;
            if (m_nextFree > 4094) {
                Clear();
            } else {
                m_table->Insert(key, m_nextFree);
                ++m_nextFree;
            }
        });
        Put(prefix);
    }

private:
    void Clear()
    {
        m_clearFlag = true;
        Put(m_clearCode);
        m_table->Clear();
        m_nextFree = m_firstFree;
    }
    void Put(int code)
    {
        PutBits(code);
        if (m_clearFlag) {
            SetWidth(m_initialWidth);
            m_clearFlag = false;
        } else if (m_nextFree > m_maxCode) {
            SetWidth(m_codeWidth + 1);
        }
    }

    int m_nextFree = 0;
    std::unique_ptr<THashTable> m_table = std::make_unique<THashTable>();
};

// Run-length coding: only single pixels and run codes go out. A run code
// base + k - 2 stands for k pixels of the pixel sent last, which holds because
// of how every LZW decoder builds its table from such codes.
class TRLEEncoder : public TGIFEncoder {
public:
    TRLEEncoder(TGIFWriter& writer, int bitsPerPixel, int colors, const uint8_t* pixels, bool interlaced, int height, int width)
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
        ForEachPixel([&](uint8_t pixel) {
            if (pixel != runPixel && runCount > 0) {
                Flush(runPixel, runCount);
                runCount = 0;
            }
            runPixel = pixel;
            ++runCount;
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
};

} // namespace

void CompressPixels(ByteStream& stream, TGIFCompression kind, int bitsPerPixel, int colors, const uint8_t* pixels,
                    bool interlaced, int height, int width)
{
    bitsPerPixel = std::max(bitsPerPixel, 2);
    stream.WriteByte(uint8_t(bitsPerPixel));
    {
        TGIFWriter writer(stream);
        std::unique_ptr<TGIFEncoder> encoder;
        if (kind == TGIFCompression::RLE)
            encoder = std::make_unique<TRLEEncoder>(writer, bitsPerPixel, colors, pixels, interlaced, height, width);
        else
            encoder = std::make_unique<TLZWEncoder>(writer, bitsPerPixel, colors, pixels, interlaced, height, width);
        if (width > 0 && height > 0)
            encoder->Compress();
        encoder->PutEnd();
        writer.Flush();
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
