#include "support/fakeservices.h"

#include <QDir>
#include <QProcessEnvironment>

namespace bw::test {

QString FakeFileDialogs::next(Call call)
{
    m_calls.append(std::move(call));
    return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
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
