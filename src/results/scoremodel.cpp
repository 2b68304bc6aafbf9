#include "results/scoremodel.h"

#include <algorithm>

namespace bw {

SetEntry readSetEntry(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {true, std::nullopt};
    if (t.size() >= 2 && t.front() == u'-') {
        bool zeros = true;
        for (qsizetype i = 1; i < t.size() && zeros; ++i)
            zeros = t.at(i) == u'0';
        if (zeros)
            return {true, kSatzOhnePunkt};
    }
    // Digits only after an optional sign: no blanks or other characters inside.
    const qsizetype start = (t.front() == u'+' || t.front() == u'-') ? 1 : 0;
    if (start == t.size())
        return {};
    for (qsizetype i = start; i < t.size(); ++i) {
        if (t.at(i) < u'0' || t.at(i) > u'9')
            return {};
    }
    bool ok = false;
    const int v = t.toInt(&ok);
    if (!ok || v > kMaxVerliererpunkte || v < -kMaxVerliererpunkte)
        return {};
    return {true, v};
}

QString setEntryText(const Satzwert& value)
{
    if (!value)
        return {};
    if (*value == kSatzOhnePunkt)
        return QStringLiteral("-0");
    if (*value >= 0)
        return u'+' + QString::number(*value);
    return QString::number(*value);
}

QString mirroredSetEntryText(const Satzwert& value)
{
    if (!value)
        return {};
    if (*value == kSatzOhnePunkt)
        return QStringLiteral("+0");
    if (*value >= 0)
        return u'-' + QString::number(*value);
    return u'+' + QString::number(-*value);
}

namespace {

QString joinPlayed(const Saetze& saetze, QString (*text)(const Satzwert&))
{
    QStringList parts;
    for (const Satzwert& v : saetze) {
        if (v)
            parts << text(v);
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

QString setHint(const Saetze& saetze)
{
    return joinPlayed(saetze, &setEntryText);
}

QString mirroredSetHint(const Saetze& saetze)
{
    return joinPlayed(saetze, &mirroredSetEntryText);
}

int winnerPoints(int loserPoints)
{
    return loserPoints <= 9 ? 11 : loserPoints + 2;
}

std::optional<SetPoints> setPoints(const Satzwert& value)
{
    if (!value)
        return std::nullopt;
    const int v = *value;
    if (v == kSatzOhnePunkt)
        return SetPoints{0, 11};
    if (v >= 0)
        return SetPoints{winnerPoints(v), v};
    return SetPoints{-v, winnerPoints(-v)};
}

SetPoints matchPoints(const Saetze& saetze)
{
    SetPoints sum;
    for (const Satzwert& v : saetze) {
        if (const auto p = setPoints(v)) {
            sum.side1 += p->side1;
            sum.side2 += p->side2;
        }
    }
    return sum;
}

QString Ergebnis::text() const
{
    return QString::number(saetze1) + u':' + QString::number(saetze2);
}

std::optional<Ergebnis> readErgebnis(const QString& text)
{
    const auto digit = [](QChar c) { return c >= u'0' && c <= u'9' ? c.unicode() - u'0' : -1; };
    if (text.size() != 3 || text.at(1) != u':' || digit(text.at(0)) < 0 || digit(text.at(2)) < 0)
        return std::nullopt;
    return Ergebnis{digit(text.at(0)), digit(text.at(2))};
}

std::optional<QString> setsDisagreement(const Saetze& saetze, const Ergebnis& ergebnis)
{
    int last = -1; // the last set entered
    for (size_t k = 0; k < saetze.size(); ++k) {
        if (saetze[k])
            last = int(k);
    }
    if (last < 0)
        return std::nullopt;
    for (int k = 0; k < last; ++k) {
        if (!saetze[size_t(k)])
            return QStringLiteral("Satz %1 fehlt vor Satz %2.").arg(k + 1).arg(last + 1);
    }
    const int toWin = std::max(ergebnis.saetze1, ergebnis.saetze2);
    Ergebnis won;
    int decided = -1; // the set in which a side reached toWin
    for (int k = 0; k <= last; ++k) {
        int& side = *saetze[size_t(k)] >= 0 ? won.saetze1 : won.saetze2;
        if (++side == toWin && decided < 0)
            decided = k;
    }
    if (won != ergebnis)
        return QStringLiteral("Die Sätze ergeben %1, das Endergebnis lautet %2.").arg(won.text(), ergebnis.text());
    if (decided >= 0 && decided < last)
        return QStringLiteral("Nach dem entscheidenden Satz %1 ist noch Satz %2 eingetragen, das Endergebnis lautet %3.")
            .arg(decided + 1)
            .arg(last + 1)
            .arg(ergebnis.text());
    return std::nullopt;
}

std::optional<QString> gamesDisagreement(const QList<Ergebnis>& games, const Ergebnis& ergebnis)
{
    if (games.isEmpty())
        return std::nullopt;
    Ergebnis won;
    for (const Ergebnis& game : games)
        ++(game.sieger() == 1 ? won.saetze1 : won.saetze2);
    if (won == ergebnis)
        return std::nullopt;
    return QStringLiteral("Die Spiele ergeben %1, das Endergebnis lautet %2.").arg(won.text(), ergebnis.text());
}

} // namespace bw
