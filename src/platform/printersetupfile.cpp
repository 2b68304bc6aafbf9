#include "platform/printersetupfile.h"

#include "platform/apperror.h"
#include "platform/cp1252.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>
#include <QStringList>
#include <QtEndian>

namespace bw::PrinterSetupFile {

namespace {

const QByteArray kTag("BRKQ");
constexpr qint32 kVersion = 1;
const QString kDriver = QStringLiteral("CUPS");

// The name in Windows-1252, cut after the last whole character that fits 32 bytes.
QByteArray nameField(const QString& name)
{
    QByteArray field;
    for (const char32_t c : name.toUcs4()) {
        const QByteArray bytes = cp1252::encode(QString::fromUcs4(&c, 1));
        if (field.size() + bytes.size() > kNameField - 1)
            break;
        field += bytes;
    }
    field.append(kNameField - field.size(), '\0');
    return field;
}

QString nameOf(const QByteArray& bytes, int offset)
{
    const QByteArray field = bytes.mid(offset, kNameField);
    const qsizetype end = field.indexOf('\0');
    return cp1252::decode(end < 0 ? field : field.left(end));
}

QString number(double value)
{
    return QString::number(value, 'g', 10);
}

QByteArray blockOf(const PrinterSettings& s)
{
    const QStringList lines{
        QStringLiteral("printer=") + s.printerName,
        QStringLiteral("pagesize=") + QString::number(s.pageSizeId),
        QStringLiteral("pagemm=") + number(s.pageWidthMm) + QLatin1Char('x') + number(s.pageHeightMm),
        QStringLiteral("orientation=") + (s.landscape ? QStringLiteral("landscape") : QStringLiteral("portrait")),
        QStringLiteral("margins=") + number(s.marginLeftMm) + QLatin1Char(',') + number(s.marginTopMm) +
            QLatin1Char(',') + number(s.marginRightMm) + QLatin1Char(',') + number(s.marginBottomMm),
        QStringLiteral("duplex=") + QString::number(s.duplex),
        QStringLiteral("copies=") + QString::number(s.copies),
        QStringLiteral("colour=") + QString::number(s.colour ? 1 : 0),
        QStringLiteral("source=") + QString::number(s.paperSource),
        QStringLiteral("resolution=") + QString::number(s.resolution),
    };
    QByteArray block = kTag;
    block.append(4, '\0');
    qToLittleEndian<qint32>(kVersion, block.data() + 4);
    for (const QString& line : lines) {
        QString clean = line;
        clean.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
        block += clean.toUtf8() + '\n';
    }
    return block;
}

// Numbers of a value split at `separator`; false when one is not a number or
// their count differs.
bool numbers(const QString& value, QChar separator, QList<double*> targets)
{
    const QStringList parts = value.split(separator);
    if (parts.size() != targets.size())
        return false;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        bool ok = false;
        const double v = parts.at(i).trimmed().toDouble(&ok);
        if (!ok)
            return false;
        *targets[i] = v;
    }
    return true;
}

bool integer(const QString& value, int& target)
{
    bool ok = false;
    const int v = value.trimmed().toInt(&ok);
    if (ok)
        target = v;
    return ok;
}

// Our block's settings; false when a known setting does not read.
bool readBlock(const QByteArray& block, PrinterSettings& s)
{
    const QStringList lines = QString::fromUtf8(block.mid(8)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = line.left(eq);
        const QString value = line.mid(eq + 1);
        bool ok = true;
        if (key == QLatin1String("printer")) {
            s.printerName = value;
        } else if (key == QLatin1String("pagesize")) {
            ok = integer(value, s.pageSizeId);
        } else if (key == QLatin1String("pagemm")) {
            ok = numbers(value, QLatin1Char('x'), {&s.pageWidthMm, &s.pageHeightMm});
        } else if (key == QLatin1String("orientation")) {
            ok = value == QLatin1String("portrait") || value == QLatin1String("landscape");
            s.landscape = value == QLatin1String("landscape");
        } else if (key == QLatin1String("margins")) {
            ok = numbers(value, QLatin1Char(','),
                         {&s.marginLeftMm, &s.marginTopMm, &s.marginRightMm, &s.marginBottomMm});
        } else if (key == QLatin1String("duplex")) {
            ok = integer(value, s.duplex);
        } else if (key == QLatin1String("copies")) {
            ok = integer(value, s.copies);
        } else if (key == QLatin1String("colour")) {
            int colour = 1;
            ok = integer(value, colour);
            s.colour = colour != 0;
        } else if (key == QLatin1String("source")) {
            ok = integer(value, s.paperSource);
        } else if (key == QLatin1String("resolution")) {
            ok = integer(value, s.resolution);
        }
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

QString damagedMessage(const QString& path)
{
    return QStringLiteral("Die Druckereinstellungen in %1 sind beschädigt.").arg(QFileInfo(path).fileName());
}

QByteArray encode(const PrinterSettings& settings)
{
    const QByteArray block = blockOf(settings);
    QByteArray bytes = nameField(settings.printerName) + nameField(kDriver) + nameField(QString());
    bytes.append('\0'); // reserved
    bytes.append(4, '\0');
    qToLittleEndian<qint32>(qint32(block.size()), bytes.data() + 100);
    return bytes + block;
}

PrinterSetup decode(const QByteArray& bytes, const QString& fileName)
{
    if (bytes.size() < kRecordSize)
        throw AppError(damagedMessage(fileName));
    const qint32 n = qFromLittleEndian<qint32>(bytes.constData() + 100);
    if (n < 0 || n > kMaxBlock || bytes.size() < kRecordSize + qsizetype(n))
        throw AppError(damagedMessage(fileName));
    PrinterSetup setup;
    setup.device = nameOf(bytes, 0);
    setup.driver = nameOf(bytes, kNameField);
    setup.port = nameOf(bytes, 2 * kNameField);
    setup.settings.printerName = setup.device;
    const QByteArray block = bytes.mid(kRecordSize, n);
    if (block.size() >= 8 && block.startsWith(kTag)) {
        if (!readBlock(block, setup.settings))
            throw AppError(damagedMessage(fileName));
        setup.complete = true;
    }
    return setup;
}

void save(const QString& path, const PrinterSettings& settings)
{
    QSaveFile file(path);
    const QByteArray bytes = encode(settings);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw AppError(QStringLiteral("Die Druckereinstellungen konnten nicht in %1 gespeichert werden: %2")
                           .arg(QFileInfo(path).fileName(), file.errorString()));
}

std::optional<PrinterSetup> load(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Die Druckereinstellungen in %1 konnten nicht gelesen werden: %2")
                           .arg(QFileInfo(path).fileName(), file.errorString()));
    // Never more than the largest record and block a sound file has.
    return decode(file.read(kRecordSize + kMaxBlock), path);
}

} // namespace bw::PrinterSetupFile
