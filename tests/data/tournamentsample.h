// A tournament with every field filled, for the records test and the tournament
// page's test: texts with blanks and line breaks around them to be trimmed.
#pragma once

#include "data/tournamentrecords.h"

#include <QTest>

namespace bw::test {

inline TournamentData sampleTournament()
{
    TournamentData data;
    for (int i = 0; i < kTournamentFieldCount; ++i) {
        const auto field = TournamentField(i);
        if (isDateField(field))
            data[field] = QDate(2027, 3, 1).addDays(i);
        else
            data[field] = QStringLiteral("  %1 Wert\r\nzweite Zeile ä \r\n").arg(tournamentColumn(field));
    }
    data[TournamentField::turniername] = QStringLiteral(" Offene Meisterschaft ");
    return data;
}

// The values as they are stored: every text trimmed.
inline TournamentData trimmed(TournamentData data)
{
    for (QVariant& value : data.values)
        if (value.typeId() == QMetaType::QString)
            value = trimmedText(value.toString());
    return data;
}

inline void compareTournaments(const TournamentData& actual, const TournamentData& expected)
{
    for (int i = 0; i < kTournamentFieldCount; ++i) {
        const auto field = TournamentField(i);
        const QString name = tournamentColumn(field);
        if (isDateField(field))
            QCOMPARE(actual.date(field), expected.date(field));
        else
            QVERIFY2(actual.text(field) == expected.text(field),
                     qPrintable(name + QStringLiteral(": ") + actual.text(field) + QStringLiteral(" / ") + expected.text(field)));
    }
}

} // namespace bw::test
