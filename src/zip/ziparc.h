// The zip archive component (unit ZipArc). A form carries it with its settings;
// naming an archive in ZipFileName while the component is active reads the
// archive's central directory, and the archive operations proper belong to the
// external zip library, which the component binds when Dll_Load asks for it.
//
// Life cycle: a component created while its form is loaded waits for Loaded()
// to become active; one created at run time is active at once. Errors of the
// component go to OnMessage and, unless Unattended, to its dialog box
// (OnZipDialog when set, else TZipDialogBox); whether they happened shows in
// Dll_Load and in the directory, which is empty after a failure.
#pragma once

#include "zip/zaworker.h"
#include "zip/zipsfx.h"

#include <QIcon>
#include <QObject>

#include <functional>
#include <memory>

namespace bw::zip {

class TCustomZipArchiver;

// The component's published events. None of them is set on the program's forms;
// the component itself fires OnMessage, OnZipDialog, OnNewName and OnDirUpdate.
using TZipNotifyEvent = std::function<void(TCustomZipArchiver& sender)>;
using TZipMessageEvent = std::function<void(TCustomZipArchiver& sender, int errCode, const QString& message)>;
using TZipDialogEvent = std::function<void(TCustomZipArchiver& sender, const QString& title, const QString& message)>;
using TZipNewNameEvent = std::function<void(TCustomZipArchiver& sender, int index, const ZipDirEntry& entry)>;
using TZipCheckTerminateEvent = std::function<void(TCustomZipArchiver& sender, bool& abort)>;
using TZipGetNextDiskEvent = std::function<void(TCustomZipArchiver& sender, int disk, int diskCount, const QString& drive, bool& abort)>;
using TZipItemProgressEvent = std::function<void(TCustomZipArchiver& sender, const QString& item, int64_t total, int percent)>;
using TZipProgressEvent = std::function<void(TCustomZipArchiver& sender, const TProgressDetails& details)>;
using TZipTotalProgressEvent = std::function<void(TCustomZipArchiver& sender, int64_t total, int percent)>;
using TZipOverwriteEvent = std::function<void(TCustomZipArchiver& sender, const QString& fileName, bool& overwrite)>;
using TZipCRC32ErrorEvent = std::function<void(TCustomZipArchiver& sender, const QString& fileName, uint32_t found, uint32_t stored, bool& extract)>;
using TZipExtractSkippedEvent = std::function<void(TCustomZipArchiver& sender, const QString& fileName, int reason, int errCode)>;
using TZipFileCommentEvent = std::function<void(TCustomZipArchiver& sender, const QString& fileName, QString& comment, bool& changed)>;
using TZipFileExtraEvent = std::function<void(TCustomZipArchiver& sender, const QString& fileName, QByteArray& extra, bool& changed)>;
using TZipPasswordErrorEvent = std::function<void(TCustomZipArchiver& sender, const QString& forFile, QString& newPassword, bool& retry)>;
using TZipSetNameEvent = std::function<void(TCustomZipArchiver& sender, QString& fileName, bool& changed)>;
using TZipStatusDiskEvent = std::function<void(TCustomZipArchiver& sender, int previousDisk, const QString& volume, bool& abort)>;

class TCustomZipArchiver : public QObject {
    Q_OBJECT

public:
    enum class Creation { AtRunTime, WhileLoading };

    explicit TCustomZipArchiver(QObject* owner = nullptr, Creation creation = Creation::AtRunTime);
    ~TCustomZipArchiver() override;

    // The end of the form's loading.
    void Loaded();

    bool Active() const { return m_active; }
    void setActive(bool active);

#define BW_ZIP_SETTING(Type, Name)                       \
    Type Name() const { return m_settings.Name; }        \
    void set##Name(const Type& value)                    \
    {                                                    \
        m_settings.Name = value;                         \
        settingsChanged();                               \
    }
    BW_ZIP_SETTING(QDateTime, AddFrom)
    BW_ZIP_SETTING(int, AddCompLevel)
    BW_ZIP_SETTING(AddOpts, AddOptions)
    BW_ZIP_SETTING(AddStoreExts, AddStoreSuffixes)
    BW_ZIP_SETTING(CodePageOpts, CodePage)
    BW_ZIP_SETTING(bool, ConfirmErase)
    BW_ZIP_SETTING(QString, DLLDirectory)
    BW_ZIP_SETTING(QString, ExtAddStoreSuffixes)
    BW_ZIP_SETTING(QString, ExtrBaseDir)
    BW_ZIP_SETTING(ExtrOpts, ExtrOptions)
    BW_ZIP_SETTING(QStringList, FSpecArgs)
    BW_ZIP_SETTING(QStringList, FSpecArgsExcl)
    BW_ZIP_SETTING(TDeleteOpts, HowToDelete)
    BW_ZIP_SETTING(uint32_t, KeepFreeOnAllDisks)
    BW_ZIP_SETTING(uint32_t, KeepFreeOnDisk1)
    BW_ZIP_SETTING(QString, Language)
    BW_ZIP_SETTING(int, MaxVolumeSize)
    BW_ZIP_SETTING(int, MinFreeVolumeSize)
    BW_ZIP_SETTING(QString, Password)
    BW_ZIP_SETTING(QString, RootDir)
    BW_ZIP_SETTING(SpanOpts, SpanOptions)
    BW_ZIP_SETTING(QString, TempDir)
    BW_ZIP_SETTING(bool, Trace)
    BW_ZIP_SETTING(bool, Unattended)
    BW_ZIP_SETTING(bool, UseDirOnlyEntries)
    BW_ZIP_SETTING(bool, Verbose)
#undef BW_ZIP_SETTING

