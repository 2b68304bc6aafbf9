#include "results/tteam_melden.h"

#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace bw {

Tteam_melden::Tteam_melden(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("team_melden"));
    setWindowTitle(QStringLiteral("Team anmelden"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);

    static const char* const labelNames[kMembers] = {"st1", "st2", "st3", "st4", "r1", "r2"};
    auto* grid = new QGridLayout;
    for (int i = 0; i < kMembers; ++i) {
        names[i] = new QLabel(this);
        names[i]->setObjectName(QLatin1String(labelNames[i]));
        names[i]->setMinimumWidth(200);
        boxes[i] = new TuiCheckbox(this);
        boxes[i]->setObjectName(QStringLiteral("uiCheckbox%1").arg(i + 1));
        boxes[i]->setMinimumSize(90, 17);
        grid->addWidget(new QLabel(i < 4 ? QStringLiteral("Spieler %1:").arg(i + 1)
                                         : QStringLiteral("Reserve %1:").arg(i - 3),
                                   this),
                        i, 0);
        grid->addWidget(names[i], i, 1);
        grid->addWidget(boxes[i], i, 2);
    }
    uiButton1 = new TuiButton(this, QStringLiteral("uiButton1"), QStringLiteral("Übernehmen"));
    uiButton1->SetModalResult(QDialog::Accepted);
    uiButton1->setMinimumSize(100, 25);
    uiButton2 = new TuiButton(this, QStringLiteral("uiButton2"), QStringLiteral("Abbrechen"));
    uiButton2->SetModalResult(QDialog::Rejected);
    uiButton2->setMinimumSize(100, 25);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(uiButton1);
    buttons->addWidget(uiButton2);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addLayout(buttons);

    prepare(true);
}

void Tteam_melden::prepare(bool checkIn)
{
    setWindowTitle(checkIn ? QStringLiteral("Team anmelden") : QStringLiteral("Team abmelden"));
    for (TuiCheckbox* box : boxes)
        box->SetCaption(checkIn ? QStringLiteral("anmelden") : QStringLiteral("abmelden"));
}

bool Tteam_melden::checksIn() const
{
    return windowTitle() == QLatin1String("Team anmelden");
}

void Tteam_melden::FormActivate(const QList<TeamMember>& members)
{
    for (int i = 0; i < kMembers; ++i) {
        names[i]->clear();
        boxes[i]->SetChecked(true);
        boxes[i]->setVisible(false);
        tags[i] = 0;
    }
    for (const TeamMember& m : members) {
        if (m.slot < 1 || m.slot > kMembers)
            continue;
        const int i = m.slot - 1;
        names[i]->setText(m.name);
        tags[i] = m.sid;
        boxes[i]->setVisible(true);
    }
}

QList<int> Tteam_melden::tickedMembers() const
{
    QList<int> ticked;
    for (int i = 0; i < kMembers; ++i) {
        if (!boxes[i]->isHidden() && boxes[i]->Checked())
            ticked << tags[i];
    }
    return ticked;
}

} // namespace bw
