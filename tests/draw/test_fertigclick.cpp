// "Fertig stellen" as the wizard runs it, on an SQLite file: the boxes of an
// incomplete draw and of a missing plan file (nothing written, the wizard stays
// open), the wait cursor while it writes, and the program's callbacks after a
// first draw and after a new draw.
#include "finishfixture.h"
#include "matchfixture.h"

#include "draw/plangeneration.h"
#include "support/fakeprompter.h"
#include "support/tempprogramfolder.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QCursor>
#include <QTest>

using namespace bw;
using namespace bw::test;

class TestFertigClick : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestDatabase> m_tdb;
    FakePrompter m_prompter;
    QList<int> m_listed;
    QList<int> m_shown;
    QList<std::pair<int, int>> m_progress;
    bool m_waitCursor = false;

    FinishDrawLinks links(const AppPaths& paths)
    {
        return {m_prompter,
                [this] { return m_tdb->db(); },
                paths,
                [this](int kid) { m_listed << kid; },
                [this](int kid) { m_shown << kid; },
                [this](int done, int total) {
                    m_progress << std::pair{done, total};
                    m_waitCursor = m_waitCursor || (QApplication::overrideCursor() &&
                                                     QApplication::overrideCursor()->shape() == Qt::WaitCursor);
                }};
    }

    FinishedDraw classWith(const QList<PhaseSettings>& phases, int entrants)
    {
        FinishedDraw draw = firstDraw(kTid, 0, phases, entrants);
        ClassRecord record;
        record.kbezeichnung = QStringLiteral("Herren");
        draw.kid = insertClass(m_tdb->db(), kTid, record, {}, {});
        saveGroupSettings(m_tdb->db(), draw.kid, draw.settings, {});
        return draw;
    }

private slots:
    void init()
    {
        m_tdb = std::make_unique<TestDatabase>(Backend::SQLite);
        m_listed.clear();
        m_shown.clear();
        m_progress.clear();
        m_waitCursor = false;
    }
    void cleanup()
    {
        QVERIFY(m_prompter.verify());
        m_tdb.reset();
    }

    void refusedDrawsWriteNothing()
    {
        TempProgramFolder folder;
        FinishedDraw draw = classWith({groupPhase(2, 4, 2), knockOut(PlaySystem::DoppeltesKO)}, 8);
        const QStringList before = dumpTables(m_tdb->db());

        draw.phases[0]->undrawn = {entrantNo(8)};
        m_prompter.expect(PromptKind::Warning, kUndrawnMessage, PromptAnswer::Cancel);
        QVERIFY(!fertigClick(draw, links(folder.paths())));
        draw.phases[0]->undrawn.clear();

        QVERIFY(folder.write(QStringLiteral("Files/ko_system.txt"), "2:\n1,1,1\n1,-1,-1,-3,-3,0,0,1,0,1\n"));
        m_prompter.expect(PromptKind::Error, kDoubleKoMissingMessage);
        QVERIFY(!fertigClick(draw, links(folder.paths())));

        QCOMPARE(dumpTables(m_tdb->db()), before);
        QVERIFY(m_listed.isEmpty());
        QVERIFY(m_progress.isEmpty());
    }

    void callbacksAfterTheWrite()
    {
        TempProgramFolder folder;
        FinishedDraw draw = classWith({groupPhase(2, 4, 2), knockOut()}, 8);
        QVERIFY(fertigClick(draw, links(folder.paths())));
        QCOMPARE(m_listed, QList<int>{draw.kid});
        QVERIFY(m_shown.isEmpty());
        QVERIFY(m_waitCursor);
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(m_progress.last().first, m_progress.last().second);

        // A new draw of phase 2 once phase 1 is played: the plans are drawn anew.
        execute(m_tdb->db(), QStringLiteral("UPDATE Spielplan SET beendet=1 WHERE phase=1"));
        FinishedDraw redraw = draw;
        redraw.redrawPhase = 2;
        redraw.phases[0].reset();
        redraw.phases[1] = fill(knockOut(), {entrantNo(0), entrantNo(1), entrantNo(2), entrantNo(3)});
        QVERIFY(fertigClick(redraw, links(folder.paths())));
        QCOMPARE(m_shown, QList<int>{draw.kid});
        QCOMPARE(m_listed.size(), 1);
    }
};

QTEST_MAIN(TestFertigClick)
#include "test_fertigclick.moc"
