#include "draw/matchrows.h"

#include "data/transaction.h"

namespace bw {

int teamGameCount(const TeamFormat& format)
{
    int games = 0;
    for (size_t n = 0; n < format.a.size(); ++n) {
        if (format.a[n] && format.b[n])
            ++games;
    }
    return games;
}

MatchRowWriter::MatchRowWriter(const QSqlDatabase& db, int tid, int kid, ClassKind kind,
                               const std::optional<TeamFormat>& format)
    : m_db(db), m_inserter(db, tid, kid), m_games(kind == ClassKind::Team && format ? teamGameCount(*format) : 0)
{
}

void MatchRowWriter::spielplanfuellen(const NewMatch& match)
{
    Transaction transaction(m_db);
    m_inserter.insertMatch(match);
    for (int game = 1; game <= m_games; ++game)
        m_inserter.insertGame(match, game);
    transaction.commit();
}

} // namespace bw
