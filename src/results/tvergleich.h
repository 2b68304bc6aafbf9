// The dialog "Direkter Vergleich": the places of a group or of the best-placed
// list that the ranking could not decide. The entries of a tie are red and the
// user orders them with "Rauf" and "Runter" (a red entry only changes places
// with a red neighbour of its own tie); "Übernehmen" or the window's close box
// hands the order back, there is no cancelling. Modal; the result entry asks
// it before its transaction, so no desk waits while it is open.
#pragma once

#include "results/standings.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class TuiButton;

namespace bw {

class Tvergleich : public QDialog, public TieResolver {
    Q_OBJECT
public:
    explicit Tvergleich(QWidget* parent);

    // Fills ListBox2 with the ranked entries (ListBox1 with the marked ones),
    // shows the dialog and returns the order it was closed with.
    QList<tabellenitem> resolveTies(const QList<tabellenitem>& ranked) override;

    // Fills the lists as resolveTies() does, without showing the dialog.
    void fill(const QList<tabellenitem>& ranked);
    // The entries in the order of ListBox2.
    QList<tabellenitem> order() const;
    // The entry of a row of ListBox2.
    tabellenitem item(int row) const;

    // "Spiele: 2:1 Sätze: 6:4 Punkte: 98:90"
    static QString hintText(const tabellenitem& item);

    void Button1Click(); // "Rauf"
    void Button2Click(); // "Runter"
    void uiButton1Click(); // "Übernehmen"

    QLabel* StaticText1;
    QLabel* StaticText2;
    QListWidget* ListBox1; // hidden: the marked entries
    QListWidget* ListBox2;
    QPushButton* Button1;
    QPushButton* Button2;
    TuiButton* uiButton1;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Swaps the selected row with the one `step` away when both are marked
    // entries of one tie.
    void move(int step);
};

} // namespace bw
