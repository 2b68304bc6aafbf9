// Timing helpers of the benchmarks on a database: wall time of one piece of
// work, the median of several runs, and the backends a run covers (PostgreSQL
// only with the server that scripts/bench, like ./test, starts).
#pragma once

#include "benchreport.h"

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

// Calls run(backend, name) for SQLite and, when the test server is there, PostgreSQL.
inline void forEachBackend(const std::function<void(Backend, const char*)>& run)
{
    run(Backend::SQLite, "SQLite");
    if (!qEnvironmentVariableIsEmpty("BRACKWELL_TEST_PGHOST"))
        run(Backend::PostgreSQL, "PostgreSQL");
    else
        std::printf("PostgreSQL: not measured (scripts/bench starts a server and runs every benchmark on both backends)\n");
}

} // namespace bw::timing
