// The zip archive component: its settings and life cycle on a form, binding the
// external library (stand-ins of several versions), and reading the directories
// of real archives made by tests/zip/make_zip_fixtures.py.
#include "zip/ziparc.h"
#include "zip/zipdialogbox.h"
#include "zip/zipdir.h"
#include "zip/ziperror.h"
#include "zip/zipnames.h"
#include "zip/zipparts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <dlfcn.h>

using namespace bw::zip;

namespace {

const QString kFixtures = QStringLiteral(ZIP_FIXTURE_DIR);
const QString kLibraries = QStringLiteral(ZIPLIB_DIR);

QString fixture(const QString& name) { return kFixtures + u'/' + name; }

// The stand-in library as the component finds it through ".\ziplib\<variant>".
QString libraryBelowProgram(const QString& variant)
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/ziplib/") + variant
                           + QStringLiteral("/ZipLib179.dll"));
}

// What a component told through its events.
struct Recorder {
    QList<QPair<int, QString>> messages;
    QStringList names;
    int dirUpdates = 0;

    void attach(TCustomZipArchiver& zip)
    {
        zip.OnMessage = [this](TCustomZipArchiver&, int code, const QString& text) { messages.append({code, text}); };
        zip.OnNewName = [this](TCustomZipArchiver&, int index, const ZipDirEntry& e) {
            QCOMPARE(index, names.size());
            names.append(QString::fromStdString(e.FileName));
        };
        zip.OnDirUpdate = [this](TCustomZipArchiver&) { ++dirUpdates; };
    }
    QStringList texts() const
    {
        QStringList t;
        for (const auto& m : messages)
            t.append(m.second);
        return t;
    }
};

struct ListedEntry {
    QString name;
    quint32 size, compressedSize, crc;
    int method;
};

