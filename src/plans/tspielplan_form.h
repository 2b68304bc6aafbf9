// The match list viewer "Spielplan": the matches of the current class, or of
// one of its groups, in two displays ("Darstellung 1" with the set results,
// "Darstellung 2" with time, table, umpire, result and state), each printable.
// It only reads; a display is drawn when the viewer is shown and when its
// button is pressed.
#pragma once

#include "plans/matchlist.h"

#include <QDialog>
#include <QSqlDatabase>
#include <QWidget>

#include <functional>

class QLabel;
class QPrinter;
class QScrollArea;
class TuiButton;

namespace bw {

class Prompter;

// One display's picture. It is as tall as its rows need but paints only the
// rows in the area to repaint, so a long list costs no page-size image.
class MatchListView : public QWidget {
    Q_OBJECT
public:
    MatchListView(const QString& name, matchlist::Display display, QWidget* parent);

    // Lays the picture out for the rows, `width` wide and at least as tall as
    // `viewportHeight` less 4.
    void setRows(const QList<matchlist::Entry>& entries, int saetze, int width, int viewportHeight);
    matchlist::Display display() const { return m_display; }
    const QList<matchlist::Entry>& entries() const { return m_entries; }
    // The rows the last paint drew.
    std::pair<int, int> paintedRows() const { return m_painted; }

signals:
    void mouseMoved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    matchlist::Display m_display;
    QList<matchlist::Entry> m_entries;
    int m_saetze = 0;
    PrintPage m_frame;
    std::pair<int, int> m_painted{0, 0};
};

// What the viewer needs of the program.
struct SpielplanFormLinks {
    Prompter* prompter = nullptr;
    std::function<QSqlDatabase()> database;
    // The current class and the open tournament's name.
    std::function<int()> aktuelleKID;
    std::function<QString()> turniername;
    // The printer the lists print on.
    std::function<QPrinter&()> printer;
    // Gives the main window back (enabled, in front).
    std::function<void()> backToMain;
};

class Tspielplan_form : public QDialog {
    Q_OBJECT
public:
    Tspielplan_form(QWidget* parent, SpielplanFormLinks links);

    // The title "Spielplan für " + class; its property "Tag" chooses the
    // matches: -1 the whole class, a group's number that group.
    QLabel* StaticText1;
    QLabel* StaticText2; // " Gruppe " + letter, empty for the whole class
    QScrollArea* ScrollBox1;
    TuiButton* Darstelllung1Button;
    TuiButton* Darstelllung2Button;
    TuiButton* uiButton3; // "Drucken"
    TuiButton* uiButton1; // "Zurück"
    // The print dialog on the lists' printer; true when confirmed. Tests answer it.
    std::function<bool(QPrinter&, QWidget*)> PrintDialog1;
    // Made at every showing, freed at closing.
    MatchListView* darstellung1bild = nullptr;
    MatchListView* darstellung2bild = nullptr;

    void FormShow();
    void Darstelllung1ButtonClick();
    void Darstelllung2ButtonClick();
    void uiButton3Click();
    void uiButton1Click();
    void FormClose();
    void ScrollBox1MouseWheelDown();
    void ScrollBox1MouseWheelUp();

    void darstellung1zeichnen();
    void darstellung2zeichnen();
    void darstellung1drucken();
    void darstellung2drucken();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int tag() const;
    std::optional<int> group() const;
    QList<matchlist::Entry> readEntries() const;
    void zeichnen(MatchListView* shown, MatchListView* hidden);
    void markShown(TuiButton* shown, TuiButton* other);
    // Prints the display after the print dialog; false when printing failed
    // (message: its text).
    void drucken(matchlist::Display display, const std::function<QString(const std::exception&)>& message);
    void freeImages();

    SpielplanFormLinks m_links;
    QWidget* m_content = nullptr;
};

} // namespace bw
