#include "zip/zipdir.h"

#include "zip/ziperror.h"
#include "zip/zipnames.h"

#include <algorithm>
#include <cstring>

namespace bw::zip {

namespace {

uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t le32(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24); }

[[noreturn]] void badEnd() { throw ZipError(ZipMessage::EndRecordUnreadable); }
[[noreturn]] void badHeader() { throw ZipError(ZipMessage::DirectoryUnreadable); }

// Whether a record can be the end record: its counts fit the directory's size and
// a directory in the last part lies before the record.
bool plausible(const EndRecord& end)
{
    if (end.centralDisk > end.thisDisk || end.entriesThisDisk > end.totalEntries)
        return false;
    if (uint64_t(end.totalEntries) * kCentralHeaderSize > end.centralSize)
        return false;
    if (end.centralDisk == end.thisDisk)
        return uint64_t(end.centralOffset) + end.centralSize <= end.position;
    return true;
}

// Reads the directory's bytes in order, running from one part into the next,
// never past the directory's stated size nor past the end record.
class DirectoryCursor {
public:
    DirectoryCursor(const EndRecord& end, const std::vector<ByteSource*>& parts)
        : m_parts(parts), m_disk(end.centralDisk), m_offset(end.centralOffset), m_left(end.centralSize)
    {
        m_limits.reserve(parts.size());
        for (size_t d = 0; d < parts.size(); ++d)
            m_limits.push_back(d + 1 == parts.size() ? end.position : parts[d]->size());
        if (m_offset > m_limits[m_disk])
            badEnd();
    }

    uint64_t left() const { return m_left; }

    void read(uint8_t* out, size_t count)
    {
        if (count > m_left)
            badHeader();
        m_left -= count;
        while (count > 0) {
            if (m_offset == m_limits[m_disk]) {
                if (m_disk + 1 >= m_parts.size())
                    badHeader();
                ++m_disk;
                m_offset = 0;
                continue;
            }
            const size_t chunk = size_t(std::min<uint64_t>(count, m_limits[m_disk] - m_offset));
            if (!m_parts[m_disk]->readAt(m_offset, out, chunk))
                badHeader();
            out += chunk;
            count -= chunk;
            m_offset += chunk;
        }
    }

    std::string readString(size_t count)
    {
        std::string s(count, '\0');
        if (count > 0)
            read(reinterpret_cast<uint8_t*>(s.data()), count);
        return s;
    }

private:
    const std::vector<ByteSource*>& m_parts;
    std::vector<uint64_t> m_limits;
    size_t m_disk;
    uint64_t m_offset;
    uint64_t m_left;
};

} // namespace

bool MemorySource::readAt(uint64_t offset, uint8_t* out, size_t count)
{
    if (offset > m_size || count > m_size - offset)
        return false;
    if (count > 0)
        std::memcpy(out, m_data + offset, count);
    return true;
}

bool ZipDirEntry::isFolder() const
{
    return !FileName.empty() && (FileName.back() == '/' || FileName.back() == '\\');
}

void checkPartSize(const ByteSource& part)
{
    if (part.size() >= kLargeFileSize)
        throw ZipError(ZipMessage::ArchiveTooLarge);
}

EndRecord findEndRecord(ByteSource& last)
{
    checkPartSize(last);
    const uint64_t size = last.size();
    if (size < kEndRecordSize)
        badEnd();
    const size_t span = size_t(std::min<uint64_t>(size, kEndSearchSpan));
    const uint64_t base = size - span;
    std::vector<uint8_t> tail(span);
    if (!last.readAt(base, tail.data(), span))
        badEnd();

    // The first candidate is the last 22 bytes (an archive without comment).
    for (size_t pos = span - kEndRecordSize + 1; pos-- > 0;) {
        const uint8_t* p = tail.data() + pos;
        if (le32(p) != kEndRecordSignature)
            continue;
        const uint16_t commentLength = le16(p + 20);
        if (pos + kEndRecordSize + commentLength != span)
            continue;
        EndRecord end;
        end.thisDisk = le16(p + 4);
        end.centralDisk = le16(p + 6);
        end.entriesThisDisk = le16(p + 8);
        end.totalEntries = le16(p + 10);
        end.centralSize = le32(p + 12);
        end.centralOffset = le32(p + 16);
        end.position = base + pos;
        if (!plausible(end))
            continue;
        end.comment.assign(reinterpret_cast<const char*>(p + kEndRecordSize), commentLength);
        return end;
    }
    badEnd();
}

std::vector<ZipDirEntry> readCentralDirectory(const EndRecord& end, const std::vector<ByteSource*>& parts,
                                              const DirOptions& options)
{
    if (parts.size() != size_t(end.thisDisk) + 1 || !plausible(end))
        badEnd();
    uint64_t archiveSize = 0;
    for (const ByteSource* part : parts) {
        checkPartSize(*part);
        archiveSize += part->size();
    }

    DirectoryCursor cursor(end, parts);
    std::vector<ZipDirEntry> entries;
    entries.reserve(end.totalEntries);
    for (unsigned i = 0; i < end.totalEntries; ++i) {
        uint8_t h[kCentralHeaderSize];
        cursor.read(h, sizeof h);
        if (le32(h) != kCentralHeaderSignature)
            badHeader();
        ZipDirEntry e;
        e.MadeByVersion = h[4];
        e.HostVersionNo = h[5];
        e.VersionNeeded = le16(h + 6);
        e.Flag = le16(h + 8);
        e.ComprMethod = le16(h + 10);
        e.ModifDateTime = le32(h + 12);
        e.CRC32 = le32(h + 16);
        e.CompressedSize = le32(h + 20);
        e.UncompressedSize = le32(h + 24);
        e.FileNameLength = le16(h + 28);
        e.ExtraFieldLength = le16(h + 30);
        e.FileCommentLen = le16(h + 32);
        e.StartOnDisk = le16(h + 34);
        e.IntFileAttrib = le16(h + 36);
        e.ExtFileAttrib = le32(h + 38);
        e.RelOffLocalHdr = le32(h + 42);

        // The entry's data lies before the directory: in an earlier part, or in
        // the directory's own part before it.
        if (e.StartOnDisk > end.centralDisk)
            badHeader();
        const uint64_t localEnd = uint64_t(e.RelOffLocalHdr) + kLocalHeaderSize;
        if (e.StartOnDisk == end.centralDisk ? localEnd > end.centralOffset : localEnd > parts[e.StartOnDisk]->size())
            badHeader();
        const uint64_t dataEnd = end.thisDisk == 0 ? localEnd + e.CompressedSize : e.CompressedSize;
        if (dataEnd > (end.thisDisk == 0 ? uint64_t(end.centralOffset) : archiveSize))
            badHeader();

        const std::string rawName = cursor.readString(e.FileNameLength);
        e.ExtraData = cursor.readString(e.ExtraFieldLength);
        const std::string rawComment = cursor.readString(e.FileCommentLen);
        e.FileName = convertName(rawName, e.Flag, e.HostVersionNo, options.codePage);
        if (characterCount(e.FileName) >= kMaxNameCharacters)
            throw ZipError(ZipMessage::NameTooLong);
        e.FileComment = convertName(rawComment, e.Flag, e.HostVersionNo, options.codePage);
        if (e.isFolder() && !options.useDirOnlyEntries)
            continue;
        entries.push_back(std::move(e));
    }
    return entries;
}

} // namespace bw::zip