// The entries as the fixture script's writer recorded them.
QList<ListedEntry> readList(const QString& name)
{
    QFile f(fixture(name + QStringLiteral(".list")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QList<ListedEntry> list;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QList<QByteArray> cols = line.split('\t');
        if (cols.size() == 5)
            list.append({QString::fromUtf8(cols[0]), cols[1].toUInt(), cols[2].toUInt(), cols[3].toUInt(nullptr, 16), cols[4].toInt()});
    }
    return list;
}

// A small archive in memory: one stored entry "a.txt", no comment.
struct TinyArchive {
    QByteArray bytes;
    int central = 0;  // offset of the central header
    int end = 0;      // offset of the end record

    explicit TinyArchive(const QByteArray& centralExtra = {})
    {
        const QByteArray name("a.txt"), data("hello");
        auto put16 = [this](int v) { bytes.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
        auto put32 = [&](quint32 v) { put16(int(v & 0xFFFF)); put16(int(v >> 16)); };
        const quint32 crc = 0x3610A686;
        put32(0x04034B50); put16(10); put16(0); put16(0); put32(0); put32(crc);
        put32(quint32(data.size())); put32(quint32(data.size())); put16(int(name.size())); put16(0);
        bytes += name + data;
        central = int(bytes.size());
        put32(0x02014B50); put16(20); put16(10); put16(0); put16(0); put32(0); put32(crc);
        put32(quint32(data.size())); put32(quint32(data.size())); put16(int(name.size())); put16(int(centralExtra.size()));
        put16(0); put16(0); put16(0); put32(0); put32(0);
        bytes += name + centralExtra;
        end = int(bytes.size());
        put32(0x06054B50); put16(0); put16(0); put16(1); put16(1);
        put32(quint32(end - central)); put32(quint32(central)); put16(0);
    }
    // The end record handing its counts and places to a zip64 end record.
    void useZip64EndRecord()
    {
        const quint32 size = quint32(end - central);
        const int zip64At = end;
        bytes.truncate(end);
        auto put16 = [this](int v) { bytes.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
        auto put32 = [&](quint32 v) { put16(int(v & 0xFFFF)); put16(int(v >> 16)); };
        auto put64 = [&](quint64 v) { put32(quint32(v)); put32(quint32(v >> 32)); };
        put32(0x06064B50); put64(44); put16(45); put16(45); put32(0); put32(0);
        put64(1); put64(1); put64(size); put64(quint64(central));
        put32(0x07064B50); put32(0); put64(quint64(zip64At)); put32(1);
        end = int(bytes.size());
        put32(0x06054B50); put16(0); put16(0); put16(0xFFFF); put16(0xFFFF);
        put32(0xFFFFFFFF); put32(0xFFFFFFFF); put16(0);
    }
    void set16(int at, int v) { bytes[at] = char(v & 0xFF); bytes[at + 1] = char((v >> 8) & 0xFF); }
    void set32(int at, quint32 v) { set16(at, int(v & 0xFFFF)); set16(at + 2, int(v >> 16)); }
};

std::vector<ZipDirEntry> readMemory(const QByteArray& bytes, DirOptions options = {})
{
    MemorySource source(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    const EndRecord end = findEndRecord(source);
    return readCentralDirectory(end, {&source}, options);
}

int errorOf(const QByteArray& bytes)
{
    try {
        readMemory(bytes);
    } catch (const ZipError& e) {
        return e.id();
    }
    return 0;
}

} // namespace

class TestZip : public QObject {
    Q_OBJECT
private slots:
    void startValues();
    void liveDialogForm();
    void waitsForLoadingToRead();
    void passwordReqCountIsClamped_data();
    void passwordReqCountIsClamped();
    void sfxMessageCode_data();
    void sfxMessageCode();
    void messageTable_data();
    void messageTable();
    void partNames_data();
    void partNames();

    void binding_data();
    void binding();
    void unloadAndAbortOnFree();
    void fallsBackToBareName();
    void bindsByBareName();
    void dll_LoadAppliedWhenLoaded();
    void errorGoesToDialog();

    void readsArchives_data();
    void readsArchives();
    void codePages_data();
    void codePages();
    void refusesBadArchives_data();
    void refusesBadArchives();
    void namesTheMissingMiddlePart();
    void refusesFileOf4GB();
    void newArchiveHasNoEntries();
    void damagedDirectory_data();
    void damagedDirectory();
};

void TestZip::startValues()
{
    TZipArchiver zip;
    QVERIFY(zip.Active());
    QVERIFY(zip.worker().isActive());
    QCOMPARE(zip.AddCompLevel(), 9);
    QVERIFY(zip.AddOptions().empty());
    QVERIFY(!zip.AddStoreSuffixes().contains(AddStoreSuffixEnum::assEXT));
    QCOMPARE(zip.AddStoreSuffixes(), AddStoreExts::all().without(AddStoreSuffixEnum::assEXT));
    QVERIFY(zip.AddStoreSuffixes().contains(AddStoreSuffixEnum::assAVI));
    QCOMPARE(zip.CodePage(), CodePageOpts::cpAuto);
    QVERIFY(zip.ConfirmErase());
    QVERIFY(!zip.Dll_Load());
    QVERIFY(zip.ExtrOptions().empty());
    QCOMPARE(zip.HowToDelete(), TDeleteOpts::htdAllowUndo);
    QCOMPARE(zip.KeepFreeOnAllDisks(), 0u);
    QCOMPARE(zip.KeepFreeOnDisk1(), 0u);
    QCOMPARE(zip.MaxVolumeSize(), 0);
    QCOMPARE(zip.MinFreeVolumeSize(), 65536);
    QCOMPARE(zip.PasswordReqCount(), 1u);
    QVERIFY(zip.SFXOptions().empty());
    QCOMPARE(zip.SFXOverWriteMode(), OvrOpts::OvrConfirm);
    QCOMPARE(zip.SFXPath(), QStringLiteral("ZLSFXUS.bin"));
    QVERIFY(zip.SpanOptions().empty());
    QVERIFY(!zip.Trace() && !zip.Unattended() && !zip.UseDirOnlyEntries() && !zip.Verbose());
    QCOMPARE(zip.Version(), QStringLiteral("1.79.07.04"));
    QCOMPARE(zip.VersionInfo(), QStringLiteral("1.79.07.04"));
    zip.setVersion(QStringLiteral("9.99"));
    zip.setVersionInfo(QStringLiteral("9.99"));
    QCOMPARE(zip.Version(), QStringLiteral("1.79.07.04"));
    QCOMPARE(zip.VersionInfo(), QStringLiteral("1.79.07.04"));
    // The rest starts empty, zero or false.
    QVERIFY(!zip.AddFrom().isValid());
    for (const QString& s : {zip.DLLDirectory(), zip.ExtAddStoreSuffixes(), zip.ExtrBaseDir(), zip.Language(),
                             zip.Password(), zip.RootDir(), zip.SFXCaption(), zip.SFXCommandLine(),
                             zip.SFXDefaultDir(), zip.SFXMessage(), zip.TempDir(), zip.ZipFileName()})
        QVERIFY(s.isEmpty());
    QVERIFY(zip.FSpecArgs().isEmpty() && zip.FSpecArgsExcl().isEmpty());
    QVERIFY(zip.SFXIcon().isNull());
    QCOMPARE(zip.settings(), TZipSettings{});
    QCOMPARE(zip.worker().Settings, zip.settings());
    QCOMPARE(TZipSFX::version(), QStringLiteral("09-19-2005"));
    QCOMPARE(zip.worker().DllPath(), QStringLiteral("ZipLib179.dll"));
    QVERIFY(zip.OnMessage == nullptr && zip.OnNewName == nullptr && zip.OnZipDialog == nullptr);
}

// The live link dialog's component, set up as its form gives it.
void TestZip::liveDialogForm()
{
    QWidget form;
    auto* zip = new TZipArchiver(&form, TZipArchiver::Creation::WhileLoading);
    zip->setObjectName(QStringLiteral("ZipArchiver1"));
    zip->setActive(true);
    zip->setAddOptions({});
    zip->setAddStoreSuffixes(AddStoreExts::all().without(AddStoreSuffixEnum::assEXT));
    zip->setDll_Load(false);
    zip->setExtrOptions({});
    zip->setKeepFreeOnAllDisks(0);
    zip->setKeepFreeOnDisk1(0);
    zip->setMaxVolumeSize(0);
    zip->setPasswordReqCount(1);
    zip->setSFXOptions({});
    zip->setSFXOverWriteMode(OvrOpts::OvrConfirm);
    zip->setSFXPath(QStringLiteral("ZLSFXUS.bin"));
    zip->setSpanOptions({});
    zip->setTrace(false);
    zip->setUnattended(false);
    zip->setUseDirOnlyEntries(false);
    zip->setVerbose(false);
    QVERIFY(!zip->worker().isActive());
    zip->Loaded();

    QCOMPARE(form.findChild<TZipArchiver*>(QStringLiteral("ZipArchiver1")), zip);
    QVERIFY(zip->Active());
    QVERIFY(zip->worker().isActive());
    QCOMPARE(zip->worker().Settings, TZipSettings{});
    QVERIFY(!zip->Dll_Load());
    QVERIFY(!zip->worker().isLoaded());
    QVERIFY(zip->ZipFileName().isEmpty());
    QCOMPARE(zip->Count(), 0);
}

void TestZip::waitsForLoadingToRead()
{
    Recorder seen;
    TZipArchiver zip(nullptr, TZipArchiver::Creation::WhileLoading);
    seen.attach(zip);
    zip.setZipFileName(fixture(QStringLiteral("names_utf8.zip")));
    QCOMPARE(zip.Count(), 0);
    zip.Loaded();
    QCOMPARE(zip.Count(), 2);
    QCOMPARE(seen.dirUpdates, 1);

    // Inactive after loading: the name waits until the component becomes active.
    TZipArchiver idle(nullptr, TZipArchiver::Creation::WhileLoading);
    idle.setActive(false);
    idle.Loaded();
    QVERIFY(!idle.worker().isActive());
    idle.setUseDirOnlyEntries(true);
    idle.setZipFileName(fixture(QStringLiteral("stored_deflated.zip")));
    QCOMPARE(idle.Count(), 0);
    QVERIFY(!idle.worker().Settings.UseDirOnlyEntries);
    idle.setActive(true);
    QVERIFY(idle.worker().Settings.UseDirOnlyEntries);
    QCOMPARE(idle.Count(), 5);
    idle.setActive(false);
    QVERIFY(!idle.worker().isActive());
}

void TestZip::passwordReqCountIsClamped_data()
{
    QTest::addColumn<uint>("given");
    QTest::addColumn<uint>("stored");
    QTest::newRow("0") << 0u << 0u;
    QTest::newRow("15") << 15u << 15u;
    QTest::newRow("16") << 16u << 15u;
    QTest::newRow("largest") << 0xFFFFFFFFu << 15u;
}

void TestZip::passwordReqCountIsClamped()
{
    QFETCH(uint, given);
    QFETCH(uint, stored);
    TZipArchiver zip;
    zip.setPasswordReqCount(given);
    QCOMPARE(zip.PasswordReqCount(), stored);
    QCOMPARE(zip.worker().Settings.PasswordReqCount, stored);
}

void TestZip::sfxMessageCode_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("kind");
    QTest::newRow("plain") << QStringLiteral("Fertig") << QStringLiteral("Fertig") << int(TSFXMessageKind::Plain);
    QTest::newRow("code 1") << QStringLiteral("\x01" "Entpacken?") << QStringLiteral("Entpacken?") << int(TSFXMessageKind::OkCancel);
    QTest::newRow("code 2") << QStringLiteral("\x02" "Weiter?") << QStringLiteral("Weiter?") << int(TSFXMessageKind::YesNo);
    QTest::newRow("code 3 stays") << QStringLiteral("\x03" "x") << QStringLiteral("\x03" "x") << int(TSFXMessageKind::Plain);
    QTest::newRow("code alone") << QStringLiteral("\x02") << QString() << int(TSFXMessageKind::YesNo);
    QTest::newRow("empty") << QString() << QString() << int(TSFXMessageKind::Plain);
}

void TestZip::sfxMessageCode()
{
    QFETCH(QString, given);
    QFETCH(QString, stored);
    QFETCH(int, kind);
    TZipArchiver zip;
    zip.setSFXMessage(QStringLiteral("\x01" "vorher"));
    zip.setSFXMessage(given);
    QCOMPARE(zip.SFXMessage(), stored);
    QCOMPARE(int(zip.sfx().messageKind()), kind);
}

void TestZip::messageTable_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("text");
    QTest::newRow("failed") << int(ZipMessage::LibraryNotLoaded) << QStringList{"a.so"} << "Failed to load a.so";
    QTest::newRow("error") << int(ZipMessage::LibraryLoadError) << QStringList{"2", "gone", "a.so"} << "Error [2 gone] loading a.so";
    QTest::newRow("old") << int(ZipMessage::LibraryUnusable) << QStringList{"a.so"} << "Unable to load a.so - It is old or corrupt";
    QTest::newRow("loaded") << int(ZipMessage::LibraryLoaded) << QStringList{"/x/a.so"} << "Loaded /x/a.so";
    QTest::newRow("unloaded") << int(ZipMessage::LibraryUnloaded) << QStringList{"/x/a.so"} << "Unloaded /x/a.so";
    QTest::newRow("large") << int(ZipMessage::ArchiveTooLarge) << QStringList{} << "File larger than 4GB";
    QTest::newRow("end") << int(ZipMessage::EndRecordUnreadable) << QStringList{} << "Error while reading the End Of Central Directory";
    QTest::newRow("percent in name") << int(ZipMessage::LibraryNotLoaded) << QStringList{"%s%d.so"} << "Failed to load %s%d.so";
    QTest::newRow("missing") << 9999 << QStringList{} << "Resource missing for 9999";
    QTest::newRow("missing zero") << 0 << QStringList{} << "Resource missing for 0";
}

void TestZip::messageTable()
{
    QFETCH(int, id);
    QFETCH(QStringList, args);
    QFETCH(QString, text);
    std::vector<std::string> a;
    for (const QString& s : args)
        a.push_back(s.toStdString());
    std::string made;
    switch (a.size()) {
    case 0: made = messageText(id, {}); break;
    case 1: made = messageText(id, {a[0]}); break;
    default: made = messageText(id, {a[0], a[1], a[2]}); break;
    }
    QCOMPARE(QString::fromStdString(made), text);
}

void TestZip::partNames_data()
{
    QTest::addColumn<QString>("zipName");
    QTest::addColumn<int>("part");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("compat");
    QTest::addColumn<QString>("name");
    QTest::newRow("compat first") << "/a/turnier.zip" << 1 << 3 << true << "/a/turnier.z01";
    QTest::newRow("compat ninth") << "/a/turnier.zip" << 9 << 12 << true << "/a/turnier.z09";
    QTest::newRow("compat tenth") << "/a/turnier.zip" << 10 << 12 << true << "/a/turnier.z10";
    QTest::newRow("compat last keeps") << "/a/turnier.zip" << 12 << 12 << true << "/a/turnier.zip";
    QTest::newRow("numbered first") << "/a/turnier.zip" << 1 << 3 << false << "/a/turnier001.zip";
    QTest::newRow("numbered last") << "/a/turnier.zip" << 12 << 12 << false << "/a/turnier012.zip";
    QTest::newRow("no extension") << "/a/turnier" << 2 << 3 << false << "/a/turnier002";
    QTest::newRow("dot in folder") << "/a.b/turnier" << 2 << 3 << false << "/a.b/turnier002";
    QTest::newRow("dot in folder compat") << "C:\\a.b\\t" << 1 << 2 << true << "C:\\a.b\\t.z01";
}

void TestZip::partNames()
{
    QFETCH(QString, zipName);
    QFETCH(int, part);
    QFETCH(int, count);
    QFETCH(bool, compat);
    QFETCH(QString, name);
    QCOMPARE(partFileName(zipName, part, count, compat), name);
}

void TestZip::binding_data()
{
    QTest::addColumn<QString>("variant");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<int>("version");
    QTest::addColumn<QStringList>("messages");   // %1 stands for the library's file
    QTest::addColumn<int>("errCode");            // of the last message, 0 for none
    QTest::newRow("179") << "v179" << true << 179 << QStringList{"Loaded %1"} << 0;
    QTest::newRow("301") << "v301" << false << 0 << QStringList{"Unable to load %1 - It is old or corrupt"} << int(ZipMessage::LibraryUnusable);
    QTest::newRow("178") << "v178" << false << 0 << QStringList{"Unable to load %1 - It is old or corrupt"} << int(ZipMessage::LibraryUnusable);
    QTest::newRow("entry point missing") << "nopath" << false << 0 << QStringList{"Unable to load %1 - It is old or corrupt"} << int(ZipMessage::LibraryUnusable);
    QTest::newRow("no library") << "corrupt" << false << 0 << QStringList{"Error [*] loading %1", "Failed to load %1"} << int(ZipMessage::LibraryNotLoaded);
}

void TestZip::binding()
{
    QFETCH(QString, variant);
    QFETCH(bool, loaded);
    QFETCH(int, version);
    QFETCH(QStringList, messages);
    QFETCH(int, errCode);
    Recorder seen;
    TZipArchiver zip;
    seen.attach(zip);
    zip.setUnattended(true);
    zip.setVerbose(true);
    zip.setDLLDirectory(QStringLiteral(".\\ziplib\\") + variant);
    const QString file = libraryBelowProgram(variant);
    QCOMPARE(zip.worker().libraryFile(), file);

    zip.setZipFileName(fixture(QStringLiteral("names_utf8.zip")));
    seen.names.clear();

    zip.setDll_Load(true);
    QCOMPARE(zip.Dll_Load(), loaded);
    QCOMPARE(zip.worker().DllVersion(), version);
    QCOMPARE(zip.Count(), 2);   // the library's outcome leaves the directory alone
    if (loaded) {
        QCOMPARE(zip.worker().DllPrivVersion(), 1790704);
        QCOMPARE(QFileInfo(zip.worker().DllPath()).canonicalFilePath(), QFileInfo(file).canonicalFilePath());
        QVERIFY(zip.worker().loadReasons().contains(LoadReason::Dll_Load));
    }
    QCOMPARE(seen.messages.size(), messages.size());
    for (int i = 0; i < messages.size(); ++i) {
        const QString expected = messages[i].arg(loaded ? zip.worker().DllPath() : file);
        // "*" stands for the system's own error code and text.
        const QString& got = seen.messages[i].second;
        QVERIFY2(got.startsWith(expected.section(u'*', 0, 0)) && got.endsWith(expected.section(u'*', -1)), qPrintable(got));
    }
    QCOMPARE(seen.messages.last().first, errCode);
}

void TestZip::unloadAndAbortOnFree()
{
    const QByteArray file = QFile::encodeName(kLibraries + QStringLiteral("/v179/ZipLib179.dll"));
    // Our own handle keeps the stand-in in memory, so its counter outlives the component's.
    void* own = dlopen(file.constData(), RTLD_NOW | RTLD_LOCAL);
    QVERIFY2(own, dlerror());
    auto abortCalls = reinterpret_cast<int (*)()>(dlsym(own, "zltest_abort_calls"));
    QVERIFY(abortCalls);

    Recorder seen;
    auto* zip = new TZipArchiver;
    seen.attach(*zip);
    zip->setUnattended(true);
    zip->setVerbose(true);
    zip->setDLLDirectory(kLibraries + QStringLiteral("/v179"));
    zip->setDll_Load(true);
    QVERIFY(zip->Dll_Load());
    // Letting it go by Dll_Load unloads without an abort.
    zip->setDll_Load(false);
    QVERIFY(!zip->Dll_Load());
    QVERIFY(!zip->worker().isLoaded());
    QCOMPARE(seen.texts().last(), QStringLiteral("Unloaded ") + zip->worker().DllPath());
    QCOMPARE(abortCalls(), 0);

    zip->setDll_Load(true);
    const int reported = int(seen.messages.size());
    delete zip;
    QCOMPARE(abortCalls(), 1);
    QCOMPARE(seen.messages.size(), reported);   // nothing reported while being freed
    dlclose(own);
}

void TestZip::fallsBackToBareName()
{
    if (qEnvironmentVariable("LD_LIBRARY_PATH").contains(QStringLiteral("ziplib")))
        QSKIP("the stand-in library is on the search path");
    Recorder seen;
    TZipArchiver zip;
    seen.attach(zip);
    zip.setUnattended(true);
    zip.setDLLDirectory(kFixtures);   // a folder without the library
    QCOMPARE(zip.worker().libraryFile(), QStringLiteral("ZipLib179.dll"));
    zip.setDll_Load(true);
    QVERIFY(!zip.Dll_Load());
    QCOMPARE(seen.texts(), QStringList{QStringLiteral("Failed to load ZipLib179.dll")});
    QCOMPARE(seen.messages.first().first, int(ZipMessage::LibraryNotLoaded));
}

void TestZip::bindsByBareName()
{
    if (!qEnvironmentVariable("LD_LIBRARY_PATH").contains(QStringLiteral("ziplib")))
        QSKIP("needs the stand-in library on the search path (CTest test_zip_searchpath)");
    TZipArchiver zip;
    zip.setUnattended(true);
    QCOMPARE(zip.worker().libraryFile(), QStringLiteral("ZipLib179.dll"));
    zip.setDll_Load(true);
    QVERIFY(zip.Dll_Load());
    QCOMPARE(zip.worker().DllVersion(), 179);
    QVERIFY(zip.worker().DllPath().endsWith(QStringLiteral("/v179/ZipLib179.dll")));
}

void TestZip::dll_LoadAppliedWhenLoaded()
{
    for (bool active : {true, false}) {
        QWidget form;
        auto* zip = new TZipArchiver(&form, TZipArchiver::Creation::WhileLoading);
        zip->setActive(active);
        zip->setDLLDirectory(kLibraries + QStringLiteral("/v179"));
        zip->setDll_Load(true);
        QVERIFY(zip->Dll_Load());                  // as the form gave it
        QVERIFY(!zip->worker().isLoaded());
        zip->Loaded();
        QCOMPARE(zip->worker().isLoaded(), active);
        QCOMPARE(zip->Dll_Load(), active);
        if (!active) {
            zip->setActive(true);
            QVERIFY(zip->Dll_Load());
        }
    }
}

void TestZip::errorGoesToDialog()
{
    TZipArchiver zip;
    QStringList shown;
    zip.OnZipDialog = [&](TCustomZipArchiver&, const QString& title, const QString& text) {
        shown << title << text;
    };
    zip.setZipFileName(fixture(QStringLiteral("name260.zip")));
    QCOMPARE(shown, (QStringList{"Message", QString::fromStdString(messageText(ZipMessage::NameTooLong))}));

    // Without a handler the component's own box comes up.
    zip.OnZipDialog = nullptr;
    QString boxText, okCaption;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<TZipDialogBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        boxText = box->text();
        okCaption = box->findChild<QPushButton*>(QStringLiteral("OKBtn"))->text();
        box->accept();
    });
    zip.setZipFileName(fixture(QStringLiteral("stored_deflated.list")));
    QCOMPARE(boxText, QStringLiteral("Error while reading the End Of Central Directory"));
    QCOMPARE(okCaption, QStringLiteral("&OK"));

    // Unattended: only OnMessage hears of it.
    zip.setUnattended(true);
    zip.OnZipDialog = [&](TCustomZipArchiver&, const QString&, const QString&) { QFAIL("no dialog when unattended"); };
    int code = 0;
    zip.OnMessage = [&](TCustomZipArchiver&, int c, const QString&) { code = c; };
    zip.setZipFileName(fixture(QStringLiteral("name260.zip")));
    QCOMPARE(code, int(ZipMessage::NameTooLong));
}

