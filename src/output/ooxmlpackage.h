// Office Open XML packages (.docx, .xlsx): zip archives whose parts are XML
// files, built and read in memory with libzip.
//
// Reading takes outside input, so it is bounded: the archive is opened with
// libzip's consistency check (central directory against local headers), a part
// is read through libzip (which checks its CRC) and refused once it grows past
// kMaxPartSize uncompressed, whatever its header claims. XML parsed from a part
// must refuse a document type declaration (checkOutsideXml), so no entity is
// ever declared and no external entity is ever named.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

class QXmlStreamReader;

typedef struct zip zip_t;

namespace bw {

// The largest part, uncompressed, and the largest package a reader takes.
inline constexpr qint64 kMaxPartSize = qint64(64) * 1024 * 1024;
inline constexpr qint64 kMaxPackageSize = qint64(64) * 1024 * 1024;

// Collects the parts and builds the archive, deflated, in the order added.
class OoxmlPackageWriter {
public:
    void addPart(const QString& name, const QByteArray& data);
    // The archive's bytes. Throws AppError when libzip fails.
    QByteArray finish() const;

private:
    QList<std::pair<QString, QByteArray>> m_parts;
};

// A package held in memory. Part names are matched without regard to case, as
// the package format wants.
class OoxmlPackageReader {
public:
    // Throws AppError (German) when the bytes are no readable zip archive.
    explicit OoxmlPackageReader(QByteArray data);
    ~OoxmlPackageReader();
    OoxmlPackageReader(const OoxmlPackageReader&) = delete;
    OoxmlPackageReader& operator=(const OoxmlPackageReader&) = delete;

    QStringList partNames() const;
    bool hasPart(const QString& name) const;
    // The part's bytes. Throws AppError when it is missing, damaged or larger
    // than `limit`.
    QByteArray part(const QString& name, qint64 limit = kMaxPartSize) const;
    // The part the package's relationships name as its main document
    // ("officeDocument"), without a leading "/"; `fallback` when none is named.
    QString mainDocument(const QString& fallback) const;

private:
    QByteArray m_data;
    zip_t* m_zip = nullptr;
};

// Call after every readNext() of a reader over outside XML: throws AppError when
// the reader stands on a document type declaration or has failed.
void checkOutsideXml(const QXmlStreamReader& xml, const QString& partName);

} // namespace bw
