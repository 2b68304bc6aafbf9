#include "gif/core/gifblocks.h"

#include "gif/core/gifexception.h"
#include "gif/core/gifextensions.h"
#include "gif/core/gifpicture.h"
#include "gif/core/gifstream.h"

#include <algorithm>
#include <cctype>

namespace bw {

namespace {
bool isGifSignature(const uint8_t* bytes)
{
    return std::toupper(bytes[0]) == 'G' && std::toupper(bytes[1]) == 'I' && std::toupper(bytes[2]) == 'F';
}

void checkPixels(int64_t pixels, int64_t limit)
{
    if (pixels > limit)
        throw GIFException("Invalid image dimensions");
}
}

bool SkipSubBlocks(ByteStream& stream)
{
    uint8_t size;
    while (stream.ReadByte(size)) {
        if (size == 0)
            return true;
        if (stream.Left() < size)
            break;
        stream.Skip(size);
    }
    stream.Seek(stream.Size());
    return false;
}

void TGIFItem::ReportWarning(int severity, const std::string& message) const
{
    if (m_image)
        m_image->ReportWarning(this, severity, message);
}

// ---------------------------------------------------------------- header

TGIFHeader::TGIFHeader(TGIFPicture* image) : TGIFItem(image), m_colorMap(this) {}

TGIFVersion TGIFHeader::RequiredVersion() const
{
    return (m_colorMap.Sorted() || m_aspect != 0) ? TGIFVersion::gv89a : TGIFVersion::gv87a;
}

void TGIFHeader::Clear()
{
    m_colorMap.Clear();
    m_width = m_height = 0;
    m_packed = m_background = m_aspect = 0;
}

void TGIFHeader::Assign(const TGIFHeader& source)
{
    m_colorMap.Assign(source.m_colorMap);
    m_width = source.m_width;
    m_height = source.m_height;
    m_packed = source.m_packed;
    m_background = source.m_background;
    m_aspect = source.m_aspect;
}

void TGIFHeader::LoadFromStream(ByteStream& stream)
{
    const int64_t start = stream.Position();
    uint8_t signature[6];
    stream.ReadExact(signature, 6);
    if (!isGifSignature(signature)) {
        // Some files carry four bytes in front of the signature.
        stream.Seek(start + 4);
        stream.ReadExact(signature, 6);
        if (!isGifSignature(signature))
            throw GIFException("Invalid GIF signature");
    }
    uint8_t lsd[7];
    stream.ReadExact(lsd, 7);
    m_width = uint16_t(lsd[0] | (lsd[1] << 8));
    m_height = uint16_t(lsd[2] | (lsd[3] << 8));
    m_packed = lsd[4];
    m_background = lsd[5];
    m_aspect = lsd[6];
    checkPixels(int64_t(m_width) * m_height, kMaxPicturePixels);
    if (m_packed & 0x80)
        m_colorMap.LoadFromStream(stream, 2 << (m_packed & 7));
    else
        m_colorMap.Clear();
}

void TGIFHeader::SaveToStream(ByteStream& stream)
{
    const uint8_t lsd[7] = {uint8_t(m_width), uint8_t(m_width >> 8), uint8_t(m_height), uint8_t(m_height >> 8),
                            m_packed, m_background, m_aspect};
    stream.Write(lsd, 7);
    if (m_packed & 0x80)
        m_colorMap.SaveToStream(stream);
}

// ---------------------------------------------------------------- frame

TGIFSubImage::TGIFSubImage(TGIFPicture* image) : TGIFItem(image), m_colorMap(this) {}

TGIFSubImage::~TGIFSubImage()
{
    ClearExtensions();
}

void TGIFSubImage::SetLeft(uint16_t left)
{
    m_left = left;
    CheckLogicalScreen();
}

void TGIFSubImage::SetTop(uint16_t top)
{
    m_top = top;
    CheckLogicalScreen();
}

void TGIFSubImage::SetWidth(uint16_t width)
{
    if (width != m_width) {
        m_width = width;
        AllocatePixels();
        DropCache();
    }
    CheckLogicalScreen();
}

void TGIFSubImage::SetHeight(uint16_t height)
{
    if (height != m_height) {
        m_height = height;
        AllocatePixels();
        DropCache();
    }
    CheckLogicalScreen();
}

void TGIFSubImage::CheckLogicalScreen()
{
    if (!m_image)
        return;
    TGIFHeader& header = m_image->Header();
    bool warned = false;
    const int right = m_left + m_width;
    if (right > header.Width()) {
        if (header.Width() > 0) {
            ReportWarning(1, "Image width too small for contained frames");
            warned = true;
        }
        header.SetWidth(uint16_t(std::min(right, 0xFFFF)));
    }
    const int bottom = m_top + m_height;
    if (bottom > header.Height()) {
        if (header.Height() > 0) {
            ReportWarning(1, "Image height too small for contained frames");
            warned = true;
        }
        header.SetHeight(uint16_t(std::min(bottom, 0xFFFF)));
    }
    if (warned)
        ReportWarning(1, "Image exceeds Logical Screen size");
}

bool TGIFSubImage::Empty() const
{
    return m_pixels.empty() || m_width == 0 || m_height == 0;
}

void TGIFSubImage::AllocatePixels(uint8_t fill)
{
    std::vector<uint8_t>().swap(m_pixels);
    checkPixels(PixelCount(), kMaxFramePixels);
    m_pixels.assign(size_t(PixelCount()), fill);
}

uint8_t* TGIFSubImage::Scanline(int row)
{
    if (row < 0 || row >= m_height)
        throw GIFException("Invalid pixel coordinates");
    if (m_pixels.empty())
        AllocatePixels();
    if (m_pixels.empty())
        throw GIFException("Image is empty");
    return m_pixels.data() + size_t(row) * m_width;
}

uint8_t TGIFSubImage::Pixel(int x, int y)
{
    if (x < 0 || x >= m_width)
        throw GIFException("Invalid pixel coordinates");
    return Scanline(y)[x];
}

TGIFColorMap& TGIFSubImage::EffectiveColorMap()
{
    if (m_colorMap.Count() > 0)
        return m_colorMap;
    if (m_image && m_image->Header().ColorMap().Count() > 0)
        return m_image->Header().ColorMap();
    return m_colorMap;
}

void TGIFSubImage::AddExtension(std::unique_ptr<TGIFExtension> extension)
{
    m_extensions.push_back(std::move(extension));
}

void TGIFSubImage::RemoveExtension(TGIFExtension* extension)
{
    auto it = std::find_if(m_extensions.begin(), m_extensions.end(),
                           [&](const std::unique_ptr<TGIFExtension>& e) { return e.get() == extension; });
    if (it == m_extensions.end())
        return;
    std::unique_ptr<TGIFExtension> doomed = std::move(*it);
    m_extensions.erase(it);
}

void TGIFSubImage::ClearExtensions()
{
    while (!m_extensions.empty())
        RemoveExtension(m_extensions.front().get());
}

int TGIFSubImage::TransparentIndex() const
{
    return m_gce ? m_gce->TransparentColorIndex() : -1;
}

void TGIFSubImage::SetTransparentIndexRaw(uint8_t index)
{
    if (m_gce)
        m_gce->SetTransparentColorIndexRaw(index);
}

TGIFVersion TGIFSubImage::RequiredVersion() const
{
    return (m_colorMap.Sorted() || !m_extensions.empty()) ? TGIFVersion::gv89a : TGIFVersion::gv87a;
}

void TGIFSubImage::Clear()
{
    ClearExtensions();
    m_colorMap.Clear();
    std::vector<uint8_t>().swap(m_pixels);
    m_height = 0;
    m_width = 0;
    m_transparent = false;
    m_gce = nullptr;
    DropCache();
}

void TGIFSubImage::Assign(const TGIFSubImage& source)
{
    if (&source == this)
        return;
    Clear();
    if (source.Empty())
        return;
    m_left = source.m_left;
    m_top = source.m_top;
    m_width = source.m_width;
    m_height = source.m_height;
    m_packed = source.m_packed;
    m_transparent = source.m_transparent;
    m_pixels = source.m_pixels;
    m_colorMap.Assign(source.m_colorMap);
    // The copy reads the extensions back, so it gets its own control extension.
    MemoryByteStream buffer;
    const_cast<TGIFSubImage&>(source).SaveExtensions(buffer);
    buffer.Seek(0);
    LoadExtensions(buffer);
}

void TGIFSubImage::SaveExtensions(ByteStream& stream)
{
    for (auto& extension : m_extensions)
        extension->SaveToStream(stream);
}

// An extension whose label no class reads is skipped with a warning, as the
// format asks of every reader; only a block the stream ends in (no label, or
// sub-blocks cut off) fails the load.
void TGIFSubImage::LoadExtensions(ByteStream& stream)
{
    uint8_t b;
    if (!stream.ReadByte(b))
        return;
    while (b != ',' && b != ';') {
        if (b != '!') {
            ReportWarning(1, "Invalid extension introducer");
            stream.Skip(-1);
            return;
        }
        const int64_t labelPos = stream.Position();
        uint8_t label;
        if (!stream.ReadByte(label))
            throw GIFException("Unknown extension type");
        const TGIFExtensionClass* kind = TExtensionList::Instance().FindKind(label);
        if (!kind) {
            if (!SkipSubBlocks(stream))
                throw GIFException("Unknown extension type");
            ReportWarning(1, "Unknown extension type");
        } else {
            while (kind) {
                const TGIFExtensionClass* next = kind->ResolveKind(stream);
                if (next == kind)
                    break;
                kind = next;
            }
            stream.Seek(labelPos);
            if (!kind)
                throw GIFException("Unknown extension type");
            stream.Skip(-1);
            std::unique_ptr<TGIFExtension> extension = kind->Create(this);
            extension->LoadFromStream(stream); // a failure frees it
            AddExtension(std::move(extension));
        }
        if (!stream.ReadByte(b))
            return;
    }
    stream.Skip(-1);
}

void TGIFSubImage::LoadFromStream(ByteStream& stream)
{
    Clear();
    LoadExtensions(stream);
    uint8_t b;
    if (!stream.ReadByte(b))
        return;
    stream.Skip(-1);
    if (b == ';' || b == 0)
        return; // a frame of extensions only
    uint8_t d[10];
    stream.ReadExact(d, 10);
    m_left = uint16_t(d[1] | (d[2] << 8));
    m_top = uint16_t(d[3] | (d[4] << 8));
    m_width = uint16_t(d[5] | (d[6] << 8));
    m_height = uint16_t(d[7] | (d[8] << 8));
    m_packed = d[9];
    if ((m_width == 0 || m_height == 0) && m_image) {
        m_height = m_image->Header().Height();
        m_width = m_image->Header().Width();
        ReportWarning(1, "Image exceeds Logical Screen size");
    }
    checkPixels(PixelCount(), kMaxFramePixels);
    if (m_image)
        m_image->ReservePixels(PixelCount());
    if (m_packed & 0x80)
        m_colorMap.LoadFromStream(stream, 2 << (m_packed & 7));
    DecodePixels(*this, stream);
}

void TGIFSubImage::SaveToStream(ByteStream& stream)
{
    SaveExtensions(stream);
    if (Empty())
        return;
    // A frame with its own table is written (and kept) without interlace.
    if (m_colorMap.Count() > 0)
        m_packed = uint8_t(0x80 | (m_colorMap.Sorted() ? 0x20 : 0) | ((m_colorMap.BitsPerPixel() - 1) & 7));
    else
        m_packed &= uint8_t(~(0x80 | 0x20 | 0x07));
    const uint8_t d[10] = {0x2C, uint8_t(m_left), uint8_t(m_left >> 8), uint8_t(m_top), uint8_t(m_top >> 8),
                           uint8_t(m_width), uint8_t(m_width >> 8), uint8_t(m_height), uint8_t(m_height >> 8), m_packed};
    stream.Write(d, 10);
    m_colorMap.SaveToStream(stream);
    EncodePixels(*this, stream);
}

// ---------------------------------------------------------------- trailer

void TGIFTrailer::LoadFromStream(ByteStream& stream)
{
    uint8_t b;
    if (stream.ReadByte(b) && b != ';')
        ReportWarning(1, "Invalid Image trailer");
}

void TGIFTrailer::SaveToStream(ByteStream& stream)
{
    stream.WriteByte(';');
}

} // namespace bw
