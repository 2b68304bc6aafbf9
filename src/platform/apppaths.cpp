#include "platform/apppaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace bw {

namespace {

bool folderIsWritable(const QString& dir)
{
    // QFileInfo::isWritable only reads permission bits; a read-only mount or an
    // ACL says otherwise, so try to create a file.
    QTemporaryFile probe(dir + QStringLiteral("/.brackwell-write-probe-XXXXXX"));
    return probe.open();
}

} // namespace

AppPaths::AppPaths(QString programDir, QString dataDir)
    : m_programDir(QDir::cleanPath(std::move(programDir))), m_dataDir(QDir::cleanPath(std::move(dataDir)))
{
}

AppPaths AppPaths::forApplication()
{
    QString program = qEnvironmentVariable("BRACKWELL_PROGRAM_DIR");
    if (program.isEmpty())
        program = QCoreApplication::applicationDirPath();
    QString data = program;
    if (!folderIsWritable(program)) {
        data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QDir().mkpath(data);
    }
    return AppPaths(program, data);
}

QString AppPaths::resolve(const QString& base, const QString& relative)
{
    QString path = QDir::cleanPath(base);
    const auto parts = QString(relative).replace(QLatin1Char('\\'), QLatin1Char('/'))
                           .split(QLatin1Char('/'), Qt::SkipEmptyParts);
    bool searching = true;
    for (const QString& part : parts) {
        QString next = part;
        if (searching && !QFileInfo::exists(path + QLatin1Char('/') + part)) {
            QDir dir(path);
            const auto entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            searching = false;
            for (const QString& entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    next = entry;
                    searching = true;
                    break;
                }
            }
        }
        path += QLatin1Char('/') + next;
    }
    return path;
}

QString AppPaths::programFile(const QString& relative) const
{
    return resolve(m_programDir, relative);
}

QString AppPaths::dataFile(const QString& relative) const
{
    return resolve(m_dataDir, relative);
}

} // namespace bw
