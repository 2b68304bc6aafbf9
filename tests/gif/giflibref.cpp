#include "gif/giflibref.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

namespace gifsynth {

namespace {
struct Cursor {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

int readMemory(GifFileType* gif, GifByteType* buffer, int n)
{
    auto* cursor = static_cast<Cursor*>(gif->UserData);
    const size_t count = std::min(size_t(n), cursor->size - cursor->pos);
    std::memcpy(buffer, cursor->data + cursor->pos, count);
    cursor->pos += count;
    return int(count);
}

int writeMemory(GifFileType* gif, const GifByteType* data, int n)
{
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + n);
    return n;
}
}

std::vector<uint8_t> giflibEncode(const uint8_t* pixels, int width, int height, int bits)
{
    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, writeMemory, &error);
    std::vector<GifColorType> colors(size_t(1) << bits);
    ColorMapObject* map = GifMakeMapObject(int(colors.size()), colors.data());
    EGifPutScreenDesc(gif, width, height, bits, 0, map);
    EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr);
    // giflib takes the rows as writable buffers.
    std::vector<GifPixelType> row(static_cast<size_t>(width));
    for (int y = 0; y < height; ++y) {
        std::memcpy(row.data(), pixels + size_t(y) * size_t(width), size_t(width));
        EGifPutLine(gif, row.data(), width);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    // Header, screen descriptor, table and image descriptor before, the trailer after.
    const size_t before = 6 + 7 + 3 * colors.size() + 10;
    return std::vector<uint8_t>(out.begin() + long(before), out.end() - 1);
}

bool giflibDecode(const uint8_t* data, size_t size, std::vector<RefFrame>& frames, std::string& error)
{
    frames.clear();
    Cursor cursor{data, size, 0};
    int code = 0;
    GifFileType* gif = DGifOpen(&cursor, readMemory, &code);
    if (!gif) {
        error = "open " + std::to_string(code);
        return false;
    }
    bool ok = true;
    GraphicsControlBlock control{0, false, 0, NO_TRANSPARENT_COLOR};
    bool hasControl = false;
    for (bool done = false; ok && !done;) {
        GifRecordType type;
        if (DGifGetRecordType(gif, &type) != GIF_OK) {
            ok = false;
            break;
        }
        switch (type) {
        case IMAGE_DESC_RECORD_TYPE: {
            if (DGifGetImageDesc(gif) != GIF_OK) {
                ok = false;
                break;
            }
            RefFrame frame;
            frame.left = gif->Image.Left;
            frame.top = gif->Image.Top;
            frame.width = gif->Image.Width;
            frame.height = gif->Image.Height;
            if (hasControl) {
                frame.delay = control.DelayTime;
                frame.transparent = control.TransparentColor;
            }
            hasControl = false;
            frame.pixels.assign(size_t(frame.width) * size_t(frame.height), 0);
            std::vector<int> rows;
            if (gif->Image.Interlace) {
                static const int passes[4][2] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
                for (const auto& pass : passes)
                    for (int y = pass[0]; y < frame.height; y += pass[1])
                        rows.push_back(y);
            } else {
                for (int y = 0; y < frame.height; ++y)
                    rows.push_back(y);
            }
            for (int y : rows)
                if (DGifGetLine(gif, frame.pixels.data() + size_t(y) * size_t(frame.width), frame.width) != GIF_OK) {
                    ok = false;
                    break;
                }
            frames.push_back(std::move(frame));
            break;
        }
        case EXTENSION_RECORD_TYPE: {
            int label = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &label, &block) != GIF_OK) {
                ok = false;
                break;
            }
            if (label == GRAPHICS_EXT_FUNC_CODE && block)
                hasControl = DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK;
            while (block)
                if (DGifGetExtensionNext(gif, &block) != GIF_OK) {
                    ok = false;
                    break;
                }
            break;
        }
        case TERMINATE_RECORD_TYPE:
            done = true;
            break;
        default:
            break;
        }
    }
    if (!ok)
        error = "decode " + std::to_string(gif->Error);
    DGifCloseFile(gif, &code);
    return ok;
}

} // namespace gifsynth
