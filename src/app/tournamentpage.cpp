#include "app/tournamentpage.h"

#include "app/appcontext.h"
#include "controls/uibuttons.h"
#include "data/dbvalue.h"
#include "platform/clock.h"

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

const QString TournamentPage::kNewCaption = QStringLiteral("Turnier speichern");
const QString TournamentPage::kChangeCaption = QStringLiteral("Änderung übernehmen");
const QString TournamentPage::kOpenedCaption = QStringLiteral("Änderung speichern");

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

TournamentPage::TournamentPage(const TournamentPageLinks& links, QWidget* parent)
    : QWidget(parent), m_links(links), m_page(this, links.prompter)
{
    setObjectName(QStringLiteral("TournamentPage"));
    build();
    connectHandlers();
    m_page.onChange([this] { showMode(); });
    {
        const auto filling = m_page.fill();
        Tvon->setDate(m_links.clock.today());
        Tbis->setDate(m_links.clock.today());
    }
    // Until a tournament is created or opened the page holds a new one.
    m_page.set(0, PageState::Mode::New);
}

void TournamentPage::build()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* head = new QHBoxLayout;
    statictext1 = named<QLabel>(this, QStringLiteral("statictext1"));
    statictext1->setText(QStringLiteral("Turniername"));
    QFont title = statictext1->font();
    title.setBold(true);
    title.setPointSize(title.pointSize() + 4);
    statictext1->setFont(title);
    // A long name wraps instead of pushing the buttons out of the page.
    statictext1->setWordWrap(true);
    statictext1->setMinimumWidth(1);
    head->addWidget(statictext1, 1);
    anmeldeformular = new TuiButton(this, QStringLiteral("anmeldeformular"), QStringLiteral("Anmeldeformular erzeugen"));
    head->addWidget(anmeldeformular);
    turnier_speichern = new TuiButton(this, QStringLiteral("turnier_speichern"), kNewCaption);
    head->addWidget(turnier_speichern);
    layout->addLayout(head);

    Turniermenu = named<QTabWidget>(this, QStringLiteral("Turniermenu"));
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
}

void TournamentPage::connectHandlers()
{
    m_page.handle(turnier_speichern, &TuiButton::OnClick, [this] { turnier_speichernClick(); });
    m_page.handle(anmeldeformular, &TuiButton::OnClick, [this] {
        if (m_links.anmeldeformular)
            m_links.anmeldeformular();
    });
    m_page.handle(turniername, &QLineEdit::textChanged, [this] { turniernameChange(); });
    m_page.handle(Tvon, &QDateEdit::dateChanged, [this] { TvonChange(); });
    for (QLineEdit* edit : {zusatzname, austragungsort, veranstalter, v_homepage, gesamtleitung, osr, tische, netze,
                            baelle, zaehlgeraete, banden, erstehilfe})
        m_page.edits(edit, &QLineEdit::textChanged);
    for (QDateEdit* date : {Tbis, meldeschluss, auslosung})
        m_page.edits(date, &QDateEdit::dateChanged);
    for (QPlainTextEdit* m : {startberechtigung, turniermodus, turnierleitung, schiedsrichter, meldeinfo,
                              auslosunginfo, meldung_an, preise, verpflegung, wegbeschreibung, verschiedenes})
        m_page.edits(m, &QPlainTextEdit::textChanged);
}

// The save button names the next save; while the page is unchanged it is
// disabled and keeps the caption creating, opening or the last save left.
void TournamentPage::showMode()
{
    if (m_page.mode() != PageState::Mode::Unchanged)
        turnier_speichern->SetCaption(m_page.mode() == PageState::Mode::New ? kNewCaption : kChangeCaption);
    turnier_speichern->setEnabled(m_page.hasChanges());
}

// The page's controls in the order of the tournament's columns.
QList<QWidget*> TournamentPage::fieldControls() const
{
    return {turniername, zusatzname, austragungsort, Tvon, Tbis, startberechtigung, turniermodus,
            veranstalter, v_homepage, gesamtleitung, turnierleitung, schiedsrichter, osr,
            meldeschluss, auslosung, meldeinfo, meldung_an, auslosunginfo, tische, baelle, netze,
            zaehlgeraete, banden, preise, verpflegung, wegbeschreibung, verschiedenes, erstehilfe};
}

TournamentData TournamentPage::pageData() const
{
    TournamentData data;
    const QList<QWidget*> controls = fieldControls();
    for (int i = 0; i < kTournamentFieldCount; ++i) {
        QWidget* control = controls[i];
        QVariant& value = data.values[size_t(i)];
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            value = edit->text();
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(control))
            value = toStoredMemo(memo->toPlainText());
        else if (auto* date = qobject_cast<QDateEdit*>(control))
            value = date->date();
    }
    return data;
}

