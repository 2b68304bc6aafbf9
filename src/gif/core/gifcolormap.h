// A GIF colour table: up to 256 entries of red, green, blue bytes in table order.
// Colours passed in and out are 24-bit values with red in the low byte, then
// green, then blue (0x00BBGGRR).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bw {

class ByteStream;
class TGIFHeader;
class TGIFPicture;
class TGIFSubImage;

inline constexpr int kMaxColors = 256;

class TGIFColorMap {
public:
    TGIFColorMap() = default;
    virtual ~TGIFColorMap() = default;
    TGIFColorMap(const TGIFColorMap&) = delete;
    TGIFColorMap& operator=(const TGIFColorMap&) = delete;

    int Count() const { return m_count; }
    int Capacity() const { return m_capacity; }
    bool Sorted() const { return m_sorted; }
    void SetSorted(bool sorted) { m_sorted = sorted; }
    // The entries in use, three bytes each.
    const uint8_t* Data() const { return m_data.data(); }

    // Replaces the entries by n triples read from the stream.
    void LoadFromStream(ByteStream& stream, int n);
    // Writes the entries followed by black entries up to 2^BitsPerPixel.
    void SaveToStream(ByteStream& stream) const;
    void Assign(const TGIFColorMap& source);
    void Clear();

    int AppendColor(uint32_t color);
    int AddColorOnce(uint32_t color);
    int FindColor(uint32_t color) const;
    void RemoveColor(int index);
    uint32_t ColorAt(int index);
    // Replaces the entries by 4-byte blue, green, red, reserved entries.
    void TakeColorTable(const uint8_t* bgrx, int count);

    // 0 for an empty table, else the smallest b >= 1 with 2^b >= Count().
    static int BitsPerPixelFor(int count);
    int BitsPerPixel() const { return BitsPerPixelFor(m_count); }

    virtual void ReportWarning(int severity, const std::string& message);
    // Uses of each entry by the pixels this table colours.
    virtual std::vector<int64_t> CountUse() const { return std::vector<int64_t>(size_t(m_count), 0); }
    virtual void RemapPixels(const std::vector<int>& /*oldToNew*/) {}
    virtual void NotifyChanged() {}
    // Orders the entries by descending use, drops unused ones and remaps the pixels.
    virtual void SortByUse();

protected:
    void Reserve(int n);
    virtual TGIFPicture* Picture() const { return nullptr; }

private:
    std::vector<uint8_t> m_data;
    int m_count = 0;
    int m_capacity = 0;
    bool m_sorted = false;
};

class TGIFGlobalColorMap : public TGIFColorMap {
public:
    explicit TGIFGlobalColorMap(TGIFHeader* header) : m_header(header) {}
    std::vector<int64_t> CountUse() const override;
    void RemapPixels(const std::vector<int>& oldToNew) override;
    void NotifyChanged() override;
    void SortByUse() override;

protected:
    TGIFPicture* Picture() const override;

private:
    TGIFHeader* m_header;
};

class TGIFLocalColorMap : public TGIFColorMap {
public:
    explicit TGIFLocalColorMap(TGIFSubImage* frame) : m_frame(frame) {}
    std::vector<int64_t> CountUse() const override;
    void RemapPixels(const std::vector<int>& oldToNew) override;
    void NotifyChanged() override;

protected:
    TGIFPicture* Picture() const override;

private:
    TGIFSubImage* m_frame;
};

} // namespace bw
