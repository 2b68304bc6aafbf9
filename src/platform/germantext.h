// Numbers, dates and sorting as a German user reads and types them: decimal
// comma, dd.MM.yyyy, and lists sorted case-insensitively with umlauts in place.
#pragma once

#include <QCollator>
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace bw::german {

QLocale locale();

// A collator for sorted lists: German, case-insensitive, numbers by value.
QCollator collator();
// True when a sorts before b with that collator.
bool lessThan(const QString& a, const QString& b);
// lessThan, with the code points deciding between names the collator takes as
// equal ("Tisch 1", "tisch 1"), so every list comes in one order on both
// database backends.
bool lessThanStrict(const QString& a, const QString& b);
// The names in that order, each once: "Tisch 2" before "Tisch 10".
QStringList sortedNames(QStringList names);
// Case-insensitive prefix/equality test that treats "mü" and "MÜ" alike.
bool startsWithIgnoringCase(const QString& text, const QString& prefix);

// "12,5", "12.5", " 3 " and "1.234,5" are numbers; "" and "abc" are not.
std::optional<double> parseNumber(const QString& text);
std::optional<int> parseInteger(const QString& text);

// Shortest text of a number with at most 15 significant digits, decimal comma,
// no thousands separator: 1,1 + 2,2 shows "3,3", 5 shows "5".
QString formatNumber(double value);
// Fixed notation with the given decimals and decimal comma: 2 -> "12,50".
QString formatFixed(double value, int decimals);

// "dd.MM.yyyy", also "d.M.yyyy" and two-digit years as the user types them.
std::optional<QDate> parseDate(const QString& text);
QString formatDate(const QDate& date);
// "hh:mm", also "h:mm".
std::optional<QTime> parseTime(const QString& text);
QString formatTime(const QTime& time);

} // namespace bw::german
