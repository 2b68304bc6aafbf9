#include "gif/core/gifstream.h"

#include "gif/core/gifexception.h"

#include <algorithm>
#include <cstring>

namespace bw {

void ByteStream::ReadExact(void* buffer, size_t n)
{
    if (Read(buffer, n) != n)
        throw GIFException("Premature end of data");
}

size_t MemoryByteStream::Read(void* buffer, size_t n)
{
    const size_t count = std::min(n, m_size - std::min(m_pos, m_size));
    if (count > 0)
        std::memcpy(buffer, m_data + m_pos, count);
    m_pos += count;
    return count;
}

void MemoryByteStream::Write(const void* buffer, size_t n)
{
    if (m_data && m_data != m_owned.data())
        throw GIFException("Invalid stream operation");
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    const size_t end = m_pos + n;
    if (m_pos == m_owned.size()) {
        m_owned.insert(m_owned.end(), bytes, bytes + n); // appending: no zeros written first
    } else {
        if (end > m_owned.size())
            m_owned.resize(end);
        if (n > 0)
            std::memcpy(m_owned.data() + m_pos, bytes, n);
    }
    m_pos = end;
    m_data = m_owned.data();
    m_size = m_owned.size();
}

void MemoryByteStream::Seek(int64_t position)
{
    m_pos = size_t(std::max<int64_t>(0, position));
}

} // namespace bw
