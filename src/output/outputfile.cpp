#include "output/outputfile.h"

#include "platform/apperror.h"
#include "platform/apppaths.h"
#include "platform/services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace bw {

namespace {

// Far more files of one list and second than anyone makes; stops a loop on a
// folder where every rename fails as if the name were taken.
constexpr int kMaxNameAttempts = 1000;

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QString excelExportFolder(const AppPaths& paths)
{
    return paths.dataFile(QStringLiteral("ExportExcel"));
}

OutputFile::OutputFile(const QString& folder, const QString& list, const QDateTime& time, const QString& suffix)
    : m_folder(folder), m_stem(list + QLatin1Char('_') + time.toString(QStringLiteral("yyyyMMdd-hhmmss"))),
      m_suffix(suffix)
{
    if (!QDir().mkpath(m_folder))
        throw AppError(QStringLiteral("Der Ordner \"%1\" konnte nicht angelegt werden.").arg(nativePath(m_folder)));
    // A hidden name of its own, made with O_EXCL: no other run writes into it.
    for (int attempt = 1; attempt <= kMaxNameAttempts; ++attempt) {
        const QString name = QStringLiteral(".%1.%2.%3.part").arg(m_stem, m_suffix).arg(attempt);
        QFile file(QDir(m_folder).filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            m_temporary = file.fileName();
            return;
        }
        if (!file.exists())
            throw AppError(QStringLiteral("Im Ordner \"%1\" kann keine Datei angelegt werden: %2")
                               .arg(nativePath(m_folder), file.errorString()));
    }
    throw AppError(QStringLiteral("Im Ordner \"%1\" kann keine Datei angelegt werden.").arg(nativePath(m_folder)));
}

OutputFile::~OutputFile()
{
    if (!m_committed && !m_temporary.isEmpty())
        QFile::remove(m_temporary);
}

QString OutputFile::commit()
{
    const QDir folder(m_folder);
    for (int n = 1; n <= kMaxNameAttempts; ++n) {
        const QString name = n == 1 ? QStringLiteral("%1.%2").arg(m_stem, m_suffix)
                                    : QStringLiteral("%1-%2.%3").arg(m_stem).arg(n).arg(m_suffix);
        const QString path = folder.filePath(name);
        if (QFileInfo::exists(path))
            continue;
        // QFile::rename never replaces an existing file; a name taken meanwhile
        // makes it fail, and the next name is tried.
        QFile file(m_temporary);
        if (file.rename(path)) {
            m_committed = true;
            return path;
        }
        if (!QFileInfo::exists(path))
            throw AppError(QStringLiteral("Die Datei \"%1\" konnte nicht angelegt werden: %2")
                               .arg(nativePath(path), file.errorString()));
    }
    throw AppError(QStringLiteral("Im Ordner \"%1\" ist kein freier Name für \"%2\".")
                       .arg(nativePath(m_folder), m_stem));
}

void openOutputFile(Services& services, const QString& path)
{
    if (!services.runner.openUrl(QUrl::fromLocalFile(path)))
        services.prompter.information(
            QStringLiteral("Die Datei wurde erzeugt, konnte aber nicht geöffnet werden:\r%1").arg(nativePath(path)));
}

} // namespace bw
