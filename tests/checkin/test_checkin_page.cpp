// The check-in page on a real SQLite file: its tabs and lists, the colours, the
// keys of the edits and lists (the keypad's Enter included), CTRL+ENTER for a
// new player or team, the team check-in through its dialog, and the "alle"
// buttons.
#include "checkinfixture.h"

#include "checkin/checkinpage.h"
#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"
#include "data/sql.h"
#include "results/tteam_melden.h"
#include "results/tteamauswahl.h"
#include "support/fakeprompter.h"
#include "support/pagewrite.h"
#include "support/testdatabase.h"
#include "support/widgethelpers.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QTabBar>
#include <QTest>

using namespace bw;
using namespace bw::test;
using namespace bw::test::seed;

class TestCheckInPage : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestDatabase> m_tdb;
    std::unique_ptr<FakePrompter> m_prompter;
    std::unique_ptr<QProgressBar> m_bar;
    std::unique_ptr<Tteam_melden> m_teamMelden;
    std::unique_ptr<Tteamauswahl> m_teamauswahl;
    std::unique_ptr<CheckInPage> m_page;
    int m_tid = kTid;
    QList<TypedName> m_newPlayers;
    QList<QWidget*> m_workDialogs;
    // Answers the team check-in dialog; unset: a dialog nobody expected fails.
    std::function<int(Tteam_melden&)> m_answer;

    QSqlDatabase db() const { return m_tdb->db(); }

    QStringList entries(const QListWidget* list) const
    {
        QStringList result;
        for (int row = 0; row < list->count(); ++row)
            result << list->item(row)->text();
        return result;
    }
    QColor colourOf(const QListWidget* list, const QString& startOfText) const
    {
        for (int row = 0; row < list->count(); ++row) {
            if (list->item(row)->text().startsWith(startOfText))
                return checkInColour(CheckInPage::item(list, row));
        }
        return {};
    }
    void showTab(const QString& text)
    {
        for (int i = 0; i < m_page->meldetab->count(); ++i) {
            if (m_page->meldetab->tabText(i) == text) {
                m_page->meldetab->setCurrentIndex(i);
                return;
            }
        }
        QFAIL(qPrintable(QStringLiteral("no tab ") + text));
    }
    void selectTeam(const QString& name)
    {
        const QList<QListWidgetItem*> found = m_page->teammeldeliste->findItems(name, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        m_page->teammeldeliste->setCurrentItem(found.first());
    }

private slots:
    void init()
    {
        m_tdb = std::make_unique<TestDatabase>(Backend::SQLite);
        QVERIFY(m_tdb->ready());
        seedCheckInTournament(db());
        m_prompter = std::make_unique<FakePrompter>();
        m_bar = std::make_unique<QProgressBar>();
        m_teamMelden = std::make_unique<Tteam_melden>();
        m_teamauswahl = std::make_unique<Tteamauswahl>(nullptr, *m_prompter, [this] { return db(); }, [] { return kTid; });
        m_newPlayers.clear();
        m_workDialogs.clear();
        m_answer = nullptr;
        CheckInPageLinks links{*m_prompter,
                               [this] { return db(); },
                               m_tid,
                               m_bar.get(),
                               *m_teamMelden,
                               *m_teamauswahl,
                               {},
                               [this](QWidget* dialog) {
                                   m_workDialogs << dialog;
                                   dialog->show();
                               },
                               [this](const TypedName& name) { m_newPlayers << name; },
                               [this](QDialog& dialog) {
                                   if (!m_answer) {
                                       QTest::qFail("unexpected team check-in dialog", __FILE__, __LINE__);
                                       return int(QDialog::Rejected);
                                   }
                                   return m_answer(static_cast<Tteam_melden&>(dialog));
                               }};
        m_page = std::make_unique<CheckInPage>(links);
        m_page->resize(700, 500);
        m_page->show();
        m_page->SpielerbuttonItems1Click();
    }
    void cleanup()
    {
        m_page.reset();
        m_teamauswahl.reset();
        m_teamMelden.reset();
        QVERIFY(m_prompter->verify());
        m_tdb.reset();
    }

    void pageOpensOnAlle()
    {
        QCOMPARE(m_page->meldetab->count(), 6);
        QCOMPARE(m_page->meldetab->tabText(0), QStringLiteral("Alle"));
        QCOMPARE(m_page->meldetab->tabText(1), QStringLiteral("Herren A (Einzel)"));
        QCOMPARE(entries(m_page->anmeldeliste),
                 (QStringList{"Abel, Anna (TSV A)", "Berg, Bernd (SV Brunnhain)", "Cramer, Carl (TSV A)",
                              "Dorn, Dora (SV Brunnhain)", "Ebert, Emil (TSV A)", "Fuchs, Franz (TSV A)"}));
        QCOMPARE(entries(m_page->teammeldeliste), (QStringList{"SV Brunnhain", "TSV A"}));
        QCOMPARE(m_page->anmeldeliste->currentRow(), 0);
        QCOMPARE(m_page->teammeldeliste->currentRow(), 0);
        QVERIFY(m_page->teammeldeliste->isVisible());

        // A singles class hides the team side; the team class shows it again.
        showTab(QStringLiteral("Herren B (Einzel)"));
        QCOMPARE(entries(m_page->anmeldeliste), (QStringList{"Abel, Anna (TSV A)", "Berg, Bernd (SV Brunnhain)"}));
        for (QWidget* w : {static_cast<QWidget*>(m_page->teammeldeliste), static_cast<QWidget*>(m_page->team_anmeldung),
                           static_cast<QWidget*>(m_page->StaticText91), static_cast<QWidget*>(m_page->RadioGroup2),
                           static_cast<QWidget*>(m_page->teammeldecheck)})
            QVERIFY(!w->isVisible());
        showTab(QStringLiteral("Mannschaft (Team)"));
        QVERIFY(m_page->teammeldeliste->isVisible());
        QCOMPARE(entries(m_page->teammeldeliste), (QStringList{"SV Brunnhain", "TSV A"}));
        QCOMPARE(m_page->anmeldeliste->count(), 5);

        // Opened again from a class tab: "Alle" with its lists.
        m_page->SpielerbuttonItems1Click();
        QCOMPARE(m_page->meldetab->currentIndex(), 0);
        QCOMPARE(m_page->meldetab->count(), 6);
        QCOMPARE(m_page->anmeldeliste->count(), 6);
        QVERIFY(m_page->teammeldeliste->isVisible());
    }

    void sortingByClub()
    {
        m_page->RadioGroup1Buttons->button(1)->click();
        QCOMPARE(entries(m_page->anmeldeliste).first(), QStringLiteral("Berg, Bernd (SV Brunnhain)"));
        showTab(QStringLiteral("Herren B (Einzel)"));
        m_page->RadioGroup1Buttons->button(1)->click();
        QCOMPARE(entries(m_page->anmeldeliste), (QStringList{"Berg, Bernd (SV Brunnhain)", "Abel, Anna (TSV A)"}));
    }

    // Colours on "Alle": black for every class, blue for some, red for none; a
    // player in no class is black.
    void coloursOnAlle()
    {
        QCOMPARE(colourOf(m_page->anmeldeliste, "Fuchs"), QColor(Qt::black));
        QCOMPARE(colourOf(m_page->anmeldeliste, "Abel"), QColor(Qt::red));
        // ENTER on Abel: every class but the team class; after a reload he is blue.
        m_page->spieler_anmeldung->setFocus();
        QTest::keyClicks(m_page->spieler_anmeldung, "ab");
        QCOMPARE(m_page->anmeldeliste->currentRow(), 0);
        QTest::keyClick(m_page->spieler_anmeldung, Qt::Key_Return);
        QCOMPARE(entryFlag(db(), kAbel, kHerrenB), 1);
        QCOMPARE(entryFlag(db(), kAbel, kDoppel), 1);
        QCOMPARE(entryFlag(db(), kAbel, kTeam), 0);
        QCOMPARE(colourOf(m_page->anmeldeliste, "Abel"), QColor(Qt::black));
        QVERIFY(m_page->anmeldecheck->Checked());
        m_page->SpielerbuttonItems1Click();
        QCOMPARE(colourOf(m_page->anmeldeliste, "Abel"), QColor(Qt::blue));
        // The legend in the same colours.
        QCOMPARE(m_page->Label2->text(), QStringLiteral("Teilweise angem."));
        QCOMPARE(m_page->Label2->palette().color(QPalette::WindowText), QColor(Qt::blue));
    }

    // ENTER on a class tab toggles the entry of that class: Return, the keypad's
    // Enter, in the edit and in the list, and a double click.
    void enterTogglesOnClassTab_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<bool>("inList");
        QTest::newRow("Return in the edit") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << false;
        QTest::newRow("keypad Enter in the edit") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier)
                                                  << false;
        QTest::newRow("Return in the list") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << true;
        QTest::newRow("keypad Enter in the list") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier)
                                                  << true;
        QTest::newRow("CTRL+Enter in the list")
            << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::KeypadModifier) << true;
    }
    void enterTogglesOnClassTab()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(bool, inList);
        showTab(QStringLiteral("Herren B (Einzel)"));
        QTest::keyClicks(m_page->spieler_anmeldung, "be");
        QCOMPARE(m_page->anmeldeliste->currentRow(), 1);
        QWidget* target = inList ? static_cast<QWidget*>(m_page->anmeldeliste) : m_page->spieler_anmeldung;
        QTest::keyClick(target, Qt::Key(key), modifiers);
        QCOMPARE(entryFlag(db(), kBerg, kHerrenB), 1);
        QCOMPARE(entryFlag(db(), kBerg, kTeam), 0);
        QCOMPARE(colourOf(m_page->anmeldeliste, "Berg"), QColor(Qt::black));
        QTest::keyClick(target, Qt::Key(key), modifiers);
        QCOMPARE(entryFlag(db(), kBerg, kHerrenB), 0);
        QCOMPARE(colourOf(m_page->anmeldeliste, "Berg"), QColor(Qt::red));
        QVERIFY(m_newPlayers.isEmpty());
    }

    void typeAheadAndArrows()
    {
        showTab(QStringLiteral("Herren B (Einzel)"));
        // Cramer is not entered in Herren B: nothing is selected anew.
        m_page->anmeldeliste->setCurrentRow(1);
        QTest::keyClicks(m_page->spieler_anmeldung, "cr");
        QCOMPARE(m_page->anmeldeliste->currentRow(), 1);
        m_page->spieler_anmeldung->clear();
        QTest::keyClick(m_page->spieler_anmeldung, Qt::Key_Up);
        QCOMPARE(m_page->anmeldeliste->currentRow(), 0);
        QCOMPARE(m_page->spieler_anmeldung->text(), QStringLiteral("Abel, Anna"));
        QTest::keyClick(m_page->spieler_anmeldung, Qt::Key_Up);
        QCOMPARE(m_page->anmeldeliste->currentRow(), 0);
        QTest::keyClick(m_page->spieler_anmeldung, Qt::Key_Down);
        QTest::keyClick(m_page->spieler_anmeldung, Qt::Key_Down);
        QCOMPARE(m_page->anmeldeliste->currentRow(), 1);
        // A click shows the entry's name and state.
        spieleranmeldung(db(), kTid, kAbel, true, kHerrenB);
        showTab(QStringLiteral("Herren A (Einzel)"));
        showTab(QStringLiteral("Herren B (Einzel)"));
        const QRect first = m_page->anmeldeliste->visualItemRect(m_page->anmeldeliste->item(0));
        QTest::mouseClick(m_page->anmeldeliste->viewport(), Qt::LeftButton, {}, first.center());
        QCOMPARE(m_page->spieler_anmeldung->text(), QStringLiteral("Abel, Anna"));
        QVERIFY(m_page->anmeldecheck->Checked());
        // The check box sets the state it shows.
        click(m_page->anmeldecheck);
        QCOMPARE(entryFlag(db(), kAbel, kHerrenB), 0);
        QCOMPARE(colourOf(m_page->anmeldeliste, "Abel"), QColor(Qt::red));
    }

    // CTRL+ENTER in the player edit opens a new player with the typed name split.
    void ctrlEnterSplitsTheName_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("nachname");
        QTest::addColumn<QString>("vorname");
        QTest::newRow("comma") << "Meier, Hans" << int(Qt::Key_Return) << "Meier" << "Hans";
        QTest::newRow("blank") << "Meier Hans" << int(Qt::Key_Return) << "Meier" << "Hans";
        QTest::newRow("comma before the blank") << "von Berg,Ute" << int(Qt::Key_Return) << "von Berg" << "Ute";
        QTest::newRow("blanks around the parts") << "  Meier ,  Hans Peter " << int(Qt::Key_Enter) << "Meier"
                                                 << "Hans Peter";
        QTest::newRow("one word") << "Meier" << int(Qt::Key_Enter) << "Meier" << "";
        QTest::newRow("nothing typed") << "" << int(Qt::Key_Return) << "" << "";
    }
    void ctrlEnterSplitsTheName()
    {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(QString, nachname);
        QFETCH(QString, vorname);
        m_page->spieler_anmeldung->setText(typed);
        const Qt::KeyboardModifiers keypad = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        QTest::keyClick(m_page->spieler_anmeldung, Qt::Key(key), Qt::ControlModifier | keypad);
        QCOMPARE(int(m_newPlayers.size()), 1);
        QCOMPARE(m_newPlayers.first(), (TypedName{nachname, vorname}));
        // Not a check-in.
        QCOMPARE(entryFlag(db(), kAbel, kHerrenB), 0);
    }

    // A team checked in with two of its four players ticked, on its class tab.
    // The check boxes and the team field show the entries the lists select
    // after a reload or a tab change, never an earlier entry's.
    void boxesFollowTheSelectionAfterReloadAndTabChange()
    {
        // "SV Brunnhain" comes first and is checked in, "TSV A" is not.
        execute(db(), QStringLiteral("UPDATE Teams SET angemeldet=1 WHERE MID=:m"), {{QStringLiteral("m"), kTeamB}});
        execute(db(), QStringLiteral("UPDATE Spieler_im_turnier SET gemeldet=1 WHERE SID=:s"), {{QStringLiteral("s"), kAbel}});
        m_page->SpielerbuttonItems1Click();
        QCOMPARE(m_page->teammeldeliste->currentItem()->text(), QStringLiteral("SV Brunnhain"));
        QVERIFY(m_page->teammeldecheck->Checked());
        QVERIFY(m_page->anmeldecheck->Checked());

        selectTeam(QStringLiteral("TSV A"));
        m_page->teammeldelisteClick();
        QCOMPARE(m_page->team_anmeldung->text(), QStringLiteral("TSV A"));
        QVERIFY(!m_page->teammeldecheck->Checked());
        showTab(QStringLiteral("Mannschaft (Team)"));
        QCOMPARE(m_page->team_anmeldung->text(), QString());
        QCOMPARE(m_page->teammeldeliste->currentItem()->text(), QStringLiteral("SV Brunnhain"));
        QVERIFY(m_page->teammeldecheck->Checked());

        execute(db(), QStringLiteral("UPDATE Teams SET angemeldet=0"));
        execute(db(), QStringLiteral("UPDATE Spieler_im_turnier SET gemeldet=0"));
        m_page->SpielerbuttonItems1Click();
        QVERIFY(!m_page->teammeldecheck->Checked());
        QVERIFY(!m_page->anmeldecheck->Checked());
    }

    void teamWithTwoOfFourMembers()
    {
        showTab(QStringLiteral("Mannschaft (Team)"));
        selectTeam(QStringLiteral("TSV A"));
        m_answer = [this](Tteam_melden& dialog) {
            // The entry already shows the new state while the dialog is open.
            [&] { QVERIFY(CheckInPage::item(m_page->teammeldeliste, m_page->teammeldeliste->currentRow()).gemeldet); }();
            [&] { QCOMPARE(dialog.windowTitle(), QStringLiteral("Team anmelden")); }();
            dialog.boxes[1]->Click(); // Berg
            dialog.boxes[3]->Click(); // Dorn
            dialog.boxes[4]->Click(); // Ebert, the reserve
            dialog.uiButton1->Click();
            return dialog.result();
        };
        QTest::keyClick(m_page->teammeldeliste, Qt::Key_Return);
        QVERIFY(teamFlag(db(), kTeamA));
        QCOMPARE(entryFlag(db(), kAbel, kTeam), 1);
        QCOMPARE(entryFlag(db(), kCramer, kTeam), 1);
        QCOMPARE(entryFlag(db(), kBerg, kTeam), 0);
        QCOMPARE(entryFlag(db(), kDorn, kTeam), 0);
        QCOMPARE(entryFlag(db(), kEbert, kTeam), 0);
        QCOMPARE(entryFlag(db(), kAbel, kHerrenB), 0);
        QCOMPARE(colourOf(m_page->teammeldeliste, "TSV A"), QColor(Qt::black));
        QCOMPARE(colourOf(m_page->anmeldeliste, "Abel"), QColor(Qt::black));
        QCOMPARE(colourOf(m_page->anmeldeliste, "Berg"), QColor(Qt::red));
    }

    // On "Alle" the members change in the team's class; out again with the box.
    void teamOnAlleAndOut()
    {
        selectTeam(QStringLiteral("TSV A"));
        m_answer = [](Tteam_melden& dialog) {
            dialog.uiButton1->Click();
            return dialog.result();
        };
        QTest::keyClick(m_page->team_anmeldung, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(teamFlag(db(), kTeamA));
        for (int sid : {kAbel, kBerg, kCramer, kDorn, kEbert})
            QCOMPARE(entryFlag(db(), sid, kTeam), 1);
        QCOMPARE(entryFlag(db(), kAbel, kHerrenB), 0);
        // The page was rebuilt: Cramer is blue (team yes, Herren A no).
        QCOMPARE(colourOf(m_page->anmeldeliste, "Cramer"), QColor(Qt::blue));
        QCOMPARE(colourOf(m_page->anmeldeliste, "Dorn"), QColor(Qt::black));

        selectTeam(QStringLiteral("TSV A"));
        m_answer = [](Tteam_melden& dialog) {
            [&] { QCOMPARE(dialog.windowTitle(), QStringLiteral("Team abmelden")); }();
            dialog.uiButton1->Click();
            return dialog.result();
        };
        click(m_page->teammeldecheck);
        QVERIFY(!teamFlag(db(), kTeamA));
        QCOMPARE(entryFlag(db(), kDorn, kTeam), 0);
    }

    // "Abbrechen" writes nothing and the team shows its old state again.
    void cancelledTeamCheckInChangesNothing()
    {
        showTab(QStringLiteral("Mannschaft (Team)"));
        selectTeam(QStringLiteral("TSV A"));
        const QStringList before = dumpTables(db());
        m_answer = [](Tteam_melden& dialog) {
            dialog.boxes[0]->Click();
            dialog.uiButton2->Click();
            return dialog.result();
        };
        m_page->teammeldelisteDblClick();
        QCOMPARE(dumpTables(db()), before);
        QCOMPARE(colourOf(m_page->teammeldeliste, "TSV A"), QColor(Qt::red));
        QVERIFY(!m_page->teammeldecheck->Checked());
    }

    // CTRL+ENTER on the team side opens the team builder with a new team of the typed name.
    void ctrlEnterStartsANewTeam()
    {
        m_page->team_anmeldung->setText(QStringLiteral("Neue Mannschaft"));
        QTest::keyClick(m_page->team_anmeldung, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(m_workDialogs, (QList<QWidget*>{m_teamauswahl.get()}));
        QVERIFY(m_teamauswahl->isVisible());
        QCOMPARE(m_teamauswahl->ComboBox1->currentText(), QStringLiteral("Neue Mannschaft"));
        QCOMPARE(Tteamauswahl::entryId(m_teamauswahl->ListBox1, 0), 0);
        QVERIFY(!m_teamauswahl->deleteButton->isEnabled());
        QVERIFY(!teamFlag(db(), kTeamA));
        m_teamauswahl->close();
    }

    // "alle Spieler abmelden" on a class tab: each player once, all red.
    void allPlayersOutOnClassTab()
    {
        showTab(QStringLiteral("Mannschaft (Team)"));
        m_page->uiButton2->Click();
        for (int sid : {kAbel, kBerg, kCramer, kDorn, kEbert})
            QCOMPARE(entryFlag(db(), sid, kTeam), 1);
        QCOMPARE(entryFlag(db(), kAbel, kHerrenB), 0);
        m_page->uiButton3->Click();
        QCOMPARE(int(entries(m_page->anmeldeliste).size()), 5);
        QCOMPARE(int(entries(m_page->anmeldeliste).removeDuplicates()), 0);
        for (int row = 0; row < m_page->anmeldeliste->count(); ++row)
            QCOMPARE(checkInColour(CheckInPage::item(m_page->anmeldeliste, row)), QColor(Qt::red));
        QCOMPARE(m_bar->value(), 0);
        QCOMPARE(entryFlag(db(), kEbert, kTeam), 0);
    }

    // "alle Teams anmelden": every team of the list and all its players and reserves.
    void allTeamsIn()
    {
        m_page->uiButton4->Click();
        QVERIFY(teamFlag(db(), kTeamA));
        QVERIFY(teamFlag(db(), kTeamB));
        for (int sid : {kAbel, kBerg, kCramer, kDorn, kEbert})
            QCOMPARE(entryFlag(db(), sid, kTeam), 1);
        QCOMPARE(colourOf(m_page->teammeldeliste, "TSV A"), QColor(Qt::black));
        QCOMPARE(colourOf(m_page->teammeldeliste, "SV Brunnhain"), QColor(Qt::black));
        m_page->uiButton5->Click();
        QVERIFY(!teamFlag(db(), kTeamA));
        QCOMPARE(entryFlag(db(), kEbert, kTeam), 0);
    }

    // A check-in failing at any of its statements shows the error and leaves
    // the database as it was; the lists show it again on the rows they showed,
    // the ticks those rows' states.
    void failedWriteKeepsPageAndDatabase_data()
    {
        QTest::addColumn<QString>("tab");
        QTest::addColumn<QString>("control");
        QTest::newRow("a player on Alle") << "Alle" << "anmeldecheck";
        QTest::newRow("all players of a class") << "Mannschaft (Team)" << "uiButton2";
        QTest::newRow("a team of its class") << "Mannschaft (Team)" << "teammeldecheck";
        QTest::newRow("all teams on Alle") << "Alle" << "uiButton4";
    }
    void failedWriteKeepsPageAndDatabase()
    {
        QFETCH(QString, tab);
        QFETCH(QString, control);
        showTab(tab);
        m_page->anmeldeliste->setCurrentRow(1);
        m_page->anmeldelisteClick();
        selectTeam(QStringLiteral("TSV A"));
        m_page->teammeldelisteClick();
        m_answer = [](Tteam_melden& dialog) {
            dialog.uiButton1->Click();
            return dialog.result();
        };
        // What the page shows: every entry with its state, the current rows and the ticks.
        const auto shown = [this] {
            QStringList lines;
            for (const QListWidget* list : {m_page->anmeldeliste, m_page->teammeldeliste}) {
                for (int row = 0; row < list->count(); ++row) {
                    const Myitem entry = CheckInPage::item(list, row);
                    lines << QStringLiteral("%1 %2 %3").arg(list->item(row)->text()).arg(entry.gemeldet).arg(entry.teilgemeldet);
                }
                lines << QStringLiteral("row %1").arg(list->currentRow());
            }
            lines << QStringLiteral("ticks %1 %2").arg(m_page->anmeldecheck->Checked()).arg(m_page->teammeldecheck->Checked());
            return lines;
        };
        const QStringList before = shown();
        const QStringList stored = dumpTables(db());
        auto* button = m_page->findChild<TuiCustomControl*>(control);
        QVERIFY(button);
        int runs = 0;
        const QString failure = checkPageWrite(
            db(), *m_prompter, [&] { click(button); },
            [&] { return shown() == before ? QString() : shown().join(QLatin1Char(';')); }, {}, &runs);
        QCOMPARE(failure, QString());
        QVERIFY(runs > 1);
        QVERIFY(m_prompter->verify());
        QVERIFY(dumpTables(db()) != stored);
    }
};

QTEST_MAIN(TestCheckInPage)
#include "test_checkin_page.moc"
