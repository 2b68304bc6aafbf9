#include "results/setentry.h"

namespace bw {

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isSign(QChar c)
{
    return c == QLatin1Char('+') || c == QLatin1Char('-');
}

// The number of leading sign characters (0 or 1) and whether the rest are 0..2 digits.
bool wellFormed(const QString& text, bool needDigit)
{
    const qsizetype start = !text.isEmpty() && isSign(text.front()) ? 1 : 0;
    const qsizetype digits = text.size() - start;
    if (digits > 2 || (needDigit && digits == 0))
        return false;
    for (qsizetype i = start; i < text.size(); ++i) {
        if (!isDigit(text[i]))
            return false;
    }
    return true;
}

} // namespace

QValidator::State SetEntryValidator::validate(QString& input, int&) const
{
    return wellFormed(input, false) ? Acceptable : Invalid;
}

bool isSetEntryNumber(const QString& text)
{
    return wellFormed(text.trimmed(), true);
}

} // namespace bw
