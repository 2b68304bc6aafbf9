// Bracket pages, player cards and call-up reminders on the plan panel, on
// classes drawn for real (SQLite): the knock-out and double knock-out pages by
// zoom and their pools, a missing plan file or block, the cards while a button
// is held on a name and the certificate a right press prepares, and the
// reminder tick with its error box.
#include "planfixture.h"

#include "data/faultinjection.h"
#include "data/sql.h"
#include "platform/apppaths.h"
#include "plans/plancanvas.h"
#include "plans/planpanel.h"
#include "plans/playercard.h"
#include "plans/tspielplaene.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QSqlQuery>

using namespace bw;
using namespace bw::test;

namespace {

struct Certificate {
    QString name;
    QString club;
    QString title;
    bool operator==(const Certificate&) const = default;
};

struct PagesFixture {
    TestDatabase tdb{Backend::SQLite};
    FakePrompter prompter;
    PlanPanel panel{nullptr};
    Tspielplaene spielplaene{nullptr};
    TempProgramFolder folder;
    QString resources = TempProgramFolder::sourceDir() + QStringLiteral("/resources");
    QList<Certificate> certificates;

    explicit PagesFixture(Prompter* other = nullptr)
    {
        PlanLinks links;
        links.prompter = other ? other : &prompter;
        links.database = [this] { return tdb.db(); };
        links.firstDay = [] { return QDate(2026, 6, 6); };
        links.programFile = [this](const QString& relative) { return AppPaths::resolve(resources, relative); };
        links.prepareCertificate = [this](const QString& name, const QString& club, const QString& title, QPoint) {
            certificates.append({name, club, title});
        };
        spielplaene.attach(&panel, links);
        panel.resize(1000, 700);
        panel.show();
    }

