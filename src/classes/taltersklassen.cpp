#include "classes/taltersklassen.h"

#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"
#include "data/ageclasses.h"
#include "platform/germantext.h"
#include "platform/pagestate.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace bw {

namespace {

QString dateText(const QDate& date)
{
    return date.isValid() ? german::formatDate(date) : QString();
}

QDate typedDate(const QLineEdit* edit)
{
    return german::parseDate(edit->text().trimmed()).value_or(QDate());
}

TuiButton* button(QWidget* parent, const char* name, const QString& caption, const QColor& colour, bool bold = false)
{
    auto* b = new TuiButton(parent, QLatin1String(name), caption);
    if (colour.isValid())
        b->SetFontColor(colour);
    if (bold) {
        QFont font = b->font();
        font.setBold(true);
        b->setFont(font);
    }
    return b;
}

TuiCheckbox* checkbox(QWidget* parent, const char* name, const QString& caption)
{
    auto* box = new TuiCheckbox(parent, QLatin1String(name), caption);
    return box;
}

} // namespace

TAltersklassen::TAltersklassen(QWidget* parent, Prompter& prompter, std::function<QSqlDatabase()> database,
                               const int& aktuelleTID)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_prompter(prompter), m_database(std::move(database)), m_tid(aktuelleTID)
{
    setObjectName(QStringLiteral("Altersklassen"));
    setWindowTitle(QStringLiteral("Altersklasse verwalten"));
    auto* layout = new QVBoxLayout(this);

    AuswahlBox = new QComboBox(this);
    AuswahlBox->setObjectName(QStringLiteral("AuswahlBox"));
    layout->addWidget(AuswahlBox);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Bezeichnung der Altersklasse"), this), 0, 0);
    aname = new QLineEdit(this);
    aname->setObjectName(QStringLiteral("aname"));
    fields->addWidget(aname, 0, 1, 1, 3);

    fields->addWidget(new QLabel(QStringLiteral("Spieler im Alter von"), this), 1, 0);
    avon = new QLineEdit(this);
    avon->setObjectName(QStringLiteral("avon"));
    avon->setPlaceholderText(QStringLiteral("tt.mm.jjjj"));
    avon->installEventFilter(this);
    fields->addWidget(avon, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("und"), this), 1, 2);
    a1 = checkbox(this, "a1", QStringLiteral("älter"));
    fields->addWidget(a1, 1, 3);

    fields->addWidget(new QLabel(QStringLiteral("bis"), this), 2, 0);
    abis = new QLineEdit(this);
    abis->setObjectName(QStringLiteral("abis"));
    abis->setPlaceholderText(QStringLiteral("tt.mm.jjjj"));
    fields->addWidget(abis, 2, 1);
    fields->addWidget(new QLabel(QStringLiteral("und"), this), 2, 2);
    a2 = checkbox(this, "a2", QStringLiteral("jünger"));
    fields->addWidget(a2, 2, 3);
    layout->addLayout(fields);

    auto* buttons = new QHBoxLayout;
    uiButton1 = button(this, "uiButton1", QStringLiteral("Speichern"), Qt::blue, true);
    uiButton3 = button(this, "uiButton3", QStringLiteral("Löschen"), Qt::red);
    uiButton4 = button(this, "uiButton4", QStringLiteral("Neuer Eintrag"), Qt::blue);
    uiButton2 = button(this, "uiButton2", QStringLiteral("Zurück"), QColor());
    for (TuiButton* b : {uiButton1, uiButton3, uiButton4, uiButton2})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    // The choice of the user (activated), not a filled list, loads an age class.
    connectGuarded(AuswahlBox, &QComboBox::activated, this, m_prompter, [this] { AuswahlBoxChange(); });
    // OnClick: only a user's click runs the handlers, not setting a tick.
    connect(a1, &TuiCheckbox::OnClick, this, &TAltersklassen::a1Click);
    connect(a2, &TuiCheckbox::OnClick, this, &TAltersklassen::a2Click);
    connectGuarded(uiButton1, &TuiButton::OnClick, this, m_prompter, [this] { uiButton1Click(); });
    connectGuarded(uiButton3, &TuiButton::OnClick, this, m_prompter, [this] { uiButton3Click(); });
    connect(uiButton4, &TuiButton::OnClick, this, &TAltersklassen::uiButton4Click);
    connect(uiButton2, &TuiButton::OnClick, this, &TAltersklassen::uiButton2Click);
}

void TAltersklassen::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    runGuarded(m_prompter, [this] { FormActivate(); });
}

