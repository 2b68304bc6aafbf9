#include "output/turkundeprepareform.h"

#include <QLineEdit>

namespace bw {

TUrkundePrepareForm::TUrkundePrepareForm(QWidget* parent, Services& services)
    : LayoutPrintForm(parent, services,
                      {PrintFileKind::Urkunde, "UrkundePrepareForm", QStringLiteral("UrkundePrepareForm"), "PlatzEdit",
                       QStringLiteral("Platz"), QString(), 3, QStringLiteral("Urkunde drucken")})
{
    PlatzEdit = m_value;
    PlatzEdit->setText(QStringLiteral("1"));
}

void TUrkundePrepareForm::fillFromPlan(const QString& name, const QString& club, const QString& planTitle)
{
    NameEdit->setText(name);
    VereinEdit->setText(club);
    KlasseEdit->setText(QString(planTitle).remove(QStringLiteral("Spielplan für ")));
    PlatzEdit->setText(QStringLiteral("??"));
}

} // namespace bw