    QSqlDatabase db() { return tdb.db(); }
    PlanCanvas* canvas(int page) { return qobject_cast<PlanCanvas*>(panel.page(page)->widget()); }
    QStringList pool(const QString& name) { return spielplaene.session().pools.texts(name); }
    void showPage(int index)
    {
        panel.sp_contol->setCurrentIndex(index);
        spielplaene.sp_contolChange();
    }
    // The program folder's files (a copy of the resources) without the card's
    // picture, with "Files/ko_system.txt" as given (none: no such file).
    void useOwnFiles(const std::optional<QByteArray>& koSystem)
    {
        QFile::remove(folder.path() + QStringLiteral("/Files/ko_system.txt"));
        QFile::remove(folder.path() + QStringLiteral("/Images/notizblock.bmp"));
        if (koSystem) {
            QFile file(folder.path() + QStringLiteral("/Files/ko_system.txt"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(*koSystem);
        }
        resources = folder.path();
    }
    // The name label of the page showing `caption`.
    QLabel* label(int page, const QString& caption)
    {
        for (QLabel* candidate : canvas(page)->findChildren<QLabel*>())
            if (candidate->text() == caption && candidate->objectName().left(6) != QStringLiteral("status"))
                return candidate;
        return nullptr;
    }
};

int iconCount(QWidget* canvas)
{
    int n = 0;
    for (QWidget* child : canvas->findChildren<QWidget*>())
        n += child->objectName().startsWith(QStringLiteral("status")) ? 1 : 0;
    return n;
}

void addPlayer(const QSqlDatabase& db, int sid, const QString& nachname, const QString& vorname, const QString& verein,
               QVariant geb)
{
    if (!geb.isValid())
        geb = QVariant(QMetaType(QMetaType::QDateTime));
    insertRow(db, s("Spielerdaten"), {{s("SID"), sid}, {s("TID"), kPlanTid}, {s("nachname"), nachname},
                                      {s("vorname"), vorname}, {s("verein"), verein}, {s("geb"), geb}});
}

} // namespace

class TestBracketPages : public QObject {
    Q_OBJECT
private slots:
    void knockOutPageByZoomKeepsPools()
    {
        PagesFixture f;
        const int kid = drawnClass(f.db(), QStringLiteral("KO"), {knockOut()}, 8);
        f.spielplaene.openClass(kPlanTid, QStringLiteral("KO (Einzel)"));
        PlanCanvas* page = f.canvas(0);
        QVERIFY(page);
        QCOMPARE(page->objectName(), QStringLiteral("sp1"));
        QCOMPARE(page->size(), QSize(750, 360));
        QCOMPARE(iconCount(page), 7);
        QVERIFY(page->findChild<QWidget*>(QStringLiteral("Sieger7")));
        QLabel* first = f.label(0, QStringLiteral("Spieler 000"));
        QVERIFY(first);
        QCOMPARE(first->font().pointSize(), 8);
        QCOMPARE(first->cursor().shape(), Qt::WhatsThisCursor);
        // In match order: the draw put entrant i and i + 4 into match i + 1.
        QCOMPARE(f.pool(QStringLiteral("allespieler")),
                 (QStringList{"100", "104", "101", "105", "102", "106", "103", "107"}));
        QCOMPARE(f.pool(QStringLiteral("alleplatten")), (QStringList{"T1", "T2"}));
        QVERIFY(f.spielplaene.session().pools.contains(QStringLiteral("schiri")));

        // A zoom replaces the page and keeps the pools.
        insertRow(f.db(), s("Platten"), {{s("KID"), kid}, {s("GID"), -1}, {s("platte"), s("T0")}});
        f.spielplaene.zoom(3);
        QVERIFY(f.canvas(0) != page);
        QCOMPARE(f.canvas(0)->size(), QSize(4 * 240 + 40, 4 * 90 + 48 + 30));
        QCOMPARE(f.label(0, QStringLiteral("Spieler 000"))->font().pointSize(), 9);
        QCOMPARE(f.pool(QStringLiteral("alleplatten")), (QStringList{"T1", "T2"}));
        QCOMPARE(f.panel.markedZoom(), 3);
        f.spielplaene.zoom(1);
        QCOMPARE(f.canvas(0)->size(), QSize(4 * 120 + 20, 4 * 48 + 48 + 16));
        // The full rebuild reads them anew, at zoom 2.
        f.spielplaene.planshow(kid);
        QCOMPARE(f.canvas(0)->size(), QSize(750, 360));
        QCOMPARE(f.pool(QStringLiteral("alleplatten")), (QStringList{"T0", "T1", "T2"}));

        // Without first-round matches nothing is drawn: the page keeps its controls.
        page = f.canvas(0);
        execute(f.db(), s("DELETE FROM Spielplan WHERE KID=:k"), {{s("k"), kid}});
        f.spielplaene.zoom(3);
        QCOMPARE(f.canvas(0), page);
    }

    void doubleKnockOutPages()
    {
        PagesFixture f;
        drawnClass(f.db(), QStringLiteral("DKO"), {knockOut(PlaySystem::DoppeltesKO)}, 8);
        f.spielplaene.openClass(kPlanTid, QStringLiteral("DKO (Einzel)"));
        QCOMPARE(f.canvas(0)->size(), QSize(6 * 180, 37 * 12 + 48));
        QCOMPARE(iconCount(f.canvas(0)), 14);
        QVERIFY(f.canvas(0)->findChild<QWidget*>(QStringLiteral("status14")));
        QCOMPARE(f.pool(QStringLiteral("allespieler")).size(), 8);
        f.spielplaene.zoom(3);
        QCOMPARE(f.canvas(0)->size(), QSize(6 * 240, 37 * 15 + 48));

        // Phase 2 after 4 groups of 4 (24 matches) numbers its icons from 25.
        PagesFixture g;
        drawnClass(g.db(), QStringLiteral("Zwei"), {groupPhase(4, 4, 2), knockOut(PlaySystem::DoppeltesKO)}, 16);
        g.spielplaene.openClass(kPlanTid, QStringLiteral("Zwei (Einzel)"));
        QWidget* phase2 = g.canvas(1);
        QVERIFY(phase2);
        QVERIFY(phase2->findChild<QWidget*>(QStringLiteral("status25")));
        QVERIFY(!phase2->findChild<QWidget*>(QStringLiteral("status24")));
        QCOMPARE(iconCount(phase2), 14);
        // Its open slots show their qualifiers, whose labels name nobody.
        QLabel* qualifier = g.label(1, QStringLiteral("Sieger Gruppe A"));
        QVERIFY(qualifier);
    }

