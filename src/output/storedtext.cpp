#include "output/storedtext.h"

#include "platform/germantext.h"

#include <QDate>
#include <QDateTime>

#include <cmath>

namespace bw {

QString storedText(const QVariant& value)
{
    if (value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QDate:
        return german::formatDate(value.toDate());
    case QMetaType::QDateTime: {
        const QDateTime moment = value.toDateTime();
        if (moment.time() == QTime(0, 0))
            return german::formatDate(moment.date());
        return moment.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
    }
    case QMetaType::Double:
    case QMetaType::Float:
        return german::formatNumber(value.toDouble());
    case QMetaType::Bool:
        return yesNoText(value.toBool());
    default:
        return value.toString();
    }
}

QString amountText(double value)
{
    // Rounded first, so that -0.001 shows "0,00" and not "-0,00".
    return german::formatFixed(std::round(value * 100) / 100 + 0.0, 2);
}

QString yesNoText(bool value)
{
    return value ? QStringLiteral("Ja") : QStringLiteral("Nein");
}

} // namespace bw
