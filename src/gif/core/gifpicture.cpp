#include "gif/core/gifpicture.h"

#include "gif/core/gifexception.h"
#include "gif/core/gifextensions.h"
#include "gif/core/gifstream.h"

#include <algorithm>
#include <cmath>

namespace bw {

TGIFPicture::TGIFPicture() : m_header(this) {}

TGIFPicture::~TGIFPicture() = default;

void TGIFPicture::SetWidth(int width)
{
    for (const auto& frame : m_frames)
        if (frame->Left() + frame->Width() > width)
            throw GIFException("Image width too small for contained frames");
    if (width != m_header.Width()) {
        m_header.SetWidth(uint16_t(width));
        Changed();
    }
}

void TGIFPicture::SetHeight(int height)
{
    for (const auto& frame : m_frames)
        if (frame->Top() + frame->Height() > height)
            throw GIFException("Image height too small for contained frames");
    if (height != m_header.Height()) {
        m_header.SetHeight(uint16_t(height));
        Changed();
    }
}

void TGIFPicture::AddFrame(std::unique_ptr<TGIFSubImage> frame)
{
    m_frames.push_back(std::move(frame));
    Changed();
}

void TGIFPicture::DeleteFrame(int index)
{
    m_frames.erase(m_frames.begin() + index);
    Changed();
}

void TGIFPicture::Clear()
{
    m_frames.clear();
    m_header.Clear();
    PaletteChanged();
}

void TGIFPicture::ReportWarning(const void* sender, int severity, const std::string& message) const
{
    if (OnDecodeWarning)
        OnDecodeWarning(sender, severity, message);
}

void TGIFPicture::Progress(TProgressStage stage, int percent, bool redraw, const std::string& message) const
{
    if (OnProgress)
        OnProgress(stage, percent, redraw, message);
}

void TGIFPicture::LoadFromStream(ByteStream& stream)
{
    Progress(TProgressStage::psStarting, 0, false, "Loading...");
    bool ok = false;
    Clear();
    const int64_t start = stream.Position();
    try {
        m_header.LoadFromStream(stream);
        ReadFrames(stream);
        TGIFTrailer trailer(this);
        trailer.LoadFromStream(stream);
        ok = true;
    } catch (...) {
        stream.Seek(start);
        Progress(TProgressStage::psEnding, 0, true, "Loading...");
        Changed();
        throw;
    }
    Progress(TProgressStage::psEnding, ok ? 100 : 0, true, "Loading...");
    Changed();
}

void TGIFPicture::ReadFrames(ByteStream& stream)
{
    const auto nextByte = [&](uint8_t& b) {
        while (stream.ReadByte(b))
            if (b != 0)
                return true;
        return false;
    };
    m_pixelsRead = 0;
    uint8_t b;
    if (!nextByte(b))
        return;
    while (b != ';') {
        stream.Skip(-1);
        if (b != '!' && b != ',') {
            ReportWarning(this, 1, "Unknown GIF block type");
            stream.Skip(-1);
            return;
        }
        auto frame = std::make_unique<TGIFSubImage>(this);
        frame->LoadFromStream(stream);
        m_frames.push_back(std::move(frame));
        const int64_t size = stream.Size();
        Progress(TProgressStage::psRunning, size > 0 ? int(std::lround(double(stream.Position()) * 100.0 / double(size))) : 0,
                 false, "Loading...");
        if (!nextByte(b))
            return;
    }
    stream.Skip(-1);
}

void TGIFPicture::ReservePixels(int64_t pixels)
{
    m_pixelsRead += pixels;
    if (m_pixelsRead > kMaxPicturePixels)
        throw GIFException("Invalid image dimensions");
}

TGIFVersion TGIFPicture::RequiredVersion() const
{
    TGIFVersion version = m_header.RequiredVersion();
    for (const auto& frame : m_frames)
        version = std::max(version, frame->RequiredVersion());
    return version;
}

int TGIFPicture::BitsPerPixel() const
{
    int bits = m_header.BitsPerPixel();
    for (const auto& frame : m_frames)
        bits = std::max(bits, frame->BitsPerPixel());
    return bits;
}

void TGIFPicture::SaveToStream(ByteStream& stream)
{
    Progress(TProgressStage::psStarting, 0, false, "Saving...");
    try {
        if (m_frames.empty())
            throw GIFException("Unsupported GIF version");
        const char* version = RequiredVersion() == TGIFVersion::gv89a ? "GIF89a" : "GIF87a";
        stream.Write(version, 6);
        const TGIFGlobalColorMap& map = m_header.ColorMap();
        const int bits = BitsPerPixel();
        uint8_t packed = uint8_t(((std::max(bits, 1) - 1) & 7) << 4);
        if (map.Count() > 0)
            packed |= uint8_t(0x80 | (map.Sorted() ? 0x08 : 0) | ((map.BitsPerPixel() - 1) & 7));
        else
            packed |= uint8_t((std::max(bits, 1) - 1) & 7);
        m_header.SetPacked(packed);
        m_header.SaveToStream(stream);
        for (size_t i = 0; i < m_frames.size(); ++i) {
            m_frames[i]->SaveToStream(stream);
            Progress(TProgressStage::psRunning, int((i + 1) * 100 / m_frames.size()), false, "Saving...");
        }
        stream.WriteByte(';');
    } catch (...) {
        Progress(TProgressStage::psEnding, 0, true, "Saving...");
        throw;
    }
    Progress(TProgressStage::psEnding, 100, true, "Saving...");
}

} // namespace bw
