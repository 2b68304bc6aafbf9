#include "zip/ziparc.h"

#include "zip/ziperror.h"
#include "zip/zipdialogbox.h"

#include <QWidget>

namespace bw::zip {

void TZACore::report(const QString& text)
{
    m_owner.message(0, text);
}

TCustomZipArchiver::TCustomZipArchiver(QObject* owner, Creation creation)
    : QObject(owner), m_loading(creation == Creation::WhileLoading), m_worker(std::make_unique<TZAWorker>(*this))
{
    m_sfx = std::make_unique<TZipSFX>();
    if (!m_loading && m_active)
        activate();
}

// The worker stops and frees its directory; its binding asks a loaded library
// to abort and unloads it. Nothing is reported: the owner is being freed.
TCustomZipArchiver::~TCustomZipArchiver() = default;

void TCustomZipArchiver::Loaded()
{
    m_loading = false;
    // Language: this system has no message tables but the built-in one.
    if (m_active)
        activate();
    else
        m_worker->setActive(false);
}

void TCustomZipArchiver::setActive(bool active)
{
    m_active = active;
    if (m_loading)
        return;
    if (active)
        activate();
    else
        m_worker->setActive(false);
}

// Copies the settings into the worker and carries out what waited for the
// component to become active: the library's loaded state and the directory.
void TCustomZipArchiver::activate()
{
    m_worker->Settings = m_settings;
    m_worker->setActive(true);
    if (m_dllLoadWanted != m_worker->isLoaded())
        guarded([&] { m_worker->keepLoaded(LoadReason::Dll_Load, m_dllLoadWanted); });
    if (!m_settings.ZipFileName.isEmpty())
        readDirectory();
}

void TCustomZipArchiver::settingsChanged()
{
    if (m_worker->isActive())
        m_worker->Settings = m_settings;
}

void TCustomZipArchiver::setPasswordReqCount(uint32_t count)
{
    m_settings.PasswordReqCount = std::min<uint32_t>(count, 15);
    settingsChanged();
}

bool TCustomZipArchiver::Dll_Load() const
{
    return m_loading ? m_dllLoadWanted : m_worker->isLoaded();
}

void TCustomZipArchiver::setDll_Load(bool load)
{
    m_dllLoadWanted = load;
    if (m_loading || !m_worker->isActive())
        return;
    guarded([&] { m_worker->keepLoaded(LoadReason::Dll_Load, load); });
}

void TCustomZipArchiver::setZipFileName(const QString& name)
{
    m_settings.ZipFileName = name;
    settingsChanged();
    if (m_worker->isActive())
        readDirectory();
}

void TCustomZipArchiver::readDirectory()
{
    guarded([&] { m_worker->readDirectory(); });
    const auto& entries = m_worker->entries();
    for (size_t i = 0; i < entries.size(); ++i)
        if (OnNewName)
            OnNewName(*this, int(i), entries[i]);
    if (OnDirUpdate)
        OnDirUpdate(*this);
}

template <class F>
void TCustomZipArchiver::guarded(F&& step)
{
    try {
        step();
    } catch (const ZipError& e) {
        showError(e.id(), QString::fromStdString(e.what()));
    }
}

void TCustomZipArchiver::message(int code, const QString& text)
{
    if (OnMessage)
        OnMessage(*this, code, text);
}

void TCustomZipArchiver::showError(int code, const QString& text)
{
    message(code, text);
    if (m_settings.Unattended)
        return;
    const QString title = QString::fromStdString(messageText(ZipMessage::BoxCaption));
    if (OnZipDialog) {
        OnZipDialog(*this, title, text);
        return;
    }
    TZipDialogBox box(qobject_cast<QWidget*>(parent()), title, text);
    box.exec();
}

} // namespace bw::zip
