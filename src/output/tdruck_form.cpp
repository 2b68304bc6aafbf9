#include "output/tdruck_form.h"

#include "controls/uibuttons.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

namespace bw {

namespace {

constexpr int kSizes = 5;

} // namespace

Tdruck_form::Tdruck_form(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("druck_form"));
    setWindowTitle(QStringLiteral("Drucken"));
    setModal(true);

    RadioGroup1 = new QGroupBox(QStringLiteral("Druckgröße"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    auto* sizes = new QVBoxLayout(RadioGroup1);
    m_sizes = new QButtonGroup(RadioGroup1);
    for (int i = 0; i < kSizes; ++i) {
        auto* entry = new QRadioButton(RadioGroup1);
        entry->setObjectName(QStringLiteral("RadioGroup1_%1").arg(i));
        m_sizes->addButton(entry, i);
        sizes->addWidget(entry);
    }

    RadioGroup2 = new QGroupBox(QStringLiteral("Druckformat"), this);
    RadioGroup2->setObjectName(QStringLiteral("RadioGroup2"));
    auto* formats = new QHBoxLayout(RadioGroup2);
    m_formats = new QButtonGroup(RadioGroup2);
    const QStringList formatNames{QStringLiteral("Hochformat"), QStringLiteral("Querformat")};
    for (int i = 0; i < formatNames.size(); ++i) {
        auto* entry = new QRadioButton(formatNames[i], RadioGroup2);
        entry->setObjectName(QStringLiteral("RadioGroup2_%1").arg(i));
        m_formats->addButton(entry, i);
        formats->addWidget(entry);
    }
    m_formats->button(0)->setChecked(true);
    connect(m_formats, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            RadioGroup2Click();
    });

    uiButton1 = new TuiButton(this, QStringLiteral("uiButton1"), QStringLiteral("Drucken"));
    uiButton1->SetModalResult(QDialog::Accepted);
    uiButton1->SetDefault(true);
    uiButton2 = new TuiButton(this, QStringLiteral("uiButton2"), QStringLiteral("Abbrechen"));
    uiButton2->SetModalResult(QDialog::Rejected);
    uiButton2->SetCancel(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(uiButton1);
    buttons->addWidget(uiButton2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RadioGroup1);
    layout->addWidget(RadioGroup2);
    layout->addLayout(buttons);
    writeEntries(koprint::Orientation::Portrait);
}

void Tdruck_form::fillEntries(const koprint::PlanFigures& figures)
{
    m_figures = figures;
    Tag = int(figures.kind);
    writeEntries(koprint::Orientation::Portrait);
}

int Tdruck_form::size() const
{
    return m_sizes->checkedId();
}

koprint::Orientation Tdruck_form::orientation() const
{
    return m_formats->checkedId() == 1 ? koprint::Orientation::Landscape : koprint::Orientation::Portrait;
}

void Tdruck_form::setSize(int size)
{
    if (QAbstractButton* entry = m_sizes->button(size))
        entry->setChecked(true);
}

void Tdruck_form::setOrientation(koprint::Orientation orientation)
{
    m_formats->button(int(orientation))->setChecked(true);
}

QString Tdruck_form::entryText(int size) const
{
    const QAbstractButton* entry = m_sizes->button(size);
    return entry ? entry->text() : QString();
}

void Tdruck_form::showEvent(QShowEvent* event)
{
    setSize(2);
    setOrientation(koprint::Orientation::Portrait);
    // The selection made here counts as a change: the entries follow it.
    RadioGroup2Click();
    QDialog::showEvent(event);
}

void Tdruck_form::RadioGroup2Click()
{
    writeEntries(orientation());
}

void Tdruck_form::writeEntries(koprint::Orientation orientation)
{
    for (int i = 0; i < kSizes; ++i)
        m_sizes->button(i)->setText(koprint::sizeEntryText(i, koprint::estimateSheets(m_figures, i, orientation)));
}

} // namespace bw
