#include "output/printfile.h"

#include "platform/apperror.h"
#include "platform/apppaths.h"
#include "platform/germantext.h"
#include "platform/inifile.h"

#include <QDir>

#include <algorithm>

namespace bw {

namespace {

const QString kSection = QStringLiteral("Daten");

// A value stays on its line: a line break or another control character in a
// name would start a new key of the ini file.
QString oneLine(QString text)
{
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return text;
}

} // namespace

QString printFileName(PrintFileKind kind)
{
    return kind == PrintFileKind::Urkunde ? QStringLiteral("UrkundePrint.txt") : QStringLiteral("QuittungPrint.txt");
}

QStringList layoutTemplates(const AppPaths& paths, PrintFileKind kind)
{
    const QString pattern = kind == PrintFileKind::Urkunde ? QStringLiteral("*.urk") : QStringLiteral("*.qui");
    // Name filters match without regard to case, as Windows does.
    QStringList files = QDir(paths.programFile(QStringLiteral("Templates")))
                            .entryList({pattern}, QDir::Files);
    std::sort(files.begin(), files.end(), german::lessThan);
    return files;
}

void writePrintFile(const AppPaths& paths, PrintFileKind kind, const PrintFileFields& fields)
{
    const QString path = paths.programFile(printFileName(kind));
    IniFile ini(path, IniFile::Encoding::Cp1252);
    QString reason;
    if (!ini.load(&reason))
        throw AppError(QStringLiteral("Die Druckdatei \"%1\" konnte nicht gelesen werden.\r%2")
                           .arg(QDir::toNativeSeparators(path), reason));
    ini.writeString(kSection, QStringLiteral("Name"), oneLine(fields.name));
    ini.writeString(kSection, QStringLiteral("Verein"), oneLine(fields.verein));
    ini.writeString(kSection, QStringLiteral("Klasse"), oneLine(fields.klasse));
    ini.writeString(kSection, kind == PrintFileKind::Urkunde ? QStringLiteral("Platz") : QStringLiteral("Gebuhr"),
                    oneLine(fields.platzOderGebuhr));
    ini.writeString(kSection, QStringLiteral("Layout"), QStringLiteral("Templates\\") + oneLine(fields.layout));
    if (!ini.save(&reason))
        throw AppError(QStringLiteral("Die Druckdatei \"%1\" konnte nicht geschrieben werden.\r%2")
                           .arg(QDir::toNativeSeparators(path), reason));
}

} // namespace bw
