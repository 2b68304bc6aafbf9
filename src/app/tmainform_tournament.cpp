// The tournament data page of the main window: its fields, their change
// handlers, saving and deleting the open tournament.
#include "app/tmainform.h"

#include "app/navigationbar.h"
#include "app/tdata_unit.h"
#include "controls/uibuttons.h"
#include "platform/services.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace bw {

namespace {

template <typename T>
T* named(QWidget* parent, const QString& name)
{
    auto* w = new T(parent);
    w->setObjectName(name);
    return w;
}

QDateEdit* datePicker(QWidget* parent, const QString& name)
{
    auto* d = named<QDateEdit>(parent, name);
    d->setCalendarPopup(true);
    d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    return d;
}

QPlainTextEdit* memo(QWidget* parent, const QString& name)
{
    auto* m = named<QPlainTextEdit>(parent, name);
    m->setTabChangesFocus(true);
    return m;
}

} // namespace

void TMainform::buildTournamentPage()
{
    auto* layout = new QVBoxLayout(neuesTurnier);
    auto* head = new QHBoxLayout;
    statictext1 = named<QLabel>(neuesTurnier, QStringLiteral("statictext1"));
    statictext1->setText(QStringLiteral("Turniername"));
    QFont title = statictext1->font();
    title.setBold(true);
    title.setPointSize(title.pointSize() + 4);
    statictext1->setFont(title);
    head->addWidget(statictext1, 1);
    anmeldeformular = named<TuiButton>(neuesTurnier, QStringLiteral("anmeldeformular"));
    anmeldeformular->SetCaption(QStringLiteral("Anmeldeformular erzeugen"));
    head->addWidget(anmeldeformular);
    turnier_speichern = named<TuiButton>(neuesTurnier, QStringLiteral("turnier_speichern"));
    turnier_speichern->SetCaption(QStringLiteral("Turnier speichern"));
    head->addWidget(turnier_speichern);
    layout->addLayout(head);

    Turniermenu = named<QTabWidget>(neuesTurnier, QStringLiteral("Turniermenu"));
    layout->addWidget(Turniermenu, 1);

    // First tab: the tournament itself and the people in charge.
    auto* first = new QWidget;
    auto* firstGrid = new QGridLayout(first);
    {
        auto* group = new QGroupBox(QStringLiteral("Allgemeine Daten"), first);
        auto* form = new QFormLayout(group);
        turniername = named<QLineEdit>(group, QStringLiteral("turniername"));
        zusatzname = named<QLineEdit>(group, QStringLiteral("zusatzname"));
        austragungsort = named<QLineEdit>(group, QStringLiteral("austragungsort"));
        veranstalter = named<QLineEdit>(group, QStringLiteral("veranstalter"));
        v_homepage = named<QLineEdit>(group, QStringLiteral("v_homepage"));
        form->addRow(QStringLiteral("Turniername"), turniername);
        form->addRow(QStringLiteral("Zusatzname"), zusatzname);
        form->addRow(QStringLiteral("Austragungsort"), austragungsort);
        form->addRow(QStringLiteral("Veranstalter"), veranstalter);
        form->addRow(QStringLiteral("Homepage"), v_homepage);
        firstGrid->addWidget(group, 0, 0);
    }
    {
        auto* group = new QGroupBox(QStringLiteral("Austragungsdatum"), first);
        auto* form = new QFormLayout(group);
        Tvon = datePicker(group, QStringLiteral("Tvon"));
        Tbis = datePicker(group, QStringLiteral("Tbis"));
        form->addRow(QStringLiteral("vom"), Tvon);
        form->addRow(QStringLiteral("bis zum"), Tbis);
        firstGrid->addWidget(group, 0, 1);
    }
    {
        auto* group = new QGroupBox(QStringLiteral("Verantwortliche"), first);
        auto* form = new QFormLayout(group);
        gesamtleitung = named<QLineEdit>(group, QStringLiteral("gesamtleitung"));
        osr = named<QLineEdit>(group, QStringLiteral("osr"));
        turnierleitung = memo(group, QStringLiteral("turnierleitung"));
        schiedsrichter = memo(group, QStringLiteral("schiedsrichter"));
        form->addRow(QStringLiteral("Gesamtleitung"), gesamtleitung);
        form->addRow(QStringLiteral("Oberschiedsrichter"), osr);
        form->addRow(QStringLiteral("Turnierleitung"), turnierleitung);
        form->addRow(QStringLiteral("Schiedsrichter"), schiedsrichter);
        firstGrid->addWidget(group, 1, 0, 1, 2);
    }
    {
        auto* form = new QFormLayout;
        startberechtigung = memo(first, QStringLiteral("startberechtigung"));
        turniermodus = memo(first, QStringLiteral("turniermodus"));
        form->addRow(QStringLiteral("Startberechtigung"), startberechtigung);
        form->addRow(QStringLiteral("Turniermodus"), turniermodus);
        firstGrid->addLayout(form, 2, 0, 1, 2);
    }
    Turniermenu->addTab(first, QStringLiteral("Turnierdaten"));

    // Second tab: entries, equipment and the practical notes.
    auto* second = new QWidget;
    auto* secondGrid = new QGridLayout(second);
    {
        auto* group = new QGroupBox(QStringLiteral("Meldungen"), second);
        auto* form = new QFormLayout(group);
        meldeinfo = memo(group, QStringLiteral("meldeinfo"));
        meldeschluss = datePicker(group, QStringLiteral("meldeschluss"));
        auslosung = datePicker(group, QStringLiteral("auslosung"));
        auslosunginfo = memo(group, QStringLiteral("auslosunginfo"));
        meldung_an = memo(group, QStringLiteral("meldung_an"));
        meldung_an->setPlainText(QStringLiteral("Name\nStraße\nOrt\nTelefon\nE-Mail"));
        form->addRow(QStringLiteral("Meldeinfos"), meldeinfo);
        form->addRow(QStringLiteral("Meldeschluss"), meldeschluss);
        form->addRow(QStringLiteral("Auslosung"), auslosung);
        form->addRow(QStringLiteral("Infos zur Auslosung"), auslosunginfo);
        form->addRow(QStringLiteral("Meldung an"), meldung_an);
        secondGrid->addWidget(group, 0, 0, 2, 1);
    }
    {
        auto* group = new QGroupBox(QStringLiteral("Equipment"), second);
        auto* form = new QFormLayout(group);
        tische = named<QLineEdit>(group, QStringLiteral("tische"));
        netze = named<QLineEdit>(group, QStringLiteral("netze"));
        baelle = named<QLineEdit>(group, QStringLiteral("baelle"));
        zaehlgeraete = named<QLineEdit>(group, QStringLiteral("zaehlgeraete"));
        banden = named<QLineEdit>(group, QStringLiteral("banden"));
        form->addRow(QStringLiteral("Tische"), tische);
        form->addRow(QStringLiteral("Netze"), netze);
        form->addRow(QStringLiteral("Bälle"), baelle);
        form->addRow(QStringLiteral("Zählgeräte"), zaehlgeraete);
        form->addRow(QStringLiteral("Banden"), banden);
        secondGrid->addWidget(group, 0, 1);
    }
    {
        auto* group = new QGroupBox(QStringLiteral("Verschiedenes"), second);
        auto* form = new QFormLayout(group);
        erstehilfe = named<QLineEdit>(group, QStringLiteral("erstehilfe"));
        preise = memo(group, QStringLiteral("preise"));
        verpflegung = memo(group, QStringLiteral("verpflegung"));
        wegbeschreibung = memo(group, QStringLiteral("wegbeschreibung"));
        verschiedenes = memo(group, QStringLiteral("verschiedenes"));
        form->addRow(QStringLiteral("Erste Hilfe"), erstehilfe);
        form->addRow(QStringLiteral("Preise"), preise);
        form->addRow(QStringLiteral("Speisen und Getränke"), verpflegung);
        form->addRow(QStringLiteral("Wegbeschreibung"), wegbeschreibung);
        form->addRow(QStringLiteral("Verschiedenes"), verschiedenes);
        secondGrid->addWidget(group, 1, 1);
    }
    Turniermenu->addTab(second, QStringLiteral("zusätzliche Turnierdaten"));
    connectTournamentPage();
}

