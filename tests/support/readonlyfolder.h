// Makes a folder refuse new files for as long as the object lives, for tests of
// a failed write: its permission bits become read-only, and where that does not
// hold (the tests run as root) the folder is made immutable with chattr.
// ready() is false when neither works here (the test should skip).
#pragma once

#include <QString>

namespace bw::test {

class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(QString path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool ready() const { return m_ready; }

private:
    QString m_path;
    bool m_immutable = false;
    bool m_ready = false;
};

} // namespace bw::test
