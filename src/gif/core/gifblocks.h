// The blocks of a GIF picture as they stand in the file: the header (logical
// screen descriptor and global colour table), the frames with their extensions,
// image descriptor, local colour table and one colour index per pixel, and the
// trailer. Each block reads itself from a stream and writes itself back.
#pragma once

#include "gif/core/gifcolormap.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace bw {

class ByteStream;
class TGIFPicture;
class TGIFSubImage;
class TGIFExtension;
class TGIFGraphicControlExtension;

// Largest frame and largest picture the reader accepts, in pixels.
inline constexpr int64_t kMaxFramePixels = int64_t(1) << 26;
inline constexpr int64_t kMaxPicturePixels = int64_t(1) << 28;

enum class TGIFVersion { gv87a = 1, gv89a = 2 };

// Skips data sub-blocks up to and including their terminator. False, with the
// stream at its end, when the stream ends first.
bool SkipSubBlocks(ByteStream& stream);

class TGIFItem {
public:
    explicit TGIFItem(TGIFPicture* image) : m_image(image) {}
    virtual ~TGIFItem() = default;
    TGIFItem(const TGIFItem&) = delete;
    TGIFItem& operator=(const TGIFItem&) = delete;

    TGIFPicture* Image() const { return m_image; }
    virtual TGIFVersion RequiredVersion() const { return TGIFVersion::gv87a; }
    virtual void ReportWarning(int severity, const std::string& message) const;
    virtual void SaveToStream(ByteStream& stream) = 0;
    virtual void LoadFromStream(ByteStream& stream) = 0;

protected:
    TGIFPicture* m_image;
};

class TGIFHeader : public TGIFItem {
public:
    explicit TGIFHeader(TGIFPicture* image);

    uint16_t Width() const { return m_width; }
    uint16_t Height() const { return m_height; }
    void SetWidth(uint16_t w) { m_width = w; }
    void SetHeight(uint16_t h) { m_height = h; }
    uint8_t Packed() const { return m_packed; }
    void SetPacked(uint8_t packed) { m_packed = packed; }
    uint8_t BackgroundIndex() const { return m_background; }
    void SetBackgroundIndex(uint8_t index) { m_background = index; }
    uint8_t AspectRatio() const { return m_aspect; }
    void SetAspectRatio(uint8_t ratio) { m_aspect = ratio; }
    TGIFGlobalColorMap& ColorMap() { return m_colorMap; }
    const TGIFGlobalColorMap& ColorMap() const { return m_colorMap; }

    TGIFVersion RequiredVersion() const override;
    int BitsPerPixel() const { return m_colorMap.BitsPerPixel(); }
    uint32_t BackgroundColor() { return m_colorMap.ColorAt(m_background); }
    void Clear();
    void Assign(const TGIFHeader& source);
    void SaveToStream(ByteStream& stream) override;
    void LoadFromStream(ByteStream& stream) override;

private:
    uint16_t m_width = 0;
    uint16_t m_height = 0;
    uint8_t m_packed = 0;
    uint8_t m_background = 0;
    uint8_t m_aspect = 0;
    TGIFGlobalColorMap m_colorMap;
};

// What a renderer keeps per frame (the Qt layer's bitmap and mask). The frame
// drops it whenever its pixels, size or colours change.
class TGIFFrameCache {
public:
    virtual ~TGIFFrameCache() = default;
};

class TGIFSubImage : public TGIFItem {
public:
    explicit TGIFSubImage(TGIFPicture* image);
    ~TGIFSubImage() override;

    uint16_t Left() const { return m_left; }
    uint16_t Top() const { return m_top; }
    uint16_t Width() const { return m_width; }
    uint16_t Height() const { return m_height; }
    void SetLeft(uint16_t left);
    void SetTop(uint16_t top);
    void SetWidth(uint16_t width);
    void SetHeight(uint16_t height);
    uint8_t Packed() const { return m_packed; }
    void SetPacked(uint8_t packed) { m_packed = packed; }
    bool Interlaced() const { return (m_packed & 0x40) != 0; }
    void SetInterlaced(bool on) { m_packed = on ? (m_packed | 0x40) : (m_packed & ~0x40); }

    bool Empty() const;
    int64_t PixelCount() const { return int64_t(m_width) * m_height; }
    std::vector<uint8_t>& Pixels() { return m_pixels; }
    const std::vector<uint8_t>& Pixels() const { return m_pixels; }
    // The bytes of one row (checked); a missing buffer is allocated first.
    uint8_t* Scanline(int row);
    uint8_t Pixel(int x, int y);
    // Releases the buffer and allocates Width() x Height() bytes of fill (none for 0).
    void AllocatePixels(uint8_t fill = 0);

    TGIFLocalColorMap& ColorMap() { return m_colorMap; }
    const TGIFLocalColorMap& ColorMap() const { return m_colorMap; }
    // The local table if it has entries, else the global one if it has, else the
    // (empty) local table.
    TGIFColorMap& EffectiveColorMap();
    int BitsPerPixel() const { return m_colorMap.BitsPerPixel(); }

    std::vector<std::unique_ptr<TGIFExtension>>& Extensions() { return m_extensions; }
    const std::vector<std::unique_ptr<TGIFExtension>>& Extensions() const { return m_extensions; }
    void AddExtension(std::unique_ptr<TGIFExtension> extension);
    // Frees one extension of this frame.
    void RemoveExtension(TGIFExtension* extension);
    void ClearExtensions();
    TGIFGraphicControlExtension* GraphicControlExtension() const { return m_gce; }
    bool Transparent() const { return m_transparent; }
    void SetTransparentFlag(bool on) { m_transparent = on; }
    int TransparentIndex() const;
    // Sets the control extension's index without any check (used by remapping).
    void SetTransparentIndexRaw(uint8_t index);

    TGIFVersion RequiredVersion() const override;
    void Clear();
    // Copies descriptor, transparency, pixels, local table and extensions.
    void Assign(const TGIFSubImage& source);
    void SaveToStream(ByteStream& stream) override;
    void LoadFromStream(ByteStream& stream) override;
    void SaveExtensions(ByteStream& stream);
    void LoadExtensions(ByteStream& stream);

    TGIFFrameCache* Cache() const { return m_cache.get(); }
    void SetCache(std::unique_ptr<TGIFFrameCache> cache) { m_cache = std::move(cache); }
    void DropCache() { m_cache.reset(); }

private:
    friend class TGIFGraphicControlExtension;
    void CheckLogicalScreen();

    uint16_t m_left = 0;
    uint16_t m_top = 0;
    uint16_t m_width = 0;
    uint16_t m_height = 0;
    uint8_t m_packed = 0;
    std::vector<uint8_t> m_pixels;
    TGIFLocalColorMap m_colorMap;
    std::vector<std::unique_ptr<TGIFExtension>> m_extensions;
    TGIFGraphicControlExtension* m_gce = nullptr;
    bool m_transparent = false;
    std::unique_ptr<TGIFFrameCache> m_cache;
};

class TGIFTrailer : public TGIFItem {
public:
    using TGIFItem::TGIFItem;
    void SaveToStream(ByteStream& stream) override;
    void LoadFromStream(ByteStream& stream) override;
};

} // namespace bw