    void missingPlanFileOrBlock()
    {
        // No block for 8 slots: the message, the page with its tool icons only, no pools.
        PagesFixture f;
        f.useOwnFiles(QByteArray("2:\n2,2,4\n1,-1,-1,-3,-3,0,0,1,0,2\n2,1,1,1,0,0,1,2,1,3\n"));
        const int kid = drawnClass(f.db(), QStringLiteral("DKO"), {knockOut(PlaySystem::DoppeltesKO)}, 8);
        f.prompter.expect(PromptKind::Information, kDoubleKoFailed);
        f.spielplaene.openClass(kPlanTid, QStringLiteral("DKO (Einzel)"));
        QVERIFY(f.prompter.verify());
        QCOMPARE(f.canvas(0)->size(), QSize(700, 500));
        QCOMPARE(f.canvas(0)->findChildren<PlanIcon*>().size(), 3);
        // The placement page made the pools the bracket did not; the bracket alone makes none.
        f.spielplaene.session().pools.clear();
        f.prompter.expect(PromptKind::Information, kDoubleKoFailed);
        f.spielplaene.doppeltes_koplanerstellen(kid, 1, 2);
        QVERIFY(f.prompter.verify());
        QVERIFY(!f.spielplaene.session().pools.contains(QStringLiteral("allespieler")));
        QVERIFY(!f.spielplaene.session().pools.contains(QStringLiteral("alleplatten")));

        // No file: nothing drawn but the pools.
        PagesFixture g;
        g.useOwnFiles(std::nullopt);
        drawnClass(g.db(), QStringLiteral("DKO"), {knockOut(PlaySystem::DoppeltesKO)}, 8);
        g.spielplaene.openClass(kPlanTid, QStringLiteral("DKO (Einzel)"));
        QCOMPARE(g.canvas(0)->size(), QSize(700, 500));
        QCOMPARE(g.canvas(0)->findChildren<PlanIcon*>().size(), 3);
        QCOMPARE(g.pool(QStringLiteral("allespieler")).size(), 8);
        QCOMPARE(g.pool(QStringLiteral("alleplatten")), (QStringList{"T1", "T2"}));
    }