void TMainform::connectTournamentPage()
{
    connect(turnier_speichern, &TuiButton::OnClick, this, &TMainform::turnier_speichernClick);
    connect(anmeldeformular, &TuiButton::OnClick, this, &TMainform::anmeldeformularClick);
    connect(turniername, &QLineEdit::textChanged, this, &TMainform::turniernameChange);
    connect(Tvon, &QDateEdit::dateChanged, this, &TMainform::TvonChange);
    for (QLineEdit* edit : {zusatzname, austragungsort, veranstalter, v_homepage, gesamtleitung, osr, tische, netze,
                            baelle, zaehlgeraete, banden, erstehilfe})
        connect(edit, &QLineEdit::textChanged, this, &TMainform::fieldChange);
    for (QDateEdit* date : {Tbis, meldeschluss, auslosung})
        connect(date, &QDateEdit::dateChanged, this, &TMainform::fieldChange);
    for (QPlainTextEdit* m : {startberechtigung, turniermodus, turnierleitung, schiedsrichter, meldeinfo,
                              auslosunginfo, meldung_an, preise, verpflegung, wegbeschreibung, verschiedenes})
        connect(m, &QPlainTextEdit::textChanged, this, &TMainform::fieldChange);
}

void TMainform::showCreatedTournament(const QString& name)
{
    setWorkAreaEnabled(true);
    enterCreatedState();
    bringToFront(neuesTurnier);
    TData_Unit& data = *m_forms->Data_Unit;
    data.turnierfelderloeschen();
    data.kfelderloeschen();
    turniername->setText(name);
    statictext1->setText(name);
    turnier_speichern->SetCaption(QStringLiteral("Änderung übernehmen"));
    turnier_speichern->setEnabled(false);
}

