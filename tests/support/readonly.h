// Makes a file or a folder read-only for as long as the object lives, for tests
// of a failed write: its permission bits lose the write bits, and where that
// does not hold (the tests run as root) it is made immutable with chattr.
// ready() is false when neither works here (the test should skip).
#pragma once

#include <QString>

namespace bw::test {

class ReadOnly {
public:
    explicit ReadOnly(QString path);
    ~ReadOnly();
    ReadOnly(const ReadOnly&) = delete;
    ReadOnly& operator=(const ReadOnly&) = delete;

    bool ready() const { return m_ready; }

private:
    QString m_path;
    bool m_immutable = false;
    bool m_ready = false;
};

} // namespace bw::test
