#include "classes/classpage.h"

#include "classes/classbars.h"
#include "classes/ttisch_verwaltung.h"
#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"
#include "data/cascades.h"
#include "data/dbvalue.h"
#include "platform/clock.h"
#include "platform/germantext.h"
#include "platform/prompter.h"
#include "results/tteamform.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace bw {

const QString ClassPage::kNewCaption = QStringLiteral("Neue Klasse speichern");
const QString ClassPage::kChangeCaption = QStringLiteral("Änderungen speichern");

namespace {

// More table names than this are not made from the count (a typo such as
// 2000000 would otherwise freeze the page).
constexpr int kMaxTables = 999;

QComboBox* numberCombo(QWidget* parent, const char* name, int from, int to, bool editable)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(editable);
    if (editable)
        box->setInsertPolicy(QComboBox::NoInsert);
    for (int i = from; i <= to; ++i)
        box->addItem(QString::number(i));
    return box;
}

void setComboText(QComboBox* box, const QString& text)
{
    const int index = box->findText(text);
    if (index >= 0)
        box->setCurrentIndex(index);
    if (box->isEditable())
        box->setEditText(text);
}

void moveToStart(QPlainTextEdit* memo)
{
    QTextCursor cursor = memo->textCursor();
    cursor.movePosition(QTextCursor::Start);
    memo->setTextCursor(cursor);
    memo->ensureCursorVisible();
}

} // namespace

ClassPage::ClassPage(const ClassPageLinks& links, QWidget* parent)
    : QWidget(parent), m_links(links), m_page(this, links.prompter)
{
    setObjectName(QStringLiteral("klassenverwalten"));
    build();
    connectHandlers();
    m_page.onChange([this] { showMode(); });
    m_links.teamform.klassenchange = [this] { klassenchange(); };
    m_links.tisch_verwaltung.plattenlist = plattenlist;
    m_links.tisch_verwaltung.klassenchange = [this] { klassenchange(); };
    resetTables();
    kfelderloeschen();
}

