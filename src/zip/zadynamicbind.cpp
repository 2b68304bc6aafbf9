#include "zip/zadynamicbind.h"

#include "zip/ziperror.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QCursor>
#include <QGuiApplication>
#include <QThread>

#include <cerrno>
#include <dlfcn.h>

namespace bw::zip {

namespace {

// The hourglass while the library loads, only on the user-interface thread.
class WaitCursor {
public:
    WaitCursor()
        : m_on(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
               && QThread::currentThread() == QCoreApplication::instance()->thread())
    {
        if (m_on)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~WaitCursor()
    {
        if (m_on)
            QGuiApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool m_on;
};

template <class F>
bool lookUp(void* handle, const char* name, F*& fn)
{
    fn = reinterpret_cast<F*>(dlsym(handle, name));
    return fn != nullptr;
}

std::string local(const QString& s) { return s.toLocal8Bit().toStdString(); }

} // namespace

TZADynamicBind::~TZADynamicBind()
{
    if (isLoaded()) {
        if (m_abort)
            m_abort();
        unloadLib(false);
    }
}

QString TZADynamicBind::libraryFile() const
{
    const QString name = QStringLiteral(ZL_LIBRARY_NAME);
    QString dir = Settings.DLLDirectory;
    if (dir.isEmpty())
        return name;
    dir.replace(u'\\', u'/');
    if (dir.startsWith(u'.')) {
        const QString programDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                                : QDir::currentPath();
        dir = programDir + u'/' + dir;
    }
    const QString file = QDir::cleanPath(dir + u'/' + name);
    return QFileInfo::exists(file) ? file : name;
}

void TZADynamicBind::keepLoaded(LoadReason reason, bool keep)
{
    if (keep) {
        if (!isLoaded())
            loadLib();
        m_reasons.include(reason);
    } else {
        m_reasons.exclude(reason);
        if (m_reasons.empty() && isLoaded())
            unloadLib(true);
    }
}

void TZADynamicBind::loadLib()
{
    WaitCursor wait;
    const QString file = libraryFile();
    errno = 0;
    m_handle = dlopen(QFile::encodeName(file).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        const int code = errno;
        const char* why = dlerror();
        if (Settings.Verbose || Settings.Trace)
            report(QString::fromStdString(messageText(ZipMessage::LibraryLoadError, {std::to_string(code), why ? why : "", local(file)})));
        throw ZipError(ZipMessage::LibraryNotLoaded, {local(file)});
    }

    // Each entry point is looked up only when the one before was found.
    if (lookUp(m_handle, "ZL_UnzExec", m_unzExec) && lookUp(m_handle, "ZL_ZipExec", m_zipExec)
        && lookUp(m_handle, "ZL_Version", m_versionFunc) && lookUp(m_handle, "ZL_PrivVersion", m_privVersionFunc)
        && lookUp(m_handle, "ZL_Abort", m_abort) && lookUp(m_handle, "ZL_Path", m_pathFunc)) {
        m_privVersion = m_privVersionFunc();
        m_version = m_versionFunc();
        const char* path = m_pathFunc();
        m_path = path ? QString::fromLocal8Bit(path) : file;
    }
    if (m_version < ZL_MIN_VERSION || m_version > ZL_MAX_VERSION) {
        dlclose(m_handle);
        forget();
        throw ZipError(ZipMessage::LibraryUnusable, {local(file)});
    }
    if (Settings.Verbose)
        report(QString::fromStdString(messageText(ZipMessage::LibraryLoaded, {local(m_path)})));
}

void TZADynamicBind::unloadLib(bool withReport)
{
    if (withReport && Settings.Verbose)
        report(QString::fromStdString(messageText(ZipMessage::LibraryUnloaded, {local(m_path)})));
    dlclose(m_handle);
    forget();
}

void TZADynamicBind::forget()
{
    m_handle = nullptr;
    m_unzExec = nullptr;
    m_zipExec = nullptr;
    m_versionFunc = nullptr;
    m_privVersionFunc = nullptr;
    m_abort = nullptr;
    m_pathFunc = nullptr;
    m_version = 0;
    m_privVersion = 0;
}

} // namespace bw::zip
