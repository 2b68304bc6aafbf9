// LZW decoding of a frame's image data.
//
// The data (sub-blocks of up to 255 bytes, codes packed least-significant bit
// first) is first gathered into one buffer up to its terminator, so the stream
// always stands on the next block afterwards, whatever codes follow the last
// pixel. Codes are then read from that buffer with a 64-bit window.
//
// Strings are copied from earlier output instead of walking the table pixel by
// pixel: a table entry that was built from output still present in the frame
// remembers where (position and length). Entries built from damaged data (a code
// after a clear that lies beyond the table, a code far beyond the next free one)
// do not have such a copy; they are decoded by walking prefix and suffix, which
// gives the same pixels a table walk always gave, and a walk longer than the
// table is refused as circular.
#include "gif/core/gifblocks.h"
#include "gif/core/gifexception.h"
#include "gif/core/gifpicture.h"
#include "gif/core/gifstream.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace bw {

namespace {

constexpr int kTableSize = 4096;

// The image data of a frame, gathered from its sub-blocks.
struct ImageData {
    std::vector<uint8_t> bytes; // padded with 8 zero bytes for the bit window
    bool terminated = false;    // a sub-block of size 0 was read
};

ImageData gatherImageData(TGIFSubImage& frame, ByteStream& stream)
{
    ImageData data;
    if (const uint8_t* bytes = stream.Contiguous()) {
        // In memory: walk the sub-blocks there and move the stream once.
        const size_t size = size_t(stream.Size());
        const size_t start = size_t(stream.Position());
        size_t total = 0;
        for (size_t at = start; at < size && bytes[at] != 0; at += size_t(bytes[at]) + 1)
            total += bytes[at];
        data.bytes.reserve(total + 8);
        size_t pos = start;
        while (pos < size) {
            const size_t n = bytes[pos++];
            if (n == 0) {
                data.terminated = true;
                break;
            }
            const size_t take = std::min(n, size - pos);
            if (take < n)
                frame.ReportWarning(1, "Premature end of data");
            data.bytes.insert(data.bytes.end(), bytes + pos, bytes + pos + take);
            pos += take;
        }
        stream.Seek(int64_t(std::min(pos, size)));
        return data;
    }
    uint8_t size;
    while (stream.ReadByte(size)) {
        if (size == 0) {
            data.terminated = true;
            break;
        }
        size_t n = size;
        if (int64_t(n) > stream.Left()) {
            frame.ReportWarning(1, "Premature end of data");
            n = size_t(std::max<int64_t>(0, stream.Left()));
        }
        const size_t at = data.bytes.size();
        data.bytes.resize(at + n);
        stream.ReadExact(data.bytes.data() + at, n);
    }
    return data;
}

// One string of the table: where it stands in the output and how long it is
// (length 0: it does not stand there and is walked), and its prefix and suffix.
struct Entry {
    uint32_t pos;
    uint16_t len;
    uint16_t prefix;
    uint8_t suffix;
};

class LzwDecoder {
public:
    // data holds size bytes followed by 8 readable bytes of padding.
    LzwDecoder(TGIFSubImage& frame, int minCodeSize, const uint8_t* data, size_t size, bool terminated)
        : m_frame(frame), m_data(data), m_bitLimit(uint64_t(size) * 8), m_terminated(terminated),
          m_minCodeSize(minCodeSize), m_clear(1 << minCodeSize)
    {
        // Entries from the clear code on are read only once defined; the walk
        // takes the others as empty.
        for (int c = 0; c < m_clear; ++c)
            m_table[size_t(c)] = Entry{0, 0, 0, uint8_t(c)};
    }

    // Decodes into out[0..count); returns how many pixels were decoded. Up to
    // 7 bytes behind those may have been written over (see copyFrom).
    size_t Decode(uint8_t* out, size_t count);

private:
    // Walks the table from code and writes its string; returns its first pixel.
    // Entries from nextFree on, and those of the clear and end codes, are empty.
    uint8_t Walk(int code, int nextFree, uint8_t* out, size_t& outPos, size_t count);

