// The two plan-definition files beside the program, read (never written) by the
// plan generation, the double knock-out drawing and its printout:
//
//   Files\system.txt     per group size n: the playing order of a group.
//                        "n:"                       key line
//                        "1-4;2-3;1-3;2-4;1-2;3-4"  pairings of places, ";"-separated
//   Files\ko_system.txt  per bracket size s: the complete double knock-out plan.
//                        "s:"                       key line
//                        "count,columns,rows"       header
//                        count lines "f0,...,f9"    one match or label each
//
// A block starts at the first line that contains its key ("3:" is also found in
// "13:", so the files list their blocks in ascending order). Items are split at
// the delimiter and at blanks and control characters; "..." quotes an item; two
// delimiters in a row or a delimiter at the end of the line give an empty item.
// Numbers are decimal integers without leading zeros, so a number copied into a
// placeholder text reads as written.
//
// Every reader opens the file anew. A file or block that is not there is a result
// the caller acts on; a block that cannot be read raises bw::AppError.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

class QIODevice;

namespace bw {

// Below the program folder (bw::AppPaths::programFile).
inline constexpr char kGroupOrderFile[] = "Files\\system.txt";
inline constexpr char kDoubleKoFile[] = "Files\\ko_system.txt";

// Splits one line (without its line break) into items at `delimiter`, blanks and
// control characters.
QStringList splitPlanLine(QStringView line, QChar delimiter);

// The value of a decimal integer written without leading zeros ("-12", "0", "7");
// nothing for anything else, including "+1", "007", "-0" and values beyond int.
std::optional<int> parsePlanNumber(QStringView text);

enum class PlanLookup {
    Found,
    FileMissing,
    BlockMissing, // the file holds no key line for the size
};

// One match of a group: places counted from 1, first-named place first.
struct Pairing {
    int first = 0;
    int second = 0;
    friend bool operator==(const Pairing&, const Pairing&) = default;
};

// The playing order of a group of `size` places ("Gruppenspielfolge").
struct GroupOrder {
    PlanLookup lookup = PlanLookup::BlockMissing;
    QList<Pairing> pairings; // empty for a group of one
    bool found() const { return lookup == PlanLookup::Found; }
};

// One line of a double knock-out block. Match numbers count within the phase from
// 1; the callers add the phase's offset. Fields that no reader takes from a line of
// that kind keep their defaults: f2, f4 and f9 of a label line, f4 of a first-round
// line, and f5, which nothing reads, of every line.
struct DoubleKoLine {
    int f0 = -1; // the match's number; -1: a label line (a connector with a caption)
    int f1 = -1; // slot 1's source match; -1 on a first-round line
    int f2 = -1; // slot 2's source match; -1 on a first-round line
    int f3 = 0;  // slot 1: -3 first round (bracket slots 2*f0-1, 2*f0), 1 winner of f1,
                 // any other value loser of f1; on a label line 1 when written "1", else 0
    int f4 = 0;  // slot 2: 1 winner of f2, any other value loser of f2
    int f6 = 0;  // grid column where the slot lines start (no label indent in column 0)
    int f7 = 0;  // grid column where they end: connector and status icon
    int f8 = 0;  // grid row of slot 1 (of a label line: its line and caption)
    int f9 = 0;  // grid row of slot 2

    bool isLabel() const { return f0 == -1; }
    bool isFirstRound() const { return !isLabel() && f3 == -3; }
    bool slot1IsWinner() const { return f3 == 1; }
    bool slot2IsWinner() const { return f4 == 1; }
};

// The double knock-out plan of a bracket of `size` slots ("DoppelKOSchema").
struct DoubleKoPlan {
    PlanLookup lookup = PlanLookup::BlockMissing;
    int columns = 0; // extent of the drawing in grid cells
    int rows = 0;
    QList<DoubleKoLine> lines; // as many as the header's count, in file order
    bool found() const { return lookup == PlanLookup::Found; }
};

// `path` is the file on disk; a missing file gives FileMissing. The device variants
// read an open device from its current position; `name` names it in messages.
GroupOrder readGroupOrder(const QString& path, int size);
GroupOrder readGroupOrder(QIODevice& device, const QString& name, int size);
DoubleKoPlan readDoubleKoPlan(const QString& path, int size);
DoubleKoPlan readDoubleKoPlan(QIODevice& device, const QString& name, int size);

// What a found double knock-out block for `size` slots breaks of the rules every
// reader relies on (one German sentence each; empty when it keeps them all):
// match lines numbered 1, 2, 3, ... in file order; matches 1 to size/2 are the
// first round and cover the bracket slots once each; no later match has both
// sources -1; every source is a match of the block.
QStringList doubleKoRuleViolations(const DoubleKoPlan& plan, int size);

} // namespace bw
