#include "app/usersettings.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace bw {

QString userSettingsFile()
{
    const QString overridden = qEnvironmentVariable("BRACKWELL_SETTINGS");
    if (!overridden.isEmpty())
        return overridden;
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/brackwell.ini");
}

QString userSettingsFolder()
{
    return QFileInfo(userSettingsFile()).absolutePath();
}

} // namespace bw
