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
                                        const QString& workingDirectory)
{
    return QProcess::startDetached(program, arguments, workingDirectory);
}

bool SystemProcessRunner::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

} // namespace bw
