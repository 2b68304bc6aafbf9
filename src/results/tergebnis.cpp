#include "results/tergebnis.h"

#include "controls/uicheckctrls.h"

#include <QComboBox>
#include <QLineEdit>

namespace bw {

Tergebnis::Tergebnis(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ergebnis"));
    setWindowTitle(QStringLiteral("Spielverwaltung"));
    for (int n = 0; n < int(satz.size()); ++n) {
        satz[size_t(n)] = new QLineEdit(this);
        satz[size_t(n)]->setObjectName(QStringLiteral("satz%1").arg(n + 1));
    }
    ergebniscombo = new QComboBox(this);
    ergebniscombo->setObjectName(QStringLiteral("ergebniscombo"));
    next = new TuiCheckbox(this, QStringLiteral("next"), QStringLiteral("nächstes mögliches Spiel anzeigen"));
    next1 = new TuiCheckbox(this, QStringLiteral("next1"), QStringLiteral("nächstes mögliches Spiel aufrufen"));
}

void Tergebnis::setResultSetup(const ResultDialogSetup& setup)
{
    m_setup = setup;
    for (int n = 0; n < int(satz.size()); ++n)
        satz[size_t(n)]->setVisible(n < setup.setEntries);
    ergebniscombo->clear();
    ergebniscombo->addItems(setup.ergebnisItems);
}

} // namespace bw
