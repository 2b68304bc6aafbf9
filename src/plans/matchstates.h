// The state of every match of the class shown (`Spielstatus`), without widgets,
// and what its status icons show in it. Waiting and playable are decided from
// the pools and never stored; called, running and finished follow the match's
// row. The icons on the pages only show these states.
#pragma once

#include <QHash>
#include <QString>

namespace bw {

enum Spielstatus : int {
    kWartend = 1,
    kSpielbar = 2,
    kAufgerufen = 3,
    kLaeuft = 4,
    kBeendet = 5,
};

struct MatchState {
    int tag = kWartend;
    QString ergebnis;     // a finished match's result, first-named side first
    QString hint;         // its set hint
    QString mirroredHint; // the hint from the second-named side
    bool operator==(const MatchState&) const = default;
};

// What a status icon shows: its Tag, its picture (a file of the program folder;
// none for a finished match), the text drawn on it and its hint.
struct StatusLook {
    int tag = kWartend;
    QString picture;
    QString text;
    QString hint;
    bool operator==(const StatusLook&) const = default;
};

inline const QString kWartendPicture = QStringLiteral("images\\GreyDot.gif");
inline const QString kSpielbarPicture = QStringLiteral("images\\warning.gif");
inline const QString kAufgerufenPicture = QStringLiteral("images\\test3.gif");
inline const QString kLaeuftPicture = QStringLiteral("images\\test4.gif");

// The picture of a state; empty for a finished match and for no state.
QString statusPicture(int tag);
// The result read from the second-named side: "3:1" gives "1:3".
QString mirroredErgebnis(const QString& ergebnis);
// The look of the icon "status" + n, or of its mirrored "statusx" + n.
StatusLook statusLook(const MatchState& state, bool mirrored);

// The states by match number; a match not set is waiting.
class MatchStates {
public:
    MatchState state(int spielnummer) const { return m_states.value(spielnummer); }
    int tag(int spielnummer) const { return state(spielnummer).tag; }
    void set(int spielnummer, const MatchState& state) { m_states.insert(spielnummer, state); }
    void clear() { m_states.clear(); }

private:
    QHash<int, MatchState> m_states;
};

} // namespace bw