void TAltersklassen::FormActivate()
{
    altersklassenlisteladen(QString());
}

void TAltersklassen::altersklassenlisteladen(const QString& name)
{
    avon->setEnabled(true);
    abis->setEnabled(true);
    a1->SetChecked(false);
    a2->SetChecked(false);
    AuswahlBox->clear();
    const QStringList names = ageClassNames(m_database(), m_tid);
    AuswahlBox->addItems(names);
    AuswahlBox->setCurrentIndex(names.indexOf(name));
    if (AuswahlBox->count() > 0) {
        if (AuswahlBox->currentIndex() < 0)
            AuswahlBox->setCurrentIndex(0);
        uiButton3->setEnabled(true);
        altersklasseladen();
    } else {
        uiButton3->setEnabled(false);
    }
}

void TAltersklassen::altersklasseladen()
{
    const auto ageClass = readAgeClass(m_database(), m_tid, AuswahlBox->currentText());
    if (!ageClass)
        return;
    aname->setText(ageClass->name);
    avon->setText(dateText(ageClass->von));
    abis->setText(dateText(ageClass->bis));
    a1->SetChecked(ageClass->aelter);
    a2->SetChecked(ageClass->juenger);
}

void TAltersklassen::AuswahlBoxChange()
{
    uiButton3->setEnabled(true);
    altersklasseladen();
}

void TAltersklassen::a1Click()
{
    if (a1->Checked()) {
        abis->setEnabled(false);
        abis->clear();
        a2->SetChecked(false);
        avon->setEnabled(true);
    } else {
        abis->setEnabled(true);
    }
}

void TAltersklassen::a2Click()
{
    if (a2->Checked()) {
        avon->setEnabled(false);
        avon->clear();
        a1->SetChecked(false);
        abis->setEnabled(true);
    } else {
        avon->setEnabled(true);
    }
}

void TAltersklassen::avonExit()
{
    if (german::parseDate(avon->text().trimmed()))
        return;
    m_prompter.prompt(PromptKind::Error, QStringLiteral("Geben Sie ein gültiges Datum ein"), PromptButtons::Cancel);
    avon->clear();
    uiButton2->setFocus();
}

void TAltersklassen::uiButton1Click()
{
    if (aname->text() == kNoAgeLimit) {
        m_prompter.information(QStringLiteral("Die Altersklasse \"ohne Beschränkung\" kann nicht geändert werden"));
        return;
    }
    const bool vonValid = german::parseDate(avon->text().trimmed()) || a2->Checked();
    const bool bisValid = german::parseDate(abis->text().trimmed()) || a1->Checked();
    if (!vonValid || !bisValid) {
        m_prompter.information(QStringLiteral("Sie haben kein gültiges Datum eingegeben (tt.mm.jjjj)"));
        return;
    }
    const QSqlDatabase db = m_database();
    const QString selected = AuswahlBox->currentIndex() >= 0 ? AuswahlBox->currentText().trimmed() : QString();
    const QString problem = ageClassNameProblem(db, m_tid, selected, aname->text());
    if (!problem.isEmpty()) {
        m_prompter.warning(problem);
        return;
    }
    const AgeClass ageClass{aname->text().trimmed(), typedDate(avon), typedDate(abis), a1->Checked(), a2->Checked()};
    saveAgeClass(db, m_tid, selected, ageClass);
    altersklassenlisteladen(ageClass.name);
    m_prompter.information(QStringLiteral("Die Änderung wurde gespeichert."));
}

void TAltersklassen::uiButton3Click()
{
    if (!m_prompter.confirm(QStringLiteral("Soll der Eintrag wirklich gelöscht werden?")))
        return;
    deleteAgeClass(m_database(), m_tid, AuswahlBox->currentText());
    altersklassenlisteladen(QString());
}

void TAltersklassen::uiButton4Click()
{
    AuswahlBox->setCurrentIndex(-1);
    aname->clear();
    avon->clear();
    abis->clear();
    a1->SetChecked(false);
    a2->SetChecked(false);
    aname->setEnabled(true);
    aname->setFocus();
    uiButton3->setEnabled(false);
}

void TAltersklassen::uiButton2Click()
{
    reject();
    if (parentWidget())
        parentWidget()->activateWindow();
}

bool TAltersklassen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == avon && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Leaving the field for another control of the dialog, not the window.
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && isVisible())
            QTimer::singleShot(0, this, [this] {
                if (isVisible())
                    avonExit();
            });
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace bw
