// Draws the planning board for docs/board.png (target docs-pictures): a
// tournament morning with matches of three classes at four tables and the
// waiting matches of "Herren" in the list.
#include "boardfixture.h"

#include "docpictures/docpicture.h"
#include "plans/boardviews.h"
#include "plans/tplanung.h"
#include "support/fakeprompter.h"

#include <QApplication>
#include <QComboBox>

namespace {

using namespace bw;
using namespace bw::test;

QImage drawBoard()
{
    TestDatabase tdb(Backend::SQLite);
    if (!tdb.ready())
        return {};
    const QSqlDatabase db = tdb.db();
    seedBoard(db);
    execute(db, s("UPDATE Turnierklassen SET farbe='clSkyBlue' WHERE KID=:k"), {{s("k"), kHerren}});
    execute(db, s("UPDATE Turnierklassen SET farbe='clMoneyGreen' WHERE KID=:k"), {{s("k"), kDamen}});
    execute(db, s("UPDATE Turnierklassen SET farbe='clYellow' WHERE KID=:k"), {{s("k"), kMannschaft}});
    int snr = 20;
    for (const auto& [kid, table, hour, minute, a, b] : {
             std::tuple{kHerren, "1", 10, 0, "Neumann", "Ortmann"},
             std::tuple{kHerren, "2", 10, 20, "Pohl", "Richter"},
             std::tuple{kDamen, "2", 10, 40, "Schulz", "Timm"},
             std::tuple{kDamen, "1", 10, 30, "Ulrich", "Voss"},
             std::tuple{kHerren, "10", 10, 30, "Weber", "Zander"},
             std::tuple{kDamen, "3", 11, 0, "Albers", "Berger"},
             std::tuple{kHerren, "2", 11, 10, "Claus", "Dahl"},
             std::tuple{kDamen, "10", 11, 20, "Eckert", "Fink"},
         })
        insertBoardMatch(db, kid, ++snr, s(a), s(b), BoardSeedPlace{kBoardDay1, s(table), QTime(hour, minute), s("Hoppe")});
    insertBoardMatch(db, kMannschaft, 1, s("Nord 3"), s("Süd 3"), BoardSeedPlace{kBoardDay1, s("3"), QTime(9, 30), {}}, 3);

    FakePrompter prompter;
    const int tid = kBoardTid;
    Tplanung form(nullptr, PlanungLinks{prompter, [&] { return db; }, tid, {}});
    form.resize(1000, 640);
    form.show();
    const int herren = form.ComboBox1->findText(s("Herren (Einzel)"));
    form.ComboBox1->setCurrentIndex(herren);
    emit form.ComboBox1->activated(herren);
    form.StringGrid1->setCurrentBoardRow(57);
    form.StringGrid1->scrollTo(form.StringGrid1->boardModel()->index(52, 0), QAbstractItemView::PositionAtTop);
    return docs::grabSettled(form);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return bw::docs::writePicture(argc, argv, drawBoard);
}
