#include "plans/placement.h"

#include "data/classrecords.h"
#include "data/planviewrecords.h"
#include "data/transaction.h"
#include "draw/matchrows.h"
#include "platform/apperror.h"

namespace bw::plan {

QList<NewMatch> PlacementClass::newMatches(int count) const
{
    QList<NewMatch> matches;
    for (int k = knockOut ? 2 : 1; k <= placementRows(count); ++k) {
        NewMatch match;
        match.spielnummer = rowMatch(k);
        match.phase = 4;
        match.gruppe = -1;
        match.platz = 2 * k - 1;
        matches << match;
    }
    return matches;
}

QStringList countItems()
{
    QStringList items;
    for (int i = 0; i <= kMaxPlaces; ++i)
        items << QString::number(i);
    return items;
}

std::optional<int> countOf(const QString& text)
{
    if (!countItems().contains(text))
        return std::nullopt;
    return text.toInt();
}

QString rowCaption(int k)
{
    return QStringLiteral("Spiel um %1. Platz").arg(2 * k - 1);
}

namespace {

const QStringList kRankWords = {QStringLiteral("Sieger Gruppe "), QStringLiteral("Zweiter Gruppe "),
                                QStringLiteral("Dritter Gruppe "), QStringLiteral("Vierter Gruppe ")};

} // namespace

QList<Candidate> placementCandidates(int maxMatch, int maxGroup)
{
    QList<Candidate> list;
    for (int n = 1; n <= maxMatch; ++n) {
        list << Candidate{winnerPlaceholder(n), n};
        list << Candidate{loserPlaceholder(n), n};
    }
    for (int g = 0; g <= maxGroup; ++g)
        for (const QString& word : kRankWords)
            list << Candidate{word + QChar(65 + g), 0};
    return list;
}

std::optional<CandidateSource> candidateSource(const Candidate& candidate)
{
    if (candidate.match > 0) {
        if (candidate.text == winnerPlaceholder(candidate.match))
            return CandidateSource{CandidateSource::Winner, candidate.match};
        if (candidate.text == loserPlaceholder(candidate.match))
            return CandidateSource{CandidateSource::Loser, candidate.match};
        return std::nullopt;
    }
    for (int rank = 0; rank < kRankWords.size(); ++rank) {
        const QString& word = kRankWords[rank];
        if (candidate.text.size() == word.size() + 1 && candidate.text.startsWith(word)) {
            const int group = candidate.text.back().unicode() - 65;
            if (group < 0 || group >= 26)
                return std::nullopt;
            return CandidateSource{CandidateSource::GroupRank, 0, group, rank};
        }
    }
    return std::nullopt;
}

SlotValue matchCandidateValue(const Candidate& candidate, const CandidateSource& source,
                              const std::optional<PlacementMatchRow>& outcome)
{
    SlotValue value{leererPlatz, candidate.text, source.match, -1, -1};
    if (!outcome)
        return value;
    const int decided = source.kind == CandidateSource::Winner ? outcome->siegerSID : outcome->verliererSID;
    if (decided >= 1) {
        if (decided == outcome->sid1) {
            value.id = decided;
            value.text = outcome->spieler1;
        } else if (decided == outcome->sid2) {
            value.id = decided;
            value.text = outcome->spieler2;
        }
    } else if (decided == Freilos && source.kind == CandidateSource::Winner) {
        value.id = Freilos;
        value.text = kFreilosText;
    }
    return value;
}

SlotValue groupCandidateValue(const Candidate& candidate, const CandidateSource& source, bool groupDecided,
                              const std::optional<GroupRankHolder>& holder)
{
    SlotValue value{leererPlatz, candidate.text, -1, source.group, source.rank};
    if (groupDecided && holder && !holder->bez.isEmpty()) {
        value.id = holder->sid;
        value.text = holder->bez;
    }
    return value;
}

QString slotName(int side, int k)
{
    return QStringLiteral("platz%1%2").arg(side).arg(k);
}

std::optional<SlotRef> slotRef(const QString& name)
{
    if (name.size() < 7 || !name.startsWith(QStringLiteral("platz")))
        return std::nullopt;
    const int side = name.mid(5, 1).toInt();
    bool ok = false;
    const int row = name.mid(6).toInt(&ok);
    if ((side != 1 && side != 2) || !ok || row < 1)
        return std::nullopt;
    return SlotRef{side, row};
}

} // namespace bw::plan

namespace bw {

void replacePlacementMatches(const QSqlDatabase& db, int kid, bool knockOut, int count, bool playedAccepted)
{
    const std::optional<ClassData> cls = readClassData(db, kid);
    if (!cls)
        throw StaleRecord::gone(QStringLiteral("Die Klasse"));
    MatchRowWriter writer(db, cls->tid, kid, cls->record.system, cls->format);
    Transaction transaction(db);
    lockClassMatches(db, kid);
    if (!playedAccepted && phaseHasPlayedMatch(db, kid, 4))
        throw StaleRecord::changed(QStringLiteral("Ein Plazierungsspiel"));
    deletePlacementMatches(db, kid);
    const plan::PlacementClass placement{knockOut, maxMatchNumber(db, kid)};
    for (const NewMatch& match : placement.newMatches(count))
        writer.spielplanfuellen(match);
    transaction.commit();
}

std::optional<plan::SlotValue> resolveCandidate(const QSqlDatabase& db, int kid, const plan::Candidate& candidate)
{
    const std::optional<plan::CandidateSource> source = plan::candidateSource(candidate);
    if (!source)
        return std::nullopt;
    if (source->kind == plan::CandidateSource::GroupRank)
        return plan::groupCandidateValue(candidate, *source, groupHasFinishedMatch(db, kid, source->group),
                                         readGroupRankHolder(db, kid, source->group, source->rank));
    return plan::matchCandidateValue(candidate, *source, readMatchOfPlacement(db, kid, source->match));
}

} // namespace bw