void ClassPage::build()
{
    auto* layout = new QVBoxLayout(this);
    StaticText86 = new QLabel(QStringLiteral("Turnierklassen verwalten"), this);
    StaticText86->setObjectName(QStringLiteral("StaticText86"));
    QFont title = StaticText86->font();
    title.setBold(true);
    title.setPointSize(title.pointSize() + 4);
    StaticText86->setFont(title);
    layout->addWidget(StaticText86);

    Klassecopy = new QMenu(this);
    Klassecopy->setObjectName(QStringLiteral("Klassecopy"));
    Klassekopieren1 = Klassecopy->addAction(QStringLiteral("Klasse kopieren"));
    Klassekopieren1->setObjectName(QStringLiteral("Klassekopieren1"));

    auto* lists = new QHBoxLayout;
    const char* names[] = {"einzelliste", "doppelliste", "mixedliste", "courbliste"};
    const QString labels[] = {QStringLiteral("Einzelkonkurrenz"), QStringLiteral("Doppelkonkurrenz"),
                              QStringLiteral("Mixedkonkurrenz"), QStringLiteral("Teamkonkurrenz")};
    for (ClassKind kind : kClassKinds) {
        const size_t i = kindIndex(kind);
        auto* column = new QVBoxLayout;
        column->addWidget(new QLabel(labels[i], this));
        auto* list = new QListWidget(this);
        list->setObjectName(QLatin1String(names[i]));
        list->setProperty("Tag", int(i) + 1);
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        list->viewport()->installEventFilter(this);
        column->addWidget(list);
        lists->addLayout(column);
        m_lists[i] = list;
    }
    einzelliste = listOf(ClassKind::Einzel);
    doppelliste = listOf(ClassKind::Doppel);
    mixedliste = listOf(ClassKind::Mixed);
    courbliste = listOf(ClassKind::Team);
    layout->addLayout(lists, 2);

    systemBox = new QGroupBox(QStringLiteral("Spielsysteme"), this);
    systemBox->setObjectName(QStringLiteral("system"));
    system = new QButtonGroup(systemBox);
    auto* kinds = new QHBoxLayout(systemBox);
    for (ClassKind kind : kClassKinds) {
        auto* radio = new QRadioButton(kindName(kind), systemBox);
        radio->setObjectName(QStringLiteral("system%1").arg(storedKind(kind)));
        system->addButton(radio, storedKind(kind));
        kinds->addWidget(radio);
    }
    showKind(ClassKind::Einzel);
    layout->addWidget(systemBox);

    auto* form = new QGridLayout;
    auto label = [this](const QString& text) { return new QLabel(text, this); };
    auto edit = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        return e;
    };
    auto memo = [this](const char* name) {
        auto* m = new QPlainTextEdit(this);
        m->setObjectName(QLatin1String(name));
        m->setTabChangesFocus(true);
        m->setMaximumHeight(70);
        return m;
    };
    kbezeichnung = edit("kbezeichnung");
    form->addWidget(label(QStringLiteral("Klassenbezeichnung")), 0, 0);
    form->addWidget(kbezeichnung, 0, 1, 1, 3);
    kbeschreibung = memo("kbeschreibung");
    form->addWidget(label(QStringLiteral("Klassenbeschreibung")), 1, 0);
    form->addWidget(kbeschreibung, 1, 1, 1, 3);
    kberechtigung = memo("kberechtigung");
    form->addWidget(label(QStringLiteral("Spielberechtigung")), 2, 0);
    form->addWidget(kberechtigung, 2, 1, 1, 3);

    auto* sexes = new QHBoxLayout;
    mann = new TuiCheckbox(this, QStringLiteral("mann"), QStringLiteral("männlich"));
    frau = new TuiCheckbox(this, QStringLiteral("frau"), QStringLiteral("weiblich"));
    sexes->addWidget(mann);
    sexes->addWidget(frau);
    sexes->addStretch();
    form->addWidget(label(QStringLiteral("Geschlecht")), 3, 0);
    form->addLayout(sexes, 3, 1);

    minteil = numberCombo(this, "minteil", 2, 24, true);
    maxteil = numberCombo(this, "maxteil", 2, 24, true);
    gewinnsaetze = numberCombo(this, "gewinnsaetze", 1, 5, false);
    punkteprosieg = numberCombo(this, "punkteprosieg", 1, 2, false);
    punkteprosieg->setToolTip(QStringLiteral("Punkte pro Sieg"));
    plattenanzahl = numberCombo(this, "plattenanzahl", 1, 20, true);
    plattenanzahl->installEventFilter(this);
    punkteprosieg->installEventFilter(this);
    form->addWidget(label(QStringLiteral("min. Teilnehmer")), 4, 0);
    form->addWidget(minteil, 4, 1);
    form->addWidget(label(QStringLiteral("max. Teilnehmer")), 4, 2);
    form->addWidget(maxteil, 4, 3);
    form->addWidget(label(QStringLiteral("Gewinnsätze")), 5, 0);
    form->addWidget(gewinnsaetze, 5, 1);
    form->addWidget(label(QStringLiteral("Punkte / Sieg")), 5, 2);
    form->addWidget(punkteprosieg, 5, 3);

    altersklasse = new QComboBox(this);
    altersklasse->setObjectName(QStringLiteral("altersklasse"));
    form->addWidget(label(QStringLiteral("Altersklasse")), 6, 0);
    form->addWidget(altersklasse, 6, 1);
    form->addWidget(label(QStringLiteral("Anzahl Tische")), 6, 2);
    form->addWidget(plattenanzahl, 6, 3);

    austragungstag = new QDateEdit(this);
    austragungstag->setObjectName(QStringLiteral("austragungstag"));
    austragungstag->setCalendarPopup(true);
    austragungstag->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    form->addWidget(label(QStringLiteral("Austragungstag")), 7, 0);
    form->addWidget(austragungstag, 7, 1);
    beginn = edit("beginn");
    beginn->setMaxLength(5);
    auto* time = new QHBoxLayout;
    time->addWidget(beginn);
    time->addWidget(label(QStringLiteral("Uhr")));
    form->addWidget(label(QStringLiteral("Beginn der Austragung")), 7, 2);
    form->addLayout(time, 7, 3);

    gebuehr = edit("gebuehr");
    nachgebuehr = edit("nachgebuehr");
    auto* fee = new QHBoxLayout;
    fee->addWidget(gebuehr);
    fee->addWidget(label(QStringLiteral("Euro")));
    auto* lateFee = new QHBoxLayout;
    lateFee->addWidget(nachgebuehr);
    lateFee->addWidget(label(QStringLiteral("Euro")));
    form->addWidget(label(QStringLiteral("Startgebühr")), 8, 0);
    form->addLayout(fee, 8, 1);
    form->addWidget(label(QStringLiteral("Nachmeldegebühr")), 8, 2);
    form->addLayout(lateFee, 8, 3);
    layout->addLayout(form);

    plattenlist = new QListWidget(this);
    plattenlist->setObjectName(QStringLiteral("plattenlist"));
    plattenlist->setVisible(false);

    auto* buttons = new QHBoxLayout;
    auto button = [&](const char* name, const QString& caption) {
        auto* b = new TuiButton(this, QLatin1String(name), caption);
        buttons->addWidget(b);
        return b;
    };
    neue_klasse = button("neue_klasse", QStringLiteral("Neue Klasse"));
    klasse_speichern = button("klasse_speichern", QStringLiteral("Neue Klasse aufnehmen"));
    klasse_delete = button("klasse_delete", QStringLiteral("Klasse löschen"));
    klasse_delete->SetFontColor(Qt::red);
    QFont bold = klasse_speichern->font();
    bold.setBold(true);
    klasse_speichern->setFont(bold);
    buttons->addStretch();
    uiButton1 = button("uiButton1", QStringLiteral("Tische verwalten"));
    teambutton = button("teambutton", QStringLiteral("Teamsystem"));
    teambutton->setEnabled(false);
    layout->addLayout(buttons);
}

