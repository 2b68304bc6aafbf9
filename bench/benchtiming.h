// Timing helpers every benchmark shares: wall time of one piece of work, the
// median of several runs, and the backends a run covers (PostgreSQL only with
// the server variables ./test exports).
#pragma once

#include "support/testdatabase.h"

#include <QtGlobal>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace bw::timing {

inline double millis(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Calls run(backend, name) for SQLite and, when ./test's server is there, PostgreSQL.
inline void forEachBackend(const std::function<void(Backend, const char*)>& run)
{
    run(Backend::SQLite, "SQLite");
    if (!qEnvironmentVariableIsEmpty("BRACKWELL_TEST_PGHOST"))
        run(Backend::PostgreSQL, "PostgreSQL");
    else
        std::printf("PostgreSQL: not measured (set BRACKWELL_TEST_PGHOST, PGPORT and PGUSER as ./test does)\n");
}

} // namespace bw::timing
