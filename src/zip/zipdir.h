// Reading the central directory of a zip archive: the end-of-central-directory
// record at the end of the (last) part (with more than 65,535 entries the zip64
// end record its locator points to), then one 46-byte header per entry, which
// may run over several parts of a multi-part archive. The headers must fill the
// directory's stated size exactly. Every length and offset is checked against
// the parts' sizes before it is used, so a damaged or hostile archive ends in a
// ZipError and never in a read outside the data or a short list.
// No Qt here: the fuzzer drives this code on buffers.
#pragma once

#include "zip/ziptypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace bw::zip {

constexpr uint32_t kEndRecordSignature = 0x06054B50;
constexpr uint32_t kZip64EndRecordSignature = 0x06064B50;
constexpr uint32_t kZip64LocatorSignature = 0x07064B50;
constexpr uint32_t kCentralHeaderSignature = 0x02014B50;
constexpr size_t kEndRecordSize = 22;
constexpr size_t kZip64EndRecordSize = 56;
constexpr size_t kZip64LocatorSize = 20;
// The extra field of an entry whose sizes or offset do not fit 32 bits.
constexpr uint16_t kZip64ExtraId = 0x0001;
constexpr size_t kMaxCommentLength = 65535;
// The end record lies in the last 22 + 65535 bytes.
constexpr size_t kEndSearchSpan = kEndRecordSize + kMaxCommentLength;
constexpr size_t kCentralHeaderSize = 46;
constexpr size_t kLocalHeaderSize = 30;
// A name of this many characters or more is refused.
constexpr size_t kMaxNameCharacters = 260;
// A part of this size or more is refused: the format's offsets are 32-bit.
constexpr uint64_t kLargeFileSize = uint64_t(1) << 32;

// One archive part as bytes: a file, or a buffer in tests and the fuzzer.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t size() const = 0;
    // Reads exactly count bytes at offset; false when they are not all there.
    virtual bool readAt(uint64_t offset, uint8_t* out, size_t count) = 0;
};

class MemorySource : public ByteSource {
public:
    MemorySource(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    uint64_t size() const override { return m_size; }
    bool readAt(uint64_t offset, uint8_t* out, size_t count) override;

private:
    const uint8_t* m_data;
    size_t m_size;
};

// The end record, with the values of the zip64 end record where the archive
// has one.
struct EndRecord {
    uint16_t thisDisk = 0;        // the last part's number, from 0
    uint16_t centralDisk = 0;     // the part where the directory starts
    uint64_t entriesThisDisk = 0;
    uint64_t totalEntries = 0;
    uint32_t centralSize = 0;
    uint32_t centralOffset = 0;   // within centralDisk
    uint64_t position = 0;        // of the record in the last part
    uint64_t directoryLimit = 0;  // where the directory ends at the latest in the last part
    std::string comment;          // as stored
};

// One entry: the fixed fields of its central-directory header, then its name,
// extra data and comment (name and comment converted by the code page).
struct ZipDirEntry {
    uint8_t MadeByVersion = 0;
    uint8_t HostVersionNo = 0;    // the system the entry was made on (0 = DOS)
    uint16_t VersionNeeded = 0;
    uint16_t Flag = 0;
    uint16_t ComprMethod = 0;
    uint32_t ModifDateTime = 0;   // DOS date and time
    uint32_t CRC32 = 0;
    uint32_t CompressedSize = 0;
    uint32_t UncompressedSize = 0;
    uint16_t FileNameLength = 0;
    uint16_t ExtraFieldLength = 0;
    uint16_t FileCommentLen = 0;
    uint16_t StartOnDisk = 0;
    uint16_t IntFileAttrib = 0;
    uint32_t ExtFileAttrib = 0;
    uint32_t RelOffLocalHdr = 0;
    std::string FileName;
    std::string ExtraData;
    std::string FileComment;

    bool isFolder() const;
};

struct DirOptions {
    CodePageOpts codePage = CodePageOpts::cpAuto;
    bool useDirOnlyEntries = false;
};

// Refuses a part of 4 GB or more ("File larger than 4GB").
void checkPartSize(const ByteSource& part);

// Finds the end record of the archive's last part: the last 22 bytes, else
// searching backwards through the last 65557 bytes for a record whose comment
// reaches exactly to the end of the part and whose counts and offsets fit.
EndRecord findEndRecord(ByteSource& last);

// Reads every entry. parts holds the archive's parts in order, the last being
// the one the end record came from (parts.size() == end.thisDisk + 1).
std::vector<ZipDirEntry> readCentralDirectory(const EndRecord& end, const std::vector<ByteSource*>& parts,
                                              const DirOptions& options);

} // namespace bw::zip
