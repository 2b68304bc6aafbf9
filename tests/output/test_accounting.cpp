// The entry-fee accounting: its rows on both backends, the sheet read back with
// openpyxl (headers, values, looks, widths, filter, page set-up), a new file per
// run, and the dialog: opening the file, saying where it is when it cannot be
// opened, and a failed write that leaves no file and a usable dialog.
#include "controls/uibuttons.h"
#include "data/accountingrecords.h"
#include "data/classkind.h"
#include "data/sql.h"
#include "output/accountingsheet.h"
#include "output/tabrechnungform.h"
#include "output/xlsxbook.h"
#include "support/fakeservices.h"
#include "support/readonly.h"
#include "support/tempprogramfolder.h"
#include "support/testdatabase.h"
#include "support/widgethelpers.h"
#include "xlsxreader.h"

#include <QDir>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

void seedClass(const QSqlDatabase& db, int tid, int kid, const char* name, ClassKind kind, const QVariant& fee)
{
    insertRow(db, s("Turnierklassen"), {{s("TID"), tid}, {s("KID"), kid}, {s("system"), storedKind(kind)},
                                        {s("kbezeichnung"), s(name)}, {s("gebuehr"), fee}});
}

void seedPlayer(const QSqlDatabase& db, int tid, int sid, const char* vorname, const char* nachname, const char* verein,
                const QVariant& zubezahlen, bool bezahlt)
{
    insertRow(db, s("Spielerdaten"), {{s("TID"), tid}, {s("SID"), sid}, {s("vorname"), s(vorname)},
                                      {s("nachname"), s(nachname)}, {s("verein"), s(verein)},
                                      {s("zubezahlen"), zubezahlen}, {s("bezahlt"), bezahlt}});
}

void seedEntry(const QSqlDatabase& db, int tid, int kid, int sid, bool gemeldet = false)
{
    insertRow(db, s("Spieler_im_turnier"), {{s("TID"), tid}, {s("KID"), kid}, {s("SID"), sid}, {s("gemeldet"), gemeldet}});
}

// Tournament 1: Brandt in three classes and a team, Müller (nothing paid, no
// amount) in one, Weber only in the team; tournament 2 has a player of its own.
void seedTournament(const QSqlDatabase& db)
{
    seedClass(db, 1, 1, "Herren A", ClassKind::Einzel, 8.0);
    seedClass(db, 1, 2, "Herren", ClassKind::Doppel, 6.0);
    seedClass(db, 1, 3, "Mixed offen", ClassKind::Mixed, 6.5);
    seedClass(db, 1, 4, "Mannschaft", ClassKind::Team, 20.0);
    seedClass(db, 2, 5, "Andere", ClassKind::Einzel, 5.0);
    seedPlayer(db, 1, 2, "Lukas", "Müller", "SV Grünwald", QVariant(QMetaType::fromType<double>()), false);
    seedPlayer(db, 1, 1, "Jonas", "Brandt", "TTC Musterstadt", 20.5, true);
    seedPlayer(db, 1, 3, "Tim", "Weber", "TSV", 20.0, true);
    seedPlayer(db, 2, 4, "Paul", "Fischer", "SV", 5.0, true);
    for (const auto& [kid, sid] : {std::pair{3, 1}, {1, 2}, {4, 1}, {1, 1}, {2, 1}, {4, 3}})
        seedEntry(db, 1, kid, sid, sid == 1);
    seedEntry(db, 2, 5, 4);
}

const QJsonArray kHeaders{QStringLiteral("Vorname"),      QStringLiteral("Nachname"),
                          QStringLiteral("Verein"),       QStringLiteral("Spielklasse(n)"),
                          QStringLiteral("Hat bezahlt?"), QStringLiteral("Hat wieviel bezahlt"),
                          QStringLiteral("Müsste bezahlen?")};

QJsonArray sheetRow(const char* vorname, const char* nachname, const char* verein, const char* klasse,
                    const char* bezahlt, const QJsonValue& amount, double fee)
{
    return {s(vorname), s(nachname), s(verein), s(klasse), s(bezahlt), amount, fee};
}

const QDateTime kNow(QDate(2026, 12, 10), QTime(9, 0));

QStringList files(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// The accounting dialog of tournament 1 on an SQLite database in a program folder.
struct AccountingDesk {
    AccountingDesk() : fake(folder.path()), form(nullptr, fake.services, [this] { return tdb.db(); }, tid)
    {
        fake.clock.set(kNow);
        if (tdb.ready())
            seedTournament(tdb.db());
    }
    QString exportFolder() const { return folder.file(QStringLiteral("ExportExcel")); }

    TempProgramFolder folder{TempProgramFolder::Content::Empty};
    TestDatabase tdb{Backend::SQLite};
    FakeServices fake;
    int tid = 1;
    TAbrechnungForm form;
};

} // namespace

