#include "platform/germantext.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace bw::german {

QLocale locale()
{
    QLocale german(QLocale::German, QLocale::Germany);
    german.setNumberOptions(QLocale::OmitGroupSeparator);
    return german;
}

QCollator collator()
{
    QCollator c(QLocale(QLocale::German, QLocale::Germany));
    c.setCaseSensitivity(Qt::CaseInsensitive);
    c.setNumericMode(true);
    return c;
}

bool lessThan(const QString& a, const QString& b)
{
    static const QCollator c = collator();
    return c.compare(a, b) < 0;
}

bool lessThanStrict(const QString& a, const QString& b)
{
    static const QCollator c = collator();
    const int order = c.compare(a, b);
    return order < 0 || (order == 0 && a < b);
}

QStringList sortedNames(QStringList names)
{
    std::sort(names.begin(), names.end(), lessThanStrict);
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

bool startsWithIgnoringCase(const QString& text, const QString& prefix)
{
    return text.toCaseFolded().startsWith(prefix.toCaseFolded());
}

std::optional<double> parseNumber(const QString& input)
{
    QString text = input.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    double value = 0;
    if (text.contains(QLatin1Char(','))) {
        // German: "." groups thousands, "," is the decimal mark.
        text.remove(QLatin1Char('.'));
        text.replace(QLatin1Char(','), QLatin1Char('.'));
    }
    value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> parseInteger(const QString& input)
{
    bool ok = false;
    const int value = input.trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

QString formatNumber(double value)
{
    if (!std::isfinite(value))
        return QString();
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    const double rounded = std::strtod(buffer, nullptr);
    QString text = locale().toString(rounded, 'f', QLocale::FloatingPointShortest);
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

QString formatFixed(double value, int decimals)
{
    return locale().toString(value, 'f', decimals);
}

std::optional<QDate> parseDate(const QString& input)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,2})\\.(\\d{1,2})\\.(\\d{2}|\\d{4})\\s*$"));
    const auto m = re.match(input);
    if (!m.hasMatch())
        return std::nullopt;
    int year = m.captured(3).toInt();
    if (m.captured(3).size() == 2)
        year += year < 50 ? 2000 : 1900;
    const QDate date(year, m.captured(2).toInt(), m.captured(1).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString formatDate(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

std::optional<QTime> parseTime(const QString& input)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,2}):(\\d{2})(?::(\\d{2}))?\\s*$"));
    const auto m = re.match(input);
    if (!m.hasMatch())
        return std::nullopt;
    const QTime time(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).isEmpty() ? 0 : m.captured(3).toInt());
    if (!time.isValid())
        return std::nullopt;
    return time;
}

QString formatTime(const QTime& time)
{
    return time.isValid() ? time.toString(QStringLiteral("hh:mm")) : QString();
}

} // namespace bw::german
