// The team match dialog on a real database: the rows of the class's games and
// sets, what each mode shows, the actions that plan, call up and start a team
// match with its games, the later calls, the checks of table, time, result and
// set entries, and another desk calling the match while the dialog is open.
#include "teamfixture.h"

#include "plans/plansession.h"
#include "results/tergebnis_team.h"
#include "results/umpiresheet.h"
#include "support/fakeprompter.h"
#include "support/widgethelpers.h"

#include "controls/uibuttons.h"
#include "platformui/printercontext.h"
#include "controls/uicheckctrls.h"
#include "platform/clock.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

const QDate kClassDay(2026, 6, 7);

QString runTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestTergebnisTeam : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_tdb;
    QSqlDatabase m_db;
    TeamClass m_class;
    std::unique_ptr<FakePrompter> m_prompter;
    FixedClock m_clock{QDateTime(QDate(2026, 6, 7), QTime(11, 12, 13))};
    std::unique_ptr<Tergebnis_team> m_dialog;
    QStringList m_told; // what the plan was told

    Tergebnis_team& dialog() { return *m_dialog; }
    MatchStage stage(int n) const { return readMatchDialogRow(m_db, m_class.kid, n)->state(); }
    void fill(TergebnisMode mode, int n, bool byHand = false)
    {
        TeamMatchFill how;
        how.startDay = kClassDay;
        how.callUp = mode == TergebnisMode::Aufrufen;
        how.freeTables = {QStringLiteral("T2")};
        how.freeUmpires = {QStringLiteral("Abel, Eva")};
        how.withResults = mode == TergebnisMode::Beendet;
        dialog().fillMode(mode, *loadTeamMatch(m_db, m_class.kid, n, how), byHand);
    }
    QStringList games(int n) const
    {
        return queryRows(m_db, QStringLiteral("SELECT nummer,geplanter_tisch,an_platte,geplante_zeit IS NULL,schiri "
                                              "FROM Teamspiele WHERE KID=%1 AND spielnummer=%2 ORDER BY nummer")
                                   .arg(m_class.kid)
                                   .arg(n));
    }