    // At most 15: larger values are stored as 15.
    uint32_t PasswordReqCount() const { return m_settings.PasswordReqCount; }
    void setPasswordReqCount(uint32_t count);

    // Reading tells whether the library is loaded.
    bool Dll_Load() const;
    void setDll_Load(bool load);

    // While active, naming an archive reads its directory at once.
    QString ZipFileName() const { return m_settings.ZipFileName; }
    void setZipFileName(const QString& name);

#define BW_ZIP_SFX_SETTING(Type, Name, Field)            \
    Type Name() const { return m_sfx->Field; }           \
    void set##Name(const Type& value) { m_sfx->Field = value; }
    BW_ZIP_SFX_SETTING(QString, SFXCaption, Caption)
    BW_ZIP_SFX_SETTING(QString, SFXCommandLine, CommandLine)
    BW_ZIP_SFX_SETTING(QString, SFXDefaultDir, DefaultDir)
    BW_ZIP_SFX_SETTING(QIcon, SFXIcon, Icon)
    BW_ZIP_SFX_SETTING(TSFXOptions, SFXOptions, Options)
    BW_ZIP_SFX_SETTING(OvrOpts, SFXOverWriteMode, OverWriteMode)
    BW_ZIP_SFX_SETTING(QString, SFXPath, Path)
#undef BW_ZIP_SFX_SETTING

    // A leading character code 1 or 2 is taken off and chooses the
    // self-extractor's message box (TZipSFX::messageKind()).
    QString SFXMessage() const { return m_sfx->message(); }
    void setSFXMessage(const QString& message) { m_sfx->setMessage(message); }

    // Read only: setting them changes nothing.
    static QString Version() { return QStringLiteral("1.79.07.04"); }
    void setVersion(const QString&) {}
    static QString VersionInfo() { return Version(); }
    void setVersionInfo(const QString&) {}

    // The directory of the named archive.
    int Count() const { return int(m_worker->entries().size()); }
    const ZipDirEntry& DirEntry(int index) const { return m_worker->entries().at(size_t(index)); }

    const TZipSettings& settings() const { return m_settings; }
    const TZAWorker& worker() const { return *m_worker; }
    const TZipSFX& sfx() const { return *m_sfx; }

    TZipCheckTerminateEvent OnCheckTerminate;
    TZipGetNextDiskEvent OnGetNextDisk;
    TZipItemProgressEvent OnItemProgress;
    TZipMessageEvent OnMessage;
    TZipProgressEvent OnProgress;
    TZipProgressEvent OnProgressDetails;
    TZipNotifyEvent OnTick;
    TZipTotalProgressEvent OnTotalProgress;
    TZipDialogEvent OnZipDialog;
    TZipOverwriteEvent OnCopyZipOverwrite;
    TZipCRC32ErrorEvent OnCRC32Error;
    TZipNotifyEvent OnDirUpdate;
    TZipOverwriteEvent OnExtractOverwrite;
    TZipExtractSkippedEvent OnExtractSkipped;
    TZipFileCommentEvent OnFileComment;
    TZipFileExtraEvent OnFileExtra;
    TZipNewNameEvent OnNewName;
    TZipPasswordErrorEvent OnPasswordError;
    TZipSetNameEvent OnSetAddName;
    TZipSetNameEvent OnSetExtName;
    TZipSetNameEvent OnSetNewName;
    TZipStatusDiskEvent OnStatusDisk;

private:
    friend class TZACore;

    void activate();
    void settingsChanged();
    void readDirectory();
    // Runs a step of the component; its error goes to the user as described above.
    template <class F>
    void guarded(F&& step);
    void message(int code, const QString& text);
    void showError(int code, const QString& text);

    bool m_loading;
    bool m_active = true;
    bool m_dllLoadWanted = false;
    TZipSettings m_settings;
    std::unique_ptr<TZAWorker> m_worker;
    std::unique_ptr<TZipSFX> m_sfx;
};

class TZipArchiver : public TCustomZipArchiver {
    Q_OBJECT

public:
    using TCustomZipArchiver::TCustomZipArchiver;
};

} // namespace bw::zip
