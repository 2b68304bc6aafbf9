#include "platform/processrunner.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

namespace bw {

QString ProcessRunner::findExecutable(const QString& name) const
{
    return QStandardPaths::findExecutable(name);
}

bool SystemProcessRunner::startDetached(const QString& program, const QStringList& arguments,
                                        const QString& workingDirectory, QString* error)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingDirectory);
    if (process.startDetached())
        return true;
    if (error)
        *error = process.errorString();
    return false;
}

bool SystemProcessRunner::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

} // namespace bw