    TGIFSubImage& m_frame;
    const uint8_t* m_data;
    uint64_t m_bitLimit;
    bool m_terminated;
    int m_minCodeSize;
    int m_clear;
    std::array<Entry, kTableSize> m_table;
    std::array<uint8_t, kTableSize + 8> m_stack;
};

uint8_t LzwDecoder::Walk(int code, int nextFree, uint8_t* out, size_t& outPos, size_t count)
{
    static constexpr Entry kEmpty{0, 0, 0, 0};
    size_t sp = 0;
    int steps = 0;
    while (code >= m_clear) {
        const Entry& e = (code >= nextFree || code < m_clear + 2) ? kEmpty : m_table[size_t(code)];
        m_stack[sp++] = e.suffix;
        // A walk longer than the table can only go round in circles.
        if (e.prefix == code || ++steps >= kTableSize)
            throw GIFException("Circular decoder table entry");
        code = e.prefix;
    }
    const uint8_t first = m_table[size_t(code)].suffix;
    m_stack[sp++] = first;
    while (sp > 0 && outPos < count)
        out[outPos++] = m_stack[--sp];
    return first;
}

size_t LzwDecoder::Decode(uint8_t* out, size_t count)
{
    // The state lives in locals: stores into the output may alias any member.
    const uint8_t* const data = m_data;
    const uint64_t bitLimit = m_bitLimit;
    const int clear = m_clear;
    const int end = clear + 1;
    Entry* const table = m_table.data();
    uint64_t bitPos = 0;
    int width = m_minCodeSize + 1;
    int limit = 2 * clear;
    int nextFree = clear + 2;

    const auto readCode = [&]() -> int {
        if (bitPos + uint64_t(width) > bitLimit) {
            // The data ran out. Without a terminator the stream ended where a
            // sub-block was expected: no code. With one, a code cut short is
            // still taken (its missing bits 0); codes wanted after that are an
            // under-run.
            if (!m_terminated)
                return -1;
            if (bitPos >= bitLimit) {
                m_frame.ReportWarning(1, "Decoder bit buffer under-run");
                return -1;
            }
        }
        uint64_t window;
        std::memcpy(&window, data + (bitPos >> 3), 8);
        const int code = int((window >> (bitPos & 7)) & ((1u << width) - 1));
        bitPos += uint64_t(width);
        return code;
    };

    size_t outPos = 0;
    // Copies len pixels from earlier output. Far from the end it copies in
    // 8-byte steps and may write up to 7 bytes past the string; later strings
    // overwrite that, and when the data stops there the caller restores them.
    const auto copyFrom = [&](size_t src, size_t len) {
        uint8_t* dst = out + outPos;
        if (outPos + len + 8 <= count) {
            for (size_t i = 0; i < len; i += 8) {
                uint64_t v;
                std::memcpy(&v, out + src + i, 8);
                std::memcpy(dst + i, &v, 8);
            }
            outPos += len;
        } else {
            const size_t n = std::min(len, count - outPos);
            for (size_t i = 0; i < n; ++i)
                dst[i] = out[src + i];
            outPos += n;
        }
    };

    int old = 0;
    uint8_t firstPixel = 0; // first pixel of the string of old
    bool oldCopied = false; // the string of old stands at oldPos in the output
    size_t oldPos = 0;
    uint32_t oldLen = 0;
    int code = clear; // the data begins as after a clear code
    while (outPos < count) {
        if (code == clear) {
            width = m_minCodeSize + 1;
            limit = 2 * clear;
            nextFree = clear + 2;
            do
                code = readCode();
            while (code == clear);
            if (code < 0)
                return outPos;
            // The first code after a clear is a pixel as it stands, even when
            // it lies beyond the table.
            old = code;
            firstPixel = uint8_t(code);
            oldCopied = code < clear;
            oldPos = outPos;
            oldLen = 1;
            out[outPos++] = uint8_t(code);
            code = readCode();
            if (code < 0)
                return outPos;
            continue;
        }
        if (code == end)
            return outPos;

        const size_t curPos = outPos;
        uint32_t curLen = 0;
        uint8_t curFirst;
        bool curCopied;
        if (code < clear) {
            out[outPos++] = uint8_t(code);
            curFirst = uint8_t(code);
            curLen = 1;
            curCopied = true;
        } else if (code < nextFree && table[code].len != 0) {
            const Entry& e = table[code];
            curLen = e.len;
            curFirst = out[e.pos];
            copyFrom(e.pos, curLen);
            curCopied = true;
        } else if (code >= nextFree && oldCopied) {
            // The string of old followed by its own first pixel.
            copyFrom(oldPos, oldLen);
            if (outPos < count)
                out[outPos++] = firstPixel;
            curFirst = firstPixel;
            curLen = oldLen + 1;
            curCopied = code == nextFree && nextFree < kTableSize;
        } else {
            if (code >= nextFree) {
                // Unknown code: the string of old and the first pixel remembered.
                const uint8_t pending = firstPixel;
                curFirst = Walk(old, nextFree, out, outPos, count);
                if (outPos < count)
                    out[outPos++] = pending;
            } else {
                curFirst = Walk(code, nextFree, out, outPos, count);
            }
            curCopied = false;
        }

        if (nextFree < kTableSize) {
            table[nextFree] = Entry{uint32_t(oldPos), uint16_t(oldCopied ? oldLen + 1 : 0), uint16_t(old), curFirst};
            ++nextFree;
            if (nextFree >= limit && limit < kTableSize) {
                limit *= 2;
                ++width;
            }
        }
        old = code;
        firstPixel = curFirst;
        oldCopied = curCopied;
        oldPos = curPos;
        oldLen = curLen;
        code = readCode();
        if (code < 0)
            return outPos;
    }
    return outPos;
}

} // namespace