void ClassPage::connectHandlers()
{
    m_page.handle(neue_klasse, &TuiButton::OnClick, [this] { neueklasseClick(); });
    m_page.handle(klasse_speichern, &TuiButton::OnClick, [this] { klassehinzuClick(); });
    m_page.handle(klasse_delete, &TuiButton::OnClick, [this] { klassedelClick(); });
    m_page.handle(uiButton1, &TuiButton::OnClick, [this] { uiButton1Click(); });
    m_page.handle(teambutton, &TuiButton::OnClick, [this] { teambuttonClick(); });
    m_page.handle(Klassekopieren1, &QAction::triggered, [this] { Klassekopieren1Click(); });
    for (QListWidget* list : m_lists) {
        m_page.handle(list, &QListWidget::itemClicked, [this, list] { listClick(list); });
        m_page.handle(list, &QListWidget::customContextMenuRequested, [this, list](const QPoint& pos) {
            einzellisteContextPopup(list);
            Klassecopy->popup(list->viewport()->mapToGlobal(pos));
        });
    }
    m_page.handle(system, &QButtonGroup::idToggled, [this](int, bool checked) {
        if (checked)
            systemClick();
    });

    // Every other field only marks the page changed.
    m_page.edits(kbezeichnung, &QLineEdit::textChanged);
    m_page.edits(kbeschreibung, &QPlainTextEdit::textChanged);
    m_page.edits(kberechtigung, &QPlainTextEdit::textChanged);
    m_page.edits(gebuehr, &QLineEdit::textChanged);
    m_page.edits(nachgebuehr, &QLineEdit::textChanged);
    m_page.edits(beginn, &QLineEdit::textChanged);
    m_page.edits(minteil, &QComboBox::currentTextChanged);
    m_page.edits(maxteil, &QComboBox::currentTextChanged);
    m_page.edits(gewinnsaetze, &QComboBox::currentIndexChanged);
    m_page.edits(altersklasse, &QComboBox::currentIndexChanged);
    m_page.edits(austragungstag, &QDateEdit::dateChanged);
    m_page.edits(mann, &TuiCheckbox::OnClick);
    m_page.edits(frau, &TuiCheckbox::OnClick);
    m_page.handle(plattenanzahl, &QComboBox::currentTextChanged, [this] { plattenanzahlChange(); });
    m_page.handle(punkteprosieg, &QComboBox::currentIndexChanged, [this] { plattenanzahlChange(); });
}

std::optional<ClassKind> ClassPage::kindOf(const QListWidget* list) const
{
    for (ClassKind kind : kClassKinds) {
        if (listOf(kind) == list)
            return kind;
    }
    return std::nullopt;
}

ClassKind ClassPage::shownKind() const
{
    // One radio button is always checked: the group is exclusive and starts on Einzel.
    return classKindOf(system->checkedId()).value_or(ClassKind::Einzel);
}

void ClassPage::showKind(ClassKind kind)
{
    system->button(storedKind(kind))->setChecked(true);
}

