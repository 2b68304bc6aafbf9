// A GIF picture without any drawing: the header, the frames in stream order, the
// warning and progress hooks, and reading (and writing) the whole stream. The Qt
// layer (TGIFImage) adds rendering and drawing on top.
#pragma once

#include "gif/core/gifblocks.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace bw {

enum class TProgressStage { psStarting, psRunning, psEnding };

class TGIFPicture {
public:
    using WarningHook = std::function<void(const void* sender, int severity, const std::string& message)>;
    using ProgressHook = std::function<void(TProgressStage stage, int percent, bool redraw, const std::string& message)>;

    TGIFPicture();
    virtual ~TGIFPicture();
    TGIFPicture(const TGIFPicture&) = delete;
    TGIFPicture& operator=(const TGIFPicture&) = delete;

    TGIFHeader& Header() { return m_header; }
    const TGIFHeader& Header() const { return m_header; }
    int Count() const { return int(m_frames.size()); }
    TGIFSubImage& Frame(int index) { return *m_frames.at(size_t(index)); }
    const TGIFSubImage& Frame(int index) const { return *m_frames.at(size_t(index)); }
    bool Empty() const { return m_frames.empty(); }
    int Width() const { return m_header.Width(); }
    int Height() const { return m_header.Height(); }
    // Fails when a frame would stick out of the new logical screen.
    void SetWidth(int width);
    void SetHeight(int height);

    // Appends a frame this picture owns from now on.
    void AddFrame(std::unique_ptr<TGIFSubImage> frame);
    void DeleteFrame(int index);
    virtual void Clear();

    // Reads a whole GIF stream. On failure the stream is set back to where
    // reading began and the failure passes on; the frames read before it stay.
    void LoadFromStream(ByteStream& stream);
    // Writes the picture as a GIF stream; a picture without frames fails.
    void SaveToStream(ByteStream& stream);
    // 0 LZW, 1 run-length.
    int CompressionKind = 0;

    TGIFVersion RequiredVersion() const;
    // The highest of the header's and every frame's bits per pixel.
    int BitsPerPixel() const;
    int ColorResolution() const { return BitsPerPixel() - 1; }

    WarningHook OnDecodeWarning;
    ProgressHook OnProgress;

    void ReportWarning(const void* sender, int severity, const std::string& message) const;
    void Progress(TProgressStage stage, int percent, bool redraw, const std::string& message) const;
    // Counts a frame being read against the picture's pixel limit.
    void ReservePixels(int64_t pixels);
    // Called when the global colour table changed (drops cached palettes).
    virtual void PaletteChanged() {}
    // Called when frames, size or colours changed.
    virtual void Changed() {}

protected:
    void ReadFrames(ByteStream& stream);

    TGIFHeader m_header;
    std::vector<std::unique_ptr<TGIFSubImage>> m_frames;
    int64_t m_pixelsRead = 0;
};

// Turns the image data that follows a frame's descriptor and local table into
// the frame's pixels (one colour index per pixel, rows from the top). Leaves the
// stream after the image data's terminator.
void DecodePixels(TGIFSubImage& frame, ByteStream& stream);

// Writes a frame's pixels as image data: the minimum code size, the compressed
// codes in data sub-blocks and the terminator.
void EncodePixels(TGIFSubImage& frame, ByteStream& stream);

} // namespace bw
