// The call-up reminders: once a minute, while a started class is shown, every
// player and umpire of a called match whose latest call lies more than five
// minutes back is listed on top of the plan panel's message list, so the desk
// calls him again. A reminder repeats at every tick until the next call is
// recorded; nothing is written.
#pragma once

#include "data/planviewrecords.h"

#include <QDateTime>
#include <QStringList>

namespace bw::plan {

// The list keeps this many lines, the newest on top.
inline constexpr int kReminderLines = 10;

// The reminders of a tick at `now`: calls before now minus five minutes count.
QDateTime reminderThreshold(const QDateTime& now);

// The lines of the called matches, in match order and per match the nine tests
// in their order (first, second, third call; player 1, player 2, umpire). A call
// time that is Null counts as older than the threshold; a match without umpire
// gives no umpire lines.
QStringList reminderLines(const QList<CalledMatchRow>& rows, const QDateTime& threshold);

// `shown` after each line was put on top in turn, cut to kReminderLines.
QStringList withReminders(QStringList shown, const QStringList& lines);

} // namespace bw::plan