// The save button names the next save in its colour; while the page is
// unchanged it is disabled and keeps the caption loading or the last save left.
void ClassPage::showMode()
{
    if (m_page.mode() != PageState::Mode::Unchanged) {
        const bool isNew = m_page.mode() == PageState::Mode::New;
        klasse_speichern->SetCaption(isNew ? kNewCaption : kChangeCaption);
        klasse_speichern->SetFontColor(isNew ? Qt::blue : Qt::red);
    }
    klasse_speichern->setEnabled(m_page.hasChanges());
}

void ClassPage::resetTables()
{
    plattenlist->clear();
    plattenlist->addItem(QStringLiteral("Tisch 1"));
}

void ClassPage::insertSorted(QListWidget* list, const QString& name)
{
    int row = 0;
    while (row < list->count() && !german::lessThan(name, list->item(row)->text()))
        ++row;
    list->insertItem(row, name);
}

void ClassPage::removeEntry(QListWidget* list, const QString& name)
{
    const auto found = list->findItems(name, Qt::MatchExactly);
    if (!found.isEmpty())
        delete found.first();
}

void ClassPage::klassenchange()
{
    m_page.edited();
}

void ClassPage::klassenmemoserstezeile()
{
    moveToStart(kbeschreibung);
    moveToStart(kberechtigung);
}

void ClassPage::kfelderloeschen()
{
    const auto filling = m_page.fill();
    kbezeichnung->clear();
    kbeschreibung->clear();
    kberechtigung->clear();
    mann->SetChecked(true);
    frau->SetChecked(false);
    gebuehr->clear();
    nachgebuehr->clear();
    setComboText(minteil, QStringLiteral("2"));
    setComboText(maxteil, QStringLiteral("2"));
    setComboText(gewinnsaetze, QStringLiteral("3"));
    setComboText(plattenanzahl, QStringLiteral("1"));
    austragungstag->setDate(m_links.clock.today());
    beginn->clear();
    punkteprosieg->setCurrentIndex(0);
    m_links.teamform.clearFormat();
    // A page reset to a new class has something to save.
    m_page.set(0, PageState::Mode::New);
}

void ClassPage::klassenboxfuellen(int kid)
{
    m_loaded = readClassData(m_links.database(), kid);
    const auto filling = m_page.fill();
    kfelderloeschen();
    if (m_loaded) {
        const ClassRecord& r = m_loaded->record;
        kbezeichnung->setText(r.kbezeichnung);
        showKind(r.system);
        kbeschreibung->setPlainText(fromStoredMemo(r.kbeschreibung));
        kberechtigung->setPlainText(fromStoredMemo(r.spielberechtigung));
        mann->SetChecked(r.mann);
        frau->SetChecked(r.frau);
        gebuehr->setText(german::formatNumber(r.gebuehr));
        setComboText(minteil, QString::number(r.min));
        setComboText(maxteil, QString::number(r.max));
        const int sets = gewinnsaetze->findText(QString::number(r.saetze));
        if (sets >= 0)
            gewinnsaetze->setCurrentIndex(sets);
        setComboText(plattenanzahl, QString::number(r.platten));
        // An age class that no longer exists shows as the last entry ("ohne Beschränkung").
        const int age = altersklasse->findText(r.altersklasseID);
        altersklasse->setCurrentIndex(age >= 0 ? age : altersklasse->count() - 1);
        if (r.atag.isValid())
            austragungstag->setDate(r.atag);
        beginn->setText(r.uhrzeit ? german::formatTime(*r.uhrzeit) : QString());
        punkteprosieg->setCurrentIndex(r.punkteprosieg);
        nachgebuehr->setText(german::formatNumber(r.nachgebuehr));
    }
    m_links.aktuellerKlassenname = kbezeichnung->text();
    klasse_speichern->SetCaption(kChangeCaption);
    klasse_speichern->SetFontColor(Qt::red);
    m_page.set(m_loaded ? kid : 0, PageState::Mode::Unchanged);
}

void ClassPage::sortLists()
{
    for (QListWidget* list : m_lists) {
        QStringList names;
        for (int i = 0; i < list->count(); ++i)
            names << list->item(i)->text();
        std::sort(names.begin(), names.end(), german::lessThan);
        list->clear();
        list->addItems(names);
    }
}

