// Builds GIF files for tests and benchmarks, byte by byte and independent of the
// codec under test: an LZW coder of its own with a choice of sub-block size,
// minimum code size and clear policy, raw code streams for damaged data, and
// picture content of several kinds (photo-like, flat user-interface, noise).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace gifsynth {

using Bytes = std::vector<uint8_t>;

struct Frame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool interlaced = false;
    Bytes pixels;          // width * height indices, rows from the top
    Bytes localTable;      // RGB triples; its count must be a power of two (2..256)
    int minCodeSize = 0;   // 0: from the table's bits, at least 2
    int subBlockSize = 255;
    bool clearWhenFull = true; // false: keep 12-bit codes once the table is full
    int transparent = -1;  // with delay/disposal: a graphic control extension
    int delay = -1;
    int disposal = -1;
    std::vector<std::string> comments; // comment extensions before the descriptor
    bool rawImageData = false; // imageData holds min code size and sub-blocks as they are
    Bytes imageData;
};

struct File {
    int width = 0;
    int height = 0;
    Bytes globalTable;
    int loops = -1; // >= 0: a NETSCAPE2.0 loop extension
    std::vector<Frame> frames;
    std::vector<std::string> trailingComments; // after the last image
    bool trailer = true;
};

Bytes build(const File& file);

// The LZW codes of pixels (clear first, end last) packed LSB first, no sub-blocks.
Bytes lzwCodes(const Bytes& pixels, int minCodeSize, bool clearWhenFull = true);
// Codes given with their widths, packed LSB first.
Bytes packCodes(const std::vector<std::pair<int, int>>& codes);
// Data as sub-blocks of blockSize bytes, with (or without) the terminator.
Bytes subBlocks(const Bytes& data, int blockSize, bool terminator = true);
// The order in which an interlaced frame sends its rows.
Bytes interlace(const Bytes& pixels, int width, int height);

Bytes palette(int count, uint32_t seed);
Bytes greyPalette(int count);
Bytes photoLike(int width, int height, int colors, uint32_t seed);
Bytes flatUi(int width, int height, int colors, uint32_t seed);
// A few large areas of one colour each, as a chart background or a blank form.
Bytes flatAreas(int width, int height, int colors, uint32_t seed);
// A window on screen: bars, frames, buttons and lines of small text.
Bytes screenLike(int width, int height, int colors, uint32_t seed);
Bytes noise(int width, int height, int colors, uint32_t seed);

// A named set of files that covers the reader's paths on valid data.
std::vector<std::pair<std::string, Bytes>> corpus();

} // namespace gifsynth