void TestZip::readsArchives_data()
{
    QTest::addColumn<QString>("archive");
    QTest::addColumn<QString>("list");
    QTest::addColumn<bool>("folders");
    QTest::newRow("stored and deflated") << "stored_deflated.zip" << "stored_deflated" << false;
    QTest::newRow("with folder entries") << "stored_deflated.zip" << "stored_deflated" << true;
    QTest::newRow("UTF-8 names") << "names_utf8.zip" << "names_utf8" << false;
    QTest::newRow("DOS names in code page 437") << "names_cp437.zip" << "names_cp437" << false;
    QTest::newRow("name of 259 characters") << "name259.zip" << "name259" << false;
    QTest::newRow("comment of 64 KiB") << "comment64k.zip" << "comment64k" << false;
    QTest::newRow("end record inside the comment") << "endrecord_in_comment.zip" << "endrecord_in_comment" << false;
    QTest::newRow("split set") << "split.zip" << "split" << false;
    QTest::newRow("numbered parts") << "numbered.zip" << "numbered" << false;
    QTest::newRow("65,536 entries, zip64 end record") << "many_65536.zip" << "many_65536" << false;
    QTest::newRow("70,000 entries, zip64 end record") << "many_70000.zip" << "many_70000" << false;
}

void TestZip::readsArchives()
{
    QFETCH(QString, archive);
    QFETCH(QString, list);
    QFETCH(bool, folders);
    QList<ListedEntry> expected = readList(list);
    QVERIFY(!expected.isEmpty());
    if (!folders)
        expected.removeIf([](const ListedEntry& e) { return e.name.endsWith(u'/'); });

    Recorder seen;
    TZipArchiver zip;
    seen.attach(zip);
    zip.setUnattended(true);
    zip.setUseDirOnlyEntries(folders);
    zip.setZipFileName(fixture(archive));
    QCOMPARE(seen.texts(), QStringList{});
    QCOMPARE(zip.Count(), expected.size());
    QCOMPARE(seen.names.size(), expected.size());
    QCOMPARE(seen.dirUpdates, 1);
    for (int i = 0; i < expected.size(); ++i) {
        const ZipDirEntry& e = zip.DirEntry(i);
        QCOMPARE(QString::fromStdString(e.FileName), expected[i].name);
        QCOMPARE(e.UncompressedSize, expected[i].size);
        QCOMPARE(e.CompressedSize, expected[i].compressedSize);
        QCOMPARE(e.CRC32, expected[i].crc);
        QCOMPARE(int(e.ComprMethod), expected[i].method);
        QCOMPARE(seen.names[i], expected[i].name);
    }
}

