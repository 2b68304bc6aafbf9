#include "support/readonlyfolder.h"

#include <QFile>
#include <QProcess>

namespace bw::test {

namespace {

bool refusesNewFiles(const QString& folder)
{
    QFile probe(folder + QStringLiteral("/.write-probe"));
    if (!probe.open(QIODevice::WriteOnly))
        return true;
    probe.close();
    probe.remove();
    return false;
}

bool chattr(const QString& flag, const QString& path)
{
    return QProcess::execute(QStringLiteral("chattr"), {flag, path}) == 0;
}

const QFile::Permissions kWritable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

} // namespace

ReadOnlyFolder::ReadOnlyFolder(QString path) : m_path(std::move(path))
{
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ExeOwner);
    if (refusesNewFiles(m_path)) {
        m_ready = true;
        return;
    }
    m_immutable = chattr(QStringLiteral("+i"), m_path);
    m_ready = m_immutable && refusesNewFiles(m_path);
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (m_immutable)
        chattr(QStringLiteral("-i"), m_path);
    QFile::setPermissions(m_path, kWritable);
}

} // namespace bw::test
