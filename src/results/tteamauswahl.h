// The team builder ("Team bearbeiten"): the team classes of the tournament, the
// players entered in the chosen class and its teams. A team is composed by
// dragging players into numbered slots (players, reserves, double 1, double 2),
// named, given a club and stored as a Teams row; the members' Doppelpartner rows
// of the class carry the team's name. Shown non-modally while the main window's
// work area is disabled; closing it ends that.
#pragma once

#include <QDialog>
#include <QListWidget>
#include <QSet>
#include <QSqlDatabase>

#include <functional>

class QComboBox;
class QLabel;
class TuiButton;

namespace bw {

class Prompter;
struct TeamRow;

// A list of the team builder: drags start from it and drops on its entries go
// to the dialog, which decides what they do.
class TeamDragList : public QListWidget {
    Q_OBJECT
public:
    explicit TeamDragList(QWidget* parent = nullptr);

    // Whether a drag from source may end here, and what a drop on row does.
    std::function<bool(QListWidget* source)> accepts;
    std::function<void(QListWidget* source, int row)> dropped;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

class Tteamauswahl : public QDialog {
    Q_OBJECT
public:
    Tteamauswahl(QWidget* parent, Prompter& prompter, std::function<QSqlDatabase()> database,
                 std::function<int()> tournament);

    TeamDragList* ListBox6;  // "Turnierklassen": team classes, id KID
    QLabel* teamklasse;      // name of the chosen class
    TeamDragList* ListBox3;  // "Gemeldete Spieler": id SID
    QComboBox* ComboBox1;    // "Teamname": teams of the class, id MID
    QComboBox* ComboBox2;    // "Verein"
    TeamDragList* ListBox1;  // "Spieler"
    TeamDragList* ListBox2;  // "Reservespieler"
    TeamDragList* ListBox4;  // "Doppel 1"
    TeamDragList* ListBox5;  // "Doppel 2"
    TuiButton* ok;
    TuiButton* newButton;  // object name "new"
    TuiButton* deleteButton; // object name "delete"
    TuiButton* cancel;

    // The id attached to a list entry (KID, SID or, in a slot, 0 for empty).
    static int entryId(const QListWidget* list, int row);
    // The class shown; 0 when there is none.
    int currentClass() const;
    // Players of the class who are in one of its teams (drawn blue).
    const QSet<int>& assignedPlayers() const { return m_assigned; }

    // Loads a class: its players, clubs, teams, slot counts and first team.
    void teamsladen(int kid);

    // A drop of source's selected entry on row of target, as the drag rules say.
    void ListBoxDragDrop(QListWidget* target, QListWidget* source, int row);
    bool ListBoxDragOver(QListWidget* target, QListWidget* source) const;

public slots:
    void FormShow();
    void ListBox6Click();
    void ComboBox1Select(int index);
    void ListBox3Click();
    void okClick();
    void newClick();
    void deleteClick();
    void cancelClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void clearAll();
    void makeSlots(QListWidget* list, int count);
    // Makes a slot list just tall enough for its slots.
    static void fitSlots(QListWidget* list, int count);
    void setSlot(QListWidget* list, int row, int sid, const QString& text);
    // The slots filled from a stored team; a player no longer entered in the
    // class still shows with his name, one who no longer exists leaves the slot empty.
    void showTeam(const TeamRow& team);
    QString slotText(int sid) const;
    bool isSlotList(const QListWidget* list) const;
    void refreshAssigned();

    Prompter& m_prompter;
    std::function<QSqlDatabase()> m_database;
    std::function<int()> m_tournament;
    QSet<int> m_assigned;
};

} // namespace bw
