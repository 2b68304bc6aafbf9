// A throwaway program folder: a temporary directory, optionally filled with a
// copy of the build's resources (Files/, Images/), for tests that write beside
// the program or need to change a resource.
#pragma once

#include "platform/apppaths.h"

#include <QTemporaryDir>

namespace bw::test {

class TempProgramFolder {
public:
    enum class Content { Empty, Resources };
    explicit TempProgramFolder(Content content = Content::Resources);

    QString path() const { return m_dir.path(); }
    QString file(const QString& relative) const { return m_dir.filePath(relative); }
    AppPaths paths() const { return AppPaths(path(), path()); }

    // Writes a file below the folder (folders are created); false on failure.
    bool write(const QString& relative, const QByteArray& content) const;
    QByteArray read(const QString& relative) const;

    // The build's program folder (BRACKWELL_PROGRAM_DIR), where resources/ is copied.
    static QString buildProgramDir();
    // The source tree (BRACKWELL_SOURCE_DIR).
    static QString sourceDir();

private:
    QTemporaryDir m_dir;
};

// Copies a folder recursively; false when a file could not be copied.
bool copyFolder(const QString& from, const QString& to);

} // namespace bw::test
