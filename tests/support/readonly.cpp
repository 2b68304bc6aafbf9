#include "support/readonly.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace bw::test {

namespace {

// A folder takes no new file; a file cannot be opened for writing.
bool refusesWrites(const QString& path)
{
    if (QFileInfo(path).isDir()) {
        QFile probe(path + QStringLiteral("/.write-probe"));
        if (!probe.open(QIODevice::WriteOnly))
            return true;
        probe.close();
        probe.remove();
        return false;
    }
    QFile file(path);
    return !file.open(QIODevice::WriteOnly | QIODevice::Append);
}

bool chattr(const QString& flag, const QString& path)
{
    return QProcess::execute(QStringLiteral("chattr"), {flag, path}) == 0;
}

const QFile::Permissions kWriteBits = QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;

} // namespace

ReadOnly::ReadOnly(QString path) : m_path(std::move(path))
{
    QFile::setPermissions(m_path, QFile::permissions(m_path) & ~kWriteBits);
    if (refusesWrites(m_path)) {
        m_ready = true;
        return;
    }
    m_immutable = chattr(QStringLiteral("+i"), m_path);
    m_ready = m_immutable && refusesWrites(m_path);
}

ReadOnly::~ReadOnly()
{
    if (m_immutable)
        chattr(QStringLiteral("-i"), m_path);
    QFile::setPermissions(m_path, QFile::permissions(m_path) | QFile::WriteOwner | QFile::WriteUser);
}

} // namespace bw::test
