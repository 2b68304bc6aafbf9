// The player import: its records on both backends (another tournament database
// as a source, the staging table, writing the players with the fault-injection
// loop and two desks importing the same list), the sheet mapping, the import
// dialog with its three sources and the import page with its lists.
#include "formsamples.h"

#include "data/connection.h"
#include "data/faultinjection.h"
#include "data/importrecords.h"
#include "data/sql.h"
#include "data/transaction.h"
#include "output/importpage.h"
#include "output/importsources.h"
#include "output/registrationformwriter.h"
#include "output/timport_form.h"
#include "support/fakeprompter.h"
#include "support/fakeservices.h"
#include "support/readonly.h"
#include "support/testdatabase.h"

#include <QCryptographicHash>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>

using namespace bw;
using namespace bw::test;

namespace {

constexpr int kTid = 1;
constexpr int kOtherTid = 2;
constexpr int kEinzel = 1;
constexpr int kDoppel = 2;
constexpr int kForeignClass = 3; // a class of the other tournament

// Two tournaments; the open one with a singles and a doubles class and the
// player "Müller, Jürgen"; the largest player key, 41, in the other one.
void seed(const QSqlDatabase& db)
{
    insertRow(db, s("Turnierdaten"), {{s("TID"), kTid}, {s("turniername"), s("Stadtmeisterschaft")}});
    insertRow(db, s("Turnierdaten"), {{s("TID"), kOtherTid}, {s("turniername"), s("Vereinsmeisterschaft")}});
    insertRow(db, s("Turnierklassen"), {{s("KID"), kEinzel}, {s("TID"), kTid}, {s("system"), 0}});
    insertRow(db, s("Turnierklassen"), {{s("KID"), kDoppel}, {s("TID"), kTid}, {s("system"), 1}});
    insertRow(db, s("Turnierklassen"), {{s("KID"), kForeignClass}, {s("TID"), kOtherTid}, {s("system"), 1}});
    insertRow(db, s("Spielerdaten"),
              {{s("TID"), kTid}, {s("SID"), 5}, {s("nachname"), s("Müller")}, {s("vorname"), s("Jürgen")}});
    insertRow(db, s("Spielerdaten"),
              {{s("TID"), kOtherTid}, {s("SID"), 41}, {s("nachname"), s("Alt")}, {s("vorname"), s("Anna")}});
}

ImportItem sheetItem(const QString& nachname, const QString& vorname)
{
    ImportItem item;
    item.id = kSheetItemId;
    item.nachname = nachname;
    item.vorname = vorname;
    item.verein = s("ohne Verein");
    return item;
}

ImportItem formItem(const QString& nachname, const QString& vorname, const QList<int>& classIds)
{
    ImportItem item;
    item.id = kFormItemId;
    item.nachname = nachname;
    item.vorname = vorname;
    item.verein = s("TTC Brunnhain");
    item.spielklasse = s("Kreisliga");
    item.mann = true;
    item.classIds = classIds;
    return item;
}

QStringList rows(const QSqlDatabase& db, const QString& sql)
{
    return queryRows(db, sql, s("-"), QLatin1Char(' '));
}

QStringList texts(const QListWidget* list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result << list->item(i)->text();
    return result;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QString fixturePath(const QString& name)
{
    return QString::fromLocal8Bit(qgetenv("BRACKWELL_SOURCE_DIR")) + s("/tests/output/fixtures/") + name;
}

// A returned form of a tournament with a singles class (key 1) and a doubles
// class (key 2): Schulz ticked in both, Meyer in the doubles class only.
QByteArray returnedForm(const QString& verein = s("TTC Brunnhain"))
{
    ClassEntry einzel;
    einzel.kid = kEinzel;
    einzel.name = s("Einzel");
    einzel.kind = ClassKind::Einzel;
    ClassEntry doppel;
    doppel.kid = kDoppel;
    doppel.name = s("Herrendoppel"); // the form's columns follow the names
    doppel.kind = ClassKind::Doppel;
    Filling filling;
    filling.verein = verein;
    filling.rows[1] = {s("Schulz"), s("Peter"), s("Kreisliga"), {1, 2}};
    filling.rows[4] = {s("Meyer"), s("Tom"), s("Bezirksliga"), {2}};
    return fillLikeWord(RegistrationFormWriter(contentWith({einzel, doppel})).document(), filling);
}

// Keeps every box it is shown and answers Ok.
class RecordingPrompter : public Prompter {
public:
    PromptAnswer prompt(PromptKind kind, const QString& text, PromptButtons, const QString&) override
    {
        shown.append({kind, text});
        return PromptAnswer::Ok;
    }
    QList<std::pair<PromptKind, QString>> shown;
};

// Runs `action` on a connection of its own in a thread.
class DeskThread {
public:
    DeskThread(const TestDatabase& tdb, std::function<void(const QSqlDatabase&)> action)
    {
        m_thread.reset(QThread::create([this, &tdb, action] {
            try {
                const QString name = uniqueConnectionName(s("desk"));
                ScopedConnection desk(tdb.backend() == Backend::SQLite ? openSqlite(tdb.sqlitePath(), name)
                                                                         : tdb.pg()->open(name));
                m_pid = tdb.backend() == Backend::PostgreSQL
                            ? scalar(desk.db(), s("SELECT pg_backend_pid()")).toInt()
                            : -1;
                action(desk.db());
            } catch (const std::exception& e) {
                m_error = QString::fromUtf8(e.what());
            }
        }));
        m_thread->start();
    }
    ~DeskThread() { m_thread->wait(); }
    int pid() const { return m_pid; }
    bool finished() const { return m_thread->isFinished(); }
    QString error()
    {
        m_thread->wait();
        return m_error;
    }

private:
    std::unique_ptr<QThread> m_thread;
    std::atomic<int> m_pid{0};
    QString m_error;
};

} // namespace

class TestImport : public QObject {
    Q_OBJECT

private slots:
    // ------------------------------------------------------------ writing

