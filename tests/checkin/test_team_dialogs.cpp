// The team builder and the team check-in dialog on a real SQLite file: loading
// a class with its first team, the drag rules between the lists, storing with a
// proposed name, the checks before storing, overwriting and deleting a team,
// and the member boxes of the check-in dialog.
#include "checkinfixture.h"

#include "controls/uicheckctrls.h"
#include "data/sql.h"
#include "data/teamrecords.h"
#include "results/tteam_melden.h"
#include "results/tteamauswahl.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"
#include "support/widgethelpers.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace bw;
using namespace bw::test;
using namespace bw::test::seed;

namespace {

QList<int> ids(const QListWidget* list)
{
    QList<int> result;
    for (int row = 0; row < list->count(); ++row)
        result << Tteamauswahl::entryId(list, row);
    return result;
}

QStringList texts(const QListWidget* list)
{
    QStringList result;
    for (int row = 0; row < list->count(); ++row)
        result << list->item(row)->text();
    return result;
}

} // namespace

class TestTeamDialogs : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestDatabase> m_tdb;
    std::unique_ptr<FakePrompter> m_prompter;
    std::unique_ptr<Tteamauswahl> m_dialog;

    QSqlDatabase db() const { return m_tdb->db(); }
    QListWidget* list(int n) const
    {
        switch (n) {
        case 1: return m_dialog->ListBox1;
        case 2: return m_dialog->ListBox2;
        case 3: return m_dialog->ListBox3;
        case 4: return m_dialog->ListBox4;
        case 5: return m_dialog->ListBox5;
        default: return m_dialog->ListBox6;
        }
    }
    // A drop of source row `from` of list s on row `to` of list t.
    void drop(int s, int from, int t, int to)
    {
        list(s)->setCurrentRow(from);
        m_dialog->ListBoxDragDrop(list(t), list(s), to);
    }
    // Chooses a team in the name list as the user does.
    void chooseTeam(const QString& name)
    {
        const int index = m_dialog->ComboBox1->findText(name);
        m_dialog->ComboBox1->setCurrentIndex(index);
        emit m_dialog->ComboBox1->activated(index);
    }
    // Shows the dialog with the empty team "SV Brunnhain" loaded, then a new team.
    void showEmptyTeam()
    {
        m_dialog->show();
        m_dialog->newClick();
    }

