#include "zip/zaworker.h"

#include "zip/ziperror.h"
#include "zip/zipparts.h"

#include <QFile>
#include <QFileInfo>

#include <memory>

namespace bw::zip {

namespace {

class FileSource : public ByteSource {
public:
    explicit FileSource(const QString& name) : m_file(name)
    {
        if (!m_file.open(QIODevice::ReadOnly))
            throw ZipError(ZipMessage::ArchiveNotOpened, {QFile::encodeName(name).toStdString()});
        m_size = uint64_t(m_file.size());
    }
    uint64_t size() const override { return m_size; }
    bool readAt(uint64_t offset, uint8_t* out, size_t count) override
    {
        return offset <= m_size && count <= m_size - offset && m_file.seek(qint64(offset))
            && m_file.read(reinterpret_cast<char*>(out), qint64(count)) == qint64(count);
    }

private:
    QFile m_file;
    uint64_t m_size = 0;
};

} // namespace

void TZAWorker::readDirectory()
{
    m_entries.clear();
    const QString& name = Settings.ZipFileName;
    if (name.isEmpty())
        return;

    // The archive itself, or the last of its numbered parts (name001.zip, ...),
    // holds the end record. Beside a plain name the other parts carry the
    // compatible names (name.z01, ...).
    QString lastName = name;
    int numberedParts = 0;
    if (!QFileInfo(name).isFile()) {
        while (QFileInfo(partFileName(name, numberedParts + 1, 0, false)).isFile())
            ++numberedParts;
        if (numberedParts == 0)
            return;
        lastName = partFileName(name, numberedParts, 0, false);
    }
    FileSource last(lastName);
    const EndRecord end = findEndRecord(last);
    const int partCount = end.thisDisk + 1;
    if (numberedParts > 0 && partCount > numberedParts)
        throw ZipError(ZipMessage::PartMissing, {QFile::encodeName(partFileName(name, numberedParts + 1, 0, false)).toStdString()});
    if (numberedParts > 0 && partCount < numberedParts)
        throw ZipError(ZipMessage::EndRecordUnreadable);

    std::vector<std::unique_ptr<FileSource>> earlier;
    std::vector<ByteSource*> parts;
    for (int k = 1; k < partCount; ++k) {
        const QString partName = partFileName(name, k, partCount, numberedParts == 0);
        if (!QFileInfo(partName).isFile())
            throw ZipError(ZipMessage::PartMissing, {QFile::encodeName(partName).toStdString()});
        earlier.push_back(std::make_unique<FileSource>(partName));
        parts.push_back(earlier.back().get());
    }
    parts.push_back(&last);

    DirOptions options;
    options.codePage = Settings.CodePage;
    options.useDirOnlyEntries = Settings.UseDirOnlyEntries;
    m_entries = readCentralDirectory(end, parts, options);
}

} // namespace bw::zip
