#include "output/layoutprintform.h"

#include "controls/uibuttons.h"
#include "output/layoutprogram.h"
#include "platform/pagestate.h"
#include "platform/services.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace bw {

LayoutPrintForm::LayoutPrintForm(QWidget* parent, Services& services, const Kind& kind)
    : QDialog(parent), m_services(services), m_file(kind.file)
{
    setObjectName(QLatin1String(kind.objectName));
    setWindowTitle(kind.caption);

    auto edit = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        return e;
    };
    NameEdit = edit("NameEdit");
    VereinEdit = edit("VereinEdit");
    KlasseEdit = edit("KlasseEdit");
    m_value = edit(kind.valueName);
    m_value->setMaxLength(kind.valueLength);
    LayoutBox = new QComboBox(this);
    LayoutBox->setObjectName(QStringLiteral("LayoutBox"));
    LayoutBox->setMinimumContentsLength(20);
    Label6 = new QLabel(QStringLiteral("Es wurde kein Layout-Template gefunden!!!!"), this);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label6->setStyleSheet(QStringLiteral("color: red"));
    Label6->hide();
    uiButton1 = new TuiButton(this, QStringLiteral("uiButton1"), kind.printCaption);
    uiButton2 = new TuiButton(this, QStringLiteral("uiButton2"), QStringLiteral("Beenden"));

    auto* fields = new QGridLayout;
    int row = 0;
    for (const auto& [label, field] : {std::pair{QStringLiteral("Spieler"), NameEdit},
                                       {QStringLiteral("Verein"), VereinEdit},
                                       {QStringLiteral("Spielklasse"), KlasseEdit}}) {
        fields->addWidget(new QLabel(label, this), row, 0);
        fields->addWidget(field, row++, 1);
    }
    fields->addWidget(new QLabel(kind.valueLabel, this), row, 0);
    auto* value = new QHBoxLayout;
    value->addWidget(m_value);
    if (!kind.valueUnit.isEmpty())
        value->addWidget(new QLabel(kind.valueUnit, this));
    value->addStretch();
    fields->addLayout(value, row++, 1);
    fields->addWidget(new QLabel(QStringLiteral("Layout"), this), row, 0);
    fields->addWidget(LayoutBox, row++, 1);
    fields->setColumnMinimumWidth(1, 240);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(uiButton1);
    buttons->addWidget(uiButton2);
    auto* column = new QVBoxLayout(this);
    column->addLayout(fields);
    column->addWidget(Label6);
    column->addStretch();
    column->addLayout(buttons);

    // The templates are read once; one added later shows after the next start.
    LayoutBox->addItems(layoutTemplates(services.paths, m_file));
    if (LayoutBox->count() == 0) {
        uiButton1->setEnabled(false);
        Label6->show();
    } else {
        LayoutBox->setCurrentIndex(0);
    }

    connectGuarded(uiButton1, &TuiButton::OnClick, this, m_services.prompter, [this] { uiButton1Click(); });
    connectGuarded(uiButton2, &TuiButton::OnClick, this, m_services.prompter, [this] { uiButton2Click(); });
}

void LayoutPrintForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_value->setFocus();
}

void LayoutPrintForm::uiButton1Click()
{
    if (LayoutBox->currentIndex() < 0)
        return;
    LayoutProgram layout(m_services.paths, m_services.runner);
    const auto call = layout.find({printFileName(m_file)});
    if (!call) {
        m_services.prompter.information(LayoutProgram::notFoundMessage());
        return;
    }
    writePrintFile(m_services.paths, m_file,
                   {NameEdit->text(), VereinEdit->text(), KlasseEdit->text(), m_value->text(), LayoutBox->currentText()});
    layout.start(*call);
}

void LayoutPrintForm::uiButton2Click()
{
    close();
}

} // namespace bw