    // Keys after the largest of all tournaments, in list order; an entry whose
    // name the tournament holds is skipped and named; sheet entries get no
    // classes, form entries theirs (an unknown class and one of another
    // tournament left out and named, a class twice entered once) and an open
    // partner row in the doubles class; yes/no columns hold 0/1.
    void writing_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void writing()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seed(db);
        QList<int> progress;
        const ImportOutcome outcome = importPlayers(
            db, kTid,
            {sheetItem(s("Weiß"), s("Lena")), formItem(s("Schulz"), s("Peter"), {kDoppel, kEinzel, kDoppel, 77, kForeignClass}),
             sheetItem(s("Müller"), s("Jürgen")), formItem(s("Meyer"), s("Tom"), {})},
            [&](int done) { progress << done; });
        QCOMPARE(outcome.imported, 3);
        QCOMPARE(outcome.present, QStringList{s("Müller, Jürgen")});
        QCOMPARE(outcome.unknownClasses, (QStringList{s("Schulz, Peter: Klasse 77"), s("Schulz, Peter: Klasse 3")}));
        QCOMPARE(progress, (QList<int>{1, 2, 3, 4}));
        QCOMPARE(rows(db, s("SELECT SID, nachname, vorname, verein, nummer, bezahlt, angemeldet, mann, frau, "
                            "spklasse, LiveSpielerID FROM Spielerdaten WHERE TID=1 AND SID>5 ORDER BY SID")),
                 (QStringList{s("42 Weiß Lena ohne Verein - 0 0 0 0  0"),
                              s("43 Schulz Peter TTC Brunnhain - 0 0 1 0 Kreisliga 0"),
                              s("44 Meyer Tom TTC Brunnhain - 0 0 1 0 Kreisliga 0")}));
        QCOMPARE(rows(db, s("SELECT TID, KID, SID, gemeldet FROM Spieler_im_turnier ORDER BY SID, KID")),
                 (QStringList{s("1 1 43 0"), s("1 2 43 0")}));
        QCOMPARE(rows(db, s("SELECT KID, SID, partner_SID, mannschaft FROM Doppelpartner")),
                 QStringList{s("2 43 - -")});
    }