class TestAccounting : public QObject {
    Q_OBJECT
private slots:
    void rows_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void rows()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        seedTournament(tdb.db());
        QStringList got;
        for (const AccountingRow& r : accountingRows(tdb.db(), 1)) {
            got << QStringLiteral("%1|%2 %3|%4|%5|%6|%7|%8|%9|%10")
                       .arg(r.sid)
                       .arg(r.vorname, r.nachname, r.verein,
                            r.zubezahlen ? QString::number(*r.zubezahlen) : QStringLiteral("null"))
                       .arg(r.bezahlt)
                       .arg(r.gemeldet)
                       .arg(r.kbezeichnung, kindName(r.system.value()))
                       .arg(r.gebuehr.value_or(-1));
        }
        QCOMPARE(got, (QStringList{s("1|Jonas Brandt|TTC Musterstadt|20.5|1|1|Herren A|Einzel|8"),
                                   s("1|Jonas Brandt|TTC Musterstadt|20.5|1|1|Herren|Doppel|6"),
                                   s("1|Jonas Brandt|TTC Musterstadt|20.5|1|1|Mixed offen|Mixed|6.5"),
                                   s("2|Lukas Müller|SV Grünwald|null|0|0|Herren A|Einzel|8")}));
        QCOMPARE(accountingRows(tdb.db(), 3).size(), 0);
    }

    // The whole sheet as openpyxl reads it.
    void sheetReadBack()
    {
        TestDatabase tdb(Backend::SQLite);
        QVERIFY(tdb.ready());
        seedTournament(tdb.db());
        QTemporaryDir dir;
        int written = 0;
        const QString path =
            writeAccountingFile(accountingRows(tdb.db(), 1), dir.path(), kNow, [&] { ++written; });
        QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("Turnierabrechnung_20261210-090000.xlsx"));
        QCOMPARE(written, 4);
        QString error;
        const auto sheet = readXlsxSheet(path, &error);
        QVERIFY2(sheet, qPrintable(error));

        QCOMPARE(sheet->value(QStringLiteral("name")).toString(), QStringLiteral("Turnierabrechnung"));
        const QJsonArray rows = sheet->value(QStringLiteral("rows")).toArray();
        QCOMPARE(rows.size(), 5);
        QCOMPARE(rows[0].toArray(), kHeaders);
        QCOMPARE(rows[1].toArray(), sheetRow("Jonas", "Brandt", "TTC Musterstadt", "Herren A (Einzel)", "Ja", 20.5, 8));
        QCOMPARE(rows[2].toArray(), sheetRow("Jonas", "Brandt", "TTC Musterstadt", "Herren (Doppel)", "Ja", 20.5, 6));
        QCOMPARE(rows[3].toArray(), sheetRow("Jonas", "Brandt", "TTC Musterstadt", "Mixed offen (Mixed)", "Ja", 20.5, 6.5));
        QCOMPARE(rows[4].toArray(), sheetRow("Lukas", "Müller", "SV Grünwald", "Herren A (Einzel)", "Nein", QJsonValue(), 8));

        const QJsonObject looks = sheet->value(QStringLiteral("looks")).toObject();
        const QJsonArray thin{QStringLiteral("thin"), QStringLiteral("thin"), QStringLiteral("thin"), QStringLiteral("thin")};
        for (const QChar column : QStringLiteral("ABCDEFG")) {
            const QJsonObject header = looks.value(column + QStringLiteral("1")).toObject();
            QCOMPARE(header.value(QStringLiteral("fill")).toString(), QStringLiteral("solid"));
            QCOMPARE(header.value(QStringLiteral("colour")).toString(), QStringLiteral("FFFFFF99"));
            QCOMPARE(header.value(QStringLiteral("borders")).toArray(), thin);
        }
        for (const char* cell : {"F2", "G2", "F5", "G5"})
            QCOMPARE(looks.value(QLatin1String(cell)).toObject().value(QStringLiteral("format")).toString(), kEuroFormat);
        QVERIFY(!looks.contains(QStringLiteral("A2")));

        const QJsonObject widths = sheet->value(QStringLiteral("widths")).toObject();
        const double expected[] = {20, 20, 25, 25, 15, 20, 20};
        QCOMPARE(widths.size(), 7);
        for (int c = 0; c < 7; ++c)
            QCOMPARE(widths.value(QString(QChar('A' + c))).toDouble(), expected[c] + 0.7109375);
        QCOMPARE(sheet->value(QStringLiteral("autoFilter")).toString(), QStringLiteral("A1:G5"));
        QCOMPARE(sheet->value(QStringLiteral("printTitleRows")).toString(), QStringLiteral("$1:$1"));
        QCOMPARE(sheet->value(QStringLiteral("orientation")).toString(), QStringLiteral("landscape"));
        QVERIFY(sheet->value(QStringLiteral("fitToPage")).toBool());
        QCOMPARE(sheet->value(QStringLiteral("fitToWidth")).toInt(), 1);
        QCOMPARE(sheet->value(QStringLiteral("fitToHeight")).toInt(), 0);
    }

    // A tournament whose players are only in team classes: the header row alone.
    void onlyTeamClasses()
    {
        TestDatabase tdb(Backend::SQLite);
        QVERIFY(tdb.ready());
        seedTournament(tdb.db());
        execute(tdb.db(), s("DELETE FROM Spieler_im_turnier WHERE KID <> 4"));
        QTemporaryDir dir;
        QString error;
        const auto sheet = readXlsxSheet(writeAccountingFile(accountingRows(tdb.db(), 1), dir.path(), kNow), &error);
        QVERIFY2(sheet, qPrintable(error));
        QCOMPARE(sheet->value(QStringLiteral("rows")).toArray(), QJsonArray{kHeaders});
        QCOMPARE(sheet->value(QStringLiteral("autoFilter")).toString(), QStringLiteral("A1:G1"));
    }

    // Each run opens a new file; an older one stays.
    void dialogWritesAndOpens()
    {
        AccountingDesk desk;
        QVERIFY(desk.tdb.ready());
        QCOMPARE(desk.form.windowTitle(), QStringLiteral("Finanzielle Turnierabrechnung"));
        click(desk.form.uiButton1);
        click(desk.form.uiButton1);
        const QStringList expected{QStringLiteral("Turnierabrechnung_20261210-090000-2.xlsx"),
                                   QStringLiteral("Turnierabrechnung_20261210-090000.xlsx")};
        QCOMPARE(files(desk.exportFolder()), expected);
        QCOMPARE(desk.fake.runner.opened,
                 (QList<QUrl>{QUrl::fromLocalFile(desk.exportFolder() + QStringLiteral("/") + expected[1]),
                              QUrl::fromLocalFile(desk.exportFolder() + QStringLiteral("/") + expected[0])}));
        QCOMPARE(desk.form.ProgressBar1->maximum(), 4);
        QCOMPARE(desk.form.ProgressBar1->value(), 4);
        QVERIFY(desk.form.isEnabled());
        QVERIFY(!desk.form.Panel1->isVisibleTo(&desk.form));
    }

    void dialogCannotOpen()
    {
        AccountingDesk desk;
        QVERIFY(desk.tdb.ready());
        desk.fake.runner.succeed = false;
        desk.fake.prompter.expect(PromptKind::Information,
                                  QStringLiteral("Die Datei wurde erzeugt, konnte aber nicht geöffnet werden:\r%1")
                                      .arg(desk.exportFolder() + QStringLiteral("/Turnierabrechnung_20261210-090000.xlsx")));
        click(desk.form.uiButton1);
        QVERIFY(desk.fake.prompter.verify());
    }

    // A folder that takes no file: the error with its reason, no file, a usable dialog.
    void dialogFailedWrite()
    {
        AccountingDesk desk;
        QVERIFY(desk.tdb.ready());
        QVERIFY(QDir().mkpath(desk.exportFolder()));
        ReadOnly readOnly(desk.exportFolder());
        if (!readOnly.ready())
            QSKIP("no way to make a folder read-only here");
        desk.fake.prompter.expectPrefix(PromptKind::Error, TAbrechnungForm::kFailed + QStringLiteral("\rIm Ordner \"%1\"")
                                                               .arg(desk.exportFolder()));
        click(desk.form.uiButton1);
        QVERIFY(desk.fake.prompter.verify());
        QCOMPARE(files(desk.exportFolder()), QStringList());
        QVERIFY(desk.fake.runner.opened.isEmpty());
        QVERIFY(desk.form.isEnabled());
        QVERIFY(!desk.form.Panel1->isVisibleTo(&desk.form));
    }
};

QTEST_MAIN(TestAccounting)
#include "test_accounting.moc"