void TestZip::codePages_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<int>("flag");
    QTest::addColumn<int>("host");
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QByteArray>("name");
    const int dos = 0, unix = 3, utf8 = kFlagUtf8;
    const int autoCp = int(CodePageOpts::cpAuto), none = int(CodePageOpts::cpNone), oem = int(CodePageOpts::cpOEM);
    QTest::newRow("DOS, auto") << QByteArray("M\x81ller\x9B") << 0 << dos << autoCp << QByteArray("Müllerø");
    QTest::newRow("DOS, OEM") << QByteArray("\x8E\xE1") << 0 << dos << oem << QByteArray("Äß");
    QTest::newRow("DOS, none") << QByteArray("M\x81ller") << 0 << dos << none << QByteArray("M\x81ller");
    QTest::newRow("Unix, auto keeps") << QByteArray("Gr\xC3\xB6\xC3\x9F" "e") << 0 << unix << autoCp << QByteArray("Größe");
    QTest::newRow("Unix, Latin-1 without flag") << QByteArray("M\xFCller") << 0 << unix << autoCp << QByteArray("Müller");
    QTest::newRow("UTF-8 flag") << QByteArray("Gr\xC3\xB6\xC3\x9F" "e") << utf8 << dos << autoCp << QByteArray("Größe");
    QTest::newRow("UTF-8 flag, OEM") << QByteArray("\xC3\xBC") << utf8 << dos << oem << QByteArray("ü");
    QTest::newRow("bad UTF-8 replaced") << QByteArray("a\xFF\xC3") << utf8 << unix << autoCp << QByteArray("a\xEF\xBF\xBD\xEF\xBF\xBD");
    QTest::newRow("UTF-8 flag, none keeps") << QByteArray("a\xFF") << utf8 << unix << none << QByteArray("a\xFF");
}

