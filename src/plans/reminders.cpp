#include "plans/reminders.h"

namespace bw::plan {

QDateTime reminderThreshold(const QDateTime& now)
{
    return now.addSecs(-5 * 60);
}

QStringList reminderLines(const QList<CalledMatchRow>& rows, const QDateTime& threshold)
{
    QStringList lines;
    for (const CalledMatchRow& row : rows) {
        auto set = [&](int call, int who) { return row.aufruf[call][who].has_value(); };
        auto old = [&](int call, int who) { return !set(call, who) || *row.aufruf[call][who] < threshold; };
        const QString names[3] = {row.spieler1, row.spieler2, row.schiri.value_or(QString())};
        for (int call = 0; call < 3; ++call)
            for (int who = 0; who < 3; ++who) {
                const bool umpire = who == 2;
                if (umpire && !row.schiri)
                    continue;
                if (!old(call, who))
                    continue;
                // A second or third call counts once it and every call before it
                // were made; a first call counts also when it is Null. None after it.
                bool made = true;
                for (int before = 0; call > 0 && before <= call; ++before)
                    made = made && set(before, who);
                bool later = false;
                for (int after = call + 1; after < 3; ++after)
                    later = later || set(after, who);
                if (!made || later)
                    continue;
                lines.append(QStringLiteral("- %1.%2 vor 5 Minuten: %3")
                                 .arg(call + 1)
                                 .arg(umpire ? QStringLiteral("Schiedsrichteraufruf") : QStringLiteral("Spielaufruf"),
                                      names[who]));
            }
    }
    return lines;
}

QStringList withReminders(QStringList shown, const QStringList& lines)
{
    for (const QString& line : lines) {
        shown.prepend(line);
        while (shown.size() > kReminderLines)
            shown.removeLast();
    }
    return shown;
}

} // namespace bw::plan