    void cardsWhileAButtonIsHeld_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("cards");
        QTest::newRow("singles") << int(ClassKind::Einzel) << 1;
        QTest::newRow("doubles") << int(ClassKind::Doppel) << 2;
    }
    void cardsWhileAButtonIsHeld()
    {
        QFETCH(int, kind);
        QFETCH(int, cards);
        PagesFixture f;
        const int kid = drawnClass(f.db(), QStringLiteral("Karte"), {groupPhase(1, 4, 2), knockOut()}, 4,
                                   ClassKind(kind));
        addPlayer(f.db(), 100, QStringLiteral("Abel"), QStringLiteral("Eva"), QStringLiteral("TTC Nord"),
                  QDate(2001, 2, 3));
        addPlayer(f.db(), 500, QStringLiteral("Zorn"), QStringLiteral("Ute"), QStringLiteral("SV Süd"), QVariant());
        insertRow(f.db(), s("Spieler_im_turnier"), {{s("TID"), kPlanTid}, {s("KID"), kid}, {s("SID"), 100}});
        insertRow(f.db(), s("Doppelpartner"), {{s("KID"), kid}, {s("SID"), 100}, {s("partner_SID"), 500}});
        const QString caption = QStringLiteral("Karte (%1)").arg(kind == int(ClassKind::Einzel) ? "Einzel" : "Doppel");
        f.spielplaene.openClass(kPlanTid, caption);
        QLabel* name = f.label(0, QStringLiteral("Spieler 000"));
        QVERIFY(name);
        QTest::mousePress(name, Qt::LeftButton);
        PlayerCard* card = f.panel.spielernotiz;
        PlayerCard* partner = f.panel.spielernotiz2;
        QVERIFY(card->isVisible());
        QCOMPARE(card->parentWidget(), &f.panel);
        QCOMPARE(card->size(), QSize(250, 340));
        QCOMPARE(card->lines().value(0).text, QStringLiteral("Abel, Eva"));
        QCOMPARE(card->lines().value(1).text, QStringLiteral("TTC Nord"));
        QCOMPARE(card->lines().value(2).text, QStringLiteral("03.02.2001"));
        QCOMPARE(card->lines().value(3).text, QStringLiteral("Gemeldet für:"));
        QCOMPARE(card->lines().value(4).text, QStringLiteral("Karte"));
        QCOMPARE(partner->isVisible(), cards == 2);
        if (cards == 2) {
            QCOMPARE(partner->pos(), card->pos() + QPoint(card->width(), 0));
            QCOMPARE(partner->lines().value(0).text, QStringLiteral("Zorn, Ute"));
            QCOMPARE(partner->lines().value(2).text, QString());
            QVERIFY(QRect(QPoint(0, 0), f.panel.size()).contains(partner->geometry()));
        }
        QVERIFY(QRect(QPoint(0, 0), f.panel.size()).contains(card->geometry()));
        QTest::mouseRelease(name, Qt::LeftButton);
        QVERIFY(!card->isVisible());
        QVERIFY(!partner->isVisible());

        // Pressed while "Phase 2" is in front, the card shows over that page.
        f.showPage(1);
        f.spielplaene.spielernameMouseDown(QStringLiteral("Abel, Eva"), 100, Qt::LeftButton,
                                           f.panel.mapToGlobal(QPoint(900, 650)));
        QVERIFY(card->isVisible());
        QVERIFY(QRect(QPoint(0, 0), f.panel.size()).contains(card->geometry()));
        f.spielplaene.spielernameMouseUp();
        QVERIFY(!card->isVisible());
        QVERIFY(f.certificates.isEmpty());
    }

    void noCardForOpenSlotsAndTeams()
    {
        PagesFixture f;
        drawnClass(f.db(), QStringLiteral("Offen"), {groupPhase(2, 3, 1), knockOut()}, 5);
        f.spielplaene.openClass(kPlanTid, QStringLiteral("Offen (Einzel)"));
        // An open qualifier (-3), an empty slot (-1) and a bye (-2): no card, the
        // right press prepares a certificate all the same.
        QLabel* qualifier = f.label(1, QStringLiteral("Sieger Gruppe A"));
        QVERIFY(qualifier);
        for (int tag : {-1, -2, -3}) {
            f.spielplaene.spielernameMouseDown(QStringLiteral("Platz"), tag, Qt::LeftButton, QPoint(10, 10));
            QVERIFY(!f.panel.spielernotiz->isVisible());
        }
        QTest::mousePress(qualifier, Qt::LeftButton);
        QVERIFY(!f.panel.spielernotiz->isVisible());
        QTest::mouseRelease(qualifier, Qt::LeftButton);
        QTest::mousePress(qualifier, Qt::RightButton);
        QTest::mouseRelease(qualifier, Qt::RightButton);
        QCOMPARE(f.certificates,
                 (QList<Certificate>{{QStringLiteral("Sieger Gruppe A"), QString(),
                                      QStringLiteral("Spielplan für Offen (Einzel)")}}));
        // A player's right press names his club.
        addPlayer(f.db(), 100, QStringLiteral("Abel"), QStringLiteral("Eva"), QStringLiteral("TTC Nord"), QVariant());
        f.spielplaene.spielernameMouseDown(QStringLiteral("Abel, Eva"), 100, Qt::RightButton, QPoint());
        QCOMPARE(f.certificates.last().club, QStringLiteral("TTC Nord"));
        // A missing player: empty lines, no made-up birth date.
        f.spielplaene.spielernameMouseDown(QStringLiteral("Niemand"), 4711, Qt::LeftButton, QPoint());
        QVERIFY(f.panel.spielernotiz->isVisible());
        for (const plan::CardLine& line : f.panel.spielernotiz->lines())
            QVERIFY(line.text.isEmpty() || line.text == QStringLiteral("Gemeldet für:"));
        f.spielplaene.spielernameMouseUp();

        // A team class: the labels carry team keys; no card, the certificate names
        // the team's club.
        PagesFixture t;
        const int kid = drawnClass(t.db(), QStringLiteral("Mannschaft"), {groupPhase(1, 3)}, 3, ClassKind::Team);
        insertRow(t.db(), s("Teams"), {{s("TID"), kPlanTid}, {s("KID"), kid}, {s("MID"), 100},
                                       {s("teamname"), s("Spieler 000")}, {s("verein"), s("TTV Team")}});
        addPlayer(t.db(), 100, QStringLiteral("Falsch"), QStringLiteral("Person"), QStringLiteral("Anderer Verein"),
                  QVariant());
        t.spielplaene.openClass(kPlanTid, QStringLiteral("Mannschaft (Team)"));
        t.spielplaene.spielernameMouseDown(QStringLiteral("Spieler 000"), 100, Qt::LeftButton, QPoint());
        QVERIFY(!t.panel.spielernotiz->isVisible());
        t.spielplaene.spielernameMouseDown(QStringLiteral("Spieler 000"), 100, Qt::RightButton, QPoint());
        QCOMPARE(t.certificates.last(), (Certificate{QStringLiteral("Spieler 000"), QStringLiteral("TTV Team"),
                                                     QStringLiteral("Spielplan für Mannschaft (Team)")}));
    }

