#include "zip/zipdir.h"

#include "zip/ziperror.h"
#include "zip/zipnames.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace bw::zip {

namespace {

uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t le32(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24); }
uint64_t le64(const uint8_t* p) { return uint64_t(le32(p)) | (uint64_t(le32(p + 4)) << 32); }

[[noreturn]] void badEnd() { throw ZipError(ZipMessage::EndRecordUnreadable); }
[[noreturn]] void badHeader() { throw ZipError(ZipMessage::DirectoryUnreadable); }

// Whether a record can be the end record: its counts fit the directory's size and
// a directory in the last part lies before the record.
bool plausible(const EndRecord& end)
{
    if (end.centralDisk > end.thisDisk || end.entriesThisDisk > end.totalEntries)
        return false;
    if (end.totalEntries > end.centralSize / kCentralHeaderSize)
        return false;
    if (end.centralDisk == end.thisDisk)
        return uint64_t(end.centralOffset) + end.centralSize <= end.directoryLimit;
    return true;
}

// An end record with a field at its largest value may stand for a zip64 end
// record, which the locator right before it points to; its values then replace
// those of the end record. Without a locator the values are what they say (an
// archive may hold exactly 65,535 entries). False when the locator is there but
// what it points to is no zip64 end record this reader can use.
bool readZip64EndRecord(ByteSource& last, EndRecord& end)
{
    const bool marked = end.thisDisk == 0xFFFF || end.centralDisk == 0xFFFF || end.entriesThisDisk == 0xFFFF
                        || end.totalEntries == 0xFFFF || end.centralSize == 0xFFFFFFFF || end.centralOffset == 0xFFFFFFFF;
    uint8_t locator[kZip64LocatorSize];
    if (!marked || end.position < kZip64LocatorSize
        || !last.readAt(end.position - kZip64LocatorSize, locator, sizeof locator) || le32(locator) != kZip64LocatorSignature)
        return true;
    const uint64_t at = le64(locator + 8);
    uint8_t r[kZip64EndRecordSize];
    if (end.position - kZip64LocatorSize < kZip64EndRecordSize
        || at > end.position - kZip64LocatorSize - kZip64EndRecordSize || !last.readAt(at, r, sizeof r)
        || le32(r) != kZip64EndRecordSignature)
        return false;
    const uint32_t thisDisk = le32(r + 16);
    const uint32_t centralDisk = le32(r + 20);
    const uint64_t size = le64(r + 40);
    const uint64_t offset = le64(r + 48);
    // The record lies in the last part, and each part is below 4 GB.
    if (thisDisk >= 0xFFFF || centralDisk > thisDisk || le32(locator + 4) != thisDisk || le32(locator + 16) != thisDisk + 1
        || size > 0xFFFFFFFF || offset > 0xFFFFFFFF)
        return false;
    end.thisDisk = uint16_t(thisDisk);
    end.centralDisk = uint16_t(centralDisk);
    end.entriesThisDisk = le64(r + 24);
    end.totalEntries = le64(r + 32);
    end.centralSize = uint32_t(size);
    end.centralOffset = uint32_t(offset);
    end.directoryLimit = at;
    return true;
}

// Whether an entry's extra data holds a zip64 field (its 64-bit sizes).
bool hasZip64Field(std::string_view extra)
{
    const auto* p = reinterpret_cast<const uint8_t*>(extra.data());
    for (size_t at = 0; at + 4 <= extra.size(); at += 4 + size_t(le16(p + at + 2)))
        if (le16(p + at) == kZip64ExtraId)
            return true;
    return false;
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
            m_limits.push_back(d + 1 == parts.size() ? end.directoryLimit : parts[d]->size());
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
        end.directoryLimit = end.position;
        if (!readZip64EndRecord(last, end) || !plausible(end))
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
    entries.reserve(size_t(std::min<uint64_t>(end.totalEntries, 0x10000)));
    for (uint64_t i = 0; i < end.totalEntries; ++i) {
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
        const std::string rawName = cursor.readString(e.FileNameLength);
        e.ExtraData = cursor.readString(e.ExtraFieldLength);
        const std::string rawComment = cursor.readString(e.FileCommentLen);

        // Sizes or an offset of 4 GB or more stand in the zip64 field; such an
        // entry is refused like a part of that size.
        if ((e.CompressedSize == 0xFFFFFFFF || e.UncompressedSize == 0xFFFFFFFF || e.RelOffLocalHdr == 0xFFFFFFFF)
            && hasZip64Field(e.ExtraData))
            throw ZipError(ZipMessage::ArchiveTooLarge);
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

        e.FileName = convertName(rawName, e.Flag, e.HostVersionNo, options.codePage);
        if (characterCount(e.FileName) >= kMaxNameCharacters)
            throw ZipError(ZipMessage::NameTooLong);
        e.FileComment = convertName(rawComment, e.Flag, e.HostVersionNo, options.codePage);
        if (e.isFolder() && !options.useDirOnlyEntries)
            continue;
        entries.push_back(std::move(e));
    }
    // Bytes left over are headers the count leaves out, or a header cut short.
    if (cursor.left() != 0)
        badHeader();
    return entries;
}

} // namespace bw::zip
