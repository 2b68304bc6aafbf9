// Compression of a frame's pixels into GIF image data: the sub-block writer, the
// LZW encoder (the default) and the run-length encoder, whose output any GIF
// decoder reads as ordinary LZW data.
#pragma once

#include <cstdint>
#include <vector>

namespace bw {

class ByteStream;

enum class TGIFCompression { LZW = 0, RLE = 1 };

// Compresses width x height pixels (rows from the top; sent in interlace order
// when interlaced). Writes the minimum code size, the sub-blocks and the
// terminator. A pixel not below colors fails with "Color not in color table".
void CompressPixels(ByteStream& stream, TGIFCompression kind, int bitsPerPixel, int colors, const uint8_t* pixels,
                    bool interlaced, int height, int width);

} // namespace bw
