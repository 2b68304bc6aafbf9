#include "live/savedlogin.h"

#include "platform/apperror.h"
#include "platform/inifile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace bw {

namespace {

const QString kSection = QStringLiteral("Brackwell");
const QString kUser = QStringLiteral("Benutzer");
const QString kPassword = QStringLiteral("Passwort");

} // namespace

QString savedLoginFile(const QString& settingsFolder)
{
    return QDir(settingsFolder).filePath(QStringLiteral("Data.ini"));
}

SavedLogin readSavedLogin(const QString& path)
{
    IniFile ini(path);
    QString error;
    if (!ini.load(&error))
        throw AppError(QStringLiteral("Die Datei \"%1\" konnte nicht gelesen werden: %2")
                           .arg(QDir::toNativeSeparators(path), error));
    return {ini.readString(kSection, kUser), ini.readString(kSection, kPassword)};
}

void writeSavedLogin(const QString& path, const SavedLogin& login)
{
    const auto failed = [&](const QString& reason) {
        return AppError(QStringLiteral("Die Anmeldedaten konnten nicht in \"%1\" gespeichert werden: %2")
                            .arg(QDir::toNativeSeparators(path), reason));
    };
    IniFile ini(path);
    QString error;
    if (!ini.load(&error))
        throw failed(error);
    ini.writeString(kSection, kUser, login.benutzer);
    ini.writeString(kSection, kPassword, login.passwort);

    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        throw failed(QStringLiteral("Der Ordner kann nicht angelegt werden."));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw failed(file.errorString());
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) || file.write(ini.serialize()) < 0 ||
        !file.commit())
        throw failed(file.errorString());
}

} // namespace bw
