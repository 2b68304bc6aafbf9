#include "gif/core/gifextensions.h"

#include "gif/core/gifexception.h"
#include "gif/core/gifpicture.h"
#include "gif/core/gifstream.h"

#include <algorithm>
#include <cstring>

namespace bw {

namespace {
std::array<uint8_t, 11> identifier(const char* text)
{
    std::array<uint8_t, 11> id{};
    std::memcpy(id.data(), text, 11);
    return id;
}

// Reads data sub-blocks up to a size byte of 0 or the end of the stream.
template <typename F>
void readSubBlocks(ByteStream& stream, F&& onBlock)
{
    uint8_t size;
    uint8_t data[255];
    while (stream.ReadByte(size) && size != 0) {
        stream.ReadExact(data, size);
        onBlock(data, size);
    }
}

// How the first data block of a fixed-size extension was read.
enum class FixedBlock {
    Read,       // further sub-blocks follow up to a terminator
    Terminated, // its size byte was 0: the terminator, nothing follows
    Cut,        // the stream ended inside it; the stream stands at its end
};

// Reads the first data block of a fixed-size extension by its size byte into
// fields: what does not fit is skipped, what is missing keeps its value.
FixedBlock readFixedBlock(ByteStream& stream, uint8_t* fields, size_t count)
{
    uint8_t size;
    if (!stream.ReadByte(size))
        return FixedBlock::Cut;
    if (size == 0)
        return FixedBlock::Terminated;
    const size_t take = std::min<size_t>(size, count);
    if (stream.Read(fields, take) < take || stream.Left() < int64_t(size - take)) {
        stream.Seek(stream.Size());
        return FixedBlock::Cut;
    }
    stream.Skip(int64_t(size - take));
    return FixedBlock::Read;
}

void writeSubBlocks(ByteStream& stream, const uint8_t* data, size_t size)
{
    while (size > 0) {
        const size_t n = std::min<size_t>(size, 255);
        stream.WriteByte(uint8_t(n));
        stream.Write(data, n);
        data += n;
        size -= n;
    }
}
}

TGIFExtension::TGIFExtension(TGIFSubImage* frame) : TGIFItem(frame ? frame->Image() : nullptr), m_frame(frame) {}

void TGIFExtension::LoadFromStream(ByteStream& stream)
{
    uint8_t intro[2];
    stream.ReadExact(intro, 2);
    if (intro[0] != '!')
        throw GIFException("Invalid extension introducer");
    if (intro[1] != BlockLabel())
        throw GIFException("Internal error: Extension Instance does not match Extension Label");
    LoadBody(stream);
}

void TGIFExtension::SaveToStream(ByteStream& stream)
{
    const uint8_t intro[2] = {'!', BlockLabel()};
    stream.Write(intro, 2);
    SaveBody(stream);
}

// ---------------------------------------------------------------- graphic control

TGIFGraphicControlExtension::TGIFGraphicControlExtension(TGIFSubImage* frame) : TGIFExtension(frame)
{
    if (m_frame && !m_frame->m_gce)
        m_frame->m_gce = this;
}

TGIFGraphicControlExtension::~TGIFGraphicControlExtension()
{
    if (!m_frame)
        return;
    if (Transparent())
        m_frame->m_transparent = false;
    if (m_frame->m_gce == this)
        m_frame->m_gce = nullptr;
}

void TGIFGraphicControlExtension::SetTransparent(bool on)
{
    m_fields[0] = on ? (m_fields[0] | 1) : (m_fields[0] & ~1);
    if (on && m_frame)
        m_frame->m_transparent = true;
}

void TGIFGraphicControlExtension::SetTransparentColorIndex(int index)
{
    if (m_frame) {
        TGIFColorMap& map = m_frame->EffectiveColorMap();
        if (map.Count() > 0 && (index < 0 || index >= map.Count())) {
            ReportWarning(1, "Invalid color index");
            index = 0;
        }
    }
    m_fields[3] = uint8_t(index);
}

void TGIFGraphicControlExtension::LoadBody(ByteStream& stream)
{
    const FixedBlock block = readFixedBlock(stream, m_fields.data(), m_fields.size());
    if (block == FixedBlock::Cut || (block == FixedBlock::Read && !SkipSubBlocks(stream)))
        ReportWarning(1, "Premature end of data");
    if (Transparent() && m_frame)
        m_frame->m_transparent = true;
}

void TGIFGraphicControlExtension::SaveBody(ByteStream& stream)
{
    const uint8_t block[6] = {4, m_fields[0], m_fields[1], m_fields[2], m_fields[3], 0};
    stream.Write(block, sizeof block);
}

// ---------------------------------------------------------------- text lines

void TGIFLinesExtension::LoadLines(ByteStream& stream)
{
    m_lines.clear();
    readSubBlocks(stream, [&](const uint8_t* data, size_t size) {
        const uint8_t* end = std::find(data, data + size, 0);
        m_lines.emplace_back(reinterpret_cast<const char*>(data), size_t(end - data));
    });
}

void TGIFLinesExtension::SaveLines(ByteStream& stream) const
{
    for (const std::string& line : m_lines)
        writeSubBlocks(stream, reinterpret_cast<const uint8_t*>(line.data()), line.size());
    stream.WriteByte(0);
}

void TGIFTextExtension::LoadBody(ByteStream& stream)
{
    m_lines.clear();
    const FixedBlock block = readFixedBlock(stream, m_header.data(), m_header.size());
    if (block == FixedBlock::Cut)
        throw GIFException("Premature end of data");
    if (block == FixedBlock::Read)
        LoadLines(stream);
}

void TGIFTextExtension::SaveBody(ByteStream& stream)
{
    stream.WriteByte(uint8_t(m_header.size()));
    stream.Write(m_header.data(), m_header.size());
    SaveLines(stream);
}

void TGIFCommentExtension::LoadBody(ByteStream& stream) { LoadLines(stream); }
void TGIFCommentExtension::SaveBody(ByteStream& stream) { SaveLines(stream); }

// ---------------------------------------------------------------- application

void TGIFApplicationExtension::LoadBody(ByteStream& stream)
{
    uint8_t size;
    stream.ReadExact(&size, 1);
    if (size == 10)
        m_identifier.fill(0);
    else if (size < 10)
        throw GIFException("Unsupported Application Extension block size");
    const int64_t start = stream.Position();
    stream.ReadExact(m_identifier.data(), m_identifier.size());
    m_identification.clear();
    if (size != 11) {
        stream.Seek(start);
        m_identification.resize(size);
        m_identification.resize(stream.Read(m_identification.data(), size));
    }
    stream.Seek(start + size);
    ReadAppData(stream);
}

void TGIFApplicationExtension::SaveBody(ByteStream& stream)
{
    if (KeepsIdentificationBlock()) {
        stream.WriteByte(uint8_t(m_identification.size()));
        stream.Write(m_identification.data(), m_identification.size());
    } else {
        stream.WriteByte(11);
        stream.Write(m_identifier.data(), m_identifier.size());
    }
    WriteAppData(stream);
}

TGIFAppExtNSLoop::TGIFAppExtNSLoop(TGIFSubImage* frame) : TGIFApplicationExtension(frame)
{
    m_identifier = identifier("NETSCAPE2.0");
}

void TGIFAppExtNSLoop::ReadAppData(ByteStream& stream)
{
    readSubBlocks(stream, [&](const uint8_t* data, size_t size) {
        switch (data[0] & 7) {
        case 1:
            if (size < 3)
                throw GIFException("Invalid GIF data");
            m_loops = uint16_t(data[1] | (data[2] << 8));
            break;
        case 2:
            if (size < 5)
                throw GIFException("Invalid GIF data");
            m_bufferSize = uint32_t(data[1]) | (uint32_t(data[2]) << 8) | (uint32_t(data[3]) << 16) | (uint32_t(data[4]) << 24);
            break;
        default:
            break;
        }
    });
}

void TGIFAppExtNSLoop::WriteAppData(ByteStream& stream)
{
    const uint8_t loop[4] = {3, 1, uint8_t(m_loops), uint8_t(m_loops >> 8)};
    stream.Write(loop, 4);
    if (m_bufferSize != 0) {
        const uint8_t buffer[6] = {5, 2, uint8_t(m_bufferSize), uint8_t(m_bufferSize >> 8), uint8_t(m_bufferSize >> 16),
                                   uint8_t(m_bufferSize >> 24)};
        stream.Write(buffer, 6);
    }
    stream.WriteByte(0);
}

void TGIFUnknownAppExtension::ReadAppData(ByteStream& stream)
{
    m_blocks.clear();
    readSubBlocks(stream, [&](const uint8_t* data, size_t size) { m_blocks.push_back({{data, data + size}}); });
}

void TGIFUnknownAppExtension::WriteAppData(ByteStream& stream)
{
    for (const TGIFBlock& block : m_blocks) {
        stream.WriteByte(uint8_t(block.data.size()));
        stream.Write(block.data.data(), block.data.size());
    }
    stream.WriteByte(0);
}

// ---------------------------------------------------------------- classes and registries

const TGIFExtensionClass* TGIFExtensionClass::ResolveKind(ByteStream&) const { return this; }

namespace {
// The application extension narrows itself down by its identifier block.
class ApplicationClass : public TGIFExtensionClass {
public:
    using TGIFExtensionClass::TGIFExtensionClass;
    const TGIFExtensionClass* ResolveKind(ByteStream& stream) const override
    {
        const int64_t start = stream.Position();
        uint8_t size;
        if (!stream.ReadByte(size))
            return nullptr;
        if (size == 11) {
            std::array<uint8_t, 11> id;
            if (stream.Read(id.data(), id.size()) < id.size()) {
                stream.Seek(start);
                return this;
            }
            const TGIFExtensionClass* kind = TAppExtensionList::Instance().FindKind(id);
            return kind ? kind : &UnknownApp();
        }
        if (size == 10) {
            uint8_t id[10];
            if (stream.Read(id, sizeof id) < sizeof id)
                return nullptr;
            return &UnknownApp();
        }
        stream.Seek(start);
        return this;
    }
};

template <typename T>
TGIFExtensionClass::Factory factory()
{
    return [](TGIFSubImage* frame) { return std::unique_ptr<TGIFExtension>(new T(frame)); };
}
}

const TGIFExtensionClass& TGIFExtensionClass::GraphicControl()
{
    static const TGIFExtensionClass kind(TGIFGraphicControlExtension::kLabel, factory<TGIFGraphicControlExtension>());
    return kind;
}

const TGIFExtensionClass& TGIFExtensionClass::Text()
{
    static const TGIFExtensionClass kind(TGIFTextExtension::kLabel, factory<TGIFTextExtension>());
    return kind;
}

const TGIFExtensionClass& TGIFExtensionClass::Comment()
{
    static const TGIFExtensionClass kind(TGIFCommentExtension::kLabel, factory<TGIFCommentExtension>());
    return kind;
}

// An application block that names no known class (its identification block is
// neither 10 nor 11 bytes long) is kept as an unregistered one, whose reading
// then checks the block size.
const TGIFExtensionClass& TGIFExtensionClass::Application()
{
    static const ApplicationClass kind(TGIFApplicationExtension::kLabel, factory<TGIFUnknownAppExtension>());
    return kind;
}

const TGIFExtensionClass& TGIFExtensionClass::NSLoop()
{
    static const TGIFExtensionClass kind(TGIFApplicationExtension::kLabel, factory<TGIFAppExtNSLoop>());
    return kind;
}

const TGIFExtensionClass& TGIFExtensionClass::UnknownApp()
{
    static const TGIFExtensionClass kind(TGIFApplicationExtension::kLabel, factory<TGIFUnknownAppExtension>());
    return kind;
}

TExtensionList& TExtensionList::Instance()
{
    static TExtensionList list = [] {
        TExtensionList l;
        l.RegisterKind(TGIFTextExtension::kLabel, &TGIFExtensionClass::Text());
        l.RegisterKind(TGIFGraphicControlExtension::kLabel, &TGIFExtensionClass::GraphicControl());
        l.RegisterKind(TGIFCommentExtension::kLabel, &TGIFExtensionClass::Comment());
        l.RegisterKind(TGIFApplicationExtension::kLabel, &TGIFExtensionClass::Application());
        return l;
    }();
    return list;
}

void TExtensionList::RegisterKind(uint8_t label, const TGIFExtensionClass* kind) { m_rows.emplace_back(label, kind); }

const TGIFExtensionClass* TExtensionList::FindKind(uint8_t label) const
{
    for (auto it = m_rows.rbegin(); it != m_rows.rend(); ++it)
        if (it->first == label)
            return it->second;
    return nullptr;
}

TAppExtensionList& TAppExtensionList::Instance()
{
    static TAppExtensionList list = [] {
        TAppExtensionList l;
        l.RegisterKind(identifier("NETSCAPE2.0"), &TGIFExtensionClass::NSLoop());
        l.RegisterKind(identifier("ANIMEXTS1.0"), &TGIFExtensionClass::NSLoop());
        return l;
    }();
    return list;
}

void TAppExtensionList::RegisterKind(const std::array<uint8_t, 11>& id, const TGIFExtensionClass* kind)
{
    m_rows.emplace_back(id, kind);
}

const TGIFExtensionClass* TAppExtensionList::FindKind(const std::array<uint8_t, 11>& id) const
{
    for (auto it = m_rows.rbegin(); it != m_rows.rend(); ++it)
        if (it->first == id)
            return it->second;
    return nullptr;
}

} // namespace bw