private slots:
    void initTestCase()
    {
        m_tdb = std::make_unique<TestDatabase>(Backend::SQLite);
        QVERIFY(m_tdb->ready());
        m_db = m_tdb->db();
        m_class = teamClass(m_db);
    }

    void init()
    {
        execute(m_db, s("UPDATE Spielplan SET in_planung=0,begonnen=0,beendet=0,manuell=0,aufruf2_sp2=NULL WHERE KID=:k"),
                {{s("k"), m_class.kid}});
        execute(m_db, s("UPDATE Teamspiele SET geplanter_tisch=NULL,an_platte=NULL,geplante_zeit=NULL,schiri=NULL "
                        "WHERE KID=:k"),
                {{s("k"), m_class.kid}});
        m_told.clear();
        m_prompter = std::make_unique<FakePrompter>();
        m_dialog = std::make_unique<Tergebnis_team>(nullptr, *m_prompter);
        TergebnisTeamLinks links;
        links.clock = &m_clock;
        links.database = [this] { return m_db; };
        links.matchCalled = [this](int n, const HeldTeamResources& held) {
            m_told << QStringLiteral("called %1: %2 %3 %4 [%5] [%6]")
                          .arg(n)
                          .arg(held.gruppe)
                          .arg(held.mid1)
                          .arg(held.mid2)
                          .arg(held.tische.join(QLatin1Char(',')), held.schiris.join(QLatin1Char(',')));
        };
        links.matchStarted = [this](int n) { m_told << QStringLiteral("started %1").arg(n); };
        links.rebuildStates = [this] { m_told << QStringLiteral("rebuild"); };
        dialog().setLinks(std::move(links));
        dialog().setResultSetup(loadResultDialogSetup(m_db, m_class.kid, loadKlasseninfos(m_db, m_class.kid, kClassDay)));
    }

    void cleanup() { QVERIFY(m_prompter->verify()); }

    // The rows of the format's games; three sets to win give five set entries,
    // a game result opens its sets and empties what was typed.
    void rowsAndSetEntries()
    {
        Tergebnis_team& d = dialog();
        fill(TergebnisMode::Starten, m_class.match);
        QCOMPARE(d.spiel[2]->text(), QStringLiteral("Spiel 3: D2 - D2"));
        for (int g = 0; g < 9; ++g) {
            QCOMPARE(d.erg[size_t(g)]->isVisibleTo(&d), g < 4);
            for (int k = 0; k < 9; ++k)
                QCOMPARE(d.satz[size_t(g)][size_t(k)]->isVisibleTo(&d), g < 4 && k < 5);
        }
        QCOMPARE(d.spielerc[3]->isVisibleTo(&d), false); // three players per team
        QCOMPARE(d.PageControl1->currentWidget(), d.TabSheet3);
        QVERIFY(!d.TabSheet1->isEnabled() && d.TabSheet3->isEnabled());

        d.satz[1][4]->setText(QStringLiteral("+5"));
        d.erg[1]->setCurrentText(QStringLiteral("3:1"));
        for (int k = 0; k < 5; ++k) {
            QCOMPARE(d.satz[1][size_t(k)]->isEnabled(), k < 4);
            QVERIFY(d.satz[1][size_t(k)]->text().isEmpty());
        }

        // The team result list of a nine-game format.
        ResultDialogSetup nine = d.resultSetup();
        nine.teamResultItems = teamResultItems(9);
        d.setResultSetup(nine);
        QVERIFY(d.ergebniscombo->findText(QStringLiteral("2:5")) >= 0);
        QCOMPARE(d.ergebniscombo->findText(QStringLiteral("3:3")), -1);
        QCOMPARE(d.ergebniscombo->findText(QStringLiteral("0:0")), -1);

        // A set entry that is no number is refused when left.
        d.satz[0][0]->setText(QStringLiteral("+"));
        m_prompter->expect(PromptKind::Warning, kKeinSatzwert, PromptAnswer::Cancel);
        d.satz11Exit(d.satz[0][0]);
        QVERIFY(d.satz[0][0]->text().isEmpty());
    }

    // Planning stores every game and the line-up; a bad time or table stores nothing.
    void plansTheGames()
    {
        Tergebnis_team& d = dialog();
        fill(TergebnisMode::Planen, m_class.match);
        QCOMPARE(d.ok->Caption(), kUebernehmen);
        QVERIFY(d.team1->text().startsWith(QStringLiteral("Team ")));
        QCOMPARE(d.spielerc[0]->currentText(), QStringLiteral("Spieler1, T."));
        QCOMPARE(d.tag[0]->date(), kClassDay);

        // No table is planned, none is chosen for the organiser: "Übernehmen"
        // asks for one.
        const QStringList before = games(m_class.match);
        for (QComboBox* table : d.tisch)
            QCOMPARE(table->currentText(), QString());
        QCOMPARE(d.focusWidget(), d.tisch[0]);
        m_prompter->expect(PromptKind::Warning, kKeinePlatte, PromptAnswer::Cancel);
        QVERIFY(!d.okClick());
        QCOMPARE(games(m_class.match), before);
        for (int g = 0; g < 4; ++g)
            d.tisch[size_t(g)]->setCurrentText(QStringLiteral("T1"));

        d.zeit[3]->setText(QStringLiteral("9:7x"));
        m_prompter->expectPrefix(PromptKind::Warning, QStringLiteral("Die Uhrzeit von Spiel 4"), PromptAnswer::Cancel);
        QVERIFY(!d.okClick());
        QCOMPARE(games(m_class.match), before);
        QVERIFY(d.ok->isEnabled());

        d.zeit[3]->setText(QStringLiteral("10:30"));
        d.tisch[1]->setEditText(QStringLiteral("T7"));
        m_prompter->expect(PromptKind::Warning, kKeinePlatte, PromptAnswer::Cancel);
        QVERIFY(!d.okClick());
        QCOMPARE(games(m_class.match), before);

        d.tisch[1]->setCurrentText(QStringLiteral("T2"));
        QVERIFY(d.okClick());
        QCOMPARE(games(m_class.match),
                 (QStringList{"1|T1|NULL|1|NULL", "2|T2|NULL|1|NULL", "3|T1|NULL|1|NULL", "4|T1|NULL|0|NULL"}));
        QCOMPARE(stage(m_class.match), MatchStage::Open);
    }

    // Call-up with the free tables, the later calls, the start.
    void callsAndStarts()
    {
        Tergebnis_team& d = dialog();
        fill(TergebnisMode::Aufrufen, m_class.match);
        QCOMPARE(d.tisch[0]->currentText(), QStringLiteral("T2"));
        QVERIFY(d.schiri[0]->currentText().isEmpty());
        d.schiri[0]->setCurrentText(QStringLiteral("Abel, Eva"));
        QVERIFY(d.okClick());
        QCOMPARE(stage(m_class.match), MatchStage::Called);
        QCOMPARE(games(m_class.match),
                 (QStringList{"1|T2|T2|1|Abel, Eva", "2|T2|T2|1|NULL", "3|T2|T2|1|NULL", "4|T2|T2|1|NULL"}));
        const MatchDialogRow row = *readMatchDialogRow(m_db, m_class.kid, m_class.match);
        QVERIFY(row.anPlatte.isEmpty() && row.schiri.isEmpty());
        QCOMPARE(m_told.size(), 1);
        QVERIFY2(m_told[0].endsWith(QStringLiteral("[T2,T2,T2,T2] [Abel, Eva,,,]")), qPrintable(m_told[0]));

        // Second call of team 2: ticked stores the time, unticked Null.
        fill(TergebnisMode::Aufgerufen, m_class.match);
        QCOMPARE(d.PageControl1->currentWidget(), d.TabSheet2);
        click(d.aufruf2_sp2);
        QCOMPARE(readMatchDialogRow(m_db, m_class.kid, m_class.match)->spaetereAufrufe[2], m_clock.now());
        fill(TergebnisMode::Aufgerufen, m_class.match);
        QVERIFY(d.aufruf2_sp2->Checked());
        click(d.aufruf2_sp2);
        QVERIFY(!readMatchDialogRow(m_db, m_class.kid, m_class.match)->spaetereAufrufe[2].isValid());

        QVERIFY(d.okClick());
        QCOMPARE(stage(m_class.match), MatchStage::Running);
        QCOMPARE(m_told.last(), QStringLiteral("started %1").arg(m_class.match));

        // Recording needs the team result engine.
        fill(TergebnisMode::Starten, m_class.match);
        m_prompter->expect(PromptKind::Warning, kKeinSpielergebnis, PromptAnswer::Cancel);
        QVERIFY(!d.okClick());
    }

    // Another desk called the match while the dialog showed it waiting.
    void anotherDeskWasFaster()
    {
        Tergebnis_team& d = dialog();
        fill(TergebnisMode::Aufrufen, m_class.match);
        execute(m_db, s("UPDATE Spielplan SET in_planung=1 WHERE KID=:k AND spielnummer=:n"),
                {{s("k"), m_class.kid}, {s("n"), m_class.match}});
        const QStringList before = games(m_class.match);
        m_prompter->expect(PromptKind::Warning, kMatchChanged);
        QVERIFY(!d.okClick());
        QCOMPARE(games(m_class.match), before);
        QCOMPARE(m_told, QStringList{QStringLiteral("rebuild")});
    }

    // "Drucken" while planning stores the games first, then prints a sheet
    // per game in the order of the games.
    void printsASheetPerGame()
    {
        Tergebnis_team& d = dialog();
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("team.pdf"));
        PrinterContext printers;
        QPrinter& printer = printers.printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(target);
        printer.setPageSize(QPageSize(QPageSize::A4));
        TergebnisTeamLinks links;
        links.database = [this] { return m_db; };
        links.schiedsrichterzettel = [&](int kid, int n) {
            // No set-up file: portrait on the current printer.
            druckenTeamUmpireSheets(*m_prompter, printers, dir.filePath(QStringLiteral("printerzettel.ini")), m_db, kid,
                                    n, 3);
        };
        d.setLinks(std::move(links));
        // Stored in another order than the games' numbers.
        execute(m_db, s("UPDATE Teamspiele SET schiri='Abel, Eva' WHERE KID=:k AND spielnummer=:n AND nummer=3"),
                {{s("k"), m_class.kid}, {s("n"), m_class.match}});
        fill(TergebnisMode::Planen, m_class.match);
        d.zeit[0]->setText(QStringLiteral("10:00"));
        for (int g = 0; g < 4; ++g)
            d.tisch[size_t(g)]->setCurrentText(QStringLiteral("T1"));
        d.druckenClick();
        QCOMPARE(games(m_class.match).first(), QStringLiteral("1|T1|NULL|0|NULL"));

        QVERIFY(runTool(QStringLiteral("pdfinfo"), {target}).contains(QRegularExpression(QStringLiteral("Pages:\\s+4\\n"))));
        const QStringList pages = runTool(QStringLiteral("pdftotext"), {target, QStringLiteral("-")})
                                      .split(QChar(u'\f'), Qt::SkipEmptyParts);
        QCOMPARE(pages.size(), 4);
        const TeamMatch shown = d.match();
        const QStringList players1{shown.lineup1[0].text, shown.lineup1[1].text, shown.lineup1[5].text,
                                   shown.lineup1[2].text};
        for (int g = 0; g < 4; ++g) {
            const QString& page = pages[g];
            for (const QString& expected : {QStringLiteral("Schiedsrichterzettel"), d.team1->text(), d.team2->text(),
                                            QStringLiteral("Spielnummer: %1").arg(m_class.match), players1[g]})
                QVERIFY2(page.contains(expected), qPrintable(expected + QStringLiteral(" not on page:\n") + page));
            QCOMPARE(page.contains(QStringLiteral("Abel, Eva")), g == 2);
        }
    }

    // A match started by hand may use a table no list offers.
    void byHandTakesATypedTable()
    {
        Tergebnis_team& d = dialog();
        fill(TergebnisMode::Aufrufen, m_class.match, true);
        d.tisch[0]->setEditText(QStringLiteral("Halle 2"));
        QVERIFY(d.okClick());
        QVERIFY(readMatchDialogRow(m_db, m_class.kid, m_class.match)->manuell);
        QCOMPARE(games(m_class.match).first(), QStringLiteral("1|Halle 2|Halle 2|1|NULL"));
    }
};

QTEST_MAIN(TestTergebnisTeam)
#include "test_tergebnis_team.moc"