void ClassPage::KlassenbuttonItems0Click()
{
    teambutton->setEnabled(false);
    StaticText86->setText(QStringLiteral("Turnierklassen verwalten"));
    resetTables();
    for (QListWidget* list : m_lists)
        list->clear();
    const auto filling = m_page.fill();
    kfelderloeschen();
    if (m_links.listboxenfuellen)
        m_links.listboxenfuellen();
    sortLists();
    klassenmemoserstezeile();
}

void ClassPage::neueklasseClick()
{
    const auto filling = m_page.fill();
    kfelderloeschen();
    for (QListWidget* list : m_lists)
        list->clearSelection();
    showKind(ClassKind::Einzel);
    teambutton->setEnabled(false);
    altersklasse->setCurrentIndex(altersklasse->count() - 1);
    resetTables();
}

void ClassPage::loadFromList(QListWidget* list, const QString& name)
{
    const std::optional<ClassKind> kind = kindOf(list);
    if (!kind)
        return;
    const auto filling = m_page.fill();
    kbezeichnung->setText(name);
    m_links.aktuelleKID = getKID(m_links.database(), m_links.aktuelleTID, *kind, name);
    klassenboxfuellen(m_links.aktuelleKID);
    klassenmemoserstezeile();
    for (QListWidget* other : m_lists) {
        if (other != list)
            other->clearSelection();
    }
    // The tables and the format as the page read them with the class.
    plattenlist->clear();
    if (m_loaded) {
        plattenlist->addItems(m_loaded->tables);
        if (kind == ClassKind::Team)
            m_links.teamform.showFormat(m_loaded->format.value_or(TeamFormat{}));
    }
    teambutton->setEnabled(kind == ClassKind::Team);
}

void ClassPage::reloadStale()
{
    const std::optional<ClassData> before = m_loaded;
    if (!before)
        return;
    const std::optional<ClassData> now = readClassData(m_links.database(), before->kid);
    if (!now) {
        if (m_links.aktuelleKID == before->kid)
            m_links.aktuelleKID = 0;
        listenitemloeschen(before->record.kbezeichnung, before->record.system);
        return;
    }
    showRenamed(before->record, now->record);
    highlight(now->record.kbezeichnung, now->record.system);
    loadFromList(listOf(now->record.system), now->record.kbezeichnung);
}

void ClassPage::highlight(const QString& name, ClassKind kind)
{
    for (QListWidget* list : m_lists) {
        list->clearSelection();
        if (list != listOf(kind))
            continue;
        const auto found = list->findItems(name, Qt::MatchExactly);
        list->setCurrentItem(found.isEmpty() ? nullptr : found.first());
    }
}

void ClassPage::showRenamed(const ClassRecord& before, const ClassRecord& now)
{
    if (before.kbezeichnung == now.kbezeichnung && before.system == now.system)
        return;
    removeEntry(listOf(before.system), before.kbezeichnung);
    const QString from = classCaption(before.kbezeichnung, before.system);
    const QString to = classCaption(now.kbezeichnung, now.system);
    retitleItems(m_links.Klassenbutton, from, to);
    retitleItems(m_links.spielplanbutton, from, to);
    QListWidget* list = listOf(now.system);
    if (list->findItems(now.kbezeichnung, Qt::MatchExactly).isEmpty())
        insertSorted(list, now.kbezeichnung);
}

void ClassPage::listClick(QListWidget* list)
{
    if (QListWidgetItem* item = list->currentItem(); item && item->isSelected())
        loadFromList(list, item->text());
}

bool ClassPage::checkInput()
{
    const QString name = kbezeichnung->text().trimmed();
    if (name.isEmpty()) {
        m_links.prompter.warning(QStringLiteral("Sie müssen einen Klassennamen eingeben"));
        return false;
    }
    if (m_page.key() == 0
        && classNameTaken(m_links.database(), m_links.aktuelleTID, shownKind(), name, 0)) {
        m_links.prompter.warning(kClassNameTaken);
        return false;
    }
    if (altersklasse->findText(altersklasse->currentText().trimmed(), Qt::MatchExactly) < 0) {
        m_links.prompter.warning(QStringLiteral("Die angegebene Altersklasse existiert nicht"));
        return false;
    }
    if (!feeValue(gebuehr->text())) {
        m_links.prompter.warning(QStringLiteral("Die Startgebühr wurde nicht korrekt eingegeben"));
        return false;
    }
    if (!feeValue(nachgebuehr->text())) {
        m_links.prompter.warning(QStringLiteral("Die Nachmeldegebühr wurde nicht korrekt eingegeben"));
        return false;
    }
    if (!beginn->text().trimmed().isEmpty() && !startTimeValue(beginn->text())) {
        m_links.prompter.warning(QStringLiteral("Geben Sie eine gültige Uhrzeit ein"));
        return false;
    }
    if (countValue(gewinnsaetze->currentText(), 7) > 5) {
        m_links.prompter.warning(QStringLiteral("Geben Sie bitte eine Wert für Gewinnsätze <=5 ein"));
        return false;
    }
    return true;
}