void TournamentPage::showData(const TournamentData& data)
{
    const QList<QWidget*> controls = fieldControls();
    for (int i = 0; i < kTournamentFieldCount; ++i) {
        QWidget* control = controls[i];
        const QVariant& value = data.values[size_t(i)];
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->setText(value.toString());
            edit->setCursorPosition(0);
        } else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
            // A Null memo shows empty, not what the page held before.
            memo->setPlainText(fromStoredMemo(value.toString()));
        } else if (auto* date = qobject_cast<QDateEdit*>(control)) {
            if (value.toDate().isValid())
                date->setDate(value.toDate());
        }
    }
}

void TournamentPage::showCreated(const QString& name)
{
    turnierfelderloeschen();
    {
        const auto filling = m_page.fill();
        turniername->setText(name);
        statictext1->setText(name);
    }
    m_loaded = readTournament(m_links.database(), m_links.context.aktuelleTID);
    turnier_speichern->SetCaption(kChangeCaption);
    m_page.set(m_links.context.aktuelleTID, PageState::Mode::Unchanged);
}

void TournamentPage::showOpened(int tid)
{
    turnierfelderloeschen();
    turnier_speichern->SetCaption(kOpenedCaption);
    m_page.set(tid, PageState::Mode::Unchanged);
    tfelderfuellen(tid);
    tmemoserstezeile();
}

void TournamentPage::tfelderfuellen(int tid)
{
    const auto data = readTournament(m_links.database(), tid);
    if (!data)
        return;
    const auto filling = m_page.fill();
    m_loaded = data;
    showData(*data);
    // A tournament without a last day ends on its first.
    const QDate last = data->date(TournamentField::tbis);
    Tbis->setDate(last.isValid() ? last : Tvon->date());
    statictext1->setText(data->text(TournamentField::turniername));
    m_page.set(tid, PageState::Mode::Unchanged);
}

void TournamentPage::turnierfelderloeschen()
{
    const auto filling = m_page.fill();
    const QDate today = m_links.clock.today();
    for (QWidget* control : fieldControls()) {
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            edit->clear();
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(control))
            memo->clear();
        else if (auto* date = qobject_cast<QDateEdit*>(control))
            date->setDate(today);
    }
    m_loaded.reset();
    m_page.set(0, PageState::Mode::Unchanged);
}

void TournamentPage::reloadStale()
{
    const int tid = m_page.key();
    if (readTournament(m_links.database(), tid)) {
        tfelderfuellen(tid);
        tmemoserstezeile();
    } else {
        turnierfelderloeschen();
    }
}

void TournamentPage::tmemoserstezeile()
{
    for (QWidget* control : fieldControls()) {
        if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
            QTextCursor cursor = memo->textCursor();
            cursor.movePosition(QTextCursor::Start);
            memo->setTextCursor(cursor);
            memo->ensureCursorVisible();
        }
    }
}

void TournamentPage::turniernameChange()
{
    statictext1->setText(turniername->text());
    m_page.edited();
}

void TournamentPage::TvonChange()
{
    Tbis->setDate(Tvon->date());
    m_page.edited();
}

void TournamentPage::turnier_speichernClick()
{
    if (!m_page.hasChanges())
        return;
    AppContext& context = m_links.context;
    if (m_page.mode() == PageState::Mode::New) {
        StoredTournament stored;
        if (!m_page.write([&] {
                stored = saveTournament(m_links.database(), 0, std::nullopt, pageData(), context.turnierOptionen);
            }))
            return;
        m_loaded = stored.data;
        const int tid = stored.tid;
        context.aktuelleTID = tid;
        m_page.set(tid, PageState::Mode::Unchanged);
        if (m_links.tournamentSaved)
            m_links.tournamentSaved();
        return;
    }
    if (turniername->text().trimmed().isEmpty()) {
        m_links.prompter.information(QStringLiteral("Bitte geben Sie einen Turniernamen ein"));
        return;
    }
    const int tid = m_page.key();
    if (!m_page.write(
            [&] {
                m_loaded = saveTournament(m_links.database(), tid, m_loaded.value_or(TournamentData()), pageData(),
                                          context.turnierOptionen)
                               .data;
            },
            {}, [this] { reloadStale(); }))
        return;
    m_page.set(tid, PageState::Mode::Unchanged);
}

} // namespace bw
