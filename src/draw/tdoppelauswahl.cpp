#include "draw/tdoppelauswahl.h"

#include "controls/uibuttons.h"
#include "platform/germantext.h"
#include "platform/prompter.h"

#include <QComboBox>
#include <QShowEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace bw {

TDoppelauswahl::TDoppelauswahl(QWidget* parent, Prompter& prompter, std::function<QSqlDatabase()> database)
    : QDialog(parent, Qt::Window), m_prompter(prompter), m_database(std::move(database))
{
    setObjectName(QStringLiteral("Doppelauswahl"));
    setWindowTitle(QStringLiteral("Doppelpartner"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Wählen Sie den Doppelpartner für die Klasse:"), this), 0, 0, 1, 2);
    doppelklasse = new QLabel(this);
    doppelklasse->setObjectName(QStringLiteral("doppelklasse"));
    QFont bold = doppelklasse->font();
    bold.setBold(true);
    doppelklasse->setFont(bold);
    layout->addWidget(doppelklasse, 1, 0, 1, 2);
    doppelcombo = new QComboBox(this);
    doppelcombo->setObjectName(QStringLiteral("doppelcombo"));
    doppelcombo->setMinimumWidth(260);
    layout->addWidget(doppelcombo, 2, 0, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("Mannschaftsname"), this), 3, 0);
    mannschaftsname = new QLineEdit(this);
    mannschaftsname->setObjectName(QStringLiteral("mannschaftsname"));
    mannschaftsname->setEnabled(false);
    layout->addWidget(mannschaftsname, 3, 1);
    OK = new TuiButton(this, QStringLiteral("OK"), QStringLiteral("Übernehmen"));
    uiButton1 = new TuiButton(this, QStringLiteral("uiButton1"), QStringLiteral("Zurück"));
    layout->addWidget(OK, 4, 0);
    layout->addWidget(uiButton1, 4, 1);
    connect(OK, &TuiButton::OnClick, this, &TDoppelauswahl::OKClick);
    connect(uiButton1, &TuiButton::OnClick, this, &TDoppelauswahl::uiButton1Click);
}

// Filled once per opening: coming back from another window keeps the choice
// the user has not confirmed yet.
void TDoppelauswahl::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        FormActivate();
}

void TDoppelauswahl::FormActivate()
{
    doppelcombo->clear();
    runGuarded(m_prompter, [&] {
        const QSqlDatabase db = m_database();
        QList<int> candidates =
            partnerCandidates(db, request.kid, request.sid, request.mixed, request.mann, request.frau);
        const int current = request.sid > 0 ? currentPartner(db, request.sid, request.kid).value_or(0) : 0;
        if (current > 0 && !candidates.contains(current))
            candidates.append(current);
        std::sort(candidates.begin(), candidates.end(), [&](int a, int b) {
            return german::lessThan(request.names.value(a), request.names.value(b));
        });
        // An empty first entry stands for "no partner".
        doppelcombo->addItem(QString(), 0);
        for (int sid : candidates) {
            if (request.names.contains(sid))
                doppelcombo->addItem(request.names.value(sid), sid);
        }
        doppelcombo->setCurrentIndex(std::max(0, doppelcombo->findData(current)));
    });
}

void TDoppelauswahl::OKClick()
{
    const int partner = doppelcombo->currentData().toInt();
    QString text = doppelklasse->text();
    if (partner > 0)
        text += QLatin1Char(' ') + doppelcombo->currentText();
    emit partnerChosen(request.kid, partner, text);
    close();
}

void TDoppelauswahl::uiButton1Click()
{
    close();
}

QSet<std::pair<int, int>> TDoppelauswahl::askTakeOvers(const QSqlDatabase& db, int sid,
                                                        const QList<PartnerLine>& lines)
{
    QSet<std::pair<int, int>> takeOver;
    for (const PartnerConflict& c : partnerConflicts(db, sid, lines)) {
        if (m_prompter.confirm(QStringLiteral("%1 spielt schon mit %2 .Tauschen?").arg(c.partnerName, c.currentName)))
            takeOver.insert({c.kid, c.partnerSid});
    }
    return takeOver;
}

void TDoppelauswahl::partnercheck(const QSqlDatabase& db, int sid, const QList<PartnerLine>& lines)
{
    storePartners(db, sid, lines, askTakeOvers(db, sid, lines));
}

} // namespace bw
