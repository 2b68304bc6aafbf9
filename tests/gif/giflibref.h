// giflib (Debian's libgif) as the reference decoder of the comparison test and
// the benchmark: the indices of every frame, rows from the top.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gifsynth {

struct RefFrame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int delay = -1;       // from a graphic control block before the image
    int transparent = -1; // its transparent index, -1 for none
    std::vector<uint8_t> pixels;
};

// False with giflib's error code in error when giflib refuses the data.
bool giflibDecode(const uint8_t* data, size_t size, std::vector<RefFrame>& frames, std::string& error);

// giflib's encoding of width x height indices (rows from the top, a table of
// 2^bits colours): the image data from the minimum code size byte to the
// terminator, as it stands in the file giflib writes.
std::vector<uint8_t> giflibEncode(const uint8_t* pixels, int width, int height, int bits);

} // namespace gifsynth
