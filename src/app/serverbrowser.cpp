#include "app/serverbrowser.h"

#include "platform/inifile.h"

#include <QDir>
#include <QFileInfo>

namespace bw {

namespace {
const QString kSection = QStringLiteral("Server");

QString key(int i)
{
    return QStringLiteral("Name%1").arg(i + 1);
}
} // namespace

ServerBrowser::ServerBrowser(QString settingsFile, QString thisComputer)
    : m_settingsFile(std::move(settingsFile)), m_thisComputer(std::move(thisComputer))
{
}

QString ServerBrowser::cleanName(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char(' ') || c == QLatin1Char('/') || c == QLatin1Char('\'')
            || c == QLatin1Char('"'))
            continue;
        out.append(c);
    }
    return out;
}

QStringList ServerBrowser::remembered() const
{
    QStringList names;
    IniFile ini(m_settingsFile);
    if (m_settingsFile.isEmpty() || !ini.load())
        return names;
    for (int i = 0; i < kRemembered; ++i) {
        const QString name = cleanName(ini.readString(kSection, key(i)));
        if (!name.isEmpty() && !names.contains(name, Qt::CaseInsensitive))
            names.append(name);
    }
    return names;
}

QStringList ServerBrowser::servers() const
{
    QStringList list;
    if (!m_thisComputer.isEmpty())
        list.append(m_thisComputer);
    for (const QString& name : remembered()) {
        if (!list.contains(name, Qt::CaseInsensitive))
            list.append(name);
    }
    return list;
}

void ServerBrowser::remember(const QString& server)
{
    const QString name = cleanName(server);
    if (name.isEmpty() || m_settingsFile.isEmpty())
        return;
    QStringList names = remembered();
    names.removeIf([&](const QString& n) { return n.compare(name, Qt::CaseInsensitive) == 0; });
    names.prepend(name);
    while (names.size() > kRemembered)
        names.removeLast();

    IniFile ini(m_settingsFile);
    if (!ini.load())
        return;
    ini.eraseSection(kSection);
    for (int i = 0; i < names.size(); ++i)
        ini.writeString(kSection, key(i), names.at(i));
    QDir().mkpath(QFileInfo(m_settingsFile).absolutePath());
    ini.save();
}

} // namespace bw
