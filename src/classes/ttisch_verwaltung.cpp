#include "classes/ttisch_verwaltung.h"

#include "controls/uibuttons.h"
#include "data/classrecords.h"
#include "platform/pagestate.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace bw {

Ttisch_verwaltung::Ttisch_verwaltung(QWidget* parent, Prompter& prompter, std::function<QSqlDatabase()> database,
                                     const int& aktuelleKID)
    : QDialog(parent), m_prompter(prompter), m_database(std::move(database)), m_kid(aktuelleKID)
{
    setObjectName(QStringLiteral("tisch_verwaltung"));
    setWindowTitle(QStringLiteral("Tische verwalten"));
    auto* layout = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Verfügbare Tische"), this));
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    left->addWidget(ListBox1);
    layout->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    StaticText1 = new QLabel(QStringLiteral("Tischname"), this);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    right->addWidget(StaticText1);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    right->addWidget(Edit1);
    auto make = [&](const char* name, const QString& caption) {
        auto* b = new TuiButton(this, QLatin1String(name), caption);
        right->addWidget(b);
        return b;
    };
    uiButton2 = make("uiButton2", QStringLiteral("Name ändern"));
    uiButton4 = make("uiButton4", QStringLiteral("Neuer Tisch"));
    uiButton5 = make("uiButton5", QStringLiteral("Tisch löschen"));
    uiButton5->setEnabled(false);
    uiButton6 = make("uiButton6", QStringLiteral("Gruppen/Phasen zuweisen"));
    right->addStretch();
    uiButton1 = make("uiButton1", QStringLiteral("Übernehmen"));
    uiButton3 = make("uiButton3", QStringLiteral("Zurück"));
    layout->addLayout(right);

    connect(ListBox1, &QListWidget::itemClicked, this, &Ttisch_verwaltung::ListBox1Click);
    connect(uiButton2, &TuiButton::OnClick, this, &Ttisch_verwaltung::uiButton2Click);
    connect(uiButton4, &TuiButton::OnClick, this, &Ttisch_verwaltung::uiButton4Click);
    connect(uiButton1, &TuiButton::OnClick, this, &Ttisch_verwaltung::uiButton1Click);
    connect(uiButton3, &TuiButton::OnClick, this, &Ttisch_verwaltung::uiButton3Click);
    connectGuarded(uiButton6, &TuiButton::OnClick, this, m_prompter, [this] { uiButton6Click(); });
}

void Ttisch_verwaltung::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void Ttisch_verwaltung::newTableMode()
{
    ListBox1->setCurrentRow(-1);
    ListBox1->clearSelection();
    Edit1->clear();
    uiButton2->SetCaption(QStringLiteral("Neu aufnehmen"));
    StaticText1->setText(QStringLiteral("Neuer Tisch:"));
    uiButton5->setEnabled(false);
    Edit1->setFocus();
}

void Ttisch_verwaltung::FormActivate()
{
    ListBox1->clear();
    Edit1->clear();
    if (plattenlist) {
        for (int i = 0; i < plattenlist->count(); ++i)
            ListBox1->addItem(plattenlist->item(i)->text());
    }
    newTableMode();
}

void Ttisch_verwaltung::ListBox1Click()
{
    QListWidgetItem* item = ListBox1->currentItem();
    if (!item)
        return;
    Edit1->setText(item->text());
    uiButton2->SetCaption(QStringLiteral("Name ändern"));
    StaticText1->setText(QStringLiteral("Tisch bearbeiten:"));
    uiButton5->setEnabled(false);
    Edit1->setFocus();
}

void Ttisch_verwaltung::uiButton4Click()
{
    newTableMode();
}

void Ttisch_verwaltung::uiButton2Click()
{
    if (Edit1->text().isEmpty()) {
        m_prompter.information(QStringLiteral("Bitte geben sie dem Tisch einen \"Namen\"."));
        return;
    }
    if (klassenchange)
        klassenchange();
    QListWidgetItem* selected = ListBox1->currentItem();
    if (selected && selected->isSelected())
        selected->setText(Edit1->text());
    else
        ListBox1->addItem(Edit1->text());
}

void Ttisch_verwaltung::uiButton1Click()
{
    if (plattenlist) {
        plattenlist->clear();
        for (int i = 0; i < ListBox1->count(); ++i)
            plattenlist->addItem(ListBox1->item(i)->text());
    }
    accept();
}

void Ttisch_verwaltung::uiButton3Click()
{
    reject();
}

void Ttisch_verwaltung::uiButton6Click()
{
    QStringList tables;
    for (int i = 0; i < ListBox1->count(); ++i)
        tables << ListBox1->item(i)->text();
    const int written = assignTablesToGroups(m_database(), m_kid, tables);
    m_prompter.information(written == 1 ? QStringLiteral("Es wurde 1 Tischzuweisung gespeichert.")
                                        : QStringLiteral("Es wurden %1 Tischzuweisungen gespeichert.").arg(written));
}

} // namespace bw
