#include "output/layoutprogram.h"

#include "platform/apperror.h"
#include "platform/apppaths.h"
#include "platform/processrunner.h"

#include <QFileInfo>

namespace bw {

std::optional<ProgramCall> LayoutProgram::find(const QStringList& arguments) const
{
    const QString folder = m_paths.programDir();
    const QFileInfo native(m_paths.programFile(QStringLiteral("Slatewright")));
    if (native.isFile() && native.isExecutable())
        return ProgramCall{native.filePath(), arguments, folder};
    const QString onPath = m_runner.findExecutable(QStringLiteral("Slatewright"));
    if (!onPath.isEmpty())
        return ProgramCall{onPath, arguments, folder};
    const QString windows = m_paths.programFile(QStringLiteral("Slatewright.exe"));
    const QString wine = m_runner.findExecutable(QStringLiteral("wine"));
    if (QFileInfo(windows).isFile() && !wine.isEmpty())
        return ProgramCall{wine, QStringList{windows} + arguments, folder};
    return std::nullopt;
}

void LayoutProgram::start(const ProgramCall& call)
{
    QString reason;
    if (!m_runner.startDetached(call.program, call.arguments, call.workingDirectory, &reason))
        throw AppError(QStringLiteral("Der Slatewright konnte nicht gestartet werden.\r%1").arg(reason));
}

QString LayoutProgram::notFoundMessage()
{
    return QStringLiteral("Der Slatewright wurde leider nicht gefunden.\r"
                          "Sie können das Programm unter %1 herunterladen.")
        .arg(kDownloadAddress);
}

} // namespace bw