void DecodePixels(TGIFSubImage& frame, ByteStream& stream)
{
    const uint8_t fill = frame.Transparent() && frame.GraphicControlExtension()
                             ? uint8_t(frame.TransparentIndex())
                             : 0;
    frame.AllocatePixels(fill);
    std::vector<uint8_t>& pixels = frame.Pixels();

    uint8_t minCodeSize;
    if (!stream.ReadByte(minCodeSize))
        return;
    ImageData data = gatherImageData(frame, stream);
    // A clear code at or beyond the 4096 entries of the table cannot be decoded.
    if (minCodeSize >= 12) {
        frame.ReportWarning(1, "Invalid GIF data");
        return;
    }
    if (pixels.empty())
        return;
    const size_t size = data.bytes.size();
    data.bytes.resize(size + 8, 0);
    LzwDecoder decoder(frame, minCodeSize, data.bytes.data(), size, data.terminated);
    // Pixels the data did not reach keep the fill value, also the few bytes
    // right behind the last string that the decoder may have written over.
    const auto decode = [&](std::vector<uint8_t>& out) {
        const size_t done = decoder.Decode(out.data(), out.size());
        std::fill(out.begin() + long(done), out.begin() + long(std::min(out.size(), done + 8)), fill);
    };
    if (!frame.Interlaced()) {
        decode(pixels);
        return;
    }
    // Interlaced rows come in four passes: every 8th row from 0, every 8th from
    // 4, every 4th from 2, every 2nd from 1.
    std::vector<uint8_t> linear(pixels.size(), fill);
    decode(linear);
    const size_t width = frame.Width();
    const int height = frame.Height();
    static constexpr int kPasses[4][2] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
    size_t row = 0;
    for (const auto& pass : kPasses)
        for (int y = pass[0]; y < height; y += pass[1])
            std::memcpy(pixels.data() + size_t(y) * width, linear.data() + (row++) * width, width);
}

} // namespace bw
