#include "gif/core/gifcolormap.h"

#include "gif/core/gifblocks.h"
#include "gif/core/gifexception.h"
#include "gif/core/gifpicture.h"
#include "gif/core/gifstream.h"

#include <algorithm>
#include <numeric>

namespace bw {

namespace {
uint32_t packColor(const uint8_t* rgb) { return uint32_t(rgb[0]) | (uint32_t(rgb[1]) << 8) | (uint32_t(rgb[2]) << 16); }
}

void TGIFColorMap::Reserve(int n)
{
    if (n < m_capacity)
        return;
    m_capacity = n <= 16 ? 16 : std::min(kMaxColors, (n + 31) / 32 * 32);
    m_data.resize(size_t(m_capacity) * 3);
}

void TGIFColorMap::LoadFromStream(ByteStream& stream, int n)
{
    Clear();
    Reserve(n);
    stream.ReadExact(m_data.data(), size_t(n) * 3);
    m_count = n;
}

void TGIFColorMap::SaveToStream(ByteStream& stream) const
{
    if (m_count == 0)
        return;
    std::vector<uint8_t> out(size_t(3) << BitsPerPixel(), 0);
    std::copy(m_data.begin(), m_data.begin() + m_count * 3, out.begin());
    stream.Write(out.data(), out.size());
}

void TGIFColorMap::Assign(const TGIFColorMap& source)
{
    if (&source == this)
        return;
    m_data = source.m_data;
    m_count = source.m_count;
    m_capacity = source.m_capacity;
    m_sorted = source.m_sorted;
    NotifyChanged();
}

void TGIFColorMap::Clear()
{
    m_data.clear();
    m_count = 0;
    m_capacity = 0;
    m_sorted = false;
}

int TGIFColorMap::AppendColor(uint32_t color)
{
    if (m_count >= kMaxColors)
        throw GIFException("Color table overflow");
    Reserve(m_count + 1);
    uint8_t* entry = &m_data[size_t(m_count) * 3];
    entry[0] = uint8_t(color);
    entry[1] = uint8_t(color >> 8);
    entry[2] = uint8_t(color >> 16);
    ++m_count;
    m_sorted = false;
    NotifyChanged();
    return m_count - 1;
}

int TGIFColorMap::AddColorOnce(uint32_t color)
{
    const int index = FindColor(color);
    return index >= 0 ? index : AppendColor(color);
}

int TGIFColorMap::FindColor(uint32_t color) const
{
    color &= 0xFFFFFF;
    if (m_sorted) {
        for (int i = 0; i < m_count; ++i)
            if (packColor(&m_data[size_t(i) * 3]) == color)
                return i;
    } else {
        for (int i = m_count - 1; i >= 0; --i)
            if (packColor(&m_data[size_t(i) * 3]) == color)
                return i;
    }
    return -1;
}

void TGIFColorMap::RemoveColor(int index)
{
    if (index < 0 || index >= m_count)
        throw GIFException("Invalid color index");
    m_data.erase(m_data.begin() + index * 3, m_data.begin() + index * 3 + 3);
    m_data.resize(size_t(m_capacity) * 3);
    --m_count;
    m_sorted = false;
    NotifyChanged();
}

uint32_t TGIFColorMap::ColorAt(int index)
{
    if (index < 0 || index >= m_count) {
        ReportWarning(1, "Invalid color index");
        if (m_count == 0)
            throw GIFException("Color table is empty");
        index = 0;
    }
    return packColor(&m_data[size_t(index) * 3]);
}

void TGIFColorMap::TakeColorTable(const uint8_t* bgrx, int count)
{
    Clear();
    count = std::clamp(count, 0, kMaxColors);
    Reserve(count);
    for (int i = 0; i < count; ++i) {
        m_data[size_t(i) * 3] = bgrx[i * 4 + 2];
        m_data[size_t(i) * 3 + 1] = bgrx[i * 4 + 1];
        m_data[size_t(i) * 3 + 2] = bgrx[i * 4];
    }
    m_count = count;
    NotifyChanged();
}

int TGIFColorMap::BitsPerPixelFor(int count)
{
    if (count <= 0)
        return 0;
    int bits = 1;
    while ((1 << bits) < count)
        ++bits;
    return bits;
}

void TGIFColorMap::ReportWarning(int severity, const std::string& message)
{
    if (TGIFPicture* picture = Picture())
        picture->ReportWarning(this, severity, message);
}

void TGIFColorMap::SortByUse()
{
    if (m_count < 2)
        return;
    m_sorted = true;
    const std::vector<int64_t> uses = CountUse();
    std::vector<int> order(static_cast<size_t>(m_count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return uses[size_t(a)] > uses[size_t(b)]; });
    bool unchanged = true;
    for (int i = 0; i < m_count; ++i)
        unchanged = unchanged && order[size_t(i)] == i;
    if (unchanged)
        return;
    std::vector<int> oldToNew(static_cast<size_t>(m_count));
    std::vector<uint8_t> data(m_data.size(), 0);
    int used = 0;
    for (int i = 0; i < m_count; ++i) {
        const int old = order[size_t(i)];
        oldToNew[size_t(old)] = i;
        std::copy_n(&m_data[size_t(old) * 3], 3, &data[size_t(i) * 3]);
        if (uses[size_t(old)] > 0)
            ++used;
    }
    RemapPixels(oldToNew);
    m_data = std::move(data);
    m_count = used;
    NotifyChanged();
}

// The global table colours every frame whose own table is empty.
TGIFPicture* TGIFGlobalColorMap::Picture() const { return m_header->Image(); }

std::vector<int64_t> TGIFGlobalColorMap::CountUse() const
{
    std::vector<int64_t> uses(size_t(Count()), 0);
    if (TGIFPicture* picture = Picture())
        for (int f = 0; f < picture->Count(); ++f) {
            TGIFSubImage& frame = picture->Frame(f);
            if (&frame.EffectiveColorMap() != this)
                continue;
            for (uint8_t p : frame.Pixels())
                if (p < uses.size())
                    ++uses[p];
        }
    return uses;
}

void TGIFGlobalColorMap::RemapPixels(const std::vector<int>& oldToNew)
{
    TGIFPicture* picture = Picture();
    if (!picture)
        return;
    for (int f = 0; f < picture->Count(); ++f) {
        TGIFSubImage& frame = picture->Frame(f);
        if (&frame.EffectiveColorMap() != this)
            continue;
        for (uint8_t& p : frame.Pixels())
            if (p < oldToNew.size())
                p = uint8_t(oldToNew[p]);
        if (frame.Transparent() && frame.GraphicControlExtension()) {
            const int t = frame.TransparentIndex();
            if (t < int(oldToNew.size()))
                frame.SetTransparentIndexRaw(uint8_t(oldToNew[size_t(t)]));
        }
        frame.DropCache();
    }
}

void TGIFGlobalColorMap::NotifyChanged()
{
    if (TGIFPicture* picture = Picture())
        picture->PaletteChanged();
}

void TGIFGlobalColorMap::SortByUse()
{
    TGIFPicture* picture = Picture();
    if (picture && picture->Empty())
        return;
    TGIFColorMap::SortByUse();
}

TGIFPicture* TGIFLocalColorMap::Picture() const { return m_frame->Image(); }

std::vector<int64_t> TGIFLocalColorMap::CountUse() const
{
    std::vector<int64_t> uses(size_t(Count()), 0);
    for (uint8_t p : m_frame->Pixels())
        if (p < uses.size())
            ++uses[p];
    return uses;
}

void TGIFLocalColorMap::RemapPixels(const std::vector<int>& oldToNew)
{
    for (uint8_t& p : m_frame->Pixels())
        if (p < oldToNew.size())
            p = uint8_t(oldToNew[p]);
    if (m_frame->Transparent() && m_frame->GraphicControlExtension()) {
        const int t = m_frame->TransparentIndex();
        if (t < int(oldToNew.size()))
            m_frame->SetTransparentIndexRaw(uint8_t(oldToNew[size_t(t)]));
    }
    m_frame->DropCache();
}

void TGIFLocalColorMap::NotifyChanged()
{
    m_frame->DropCache();
}

} // namespace bw
