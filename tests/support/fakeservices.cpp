#include "support/fakeservices.h"

#include <QDir>
#include <QProcessEnvironment>

namespace bw::test {

QString FakeFileDialogs::next(Call call)
{
    m_calls.append(std::move(call));
    if (m_answers.isEmpty())
        return QString();
    m_fileTypes.takeFirst();
    return m_answers.takeFirst();
}

QString FakeFileDialogs::openFileOfType(QWidget*, const QString& caption, const QString& dir, const QString& filters,
                                        QString* selectedFilter)
{
    const QString fileType = m_fileTypes.isEmpty() ? QString() : m_fileTypes.first();
    const QString path = next({QStringLiteral("open"), caption, dir, filters});
    if (!fileType.isEmpty() && selectedFilter)
        *selectedFilter = fileType;
    return path;
}

QString FakeFileDialogs::openFile(QWidget*, const QString& caption, const QString& dir, const QString& filter)
{
    return next({QStringLiteral("open"), caption, dir, filter});
}

QString FakeFileDialogs::saveFile(QWidget*, const QString& caption, const QString& dir, const QString& filter)
{
    return next({QStringLiteral("save"), caption, dir, filter});
}

QString FakeFileDialogs::chooseFile(QWidget*, const QString& caption, const QString& dir, const QString& filter)
{
    return next({QStringLiteral("choose"), caption, dir, filter});
}

QString FakeFileDialogs::directory(QWidget*, const QString& caption, const QString& dir)
{
    return next({QStringLiteral("directory"), caption, dir, QString()});
}

bool FakeProcessRunner::startDetached(const QString& program, const QStringList& arguments,
                                      const QString& workingDirectory, QString* error)
{
    started.append({program, arguments, workingDirectory});
    if (!succeed && error)
        *error = failure;
    return succeed;
}

bool FakeProcessRunner::openUrl(const QUrl& url)
{
    opened.append(url);
    return succeed;
}

QString FakeProcessRunner::findExecutable(const QString& name) const
{
    return executablesOnPath.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
}

static QString defaultProgramDir()
{
    return QProcessEnvironment::systemEnvironment().value(QStringLiteral("BRACKWELL_PROGRAM_DIR"),
                                                          QDir::currentPath());
}

FakeServices::FakeServices(const QString& programDir, const QString& dataDir)
    : services{prompter, files, clock, random, runner,
               AppPaths(programDir.isEmpty() ? defaultProgramDir() : programDir,
                        dataDir.isEmpty() ? (programDir.isEmpty() ? defaultProgramDir() : programDir) : dataDir)}
{
}

} // namespace bw::test