void TMainform::showOpenedTournament(const QString& name, int tid)
{
    bringToFront(neuesTurnier);
    enterOpenedState();
    runGuarded(m_services.prompter, [this] { XPBarItemsAdd(); });
    TData_Unit& data = *m_forms->Data_Unit;
    data.turnierfelderloeschen();
    data.kfelderloeschen();
    setWindowTitle(kCaption + name);
    runGuarded(m_services.prompter, [&] { data.tfelderfuellen(tid); });
    data.tmemoserstezeile();
    setWorkAreaEnabled(true);
    turnier_speichern->SetCaption(QStringLiteral("Änderung speichern"));
    turnier_speichern->setEnabled(false);
}

void TMainform::fieldChange()
{
    if (m_forms && m_forms->Data_Unit)
        m_forms->Data_Unit->updated();
}

void TMainform::turniernameChange()
{
    statictext1->setText(turniername->text());
    fieldChange();
}

void TMainform::TvonChange()
{
    Tbis->setDate(Tvon->date());
    fieldChange();
}

void TMainform::turnier_speichernClick()
{
    if (!turnier_speichern->isEnabled())
        return;
    runGuarded(m_services.prompter, [&] {
        TData_Unit& data = *m_forms->Data_Unit;
        if (turnier_speichern->Caption() == QLatin1String("Turnier speichern")) {
            data.turnierspeichern();
            turnier_speichern->setEnabled(false);
            Spieleplaner1->setEnabled(true);
            return;
        }
        if (turniername->text().trimmed().isEmpty()) {
            m_services.prompter.information(QStringLiteral("Bitte geben Sie einen Turniernamen ein"));
            return;
        }
        data.turnierupdate(m_context.aktuelleTID);
        turnier_speichern->setEnabled(false);
    });
}

void TMainform::TurnierbuttonItems2Click()
{
    runGuarded(m_services.prompter, [&] {
        if (m_context.aktuellerTurniername.isEmpty()) {
            m_services.prompter.information(QStringLiteral("Sie haben kein Turnier ausgewählt"));
            return;
        }
        if (!m_services.prompter.confirm(QStringLiteral("Wollen Sie das Turnier \"%1\" wirklich löschen?")
                                             .arg(m_context.aktuellerTurniername)))
            return;
        TData_Unit& data = *m_forms->Data_Unit;
        data.turnierloeschen(m_context.aktuelleTID);
        data.turnierfelderloeschen();
        data.kfelderloeschen();
        bringToFront(welcome);
        setWindowTitle(kCaption);
        enterNoTournamentState();
    });
}

void TMainform::TurnierbuttonItems3Click()
{
    if (m_context.aktuellerTurniername.isEmpty()) {
        m_services.prompter.information(QStringLiteral("Sie müssen erst ein Turnier erstellen oder laden"));
        return;
    }
    bringToFront(neuesTurnier);
    Turniermenu->setCurrentIndex(0);
}

} // namespace bw
