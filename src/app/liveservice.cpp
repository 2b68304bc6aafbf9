#include "app/liveservice.h"

#include "platform/inifile.h"

#include <QRegularExpression>
#include <QUrl>

namespace bw {

QString defaultLiveServiceUrl()
{
    return QStringLiteral("https://live.courtcast.de/Webservice");
}

static QString normalised(const QString& text)
{
    QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty() || url.host().isEmpty())
        return QString();
    QString path = url.path();
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    if (path.isEmpty())
        path = QStringLiteral("/Webservice");
    url.setPath(path);
    url.setQuery(QString());
    url.setFragment(QString());
    return url.toString();
}

QString liveServiceUrl(const QString& settingsFile)
{
    const QString fromEnvironment = normalised(qEnvironmentVariable("BRACKWELL_LIVE_URL"));
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    if (!settingsFile.isEmpty()) {
        IniFile ini(settingsFile);
        if (ini.load()) {
            const QString fromSettings = normalised(ini.readString(QStringLiteral("Live"), QStringLiteral("URL")));
            if (!fromSettings.isEmpty())
                return fromSettings;
        }
    }
    return defaultLiveServiceUrl();
}

QStringList liveTrustedEndpoints(const QString& settingsFile)
{
    if (settingsFile.isEmpty())
        return {};
    IniFile ini(settingsFile);
    if (!ini.load())
        return {};
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    return ini.readString(QStringLiteral("Live"), QStringLiteral("Endpunkte")).split(separators, Qt::SkipEmptyParts);
}

} // namespace bw