void TestZip::codePages()
{
    QFETCH(QByteArray, raw);
    QFETCH(int, flag);
    QFETCH(int, host);
    QFETCH(int, codePage);
    QFETCH(QByteArray, name);
    QCOMPARE(QByteArray::fromStdString(convertName(raw.toStdString(), uint16_t(flag), uint8_t(host), CodePageOpts(codePage))), name);

    // And through the component on a real DOS archive.
    TZipArchiver zip;
    zip.setCodePage(CodePageOpts(codePage));
    zip.setZipFileName(fixture(QStringLiteral("names_cp437.zip")));
    QCOMPARE(zip.Count(), 1);
    QCOMPARE(QByteArray::fromStdString(zip.DirEntry(0).FileName),
             codePage == int(CodePageOpts::cpNone) ? QByteArray("M\x81ller_\x8Erger_Stra\xE1" "e.txt") : QByteArray("Müller_Ärger_Straße.txt"));
}

void TestZip::refusesBadArchives_data()
{
    QTest::addColumn<QString>("archive");
    QTest::addColumn<QByteArray>("content");   // written to a temporary file when given
    QTest::addColumn<int>("errCode");
    QTest::newRow("name of 260 characters") << "name260.zip" << QByteArray() << int(ZipMessage::NameTooLong);
    QTest::newRow("no archive") << "stored_deflated.list" << QByteArray() << int(ZipMessage::EndRecordUnreadable);
    QTest::newRow("empty file") << "" << QByteArray("") << int(ZipMessage::EndRecordUnreadable);
    QFile split(fixture(QStringLiteral("split.zip")));
    QVERIFY(split.open(QIODevice::ReadOnly));
    const QByteArray last = split.readAll();
    QTest::newRow("last part alone") << "" << last << int(ZipMessage::PartMissing);
    QFile whole(fixture(QStringLiteral("stored_deflated.zip")));
    QVERIFY(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    QTest::newRow("cut before the end record") << "" << bytes.left(bytes.size() - 1) << int(ZipMessage::EndRecordUnreadable);
    // The end record counts 4 of the 5 entries: the fifth is left over.
    QByteArray fourOfFive = bytes;
    fourOfFive[fourOfFive.size() - 14] = 4;
    fourOfFive[fourOfFive.size() - 12] = 4;
    QTest::newRow("end record counts one entry less") << "" << fourOfFive << int(ZipMessage::DirectoryUnreadable);
    QTest::newRow("directory cut away") << "" << bytes.right(22) << int(ZipMessage::EndRecordUnreadable);
}

void TestZip::refusesBadArchives()
{
    QFETCH(QString, archive);
    QFETCH(QByteArray, content);
    QFETCH(int, errCode);
    QTemporaryDir dir;
    QString name = fixture(archive);
    if (archive.isEmpty()) {
        name = dir.filePath(QStringLiteral("kaputt.zip"));
        QFile f(name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    Recorder seen;
    TZipArchiver zip;
    seen.attach(zip);
    zip.setUnattended(true);
    zip.setZipFileName(fixture(QStringLiteral("names_utf8.zip")));
    QCOMPARE(zip.Count(), 2);
    zip.setZipFileName(name);
    QCOMPARE(zip.Count(), 0);
    QCOMPARE(seen.messages.size(), 1);
    QCOMPARE(seen.messages[0].first, errCode);
    QCOMPARE(seen.dirUpdates, 2);
    if (errCode == int(ZipMessage::PartMissing))
        QCOMPARE(seen.messages[0].second, QStringLiteral("Part %1 of the archive is missing").arg(dir.filePath(QStringLiteral("kaputt.z01"))));
}

void TestZip::namesTheMissingMiddlePart()
{
    QTemporaryDir dir;
    int parts = 0;
    for (; QFileInfo::exists(fixture(QStringLiteral("numbered%1.zip").arg(parts + 1, 3, 10, QChar(u'0')))); ++parts) {
        const QString part = QStringLiteral("numbered%1.zip").arg(parts + 1, 3, 10, QChar(u'0'));
        QVERIFY(QFile::copy(fixture(part), dir.filePath(part)));
    }
    QVERIFY(parts >= 3);
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("numbered002.zip"))));
    Recorder seen;
    TZipArchiver zip;
    seen.attach(zip);
    zip.setUnattended(true);
    zip.setZipFileName(dir.filePath(QStringLiteral("numbered.zip")));
    QCOMPARE(zip.Count(), 0);
    QCOMPARE(seen.texts(), QStringList{QStringLiteral("Part %1 of the archive is missing").arg(dir.filePath(QStringLiteral("numbered002.zip")))});
}

