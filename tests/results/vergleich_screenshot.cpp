// Draws the dialog "Direkter Vergleich" for docs/direct-comparison.png (target
// docs-pictures): a group of four whose last three tie after their matches
// among themselves, the second of them selected.
#include "docpictures/docpicture.h"
#include "results/tvergleich.h"

#include <QApplication>
#include <QListWidget>

namespace {

QImage drawDialog()
{
    struct Entry {
        const char* name;
        int won, lost, setsWon, setsLost, pointsWon, pointsLost;
        bool tied;
    };
    const Entry entries[] = {
        {"Bergmann, Lea (TTC Nord)", 3, 0, 9, 2, 118, 84, false},
        {"Albers, Jonas (SV Hafen)", 1, 2, 5, 7, 110, 117, true},
        {"Yilmaz, Deniz (TSV Ost)", 1, 2, 5, 7, 110, 117, true},
        {"Krause, Mia (TTC Nord)", 1, 2, 5, 7, 110, 117, true},
    };
    QList<bw::tabellenitem> ranked;
    int sid = 1;
    for (const Entry& e : entries) {
        bw::tabellenitem item;
        item.SID = sid++;
        item.bez = QString::fromUtf8(e.name);
        item.spielegewonnen = e.won;
        item.spieleverloren = e.lost;
        item.saetzegewonnen = e.setsWon;
        item.saetzeverloren = e.setsLost;
        item.punktegewonnen = e.pointsWon;
        item.punkteverloren = e.pointsLost;
        if (e.tied) {
            item.farbe = bw::kMarkiert;
            item.tie = 0;
        }
        item.pos = int(ranked.size());
        ranked << item;
    }
    auto* dialog = new bw::Tvergleich(nullptr);
    dialog->fill(ranked);
    dialog->ListBox2->setCurrentRow(2);
    dialog->show();
    return bw::docs::grabSettled(*dialog);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return bw::docs::writePicture(argc, argv, drawDialog);
}