    // A certificate from a bracket names the entrant without his seed number
    // and with his club, from his slot and from the label of the phase's
    // winner alike.
    void certificateFromABracket()
    {
        PagesFixture f;
        const int kid = drawnClass(f.db(), QStringLiteral("KO"), {knockOut()}, 4);
        addPlayer(f.db(), 100, QStringLiteral("Abel"), QStringLiteral("Eva"), QStringLiteral("TTC Nord"), QVariant());
        const int final = 3;
        execute(f.db(),
                s("UPDATE Spielplan SET SID1=100, spieler1='Abel, Eva (1)', beendet=1, ergebnis='3:0' "
                  "WHERE KID=:k AND spielnummer=:n"),
                {{s("k"), kid}, {s("n"), final}});
        f.spielplaene.openClass(kPlanTid, QStringLiteral("KO (Einzel)"));
        const Certificate expected{QStringLiteral("Abel, Eva"), QStringLiteral("TTC Nord"),
                                   QStringLiteral("Spielplan für KO (Einzel)")};
        QLabel* winner = f.canvas(0)->findChild<QLabel*>(QStringLiteral("Sieger%1").arg(final));
        QVERIFY(winner);
        QCOMPARE(winner->text(), QStringLiteral("Abel, Eva (1)"));
        QLabel* slot = nullptr;
        for (QLabel* label : f.canvas(0)->findChildren<QLabel*>())
            if (label != winner && label->text() == QStringLiteral("Abel, Eva (1)"))
                slot = label;
        QVERIFY(slot);
        for (QLabel* label : {winner, slot}) {
            QTest::mousePress(label, Qt::RightButton);
            QTest::mouseRelease(label, Qt::RightButton);
            QCOMPARE(f.certificates.last(), expected);
        }
        QCOMPARE(f.certificates.size(), 2);
    }

    void plainCardWithoutPicture()
    {
        PagesFixture f;
        f.useOwnFiles(std::nullopt);
        drawnClass(f.db(), QStringLiteral("Bild"), {groupPhase(1, 3)}, 3);
        addPlayer(f.db(), 100, QStringLiteral("Abel"), QStringLiteral("Eva"), QString(), QVariant());
        f.spielplaene.openClass(kPlanTid, QStringLiteral("Bild (Einzel)"));
        f.spielplaene.spielernameMouseDown(QStringLiteral("Abel, Eva"), 100, Qt::LeftButton, QPoint(50, 50));
        QVERIFY(f.panel.spielernotiz->isVisible());
        QCOMPARE(f.panel.spielernotiz->size(), plan::kPlainCardSize);
        QCOMPARE(f.panel.spielernotiz->grab().toImage().pixelColor(100, 200), QColor(Qt::white));
    }

