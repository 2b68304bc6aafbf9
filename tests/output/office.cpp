#include "office.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

namespace bw::test {

QString sofficeProgram()
{
    return QStandardPaths::findExecutable(QStringLiteral("soffice"));
}

QString convertWithOffice(const QString& input, const QString& filter, const QString& extension,
                          const QString& outDir, QString* error)
{
    const QString soffice = sofficeProgram();
    if (soffice.isEmpty()) {
        *error = QStringLiteral("soffice not found");
        return {};
    }
    QTemporaryDir profile;
    if (!profile.isValid()) {
        *error = QStringLiteral("no temporary folder for the profile");
        return {};
    }
    const QString output = QDir(outDir).filePath(QFileInfo(input).completeBaseName() + QLatin1Char('.') + extension);
    QFile::remove(output);
    QProcess office;
    office.setProcessChannelMode(QProcess::MergedChannels);
    office.start(soffice, {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile.path()).toString(),
                           QStringLiteral("--headless"), QStringLiteral("--norestore"),
                           QStringLiteral("--convert-to"), filter, QStringLiteral("--outdir"), outDir, input});
    if (!office.waitForFinished(180000)) {
        office.kill();
        office.waitForFinished();
        *error = QStringLiteral("soffice did not finish: ") + QString::fromLocal8Bit(office.readAll());
        return {};
    }
    const QString log = QString::fromLocal8Bit(office.readAll());
    if (office.exitStatus() != QProcess::NormalExit || office.exitCode() != 0 || !QFileInfo(output).isFile()
        || QFileInfo(output).size() == 0) {
        *error = QStringLiteral("soffice wrote no %1 (exit %2): %3").arg(output).arg(office.exitCode()).arg(log);
        return {};
    }
    return output;
}

} // namespace bw::test