    // A birth date is written as a date; one that is no date stays empty.
    void birthDates_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void birthDates()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seed(db);
        ImportItem dated = sheetItem(s("A"), s("B"));
        dated.geb = s("07.03.1984");
        ImportItem undated = sheetItem(s("C"), s("D"));
        undated.geb = s("kein Datum");
        importPlayers(db, kTid, {dated, undated});
        QSqlQuery q = execute(db, s("SELECT geb FROM Spielerdaten WHERE SID IN (42, 43) ORDER BY SID"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString().left(10), s("1984-03-07"));
        QVERIFY(q.next());
        QVERIFY(q.isNull(0));
    }

    // A failure at any statement writes nothing: not of the players, not of
    // the staging table.
    void atomic_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void atomic()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seed(db);
        replaceStagingRows(db, {{s("Alt"), s("Anna"), 9, s("x"), s("y")}});
        int runs = 0;
        QString failure = checkAtomic(
            db,
            [&] {
                importPlayers(db, kTid,
                              {sheetItem(s("Weiß"), s("Lena")), formItem(s("Schulz"), s("Peter"), {kEinzel, kDoppel})});
            },
            {}, {}, &runs);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QVERIFY(runs > 5);
        failure = checkAtomic(db, [&] {
            replaceStagingRows(db, {{s("Schulz"), s("Peter"), 1, s("TTC"), s("K")},
                                    {s("Schulz"), s("Peter"), 2, s("TTC"), s("K")}});
        });
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QCOMPARE(stagingRows(db).size(), 2);
    }

    // Two desks import the same list at once: each name is written once; the
    // desk that comes second is told every entry is already there.
    void twoDesks_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void twoDesks()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase a = tdb.db();
        seed(a);
        const QList<ImportItem> list{sheetItem(s("Weiß"), s("Lena")), formItem(s("Schulz"), s("Peter"), {kDoppel})};
        ImportOutcome second;
        {
            Transaction transaction(a);
            QCOMPARE(importPlayers(a, kTid, list).imported, 2);
            DeskThread deskB(tdb, [&](const QSqlDatabase& b) { second = importPlayers(b, kTid, list); });
            if (backend == Backend::PostgreSQL) {
                const QSqlDatabase monitor = tdb.open();
                QVERIFY(QTest::qWaitFor([&] {
                    return deskB.finished()
                        || scalar(monitor, s("SELECT cardinality(pg_blocking_pids(:pid))"), {{s("pid"), deskB.pid()}})
                                   .toInt()
                               > 0;
                }));
            }
            transaction.commit();
            QCOMPARE(deskB.error(), QString());
        }
        QCOMPARE(second.imported, 0);
        QCOMPARE(second.present, (QStringList{s("Weiß, Lena"), s("Schulz, Peter")}));
        QCOMPARE(rows(a, s("SELECT nachname, COUNT(*) FROM Spielerdaten WHERE TID=1 GROUP BY nachname ORDER BY nachname")),
                 (QStringList{s("Müller 1"), s("Schulz 1"), s("Weiß 1")}));
        QCOMPARE(rows(a, s("SELECT COUNT(*) FROM Doppelpartner")), QStringList{s("1")});
    }

    // ------------------------------------------------------------ sources

    // Another tournament database: its tournaments and players, read on a
    // connection of its own; the file is never changed and may be read-only.
    void sourceDatabase()
    {
        TestDatabase source(Backend::SQLite);
        QVERIFY(source.ready());
        seed(source.db());
        execute(source.db(), s("UPDATE Spielerdaten SET geb=:geb, mann=1, spielstaerke=:st, email=:em WHERE SID=5"),
                {{s("geb"), QDate(1984, 3, 7)}, {s("st"), s("1520")}, {s("em"), s("j@example.org")}});
        const QByteArray before = fileHash(source.sqlitePath());
        ReadOnly readOnly(source.sqlitePath());
        QVERIFY(readOnly.ready());
        SourceDatabase database(source.sqlitePath());
        QCOMPARE(database.tournaments(),
                 (QList<SourceTournament>{{kTid, s("Stadtmeisterschaft")}, {kOtherTid, s("Vereinsmeisterschaft")}}));
        const QList<ImportItem> players = database.players(kTid);
        QCOMPARE(players.size(), 1);
        QCOMPARE(players[0].id, 5);
        QCOMPARE(players[0].text(), s("Müller, Jürgen"));
        QCOMPARE(players[0].geb, s("07.03.1984"));
        QCOMPARE(players[0].spielstaerke, s("1520"));
        QCOMPARE(players[0].email, s("j@example.org"));
        QVERIFY(players[0].mann);
        QCOMPARE(fileHash(source.sqlitePath()), before);
    }

    void sourceRefused_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::newRow("no database") << QByteArray("Name;Vorname\n") << s("keine SQLite-Datenbank");
        QTest::newRow("an empty file") << QByteArray() << s("keine Turnierdatenbank: die Tabelle Turnierdaten fehlt");
    }
    void sourceRefused()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath(s("quelle.sqlite"));
        writeFile(path, content);
        try {
            SourceDatabase database(path);
            QFAIL("opened");
        } catch (const AppError& e) {
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
        }
        QCOMPARE(QFile(path).size(), qint64(content.size()));
    }

    // A database without the player columns the import reads is none.
    void sourceWithoutColumns()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(s("andere.sqlite"));
        {
            ScopedConnection made(openSqlite(path, uniqueConnectionName(s("made")), true));
            execute(made.db(), s("CREATE TABLE Turnierdaten (TID INTEGER, turniername TEXT)"));
            execute(made.db(), s("CREATE TABLE Spielerdaten (TID INTEGER, SID INTEGER, nachname TEXT)"));
        }
        QVERIFY_THROWS_EXCEPTION(AppError, SourceDatabase{path});
    }

    // ------------------------------------------------------------ sheet mapping

    void sheetMapping_data()
    {
        QTest::addColumn<QStringList>("order");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QStringList>("entries"); // nachname|vorname|verein|geb|land
        QTest::newRow("names only")
            << QStringList{s("Nachname"), s("Vorname")} << QString()
            << QStringList{s("Müller|Jürgen|ohne Verein||"), s("Özdemir|Ayşe|ohne Verein||"),
                           s("Schäfer|Lena|ohne Verein||")};
        QTest::newRow("first names first")
            << QStringList{s("Vorname"), s("Nachname"), s("Verein"), s("Geburtstag"), s("Kreisverband"), s("Land")}
            << QString()
            << QStringList{s("Jürgen|Müller|TTC Großdorf|07.03.1984|Deutschland"),
                           s("Ayşe|Özdemir||12.11.1999|Österreich"), s("Lena|Schäfer|TSV Süd||Schweiz")};
        QTest::newRow("no first name") << QStringList{s("Nachname")} << kNamesNotMapped << QStringList();
        QTest::newRow("more labels than columns")
            << QStringList{s("Nachname"), s("Vorname"), s("Verein"), s("Geburtstag"), s("Land"), s("Landesverband"),
                           s("Bundesverband")}
            << kTooManyColumns << QStringList();
    }
    void sheetMapping()
    {
        QFETCH(QStringList, order);
        QFETCH(QString, refusal);
        QFETCH(QStringList, entries);
        const TextTable table = SheetReader::readFile(fixturePath(s("players.xlsx")));
        QCOMPARE(checkSheetMapping(table, order), refusal);
        if (!refusal.isEmpty())
            return;
        QStringList got;
        for (const ImportItem& item : sheetItems(table, order)) {
            QCOMPARE(item.id, kSheetItemId);
            got << QStringList{item.nachname, item.vorname, item.verein, item.geb, item.land}.join(QLatin1Char('|'));
        }
        QCOMPARE(got, entries);
    }

    // A sheet of one column cannot name both.
    void sheetOfOneColumn()
    {
        const TextTable table{{s("Name")}, {{s("Müller")}}};
        QCOMPARE(checkSheetMapping(table, {s("Nachname"), s("Vorname")}), kNamesNotMapped);
    }

    // ------------------------------------------------------------ dialog

    void dialogDatabase()
    {
        TestDatabase program(Backend::SQLite);
        TestDatabase source(Backend::SQLite);
        QVERIFY(program.ready() && source.ready());
        seed(source.db());
        const QStringList programBefore = dumpTables(program.db());
        FakePrompter prompter;
        QList<ImportItem> delivered;
        Timport_form dialog(nullptr, {prompter, [&] { return program.db(); }, nullptr,
                                      [&](const QList<ImportItem>& items) { delivered = items; }});
        FakeFileDialogs files;
        files.answer(source.sqlitePath());
        QVERIFY(dialog.runImportOpen(files, nullptr));
        QCOMPARE(files.calls().last().filter, Timport_form::kFileTypes.join(s(";;")));
        QCOMPARE(dialog.importopenFilterIndex, int(Timport_form::Database));
        dialog.FormShow();
        QVERIFY(!dialog.brackwell->isHidden() && dialog.excel->isHidden() && dialog.word->isHidden());
        QCOMPARE(texts(dialog.ListBox1), (QStringList{s("Stadtmeisterschaft"), s("Vereinsmeisterschaft")}));

        prompter.expect(PromptKind::Error, s("Daten konnten nicht übernommen werden"));
        dialog.okClick();
        QVERIFY(prompter.verify());
        QVERIFY(delivered.isEmpty());

        dialog.ListBox1->setCurrentRow(1);
        dialog.okClick();
        QCOMPARE(delivered.size(), 1);
        QCOMPARE(delivered[0].id, 41);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dumpTables(program.db()), programBefore);
    }

    void dialogInvalidSource()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(s("liste.db"));
        writeFile(path, "kein SQLite");
        FakePrompter prompter;
        Timport_form dialog(nullptr, {prompter, {}, nullptr, {}});
        dialog.importopenFilterIndex = Timport_form::Database;
        dialog.importopenFileName = path;
        prompter.expectPrefix(PromptKind::Error, s("Ungültige Quelle gewählt\n"));
        dialog.FormShow();
        QVERIFY(prompter.verify());
        QCOMPARE(dialog.ListBox1->count(), 0);
    }

    // The file type decides: an .xlsx chosen as "Exceldaten" is a sheet; the
    // labels dragged into "Datenreihenfolge" name the columns in order.
    void dialogSheet()
    {
        FakePrompter prompter;
        QProgressBar bar;
        QList<ImportItem> delivered;
        Timport_form dialog(nullptr, {prompter, {}, &bar, [&](const QList<ImportItem>& items) { delivered = items; }});
        FakeFileDialogs files;
        files.answer(fixturePath(s("players.xls")), Timport_form::kFileTypes[1]);
        QVERIFY(dialog.runImportOpen(files, nullptr));
        QCOMPARE(dialog.importopenFilterIndex, int(Timport_form::Sheet));
        dialog.FormShow();
        QCOMPARE(bar.value(), 0);
        QCOMPARE(dialog.DBGrid1->columnCount(), 6);
        QCOMPARE(dialog.DBGrid1->horizontalHeaderItem(5)->text(), s("Spalte 6"));
        QCOMPARE(dialog.DBGrid1->rowCount(), 4);
        QCOMPARE(dialog.DBGrid1->item(0, 0)->text(), s("Müller"));

        auto drag = [&](const QString& label) {
            dialog.ListBox2->setCurrentItem(dialog.ListBox2->findItems(label, Qt::MatchExactly).first());
            dialog.ListBox3DragDrop(dialog.ListBox2);
        };
        drag(s("Nachname"));
        drag(s("Nachname")); // once only
        prompter.expect(PromptKind::Error, kNamesNotMapped);
        dialog.okClick();
        QVERIFY(prompter.verify());
        drag(s("Verein"));
        drag(s("Vorname"));
        QCOMPARE(texts(dialog.ListBox3), (QStringList{s("Nachname"), s("Verein"), s("Vorname")}));
        dialog.ListBox3->setCurrentRow(1); // "Verein" dragged back
        dialog.ListBox2DragDrop(dialog.ListBox3);
        QCOMPARE(texts(dialog.ListBox3), (QStringList{s("Nachname"), s("Vorname")}));
        dialog.okClick();
        QCOMPARE(delivered.size(), 3); // "Weiß" has no first name
        QCOMPARE(delivered[1].text(), s("Özdemir, Ayşe"));
        QCOMPARE(delivered[1].verein, s("ohne Verein"));
    }

    void dialogUnreadableSheet()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(s("liste.xlsx"));
        writeFile(path, "Name;Vorname\n");
        FakePrompter prompter;
        Timport_form dialog(nullptr, {prompter, {}, nullptr, {}});
        dialog.importopenFilterIndex = Timport_form::Sheet;
        dialog.importopenFileName = path;
        prompter.expectPrefix(PromptKind::Error, s("Die Excel-Datei kann nicht gelesen werden"));
        dialog.FormShow();
        QVERIFY(prompter.verify());
        QCOMPARE(dialog.DBGrid1->columnCount(), 0);
    }

    // A returned form: the staging rows replaced, the last row at the top, the
    // entries carrying their classes; a form that cannot be read leaves the
    // staging table as it was and the list empty.
    void dialogForm_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void dialogForm()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seed(db);
        replaceStagingRows(db, {{s("Alt"), s("Anna"), 9, s("x"), s("y")}});
        QTemporaryDir dir;
        const QString path = dir.filePath(s("Anmeldung.docx"));
        writeFile(path, returnedForm());
        FakePrompter prompter;
        QList<ImportItem> delivered;
        Timport_form dialog(nullptr, {prompter, [&] { return db; }, nullptr,
                                      [&](const QList<ImportItem>& items) { delivered = items; }});
        dialog.importopenFilterIndex = Timport_form::Form;
        dialog.importopenFileName = path;

        const QString failure = checkAtomic(db, [&] {
            prompter.clear();
            prompter.expectPrefix(PromptKind::Information, s("Es trat ein Fehler auf!\n"));
            dialog.FormShow();
            const bool failed = prompter.pending() == 0;
            prompter.clear();
            if (failed) {
                QVERIFY(dialog.ListBox4->count() == 0);
                throw AppError(s("failed"));
            }
        });
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QCOMPARE(dialog.Vereintext->text(), s("TTC Brunnhain"));
        QCOMPARE(texts(dialog.ListBox4), (QStringList{s("Meyer, Tom"), s("Schulz, Peter")}));
        QCOMPARE(stagingRows(db),
                 (QList<StagingRow>{{s("Schulz"), s("Peter"), kEinzel, s("TTC Brunnhain"), s("Kreisliga")},
                                    {s("Schulz"), s("Peter"), kDoppel, s("TTC Brunnhain"), s("Kreisliga")},
                                    {s("Meyer"), s("Tom"), kDoppel, s("TTC Brunnhain"), s("Bezirksliga")}}));
        dialog.okClick();
        QCOMPARE(delivered.size(), 2);
        QCOMPARE(delivered[0].id, kFormItemId);
        QCOMPARE(delivered[0].classIds, QList<int>{kDoppel});
        QCOMPARE(delivered[1].classIds, (QList<int>{kEinzel, kDoppel}));
        QVERIFY(delivered[1].mann && !delivered[1].frau);

        writeFile(path, "kein Formular");
        prompter.expectPrefix(PromptKind::Information, s("Es trat ein Fehler auf!\n"));
        dialog.FormShow();
        QVERIFY(prompter.verify());
        QCOMPARE(dialog.ListBox4->count(), 0);
        QCOMPARE(stagingRows(db).size(), 3);
    }

    // The club read from a form shows as it was typed, never as markup.
    void dialogFormClubAsTyped_data()
    {
        QTest::addColumn<QString>("club");
        QTest::newRow("bold") << s("<b>TTC</b> Köln");
        QTest::newRow("script") << s("<script>alert(1)</script>");
        QTest::newRow("entity and tag") << s("A &amp; B <i>");
    }
    void dialogFormClubAsTyped()
    {
        QFETCH(QString, club);
        TestDatabase tdb(Backend::SQLite);
        const QSqlDatabase db = tdb.db();
        seed(db);
        QTemporaryDir dir;
        const QString path = dir.filePath(s("Anmeldung.docx"));
        writeFile(path, returnedForm(club));
        FakePrompter prompter;
        QList<ImportItem> delivered;
        Timport_form dialog(nullptr, {prompter, [&] { return db; }, nullptr,
                                      [&](const QList<ImportItem>& items) { delivered = items; }});
        dialog.importopenFilterIndex = Timport_form::Form;
        dialog.importopenFileName = path;
        dialog.FormShow();
        QCOMPARE(dialog.Vereintext->text(), club);
        // Shown whole: as wide as the text with its angle brackets.
        QVERIFY(dialog.Vereintext->sizeHint().width() >= dialog.Vereintext->fontMetrics().horizontalAdvance(club));
        dialog.okClick();
        QCOMPARE(delivered.first().verein, club);
    }

    // ------------------------------------------------------------ page

    // Moving: from the bottom up, an entry whose text the other list holds
    // stays; every field goes along and back.
    void pageMoves()
    {
        FakePrompter prompter;
        const int tid = kTid;
        ImportPage page({prompter, {}, tid, nullptr, {}}, nullptr);
        ImportItem full = sheetItem(s("Zander"), s("Zoe"));
        full.spielklasse = s("A");
        full.spielstaerke = s("1700");
        full.email = s("z@example.org");
        full.frau = true;
        page.setSourceEntries({full, sheetItem(s("Ärmel"), s("Bea")), sheetItem(s("Berg"), s("Cem"))});
        QCOMPARE(texts(page.importliste1), (QStringList{s("Ärmel, Bea"), s("Berg, Cem"), s("Zander, Zoe")}));
        QCOMPARE(page.importliste1->selectedItems().size(), 3);
        page.importbutton1Click();
        QCOMPARE(texts(page.importliste2), (QStringList{s("Zander, Zoe"), s("Berg, Cem"), s("Ärmel, Bea")}));
        QCOMPARE(page.importliste1->count(), 0);

        page.setSourceEntries({sheetItem(s("Berg"), s("Cem")), sheetItem(s("Dorn"), s("Eva"))});
        page.importbutton1Click();
        QCOMPARE(texts(page.importliste1), QStringList{s("Berg, Cem")});
        QVERIFY(page.importliste1->selectedItems().isEmpty());
        page.importliste2->item(0)->setSelected(true);
        page.importbutton2Click();
        QCOMPARE(ImportPage::entries(page.importliste1).last(), full);
    }

    // "Importieren" writes the right-hand list in one transaction; a failure
    // at any statement keeps both lists and writes nothing; the end names what
    // was not taken and empties both lists.
    void pageImport_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void pageImport()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seed(db);
        RecordingPrompter boxes;
        const int tid = kTid;
        QProgressBar bar;
        ImportPage page({boxes, [&] { return db; }, tid, &bar, {}}, nullptr);
        const QList<ImportItem> list{sheetItem(s("Müller"), s("Jürgen")), formItem(s("Schulz"), s("Peter"), {kDoppel})};
        const QStringList before = dumpTables(db);
        int n = 1;
        for (;; ++n) {
            boxes.shown.clear();
            page.setSourceEntries(list);
            page.importbutton1Click();
            page.setSourceEntries({sheetItem(s("Links"), s("Lea"))});
            FaultInjection::failStatement(db, n);
            page.importhinzuClick();
            const bool fired = FaultInjection::fired(db);
            FaultInjection::clear(db);
            if (!fired)
                break;
            QCOMPARE(boxes.shown.size(), 1);
            QCOMPARE(boxes.shown[0].first, PromptKind::Error);
            QCOMPARE(dumpTables(db), before);
            QCOMPARE(page.importliste2->count(), 2);
            QCOMPARE(page.importliste1->count(), 1);
            QCOMPARE(bar.value(), 0);
        }
        QVERIFY(n > 3);
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].second,
                 s("Der Import wurde abgeschlossen.\n\nNicht übernommen, da schon im Turnier: Müller, Jürgen"));
        QCOMPARE(page.importliste1->count(), 0);
        QCOMPARE(page.importliste2->count(), 0);
        QCOMPARE(rows(db, s("SELECT SID, nachname FROM Spielerdaten WHERE TID=1 ORDER BY SID")),
                 (QStringList{s("5 Müller"), s("42 Schulz")}));

        FakePrompter prompter;
        ImportPage second({prompter, [&] { return db; }, tid, &bar, {}}, nullptr);
        second.setSourceEntries({sheetItem(s("Links"), s("Lea"))});
        prompter.expect(PromptKind::Information, s("Der Import wurde abgeschlossen."));
        second.importhinzuClick(); // nothing chosen: both lists emptied
        QVERIFY(prompter.verify());
        QCOMPARE(second.importliste1->count(), 0);
    }
};

QTEST_MAIN(TestImport)
#include "test_import.moc"
