// The computers that may run the tournament database server, offered in the
// dialog "PCs im Netzwerk": this computer first, then the servers the user chose
// before (kept in the per-user settings file, most recent first). There is no
// network walk: the user can type any host name.
#pragma once

#include <QString>
#include <QStringList>

namespace bw {

class ServerBrowser {
public:
    // settingsFile: the per-user ini file; thisComputer: the local host name.
    ServerBrowser(QString settingsFile, QString thisComputer);

    // This computer, then the remembered servers without repeats.
    QStringList servers() const;
    // Remembers a server after it was reached; it moves to the front of the
    // remembered ones. Failures to write the settings file are not fatal.
    void remember(const QString& server);

    // What is left of a typed or listed name: backslashes, blanks, slashes,
    // apostrophes and double quotes are removed ("\\\\PC 1/" gives "PC1").
    static QString cleanName(const QString& text);

    static constexpr int kRemembered = 10;

private:
    QStringList remembered() const;
    QString m_settingsFile;
    QString m_thisComputer;
};

} // namespace bw
