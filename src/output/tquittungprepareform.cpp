#include "output/tquittungprepareform.h"

#include "output/storedtext.h"
#include "platform/germantext.h"

#include <QLineEdit>

namespace bw {

namespace {

// Room for "12345,50" and more; the amount is always shown with two decimals.
constexpr int kAmountLength = 10;

} // namespace

TQuittungPrepareForm::TQuittungPrepareForm(QWidget* parent, Services& services)
    : LayoutPrintForm(parent, services,
                      {PrintFileKind::Quittung, "QuittungPrepareForm", QStringLiteral("Quittung drucken"), "BetragEdit",
                       QStringLiteral("Betrag"), QStringLiteral("Euro"), kAmountLength,
                       QStringLiteral("Quittung drucken")})
{
    BetragEdit = m_value;
}

void TQuittungPrepareForm::fill(const QString& nachname, const QString& vorname, const QString& verein,
                                const QString& amount)
{
    NameEdit->setText(nachname + QStringLiteral(", ") + vorname);
    VereinEdit->setText(verein);
    KlasseEdit->clear();
    BetragEdit->setText(amountText(german::parseNumber(amount).value_or(0)));
}

} // namespace bw