private slots:
    void init()
    {
        m_tdb = std::make_unique<TestDatabase>(Backend::SQLite);
        QVERIFY(m_tdb->ready());
        seedCheckInTournament(db());
        m_prompter = std::make_unique<FakePrompter>();
        m_dialog = std::make_unique<Tteamauswahl>(nullptr, *m_prompter, [this] { return db(); }, [] { return kTid; });
    }
    void cleanup()
    {
        m_dialog.reset();
        QVERIFY(m_prompter->verify());
        m_prompter.reset();
        m_tdb.reset();
    }

    void showLoadsClassAndFirstTeam()
    {
        m_dialog->show();
        QCOMPARE(texts(m_dialog->ListBox6), QStringList{"Mannschaft"});
        QCOMPARE(m_dialog->teamklasse->text(), QStringLiteral("Mannschaft"));
        QCOMPARE(texts(m_dialog->ListBox3),
                 (QStringList{"Abel, Anna", "Berg, Bernd", "Cramer, Carl", "Dorn, Dora", "Ebert, Emil"}));
        QCOMPARE(m_dialog->ComboBox1->count(), 2);
        // The alphabetically first team, "SV Brunnhain", with its empty slots.
        QCOMPARE(m_dialog->ComboBox1->currentText(), QStringLiteral("SV Brunnhain"));
        QCOMPARE(m_dialog->ComboBox2->currentText(), QStringLiteral("SV Brunnhain"));
        QCOMPARE(ids(m_dialog->ListBox1), (QList<int>{0, 0, 0, 0}));
        QCOMPARE(ids(m_dialog->ListBox2), (QList<int>{0}));
        QCOMPARE(ids(m_dialog->ListBox4), (QList<int>{0, 0}));
        QVERIFY(m_dialog->deleteButton->isEnabled());

        // Choosing "TSV A" fills the slots; the registered players in it are blue.
        chooseTeam(QStringLiteral("TSV A"));
        QCOMPARE(ids(m_dialog->ListBox1), (QList<int>{kAbel, kBerg, kCramer, kDorn}));
        QCOMPARE(texts(m_dialog->ListBox2), QStringList{"Ebert, Emil"});
        QCOMPARE(ids(m_dialog->ListBox4), (QList<int>{kAbel, kBerg}));
        QCOMPARE(m_dialog->ComboBox2->currentText(), QStringLiteral("TSV A"));
        QCOMPARE(m_dialog->assignedPlayers(), (QSet<int>{kAbel, kBerg, kCramer, kDorn, kEbert}));

        // A click on a registered player shows his team.
        m_dialog->newClick();
        QVERIFY(!m_dialog->deleteButton->isEnabled());
        m_dialog->ListBox3->setCurrentRow(2);
        m_dialog->ListBox3Click();
        QCOMPARE(m_dialog->ComboBox1->currentText(), QStringLiteral("TSV A"));
        QCOMPARE(ids(m_dialog->ListBox1), (QList<int>{kAbel, kBerg, kCramer, kDorn}));
        QVERIFY(m_dialog->deleteButton->isEnabled());
    }

    // Every slot shows whole: no scroll bar covers the last reserve, also with
    // a long name.
    void slotsShowWhole()
    {
        m_dialog->show();
        chooseTeam(QStringLiteral("TSV A"));
        m_dialog->ListBox2->item(0)->setText(QStringLiteral("Müller-Lüdenscheidt-Oberberg, Hans-Peter Maximilian"));
        QCoreApplication::processEvents();
        for (QListWidget* slotList : {m_dialog->ListBox1, m_dialog->ListBox2, m_dialog->ListBox4, m_dialog->ListBox5}) {
            QVERIFY(!slotList->horizontalScrollBar()->isVisible());
            const QRect last = slotList->visualItemRect(slotList->item(slotList->count() - 1));
            QVERIFY2(last.bottom() < slotList->viewport()->height(), qPrintable(slotList->objectName()));
        }
    }

    // A player in a slot who is no longer entered in the class still shows with
    // his name, so storing the team again keeps him; one who is gone leaves an
    // empty slot.
    void slotOfPlayerNotEntered()
    {
        execute(db(), QStringLiteral("DELETE FROM Spieler_im_turnier WHERE SID=:s"), {{QStringLiteral("s"), kDorn}});
        execute(db(), QStringLiteral("DELETE FROM Spielerdaten WHERE SID=:s"), {{QStringLiteral("s"), kBerg}});
        m_dialog->show();
        chooseTeam(QStringLiteral("TSV A"));
        QCOMPARE(texts(m_dialog->ListBox1), (QStringList{"Abel, Anna", "", "Cramer, Carl", "Dorn, Dora"}));
        QCOMPARE(ids(m_dialog->ListBox1), (QList<int>{kAbel, 0, kCramer, kDorn}));
    }

    // Each row: drops "s:from>t:to" in order, then the ids of the players,
    // reserves and double-1 slots.
    void dragRules_data()
    {
        QTest::addColumn<QStringList>("drops");
        QTest::addColumn<QList<int>>("players");
        QTest::addColumn<QList<int>>("reserves");
        QTest::addColumn<QList<int>>("double1");
        QTest::newRow("registered player into the players") << QStringList{"3:0>1:2"} << QList<int>{0, 0, kAbel, 0}
                                                            << QList<int>{0} << QList<int>{0, 0};
        QTest::newRow("the same player twice stays in one slot")
            << QStringList{"3:0>1:0", "3:0>1:1"} << QList<int>{kAbel, 0, 0, 0} << QList<int>{0} << QList<int>{0, 0};
        QTest::newRow("from the players to the reserves moves him")
            << QStringList{"3:0>1:0", "1:0>2:0"} << QList<int>{0, 0, 0, 0} << QList<int>{kAbel} << QList<int>{0, 0};
        QTest::newRow("from the players into a double copies him")
            << QStringList{"3:0>1:0", "1:0>4:1"} << QList<int>{kAbel, 0, 0, 0} << QList<int>{0} << QList<int>{0, kAbel};
        QTest::newRow("two slots of the players change places")
            << QStringList{"3:0>1:0", "3:1>1:3", "1:0>1:3"} << QList<int>{kBerg, 0, 0, kAbel} << QList<int>{0}
            << QList<int>{0, 0};
        QTest::newRow("a registered player cannot go into a double directly")
            << QStringList{"3:0>4:0"} << QList<int>{0, 0, 0, 0} << QList<int>{0} << QList<int>{0, 0};
        QTest::newRow("a player already in the reserves is not placed twice")
            << QStringList{"3:4>2:0", "3:4>2:0"} << QList<int>{0, 0, 0, 0} << QList<int>{kEbert} << QList<int>{0, 0};
        QTest::newRow("a double's player dropped on the registered list leaves the double")
            << QStringList{"3:0>1:0", "1:0>4:0", "4:0>3:3"} << QList<int>{kAbel, 0, 0, 0} << QList<int>{0}
            << QList<int>{0, 0};
        QTest::newRow("a player dropped on the registered list leaves the team")
            << QStringList{"3:1>1:1", "1:1>3:0"} << QList<int>{0, 0, 0, 0} << QList<int>{0} << QList<int>{0, 0};
    }
    void dragRules()
    {
        QFETCH(QStringList, drops);
        QFETCH(QList<int>, players);
        QFETCH(QList<int>, reserves);
        QFETCH(QList<int>, double1);
        showEmptyTeam();
        for (const QString& d : drops) {
            const QStringList parts = d.split(QLatin1Char('>'));
            drop(parts[0].section(QLatin1Char(':'), 0, 0).toInt(), parts[0].section(QLatin1Char(':'), 1).toInt(),
                 parts[1].section(QLatin1Char(':'), 0, 0).toInt(), parts[1].section(QLatin1Char(':'), 1).toInt());
        }
        QCOMPARE(ids(m_dialog->ListBox1), players);
        QCOMPARE(ids(m_dialog->ListBox2), reserves);
        QCOMPARE(ids(m_dialog->ListBox4), double1);
        QCOMPARE(m_dialog->ListBox3->count(), 5);
    }

    void dropOnRegisteredClearsTeamName()
    {
        m_dialog->show();
        chooseTeam(QStringLiteral("TSV A"));
        drop(1, 1, 3, 0); // Berg out of the players
        QCOMPARE(teamNameOf(db(), kBerg, kTeam), QStringLiteral("<null>"));
        QCOMPARE(ids(m_dialog->ListBox1), (QList<int>{kAbel, 0, kCramer, kDorn}));
        drop(4, 0, 3, 0); // Abel out of double 1: his team name stays
        QCOMPARE(teamNameOf(db(), kAbel, kTeam), QStringLiteral("TSV A"));
        QCOMPARE(ids(m_dialog->ListBox4), (QList<int>{0, kBerg}));
    }

    // An empty name: the proposal from the first two players' surnames.
    void storeWithProposedName_data()
    {
        QTest::addColumn<QStringList>("drops");
        QTest::addColumn<QString>("proposal");
        QTest::newRow("two players") << QStringList{"3:0>1:0", "3:1>1:1"} << QStringLiteral("Abel / Berg");
        QTest::newRow("second slot empty") << QStringList{"3:2>1:0"} << QStringLiteral("Cramer / ");
    }
    void storeWithProposedName()
    {
        QFETCH(QStringList, drops);
        QFETCH(QString, proposal);
        showEmptyTeam();
        for (const QString& d : drops)
            drop(3, d.mid(2, 1).toInt(), 1, d.right(1).toInt());
        m_dialog->ComboBox2->setCurrentIndex(m_dialog->ComboBox2->findText(QStringLiteral("TSV A")));
        m_prompter->expect(PromptKind::Information, proposal)
            .expect(PromptKind::Question, QStringLiteral("Soll der Teamname ") + proposal + QStringLiteral(" verwendet werden?"),
                    PromptAnswer::Yes);
        click(m_dialog->ok);
        const std::optional<int> mid = teamByName(db(), kTeam, proposal);
        QVERIFY(mid);
        QCOMPARE(*mid, 3);
        QCOMPARE(m_dialog->ComboBox1->currentText(), proposal);
        QCOMPARE(m_dialog->ComboBox1->count(), 3);
        QCOMPARE(readTeam(db(), *mid)->verein, QStringLiteral("TSV A"));
        QVERIFY(m_dialog->isVisible()); // the dialog stays open
    }

    // Checks before storing: each stops without writing.
    void storeRefused()
    {
        showEmptyTeam();
        drop(3, 0, 1, 0);
        const QStringList before = dumpTables(db());
        m_prompter->expect(PromptKind::Information, QStringLiteral("Abel / "))
            .expect(PromptKind::Question, QStringLiteral("Soll der Teamname Abel /  verwendet werden?"), PromptAnswer::No)
            .expect(PromptKind::Warning, QStringLiteral("Sie müssen einen Mannschaftsname eingeben"));
        click(m_dialog->ok);
        m_dialog->ComboBox1->setEditText(QStringLiteral("Neu"));
        m_dialog->ComboBox2->setCurrentIndex(-1);
        m_prompter->expect(PromptKind::Warning, QStringLiteral("Sie müssen einen Verein eingeben"));
        click(m_dialog->ok);
        // An existing name, not overwritten.
        m_dialog->ComboBox1->setEditText(QStringLiteral(" TSV A "));
        m_dialog->ComboBox2->setCurrentIndex(0);
        m_prompter->expect(PromptKind::Warning, QStringLiteral("Dieser Mannschaftsname existiert bereits!\nÜberschreiben?"),
                           PromptAnswer::Cancel);
        click(m_dialog->ok);
        QCOMPARE(dumpTables(db()), before);
    }

    // Overwriting keeps the team's check-in state and takes the name from a
    // player who was replaced in his slot.
    void overwriteKeepsCheckIn()
    {
        execute(db(), QStringLiteral("UPDATE Teams SET angemeldet=1 WHERE MID=:m"), {{QStringLiteral("m"), kTeamA}});
        m_dialog->show();
        chooseTeam(QStringLiteral("TSV A"));
        drop(3, 4, 1, 3); // Ebert into Dorn's slot
        QCOMPARE(ids(m_dialog->ListBox1), (QList<int>{kAbel, kBerg, kCramer, kEbert}));
        m_prompter->expect(PromptKind::Warning, QStringLiteral("Dieser Mannschaftsname existiert bereits!\nÜberschreiben?"),
                           PromptAnswer::Ok);
        click(m_dialog->ok);
        const std::optional<TeamRow> row = readTeam(db(), kTeamA);
        QVERIFY(row->angemeldet);
        QCOMPARE(row->slotColumns.mid(0, 5), (QList<QVariant>{kAbel, kBerg, kCramer, kEbert, kEbert}));
        QCOMPARE(teamNameOf(db(), kDorn, kTeam), QStringLiteral("<null>"));
        QCOMPARE(teamNameOf(db(), kEbert, kTeam), QStringLiteral("TSV A"));
        QCOMPARE(m_dialog->ComboBox1->count(), 2);
    }

    void deleteTeam()
    {
        m_dialog->show();
        chooseTeam(QStringLiteral("TSV A"));
        m_prompter->expect(PromptKind::Warning, QStringLiteral("Wollen Sie das Team wirklich löschen?"), PromptAnswer::Cancel);
        click(m_dialog->deleteButton);
        QVERIFY(readTeam(db(), kTeamA));
        m_prompter->expect(PromptKind::Warning, QStringLiteral("Wollen Sie das Team wirklich löschen?"), PromptAnswer::Ok);
        click(m_dialog->deleteButton);
        QVERIFY(!readTeam(db(), kTeamA));
        QCOMPARE(teamNameOf(db(), kAbel, kTeam), QStringLiteral("<null>"));
        QCOMPARE(teamNameOf(db(), kAbel, kDoppel), QStringLiteral("TSV A"));
        QCOMPARE(m_dialog->ComboBox1->findText(QStringLiteral("TSV A")), -1);
        QCOMPARE(ids(m_dialog->ListBox1), (QList<int>{0, 0, 0, 0}));
        QVERIFY(m_dialog->assignedPlayers().isEmpty());
        QVERIFY(!m_dialog->deleteButton->isEnabled());
    }

    void closingEndsTheDialog()
    {
        m_dialog->show();
        QSignalSpy finished(m_dialog.get(), &QDialog::finished);
        click(m_dialog->cancel);
        QCOMPARE(int(finished.count()), 1);
        QVERIFY(!m_dialog->isVisible());
    }

    // The check-in dialog: a team of four players and one reserve shows five
    // ticked boxes; the captions follow the direction.
    void checkInDialogBoxes()
    {
        Tteam_melden dialog;
        dialog.prepare(false);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Team abmelden"));
        QVERIFY(!dialog.checksIn());
        dialog.FormActivate(teamMembers(db(), kTeamA));
        dialog.show();
        for (int i = 0; i < Tteam_melden::kMembers; ++i) {
            auto* box = child<TuiCheckbox>(&dialog, QStringLiteral("uiCheckbox%1").arg(i + 1));
            QCOMPARE(box->isVisible(), i < 5);
            QVERIFY(box->Checked());
            QCOMPARE(box->Caption(), QStringLiteral("abmelden"));
        }
        QCOMPARE(child<QLabel>(&dialog, QStringLiteral("st2"))->text(), QStringLiteral("Berg, Bernd"));
        QCOMPARE(child<QLabel>(&dialog, QStringLiteral("r1"))->text(), QStringLiteral("Ebert, Emil"));
        QCOMPARE(child<QLabel>(&dialog, QStringLiteral("r2"))->text(), QString());
        dialog.boxes[1]->Click();
        QCOMPARE(dialog.tickedMembers(), (QList<int>{kAbel, kCramer, kDorn, kEbert}));

        // Filled again for another team: everything from the start.
        dialog.prepare(true);
        dialog.FormActivate(teamMembers(db(), kTeamB));
        QVERIFY(dialog.tickedMembers().isEmpty());
        QCOMPARE(dialog.boxes[0]->Caption(), QStringLiteral("anmelden"));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
    }
};

QTEST_MAIN(TestTeamDialogs)
#include "test_team_dialogs.moc"