void TestZip::refusesFileOf4GB()
{
    QTemporaryDir dir;
    QFile big(dir.filePath(QStringLiteral("gross.zip")));
    QVERIFY(big.open(QIODevice::WriteOnly));
    if (!big.resize(qint64(1) << 32))
        QSKIP("no sparse file of 4 GB possible here");
    big.close();
    Recorder seen;
    TZipArchiver zip;
    seen.attach(zip);
    zip.setUnattended(true);
    zip.setZipFileName(big.fileName());
    QCOMPARE(zip.Count(), 0);
    QCOMPARE(seen.texts(), QStringList{QStringLiteral("File larger than 4GB")});
    QCOMPARE(seen.messages[0].first, int(ZipMessage::ArchiveTooLarge));
}

void TestZip::newArchiveHasNoEntries()
{
    Recorder seen;
    TZipArchiver zip;
    seen.attach(zip);
    zip.setZipFileName(QDir::temp().filePath(QStringLiteral("gibt_es_nicht_4711.zip")));
    QCOMPARE(zip.Count(), 0);
    QVERIFY(seen.messages.isEmpty());
    QCOMPARE(seen.dirUpdates, 1);
}

// Damaged directories the fuzzer also walks, here with the exact outcome.
void TestZip::damagedDirectory_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("errCode");
    const TinyArchive ok;
    QTest::newRow("intact") << ok.bytes << 0;
    QTest::newRow("too short") << ok.bytes.right(21) << int(ZipMessage::EndRecordUnreadable);
    TinyArchive a;
    a.set32(a.end + 16, quint32(a.bytes.size()));
    QTest::newRow("directory offset past the end") << a.bytes << int(ZipMessage::EndRecordUnreadable);
    a = TinyArchive();
    a.set32(a.end + 12, 0xFFFFFFF0u);
    QTest::newRow("directory size past the end") << a.bytes << int(ZipMessage::EndRecordUnreadable);
    a = TinyArchive();
    a.set16(a.end + 10, 2);
    a.set16(a.end + 8, 2);
    QTest::newRow("more entries than fit") << a.bytes << int(ZipMessage::EndRecordUnreadable);
    a = TinyArchive();
    a.set16(a.end + 6, 3);
    QTest::newRow("directory on a later part") << a.bytes << int(ZipMessage::EndRecordUnreadable);
    a = TinyArchive();
    a.set16(a.end + 4, 1);
    QTest::newRow("part of a set, others missing") << a.bytes << int(ZipMessage::EndRecordUnreadable);
    a = TinyArchive();
    a.set16(a.central + 28, 60000);
    QTest::newRow("name longer than the directory") << a.bytes << int(ZipMessage::DirectoryUnreadable);
    a = TinyArchive();
    a.set32(a.central + 42, 1000);
    QTest::newRow("local header past the directory") << a.bytes << int(ZipMessage::DirectoryUnreadable);
    a = TinyArchive();
    a.set32(a.central + 20, 0x7FFFFFFF);
    QTest::newRow("compressed size past the directory") << a.bytes << int(ZipMessage::DirectoryUnreadable);
    a = TinyArchive();
    a.set16(a.central + 34, 1);
    QTest::newRow("entry on a later part") << a.bytes << int(ZipMessage::DirectoryUnreadable);
    a = TinyArchive();
    a.set32(a.central, 0x04034B50);
    QTest::newRow("wrong header signature") << a.bytes << int(ZipMessage::DirectoryUnreadable);
    a = TinyArchive();
    a.bytes.append("PK\x05\x06", 4);
    QTest::newRow("trailing bytes after the end record") << a.bytes << int(ZipMessage::EndRecordUnreadable);
    // The headers must fill the directory: bytes left over are refused.
    a = TinyArchive();
    a.set16(a.end + 8, 0);
    a.set16(a.end + 10, 0);
    QTest::newRow("end record counts no entry") << a.bytes << int(ZipMessage::DirectoryUnreadable);
    a = TinyArchive();
    a.set16(a.central + 28, 4);
    QTest::newRow("name length shrunk") << a.bytes << int(ZipMessage::DirectoryUnreadable);
    a = TinyArchive();
    a.useZip64EndRecord();
    QTest::newRow("zip64 end record") << a.bytes << 0;
    a.set32(a.end - 12, 3);
    QTest::newRow("zip64 locator pointing elsewhere") << a.bytes << int(ZipMessage::EndRecordUnreadable);
    // Sizes and offsets of 4 GB or more stand in a zip64 field.
    const QByteArray zip64("\x01\x00\x08\x00\x00\x00\x00\x20\x01\x00\x00\x00", 12); // 4.5 GB
    a = TinyArchive(zip64);
    a.set32(a.central + 24, 0xFFFFFFFF);
    QTest::newRow("uncompressed size in a zip64 field") << a.bytes << int(ZipMessage::ArchiveTooLarge);
    a = TinyArchive(zip64);
    a.set32(a.central + 42, 0xFFFFFFFF);
    QTest::newRow("offset in a zip64 field") << a.bytes << int(ZipMessage::ArchiveTooLarge);
    a = TinyArchive(QByteArray("\x55\x54\x01\x00\x07", 5));
    a.set32(a.central + 24, 0xFFFFFFFF);
    QTest::newRow("uncompressed size of 4 GB - 1 without zip64 field") << a.bytes << 0;
}

void TestZip::damagedDirectory()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, errCode);
    QCOMPARE(errorOf(bytes), errCode);
    if (errCode == 0) {
        const auto entries = readMemory(bytes);
        QCOMPARE(entries.size(), size_t(1));
        QVERIFY(entries[0].UncompressedSize == 5 || entries[0].UncompressedSize == 0xFFFFFFFF);
        QCOMPARE(entries[0].FileName, std::string("a.txt"));
        QCOMPARE(entries[0].CRC32, 0x3610A686u);
    }
}

QTEST_MAIN(TestZip)
#include "test_zip.moc"
