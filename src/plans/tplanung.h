// The planning board "Spieleplaner": a tournament day as a time table of its
// tables, the planned matches of every class in it, the chosen class's
// matches that wait for a time in a list beside it. Matches are planned by
// dragging them from the list, moved within the grid and taken off onto the
// list; each drop is stored at once (boardmodel.h says what it checks).
// The window lives for the whole run and is filled anew each time it shows.
#pragma once

#include "plans/boardmodel.h"
#include "platform/pagestate.h"

#include <QDialog>
#include <QSqlDatabase>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;
class TuiButton;

namespace bw {

class BoardGrid;
class BoardList;
class Prompter;

struct PlanungLinks {
    Prompter& prompter;
    std::function<QSqlDatabase()> database;
    const int& aktuelleTID;
    // "Spiel bearbeiten": opens the match dialog for the class's match (a team
    // game: its game number, else -1) in the mode its stored state calls for.
    std::function<void(int kid, int spielnummer, int nummer)> editMatch;
};

class Tplanung : public QDialog {
    Q_OBJECT
public:
    Tplanung(QWidget* parent, PlanungLinks links);
    ~Tplanung() override;

    const BoardModel& board() const { return m_board; }

    QComboBox* ComboBox1;   // the classes
    QComboBox* ColorBox1;   // the chosen class's colour
    BoardList* ListBox1;    // its matches without a time
    BoardGrid* StringGrid1; // the day
    QLineEdit* Edit1;       // the day shown
    QLabel* von;
    QLabel* bis;
    QToolButton* Image1; // previous day
    QToolButton* Image2; // next day
    QMenu* PopupMenu1;
    TuiButton* uiButton1; // "Beenden"

    // The match of the last right-clicked cell.
    BoardMatchKey bearbeiten;

public slots:
    void FormShow();
    void ComboBox1Select(int index);
    void ColorBox1Change(int index);
    void Image1Click();
    void Image2Click();
    void spielbearbeitenClick();
    // The day and the chosen class's list read again (after the match dialog
    // opened by "Spiel bearbeiten" stored something); the grid stays where it
    // was scrolled to.
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showDay(const QDate& day);
    void showColour();
    void showDayText();
    void commit(const std::optional<BoardDrop>& drop);
    void openMenu(int row, int column, const QPoint& globalPos);

    PlanungLinks m_links;
    BoardModel m_board;
    PageState m_page;
};

} // namespace bw
