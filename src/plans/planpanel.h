// The controls of the plan panel (the main window's panel `spielplanform`):
// title, the pages of the three phases and of the placement matches, each a
// white scroll box, the message list, the start button, the zoom buttons and
// the choice of the group layout. The panel holds no state of its own; the
// data module Tspielplaene fills it and runs its handlers.
#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QScrollArea;
class QTabWidget;
class TuiButton;

namespace bw {

class PlayerCard;

class PlanPanel : public QWidget {
    Q_OBJECT
public:
    explicit PlanPanel(QWidget* parent);

    QLabel* spielplantext;
    QTabWidget* sp_contol;
    QWidget* sp_phase1;
    QWidget* sp_phase2;
    QWidget* sp_phase3;
    QWidget* sp_platzierung;
    QScrollArea* sp_scrollbox1;
    QScrollArea* sp_ScrollBox2;
    QScrollArea* sp_ScrollBox3;
    QScrollArea* sp_ScrollBox4;
    QListWidget* platz;
    QListWidget* sp_info;
    TuiButton* turniergo;
    QWidget* zoompanel;
    QLabel* StaticText14;
    QPushButton* zoom1_1;
    QPushButton* zoom1_2;
    QPushButton* zoom1_3;
    QLabel* Label4;
    QComboBox* GruppeDarBox;
    // The player cards, over every page.
    PlayerCard* spielernotiz;
    PlayerCard* spielernotiz2;

    // The scroll box of page 0..3.
    QScrollArea* page(int index) const;
    // The white caption marks the current zoom (1..3).
    void markZoom(int zoom);
    int markedZoom() const;
};

} // namespace bw
