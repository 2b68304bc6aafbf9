// The base of the zip component's worker: the working copy of the component's
// settings, the progress details of an operation, and the way the worker reports
// to its component.
#pragma once

#include "zip/ziptypes.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace bw::zip {

class TCustomZipArchiver;

// Every setting of the component that its worker works with, with the value a
// new component starts with.
struct TZipSettings {
    QDateTime AddFrom;
    int AddCompLevel = 9;
    AddOpts AddOptions;
    AddStoreExts AddStoreSuffixes = AddStoreExts::all().without(AddStoreSuffixEnum::assEXT);
    CodePageOpts CodePage = CodePageOpts::cpAuto;
    bool ConfirmErase = true;
    QString DLLDirectory;
    QString ExtAddStoreSuffixes;
    QString ExtrBaseDir;
    ExtrOpts ExtrOptions;
    QStringList FSpecArgs;
    QStringList FSpecArgsExcl;
    TDeleteOpts HowToDelete = TDeleteOpts::htdAllowUndo;
    uint32_t KeepFreeOnAllDisks = 0;
    uint32_t KeepFreeOnDisk1 = 0;
    QString Language;
    int MaxVolumeSize = 0;
    int MinFreeVolumeSize = 65536;
    QString Password;
    uint32_t PasswordReqCount = 1;
    QString RootDir;
    SpanOpts SpanOptions;
    QString TempDir;
    bool Trace = false;
    bool Unattended = false;
    bool UseDirOnlyEntries = false;
    bool Verbose = false;
    QString ZipFileName;

    bool operator==(const TZipSettings&) const = default;
};

// Where an operation stands: the current item and the whole.
struct TProgressDetails {
    QString ItemName;
    int ItemNumber = 0;
    int TotalCount = 0;
    int64_t ItemSize = 0;
    int64_t ItemPosition = 0;
    int64_t TotalSize = 0;
    int64_t TotalPosition = 0;
};

class TZACore {
public:
    explicit TZACore(TCustomZipArchiver& owner) : m_owner(owner) {}
    virtual ~TZACore() = default;
    TZACore(const TZACore&) = delete;
    TZACore& operator=(const TZACore&) = delete;

    TZipSettings Settings;
    TProgressDetails ProgressDetails;

protected:
    // An information line for the component's OnMessage (code 0); the caller
    // decides by Verbose or Trace whether it is wanted.
    void report(const QString& text);

    TCustomZipArchiver& m_owner;
};

} // namespace bw::zip
