// The text of a stored value as the lists, sheets and pages of the exports show
// it, always in the German forms and never from the locale of the machine:
// dates "dd.MM.yyyy", date-times "dd.MM.yyyy hh:mm:ss" (the date alone at
// midnight), numbers with a decimal comma, yes/no as "Ja"/"Nein".
#pragma once

#include <QString>
#include <QVariant>

namespace bw {

// The text of a value as read by a records module (QDate, QDateTime, double,
// int, bool, QString); empty for Null.
QString storedText(const QVariant& value);

// An amount of money: always two decimals with a decimal comma, "12,50".
QString amountText(double value);

// "Ja" or "Nein".
QString yesNoText(bool value);

} // namespace bw
