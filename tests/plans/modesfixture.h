// The plan panel of a class drawn for real with the match dialog in its modes,
// for the tests of the dialog opened from the plan: three groups of four (C is
// group 2) and a knock-out, tables T1 and T2 shared by all groups, two umpires
// (one checked in), the class started without the offer of next matches.
#pragma once

#include "planfixture.h"

#include "data/matchdialogrecords.h"
#include "data/matchstaterecords.h"
#include "data/sql.h"
#include "platform/apppaths.h"
#include "platform/clock.h"
#include "plans/plancanvas.h"
#include "plans/planpanel.h"
#include "plans/resultdialogmodes.h"
#include "plans/tspielplaene.h"
#include "results/tergebnis.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"

#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"

#include <QComboBox>
#include <QScrollArea>
#include <QTimer>

namespace bw::test {

struct ModesFixture {
    TestDatabase tdb{Backend::SQLite};
    FakePrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 6, 7), QTime(11, 0))};
    PlanPanel panel{nullptr};
    Tspielplaene spielplaene{nullptr};
    Tergebnis ergebnis{nullptr, prompter};
    ResultDialogModes modes{spielplaene, ergebnis, [this] { return tdb.db(); }};
    TergebnisLinks dialogLinks; // as set on the dialog
    int kid = 0;

    ModesFixture()
    {
        PlanLinks links;
        links.prompter = &prompter;
        links.database = [this] { return tdb.db(); };
        links.firstDay = [] { return QDate(2026, 6, 6); };
        links.programFile = [](const QString& relative) {
            return AppPaths::resolve(TempProgramFolder::sourceDir() + QStringLiteral("/resources"), relative);
        };
        links.dialogs = &modes;
        spielplaene.attach(&panel, links);
        panel.resize(1000, 700);
        dialogLinks.clock = &clock;
        dialogLinks.database = [this] { return tdb.db(); };
        dialogLinks.plan = &modes;
        ergebnis.setLinks(dialogLinks);

        // Three groups of four (C is group 2), then a knock-out; two umpires,
        // one of them checked in.
        ClassRecord record;
        record.saetze = 3;
        record.atag = QDate(2026, 6, 7);
        kid = drawnClass(db(), QStringLiteral("U18"), {groupPhase(3, 4, 1), knockOut()}, 12, ClassKind::Einzel, record);
        insertRow(db(), "Schiri", {{"SCHIRIID", 1}, {"TID", kPlanTid}, {"snname", "Ufer"}, {"svname", "Udo"}, {"sangemeldet", 1}});
        insertRow(db(), "Schiri_im_turnier", {{"SCHIRIID", 1}, {"KID", kid}, {"TID", kPlanTid}});
        insertRow(db(), "Schiri", {{"SCHIRIID", 2}, {"TID", kPlanTid}, {"snname", "Abel"}, {"svname", "Eva"}, {"sangemeldet", 0}});
        insertRow(db(), "Schiri_im_turnier", {{"SCHIRIID", 2}, {"KID", kid}, {"TID", kPlanTid}});
        panel.GruppeDarBox->setCurrentIndex(0);
        spielplaene.openClass(kPlanTid, QStringLiteral("U18 (Einzel)"));
        // The class started without the offer of next matches.
        ergebnis.next1->SetChecked(false);
        spielplaene.turniergo(kid);
    }

    QSqlDatabase db() { return tdb.db(); }
    int tag(int n) { return spielplaene.session().states.tag(n); }
    PlanIcon* icon(int page, const QString& name)
    {
        return qobject_cast<PlanCanvas*>(panel.page(page)->widget())->findChild<PlanIcon*>(name);
    }
    MatchDialogRow row(int n) { return *readMatchDialogRow(db(), kid, n); }
    // The first match of a group, or of the knock-out (-1).
    int firstOf(int gruppe)
    {
        for (const MatchStateRow& r : readMatchStateRows(db(), kid))
            if (r.gruppe == gruppe)
                return r.spielnummer;
        return 0;
    }
    // While a modal dialog is open: `inside` runs in it.
    static void whileOpen(const std::function<void()>& inside) { QTimer::singleShot(0, inside); }
};

} // namespace bw::test
