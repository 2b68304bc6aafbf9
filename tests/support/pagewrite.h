// The fault loop of a write as the user meets it on a page: the click that
// writes, with statement N failing, for N = 1, 2, ... until the write completes.
//
//   const QString failure = checkPageWrite(db, prompter, [&] { click(page.save); },
//                                          [&] { return pageIsConsistent(); });
//   QCOMPARE(failure, QString());
#pragma once

#include "support/fakeprompter.h"

#include <QSqlDatabase>
#include <QStringList>

#include <functional>

namespace bw::test {

// Runs `action` with statement N on `db` failing (FaultInjection) for N = 1, 2,
// ... After every run in which the fault struck, the page must have shown one
// error box (any text); while the database is exactly as before, `consistent`
// must hold (it returns what is wrong with the page, or an empty string) and
// the loop goes on. The loop ends with the run the fault no longer strikes,
// which must show no error box, or with a failure after the write was
// committed (the database has changed: a read that refreshes the page failed);
// the caller then checks the completed state. `beforeRun(n)` scripts the boxes
// the action asks before it writes. Returns what went wrong first, or an empty
// string; `runs` receives the number of runs.
QString checkPageWrite(const QSqlDatabase& db, FakePrompter& prompter, const std::function<void()>& action,
                       const std::function<QString()>& consistent, const std::function<void(int)>& beforeRun = {},
                       int* runs = nullptr);

} // namespace bw::test