    void reminderTick()
    {
        PagesFixture f;
        const int kid = drawnClass(f.db(), QStringLiteral("Ruf"), {groupPhase(1, 4)}, 4);
        f.spielplaene.openClass(kPlanTid, QStringLiteral("Ruf (Einzel)"));
        f.panel.sp_info->addItem(QStringLiteral(" - Turnier gestartet"));
        execute(f.db(),
                s("UPDATE Spielplan SET in_planung=1, aufruf1_sp1=:t, aufruf1_sp2=:t WHERE KID=:k AND spielnummer<=2"),
                {{s("k"), kid}, {s("t"), QDateTime(QDate(2026, 6, 6), QTime(10, 0))}});
        f.spielplaene.showReminders(kid, QDateTime(QDate(2026, 6, 6), QTime(10, 4)));
        QCOMPARE(f.panel.sp_info->count(), 1);
        f.spielplaene.showReminders(kid, QDateTime(QDate(2026, 6, 6), QTime(10, 6)));
        QStringList expected{QStringLiteral(" - Turnier gestartet")};
        QSqlQuery names = execute(f.db(), s("SELECT spieler1,spieler2 FROM Spielplan WHERE KID=:k AND spielnummer<=2 "
                                            "ORDER BY spielnummer"),
                                  {{s("k"), kid}});
        while (names.next())
            for (int side = 0; side < 2; ++side)
                expected.prepend(QStringLiteral("- 1.Spielaufruf vor 5 Minuten: ") + names.value(side).toString());
        QCOMPARE(expected.size(), 5);
        QStringList shown;
        for (int i = 0; i < f.panel.sp_info->count(); ++i)
            shown << f.panel.sp_info->item(i)->text();
        QCOMPARE(shown, expected);
        // Every tick lists them again, the newest ten stay.
        f.spielplaene.showReminders(kid, QDateTime(QDate(2026, 6, 6), QTime(10, 7)));
        f.spielplaene.showReminders(kid, QDateTime(QDate(2026, 6, 6), QTime(10, 8)));
        QCOMPARE(f.panel.sp_info->count(), 10);
    }

    void failingTickShowsOneBox()
    {
        // While the box is open the timer fires again: no second box.
        class TickingPrompter : public Prompter {
        public:
            std::function<void()> whileOpen;
            int boxes = 0;
            PromptAnswer prompt(PromptKind, const QString&, PromptButtons, const QString&) override
            {
                ++boxes;
                if (whileOpen)
                    whileOpen();
                return PromptAnswer::Ok;
            }
        } ticking;
        PagesFixture f(&ticking);
        const int kid = drawnClass(f.db(), QStringLiteral("Fehler"), {groupPhase(1, 4)}, 4);
        f.spielplaene.openClass(kPlanTid, QStringLiteral("Fehler (Einzel)"));
        const QDateTime now(QDate(2026, 6, 6), QTime(10, 0));
        ticking.whileOpen = [&] {
            FaultInjection::failStatement(f.db(), 1);
            f.spielplaene.showReminders(kid, now);
        };
        FaultInjection::failStatement(f.db(), 1);
        f.spielplaene.showReminders(kid, now);
        FaultInjection::clear(f.db());
        QCOMPARE(ticking.boxes, 1);
        // The next tick runs again.
        f.spielplaene.showReminders(kid, now);
        QCOMPARE(ticking.boxes, 1);
        FaultInjection::failStatement(f.db(), 1);
        ticking.whileOpen = [] {};
        f.spielplaene.showReminders(kid, now);
        FaultInjection::clear(f.db());
        QCOMPARE(ticking.boxes, 2);
    }
};

QTEST_MAIN(TestBracketPages)
#include "test_bracketpages.moc"
