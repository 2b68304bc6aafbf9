#include "zip/zaworker.h"

#include "zip/ziperror.h"
#include "zip/zipparts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

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

// The highest number k of a part name<k>.zip beside the archive's name (the
// number before the extension, as partFileName writes it). The parts below it
// are looked for one by one afterwards, so a missing one is named.
int highestNumberedPart(const QString& name)
{
    const QFileInfo archive(name);
    const QString file = archive.fileName();
    const qsizetype dot = file.lastIndexOf(u'.');
    const QString stem = dot < 0 ? file : file.left(dot);
    const QString extension = dot < 0 ? QString() : file.mid(dot);
    const QRegularExpression numbered(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(stem) + QStringLiteral("(\\d{3,})") + QRegularExpression::escape(extension)));
    int highest = 1;
    for (const QString& entry : archive.dir().entryList(QDir::Files)) {
        const QRegularExpressionMatch m = numbered.match(entry);
        if (m.hasMatch())
            highest = std::max(highest, m.captured(1).toInt());
    }
    return highest;
}

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
        if (!QFileInfo(partFileName(name, 1, 0, false)).isFile())
            return;
        numberedParts = highestNumberedPart(name);
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
