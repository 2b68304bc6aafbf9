// The doubles partners and team rows of one player (Doppelpartner). A pair is
// two symmetric rows; a player entered without partner has one row whose
// partner is Null. Players are addressed by their keys.
//
// Pairing and splitting on the group set-up page change only the partner of
// existing rows, each change guarded by the partner the row is expected to
// have: both rows of a pair change, or nothing does and the action reports that
// another desk was quicker. So two desks cannot give one player two partners.
#pragma once

#include <QList>
#include <QSet>
#include <QSqlDatabase>
#include <QString>

#include <optional>
#include <utility>

namespace bw {

// One line of the player page's partner list: the class and the partner chosen
// in it (0: none yet). Team classes name no partner.
struct PartnerLine {
    int kid = 0;
    int partnerSid = 0;
};

// A partner the player names who already plays with someone else in the class.
struct PartnerConflict {
    int kid = 0;
    int partnerSid = 0;
    int currentSid = 0; // the partner's present partner
    QString partnerName; // first name and surname, as the question names them
    QString currentName;

    bool operator==(const PartnerConflict&) const = default;
};

// The conflicts the user has to decide before the player's rows are stored.
// `sid` 0 stands for a player not saved yet.
QList<PartnerConflict> partnerConflicts(const QSqlDatabase& db, int sid, const QList<PartnerLine>& lines);

// Makes the player's rows exactly the lines, in one transaction (joining the
// caller's): every earlier row of his goes and nobody names him as partner any
// more; then per line a pair of symmetric rows with a free partner, or a row
// without partner when there is none, the partner is not entered in the class,
// or he plays with someone else and (kid, partner) is not among `takeOver`.
// A partner taken over leaves his former partner without partner. A row written
// anew keeps the team name it had. Throws StaleRecord when the player or one
// of the classes no longer exists; a partner who no longer exists is none.
void storePartners(const QSqlDatabase& db, int sid, const QList<PartnerLine>& lines,
                   const QSet<std::pair<int, int>>& takeOver);

// The partner the player has in the class, if any.
std::optional<int> currentPartner(const QSqlDatabase& db, int sid, int kid);

// Who may be chosen as partner in the class, the player himself never:
// in a doubles class the players of the class without partner; in a mixed class
// the players of the class of the other sex, paired or not (nobody when the
// player's sex is not set).
QList<int> partnerCandidates(const QSqlDatabase& db, int kid, int sid, bool mixed, bool mann, bool frau);

// What the set-up page tells a desk whose pairing lost against another desk.
inline const QString kPartnerTakenMeanwhile = QStringLiteral("Einer der beiden Spieler hat inzwischen einen Partner.");

// Makes pairs of players of the class who have no partner: each row names the
// other. All pairs or none, in one transaction (joining the caller's); throws
// AppError kPartnerTakenMeanwhile when a player has a partner by now or no row
// in the class.
void pairPlayers(const QSqlDatabase& db, int kid, const QList<std::pair<int, int>>& pairs);

// Splits the pair of a and b: both rows lose their partner, in one transaction.
// Throws StaleRecord (changed) when the two are no pair any more.
void splitPair(const QSqlDatabase& db, int kid, int a, int b);

} // namespace bw
