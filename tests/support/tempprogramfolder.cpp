#include "support/tempprogramfolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>

namespace bw::test {

bool copyFolder(const QString& from, const QString& to)
{
    QDir source(from);
    if (!source.exists())
        return false;
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString entry = it.next();
        const QString target = to + QLatin1Char('/') + source.relativeFilePath(entry);
        if (it.fileInfo().isDir()) {
            QDir().mkpath(target);
        } else {
            QDir().mkpath(QFileInfo(target).absolutePath());
            QFile::remove(target);
            if (!QFile::copy(entry, target))
                return false;
            QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        }
    }
    return true;
}

TempProgramFolder::TempProgramFolder(Content content)
{
    if (content == Content::Resources) {
        // The resources live in the source tree; the build folder holds a copy too.
        const QString resources = sourceDir() + QStringLiteral("/resources");
        if (QDir(resources).exists())
            copyFolder(resources, path());
    }
}

bool TempProgramFolder::write(const QString& relative, const QByteArray& content) const
{
    const QString target = file(relative);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile f(target);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size();
}

QByteArray TempProgramFolder::read(const QString& relative) const
{
    QFile f(file(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString TempProgramFolder::buildProgramDir()
{
    return QProcessEnvironment::systemEnvironment().value(QStringLiteral("BRACKWELL_PROGRAM_DIR"));
}

QString TempProgramFolder::sourceDir()
{
    return QProcessEnvironment::systemEnvironment().value(QStringLiteral("BRACKWELL_SOURCE_DIR"));
}

} // namespace bw::test
