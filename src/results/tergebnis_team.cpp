#include "results/tergebnis_team.h"

#include "controls/uicheckctrls.h"

#include <QComboBox>

namespace bw {

Tergebnis_team::Tergebnis_team(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ergebnis_team"));
    setWindowTitle(QStringLiteral("Spielverwaltung"));
    ergebniscombo = new QComboBox(this);
    ergebniscombo->setObjectName(QStringLiteral("ergebniscombo"));
    next = new TuiCheckbox(this, QStringLiteral("next"), QStringLiteral("nächstes mögliches Spiel anzeigen"));
    next1 = new TuiCheckbox(this, QStringLiteral("next1"), QStringLiteral("nächstes mögliches Spiel aufrufen"));
}

void Tergebnis_team::setResultSetup(const ResultDialogSetup& setup)
{
    m_setup = setup;
    ergebniscombo->clear();
    ergebniscombo->addItems(setup.teamResultItems);
}

} // namespace bw
