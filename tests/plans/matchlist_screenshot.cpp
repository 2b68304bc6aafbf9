// Draws the match list viewer of a group in display 2 beside the same group in
// display 1, for docs/plan-viewer.png (target docs-pictures).
#include "data/sql.h"
#include "docpictures/docpicture.h"
#include "plans/tspielplan_form.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QLabel>
#include <QPrinter>

namespace {

using bw::s;

void seed(const QSqlDatabase& db)
{
    bw::test::insertRow(db, s("Turnierklassen"), {{s("KID"), 1}, {s("TID"), 1}, {s("saetze"), 3}});
    const QStringList players{s("Bauer, Lena"), s("Özdemir, Ayşe"), s("Schäfer, Jana"), s("Weiß, Carla")};
    const QStringList umpires{s("Meier, Hans"), s("Krause, Uwe"), s("Lang, Petra")};
    // The playing order of a group of four.
    const int order[6][2] = {{0, 3}, {1, 2}, {0, 2}, {3, 1}, {0, 1}, {2, 3}};
    const QVariant sets[3][5] = {{7, -9, 5, 8, QVariant()}, {-100, 6, 9, 11, QVariant()}, {4, -8, 9, -11, 12}};
    for (int i = 0; i < 6; ++i) {
        const bool finished = i < 3;
        QVariantMap row{{s("KID"), 1},
                        {s("spielnummer"), i + 1},
                        {s("spieler1"), players[order[i][0]]},
                        {s("spieler2"), players[order[i][1]]},
                        {s("gruppe"), 1},
                        {s("beendet"), finished ? 1 : 0},
                        {s("begonnen"), i <= 3 ? 1 : 0},
                        {s("in_planung"), i <= 4 ? 1 : 0},
                        {s("ergebnis"), finished ? QVariant(i == 2 ? s("2:3") : s("3:1")) : QVariant()},
                        {s("geplante_zeit"), QDateTime(QDate(1899, 12, 30), QTime(9 + i / 2, i % 2 * 30))},
                        {s("geplanter_tag"), QVariant()},
                        {s("geplanter_tisch"), QString::number(i % 2 + 3)},
                        {s("schiri"), umpires[i % 3]}};
        for (int n = 0; n < 9; ++n)
            row.insert(s("satz%1").arg(n + 1), finished && n < 5 ? sets[i][n] : QVariant());
        bw::test::insertRow(db, s("Spielplan"), row);
    }
}

QImage drawViewer()
{
    bw::test::TestDatabase tdb(bw::Backend::SQLite);
    seed(tdb.db());
    bw::test::FakePrompter prompter;
    QPrinter printer;
    const auto viewer = [&](bool second) {
        auto* form = new bw::Tspielplan_form(
            nullptr, {&prompter, [&] { return tdb.db(); }, [] { return 1; }, [] { return s("Stadtmeisterschaft"); },
                      [&]() -> QPrinter& { return printer; }, {}});
        form->resize(820, 330);
        form->StaticText1->setText(s("Spielplan für Damen A (Einzel)"));
        form->StaticText1->setProperty("Tag", 1);
        form->show();
        if (second)
            form->Darstelllung2ButtonClick();
        return form;
    };
    bw::Tspielplan_form* two = viewer(true);
    bw::Tspielplan_form* one = viewer(false);
    const QImage pictures[2] = {bw::docs::grabSettled(*two), bw::docs::grabSettled(*one)};
    delete two;
    delete one;
    return bw::docs::sideBySide({pictures[0], pictures[1]}, 16);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return bw::docs::writePicture(argc, argv, drawViewer);
}
