// Where the program finds its files. The program folder holds the executable, the
// resources (Files/, Images/) and what the layout program shares with it (its
// templates in Templates/, the print files); the data folder holds what the
// program writes (the default database, the printer set-ups, the exports) and is
// the program folder when that is writable, else the per-user data folder.
#pragma once

#include <QString>

namespace bw {

class AppPaths {
public:
    // Program folder = the executable's folder; data folder decided as above.
    static AppPaths forApplication();
    // Both folders given (tests, or a program folder chosen by the environment).
    AppPaths(QString programDir, QString dataDir);

    const QString& programDir() const { return m_programDir; }
    const QString& dataDir() const { return m_dataDir; }

    // A file below the program folder. The relative path may use "\" or "/" and
    // any letter case for existing entries ("Images\GreyDot.gif" finds
    // images/greydot.gif); entries that do not exist keep the case given.
    QString programFile(const QString& relative) const;
    QString dataFile(const QString& relative) const;

    // Resolves a relative path below a base folder case-insensitively, as above.
    static QString resolve(const QString& base, const QString& relative);

private:
    QString m_programDir;
    QString m_dataDir;
};

} // namespace bw
