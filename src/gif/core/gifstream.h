// The byte streams the GIF codec reads from and writes to. The core knows no Qt,
// so it works on this small interface; the Qt layer and the tests put memory
// buffers or devices behind it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace bw {

class ByteStream {
public:
    virtual ~ByteStream() = default;
    // Reads up to n bytes; returns how many were read (fewer only at the end).
    virtual size_t Read(void* buffer, size_t n) = 0;
    // Writes n bytes or throws.
    virtual void Write(const void* buffer, size_t n) = 0;
    virtual int64_t Position() const = 0;
    virtual void Seek(int64_t position) = 0;
    virtual int64_t Size() const = 0;

    // All bytes of the stream when they lie in memory, else null.
    virtual const uint8_t* Contiguous() const { return nullptr; }

    int64_t Left() const { return Size() - Position(); }
    // Reads one byte; false at the end of the stream.
    bool ReadByte(uint8_t& value) { return Read(&value, 1) == 1; }
    void WriteByte(uint8_t value) { Write(&value, 1); }
    // Reads exactly n bytes or raises "Premature end of data".
    void ReadExact(void* buffer, size_t n);
    void Skip(int64_t n) { Seek(Position() + n); }
};

// A stream over bytes in memory. It reads from a borrowed buffer, or owns a
// growing buffer that it writes into.
class MemoryByteStream : public ByteStream {
public:
    MemoryByteStream() = default;
    MemoryByteStream(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    explicit MemoryByteStream(const std::vector<uint8_t>& bytes) : MemoryByteStream(bytes.data(), bytes.size()) {}

    size_t Read(void* buffer, size_t n) override;
    void Write(const void* buffer, size_t n) override;
    int64_t Position() const override { return int64_t(m_pos); }
    void Seek(int64_t position) override;
    int64_t Size() const override { return int64_t(m_size); }

    const uint8_t* Contiguous() const override { return m_data; }
    // The bytes written (a writing stream only).
    const std::vector<uint8_t>& Bytes() const { return m_owned; }

private:
    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
    size_t m_pos = 0;
    std::vector<uint8_t> m_owned;
};

} // namespace bw
