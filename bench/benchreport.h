// What every benchmark shares, plain C++ so that the codec benchmarks can use it
// too: the set-up of a run started by hand, and the one line per measured ratio
// that scripts/bench gathers into its table.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace bw::timing {

// A benchmark started by hand gets what ctest gives every test: the build's
// source and program folders, where the plan files and pictures lie, and the
// offscreen platform unless another one is asked for. Call first in main().
inline void setUpLikeTests()
{
    ::setenv("BRACKWELL_SOURCE_DIR", BRACKWELL_SOURCE_DIR, 1);
    ::setenv("BRACKWELL_PROGRAM_DIR", BRACKWELL_PROGRAM_DIR, 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
}

// A ratio's goal: at most `limit` (our time against a floor), at least `limit`
// (our speed against a peer's), or none (the ratio is only reported).
struct Goal {
    enum class Kind { None, AtMost, AtLeast };
    Kind kind = Kind::None;
    double limit = 0;

    bool met(double ratio) const
    {
        return kind == Kind::AtMost ? ratio <= limit : kind == Kind::AtLeast ? ratio >= limit : true;
    }
};

inline Goal atMost(double limit) { return {Goal::Kind::AtMost, limit}; }
inline Goal atLeast(double limit) { return {Goal::Kind::AtLeast, limit}; }

// Backend of the benchmarks that use no database.
inline constexpr const char* kNoBackend = "-";

// One line "ratio<TAB>what<TAB>backend<TAB>ratio<TAB>goal<TAB>verdict", e.g.
// "ratio	Matrix	SQLite	1.19	<= 2	met"; scripts/bench reads these lines.
inline void report(const char* what, const char* backend, double ratio, Goal goal = {})
{
    char limit[32] = "-";
    if (goal.kind != Goal::Kind::None)
        std::snprintf(limit, sizeof limit, "%s %g", goal.kind == Goal::Kind::AtMost ? "<=" : ">=", goal.limit);
    const char* verdict = goal.kind == Goal::Kind::None ? "-" : goal.met(ratio) ? "met" : "not met";
    std::printf("ratio\t%s\t%s\t%.2f\t%s\t%s\n", what, backend, ratio, limit, verdict);
    std::fflush(stdout);
}

} // namespace bw::timing
