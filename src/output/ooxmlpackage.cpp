#include "output/ooxmlpackage.h"

#include "platform/apperror.h"

#include <QXmlStreamReader>

#include <zip.h>

#include <algorithm>
#include <memory>

namespace bw {

namespace {

// What went wrong, in German: libzip's own texts are English.
QString libzipText(int code)
{
    switch (code) {
    case ZIP_ER_MULTIDISK: return QStringLiteral("das Archiv ist über mehrere Datenträger verteilt");
    case ZIP_ER_EOF: return QStringLiteral("die Datei endet vorzeitig");
    case ZIP_ER_SEEK:
    case ZIP_ER_READ:
    case ZIP_ER_TELL: return QStringLiteral("die Daten konnten nicht gelesen werden");
    case ZIP_ER_WRITE: return QStringLiteral("die Daten konnten nicht geschrieben werden");
    case ZIP_ER_CRC: return QStringLiteral("die Prüfsumme eines Teils stimmt nicht");
    case ZIP_ER_ZLIB:
    case ZIP_ER_COMPRESSED_DATA: return QStringLiteral("die gepackten Daten eines Teils sind fehlerhaft");
    case ZIP_ER_MEMORY: return QStringLiteral("der Speicher reicht nicht aus");
    case ZIP_ER_COMPNOTSUPP: return QStringLiteral("ein Teil ist mit einem unbekannten Verfahren gepackt");
    case ZIP_ER_NOZIP: return QStringLiteral("das Inhaltsverzeichnis des Archivs fehlt");
    case ZIP_ER_INCONS: return QStringLiteral("das Inhaltsverzeichnis passt nicht zu den Einträgen");
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD: return QStringLiteral("ein Teil ist verschlüsselt");
    default: return QStringLiteral("Fehler %1 beim Lesen des Archivs").arg(code);
    }
}

QString libzipText(zip_error_t* error)
{
    return libzipText(zip_error_code_zip(error));
}

// Whether bytes are meant to be a zip archive, however damaged: they begin
// with an entry's header or end in the archive's end record (within the
// longest comment after it).
bool looksLikeZip(const QByteArray& data)
{
    if (data.startsWith("PK\x03\x04"))
        return true;
    const qsizetype tail = std::min<qsizetype>(data.size(), 22 + 65535);
    return data.right(tail).contains("PK\x05\x06");
}

[[noreturn]] void damaged(const QString& detail)
{
    throw AppError(QStringLiteral("Die Datei ist beschädigt und kann nicht gelesen werden (%1).").arg(detail));
}

struct SourceFree {
    void operator()(zip_source_t* source) const { zip_source_free(source); }
};
using SourcePtr = std::unique_ptr<zip_source_t, SourceFree>;

struct FileClose {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using FilePtr = std::unique_ptr<zip_file_t, FileClose>;

// The whole content of a source that libzip has written into.
QByteArray sourceBytes(zip_source_t* source)
{
    if (zip_source_open(source) < 0)
        throw AppError(QStringLiteral("Das Dokument konnte nicht zusammengestellt werden (%1).")
                           .arg(libzipText(zip_source_error(source))));
    QByteArray bytes;
    char buffer[65536];
    zip_int64_t n;
    while ((n = zip_source_read(source, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, qsizetype(n));
    const bool failed = n < 0;
    zip_source_close(source);
    if (failed)
        throw AppError(QStringLiteral("Das Dokument konnte nicht zusammengestellt werden (%1).")
                           .arg(libzipText(zip_source_error(source))));
    return bytes;
}

} // namespace

void OoxmlPackageWriter::addPart(const QString& name, const QByteArray& data)
{
    m_parts.append({name, data});
}

QByteArray OoxmlPackageWriter::finish() const
{
    const auto fail = [](const QString& detail) {
        return AppError(QStringLiteral("Das Dokument konnte nicht zusammengestellt werden (%1).").arg(detail));
    };
    zip_error_t error;
    zip_error_init(&error);
    SourcePtr target(zip_source_buffer_create(nullptr, 0, 0, &error));
    if (!target) {
        const QString text = libzipText(&error);
        zip_error_fini(&error);
        throw fail(text);
    }
    zip_t* archive = zip_open_from_source(target.get(), ZIP_TRUNCATE, &error);
    if (!archive) {
        const QString text = libzipText(&error);
        zip_error_fini(&error);
        throw fail(text);
    }
    zip_error_fini(&error);
    // zip_close() releases the archive's hold on the target; keep it for reading.
    zip_source_keep(target.get());
    for (const auto& [name, data] : m_parts) {
        zip_source_t* part = zip_source_buffer(archive, data.constData(), zip_uint64_t(data.size()), 0);
        if (!part || zip_file_add(archive, name.toUtf8().constData(), part, ZIP_FL_ENC_UTF_8) < 0) {
            const QString text = libzipText(zip_get_error(archive));
            if (part)
                zip_source_free(part);
            zip_discard(archive);
            throw fail(text);
        }
    }
    if (zip_close(archive) < 0) {
        const QString text = libzipText(zip_get_error(archive));
        zip_discard(archive);
        throw fail(text);
    }
    return sourceBytes(target.get());
}

OoxmlPackageReader::OoxmlPackageReader(QByteArray data) : m_data(std::move(data))
{
    if (m_data.size() > kMaxPackageSize)
        throw AppError(QStringLiteral("Die Datei ist größer als %1 MiB und wird nicht gelesen.")
                           .arg(kMaxPackageSize / (1024 * 1024)));
    zip_error_t error;
    zip_error_init(&error);
    SourcePtr source(zip_source_buffer_create(m_data.constData(), zip_uint64_t(m_data.size()), 0, &error));
    if (source)
        m_zip = zip_open_from_source(source.get(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!m_zip) {
        const int code = zip_error_code_zip(&error);
        const QString text = libzipText(&error);
        zip_error_fini(&error);
        if (code == ZIP_ER_NOZIP && !looksLikeZip(m_data))
            throw AppError(QStringLiteral("Die Datei ist kein Office-Dokument (kein Zip-Archiv)."));
        damaged(text);
    }
    zip_error_fini(&error);
    source.release(); // the archive owns it now
}

OoxmlPackageReader::~OoxmlPackageReader()
{
    zip_discard(m_zip);
}

QStringList OoxmlPackageReader::partNames() const
{
    QStringList names;
    const zip_int64_t count = zip_get_num_entries(m_zip, 0);
    for (zip_int64_t i = 0; i < count; ++i)
        if (const char* name = zip_get_name(m_zip, zip_uint64_t(i), 0))
            names << QString::fromUtf8(name);
    return names;
}

bool OoxmlPackageReader::hasPart(const QString& name) const
{
    return zip_name_locate(m_zip, name.toUtf8().constData(), ZIP_FL_NOCASE) >= 0;
}

QByteArray OoxmlPackageReader::part(const QString& name, qint64 limit) const
{
    const zip_int64_t index = zip_name_locate(m_zip, name.toUtf8().constData(), ZIP_FL_NOCASE);
    if (index < 0)
        throw AppError(QStringLiteral("Der Teil „%1“ fehlt in der Datei.").arg(name));
    FilePtr file(zip_fopen_index(m_zip, zip_uint64_t(index), 0));
    if (!file) {
        const int code = zip_error_code_zip(zip_get_error(m_zip));
        if (code == ZIP_ER_NOPASSWD || code == ZIP_ER_ENCRNOTSUPP)
            throw AppError(QStringLiteral("Die Datei ist verschlüsselt und kann nicht gelesen werden."));
        damaged(libzipText(code));
    }
    // Read one byte beyond the limit: the size in the headers is not trusted.
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const zip_int64_t n = zip_fread(file.get(), buffer, sizeof buffer);
        if (n < 0)
            damaged(libzipText(zip_file_get_error(file.get())));
        if (n == 0)
            break;
        if (bytes.size() + n > limit)
            throw AppError(QStringLiteral("Der Teil „%1“ ist entpackt größer als %2 MiB und wird nicht gelesen.")
                               .arg(name)
                               .arg(limit / (1024 * 1024)));
        bytes.append(buffer, qsizetype(n));
    }
    return bytes;
}

QString OoxmlPackageReader::mainDocument(const QString& fallback) const
{
    const QString relsName = QStringLiteral("_rels/.rels");
    if (!hasPart(relsName))
        return fallback;
    QXmlStreamReader xml(part(relsName));
    while (!xml.atEnd()) {
        xml.readNext();
        checkOutsideXml(xml, relsName);
        if (xml.isStartElement() && xml.name() == QLatin1String("Relationship")
            && xml.attributes().value(QLatin1String("Type")).endsWith(QLatin1String("/officeDocument"))) {
            QString target = xml.attributes().value(QLatin1String("Target")).toString();
            while (target.startsWith(QLatin1Char('/')))
                target.remove(0, 1);
            if (!target.isEmpty())
                return target;
        }
    }
    return fallback;
}

void checkOutsideXml(const QXmlStreamReader& xml, const QString& partName)
{
    if (xml.tokenType() == QXmlStreamReader::DTD)
        throw AppError(QStringLiteral("Der Teil „%1“ enthält eine Dokumenttyp-Deklaration und wird nicht gelesen.")
                           .arg(partName));
    if (xml.hasError())
        throw AppError(QStringLiteral("Der Teil „%1“ ist kein gültiges XML (Zeile %2, Spalte %3: %4).")
                           .arg(partName)
                           .arg(xml.lineNumber())
                           .arg(xml.columnNumber())
                           .arg(xml.errorString()));
}

} // namespace bw