ClassRecord ClassPage::pageRecord() const
{
    ClassRecord r;
    r.system = shownKind();
    r.kbezeichnung = kbezeichnung->text().trimmed();
    r.kbeschreibung = toStoredMemo(kbeschreibung->toPlainText().trimmed());
    r.spielberechtigung = toStoredMemo(kberechtigung->toPlainText().trimmed());
    r.mann = mann->Checked();
    r.frau = frau->Checked();
    r.gebuehr = feeValue(gebuehr->text()).value_or(0.0);
    r.min = countValue(minteil->currentText(), 2);
    r.max = countValue(maxteil->currentText(), 2);
    r.saetze = countValue(gewinnsaetze->currentText(), 3);
    r.platten = countValue(plattenanzahl->currentText(), 1);
    r.altersklasseID = altersklasse->currentText().trimmed();
    r.atag = austragungstag->date();
    r.uhrzeit = startTimeValue(beginn->text());
    r.punkteprosieg = punkteprosieg->currentIndex();
    r.nachgebuehr = feeValue(nachgebuehr->text()).value_or(0.0);
    return r;
}

static QStringList entries(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void ClassPage::saveNew()
{
    const ClassRecord record = pageRecord();
    ClassData stored;
    if (!m_page.write([&] {
            stored = saveClass(m_links.database(), m_links.aktuelleTID, std::nullopt, record, entries(plattenlist),
                               m_links.teamform.format());
        }))
        return;
    m_loaded = stored;
    m_links.aktuelleKID = stored.kid;
    m_links.aktuellerKlassenname = record.kbezeichnung;
    listboxadd(record.kbezeichnung, record.system);
    highlight(record.kbezeichnung, record.system);
    m_page.set(stored.kid, PageState::Mode::Unchanged);
}

void ClassPage::saveChanges()
{
    const QSqlDatabase db = m_links.database();
    const ClassRecord record = pageRecord();
    const int kid = m_page.key();
    // Another class of the chosen kind with this name: the name goes back, the
    // other changes stay to be saved.
    if (classNameTaken(db, m_links.aktuelleTID, record.system, record.kbezeichnung, kid)) {
        m_links.prompter.information(kClassNameTaken);
        kbezeichnung->setText(m_links.aktuellerKlassenname);
        return;
    }
    ClassData stored;
    if (!m_page.write(
            [&] {
                stored = saveClass(db, m_links.aktuelleTID, m_loaded, record, entries(plattenlist),
                                   m_links.teamform.format());
            },
            {}, [this] { reloadStale(); }))
        return;
    m_links.aktuelleKID = kid;
    // The class keeps one entry and one item per bar, under its new name and kind.
    showRenamed(m_loaded->record, stored.record);
    highlight(stored.record.kbezeichnung, stored.record.system);
    m_loaded = stored;
    m_links.aktuellerKlassenname = record.kbezeichnung;
    m_page.set(kid, PageState::Mode::Unchanged);
}

void ClassPage::klassehinzuClick()
{
    if (!m_page.hasChanges() || !checkInput())
        return;
    if (m_page.key() == 0)
        saveNew();
    else
        saveChanges();
}

void ClassPage::listboxadd(const QString& name, ClassKind kind)
{
    QListWidget* list = listOf(kind);
    if (!list->findItems(name, Qt::MatchExactly).isEmpty())
        return;
    insertSorted(list, name);
    m_links.Klassenbutton.addClassItem(classCaption(name, kind));
}

void ClassPage::klassedelClick()
{
    // Only a class that is loaded or saved can go; a new class being entered has none.
    const int kid = m_page.key();
    if (kbezeichnung->text().isEmpty() || kid == 0 || !m_loaded)
        return;
    // The question names the class that goes, whatever the lists highlight.
    const QString caption = classCaption(m_loaded->record.kbezeichnung, m_loaded->record.system);
    const PromptAnswer answer = m_links.prompter.prompt(
        PromptKind::Question,
        QStringLiteral("Wollen Sie die Klasse \"%1\" wirklich löschen?\n\rBereits erstellte Spielpläne gehen verloren!")
            .arg(caption),
        PromptButtons::OkCancel);
    if (answer != PromptAnswer::Ok)
        return;
    const QSqlDatabase db = m_links.database();
    const std::optional<ClassRecord> record = readClass(db, kid);
    if (!m_page.write([&] { deleteClass(db, kid); }))
        return;
    if (m_links.aktuelleKID == kid)
        m_links.aktuelleKID = 0;
    if (record)
        listenitemloeschen(record->kbezeichnung, record->system);
    else
        kfelderloeschen();
}

void ClassPage::listenitemloeschen(const QString& name, ClassKind kind)
{
    kfelderloeschen();
    QListWidget* list = listOf(kind);
    removeEntry(list, name);
    XPBarloeschen(m_links.Klassenbutton, classCaption(name, kind));
    XPBarloeschen(m_links.spielplanbutton, classCaption(name, kind));
    if (list->count() > 0) {
        QListWidgetItem* last = list->item(list->count() - 1);
        list->setCurrentItem(last);
        loadFromList(list, last->text());
    } else {
        kfelderloeschen();
        resetTables();
    }
}

void ClassPage::einzellisteContextPopup(QListWidget* list)
{
    m_popupList = list;
    Klassekopieren1->setEnabled(!list->selectedItems().isEmpty());
}

void ClassPage::Klassekopieren1Click()
{
    QListWidget* list = m_popupList;
    if (!list || list->selectedItems().isEmpty())
        return;
    const QString source = list->selectedItems().first()->text();
    const std::optional<ClassKind> kind = kindOf(list);
    if (!kind)
        return;
    const QSqlDatabase db = m_links.database();
    const int sourceKid = getKID(db, m_links.aktuelleTID, *kind, source);
    // The copy's name is chosen in the writing transaction, so two desks
    // copying at once get two names.
    ClassCopy copy;
    if (!m_page.write([&] { copy = copyClass(db, m_links.aktuelleTID, sourceKid, *kind); }))
        return;
    listboxadd(copy.name, *kind);
}

void ClassPage::systemClick()
{
    teambutton->setEnabled(shownKind() == ClassKind::Team);
    klassenchange();
}

void ClassPage::plattenanzahlChange()
{
    klassenchange();
    // Half-typed numbers are left alone; leaving the field checks them.
    const std::optional<int> count = german::parseInteger(plattenanzahl->currentText());
    if (!count || *count < 0 || *count > kMaxTables)
        return;
    while (plattenlist->count() > *count)
        delete plattenlist->takeItem(plattenlist->count() - 1);
    for (int n = plattenlist->count() + 1; n <= *count; ++n)
        plattenlist->addItem(QStringLiteral("Tisch %1").arg(n));
}

void ClassPage::plattenanzahlExit(QComboBox* box)
{
    if (german::parseInteger(box->currentText()))
        return;
    m_links.prompter.information(QStringLiteral("Geben Sie eine gültige Zahl ein"));
    box->setFocus();
}

void ClassPage::uiButton1Click()
{
    if (m_links.showWorkDialog)
        m_links.showWorkDialog(&m_links.tisch_verwaltung);
}

void ClassPage::teambuttonClick()
{
    if (shownKind() == ClassKind::Team && m_links.showWorkDialog)
        m_links.showWorkDialog(&m_links.teamform);
}

bool ClassPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        // A click beside the entries clears the list's selection; the form stays.
        for (QListWidget* list : m_lists) {
            if (watched == list->viewport()
                && !list->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint())) {
                list->clearSelection();
                list->setCurrentItem(nullptr);
            }
        }
    } else if (event->type() == QEvent::FocusOut && (watched == plattenanzahl || watched == punkteprosieg)) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            auto* box = static_cast<QComboBox*>(watched);
            QTimer::singleShot(0, this, [this, box] {
                if (isVisible())
                    plattenanzahlExit(box);
            });
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace bw
