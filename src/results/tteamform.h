// The team-match format of a team class ("Teamsystem bearbeiten"): players and
// reserves per team and, for each of nine games, which position of team A meets
// which position of team B. The dialog only holds the format; the class page
// reads it with format() and stores it when the class is saved.
#pragma once

#include "data/classrecords.h"

#include <QDialog>
#include <QSqlDatabase>

#include <array>
#include <functional>

class QComboBox;
class TuiButton;
class QSpinBox;

namespace bw {

class Prompter;

class Tteamform : public QDialog {
    Q_OBJECT
public:
    Tteamform(QWidget* parent, Prompter& prompter, std::function<QSqlDatabase()> database);

    static constexpr int kGames = 9;
    static constexpr int kMaxPlayers = 4;
    static constexpr int kMaxReserves = 2;
    // The spin edits take numbers up to this and correct them to their maximum.
    static constexpr int kTypedMax = 99;

    QSpinBox* spieler;
    QSpinBox* reserve;
    std::array<QComboBox*, kGames> a{}; // team A's side of games 1..9 ("a1".."a9")
    std::array<QComboBox*, kGames> b{}; // team B's side ("b1".."b9")
    TuiButton* ok;
    TuiButton* cancel;

    // Marks the class page changed; called by "Übernehmen".
    std::function<void()> klassenchange;

    // Loads the class's format; a class without one shows 0 players and no games.
    void system_laden(int kid);
    // Shows a format as the class page read it.
    void showFormat(const TeamFormat& format);
    // The format as the lists show it: a side is the position of the entry whose
    // text it shows; a text that is no entry, or a half-filled game, is no game.
    TeamFormat format() const;
    // The state of a new class: no players, no reserves, no game chosen; the
    // game lists offer "D1" and "D2".
    void clearFormat();

public slots:
    void okClick();
    void cancelClick();
    void spielerChange();
    void reserveChange();
    // Leaving a game list: a text that is none of its entries is refused.
    void a1Exit(QComboBox* list);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillGameList(QComboBox* list, bool sideA, int players);
    // Sets the players per team and refills the game lists, also when the
    // number stays.
    void setPlayers(int players);

    Prompter& m_prompter;
    std::function<QSqlDatabase()> m_database;
};

} // namespace bw
