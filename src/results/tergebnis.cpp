#include "results/tergebnis.h"

#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"
#include "controls/uicoreutils.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "results/scoremodel.h"
#include "results/setentry.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QVBoxLayout>

namespace bw {

namespace {

QString groupLetter(int gruppe)
{
    return QString(QChar(65 + gruppe));
}

// The sets played of a result "a:b": a + b; none for another text.
std::optional<int> setsPlayed(const QString& ergebnis)
{
    const std::optional<Ergebnis> result = readErgebnis(ergebnis);
    if (!result)
        return std::nullopt;
    return result->saetze1 + result->saetze2;
}

// Lets wheel events reach a date picker only while it has the focus.
class WheelWhenFocused : public QObject {
public:
    explicit WheelWhenFocused(QWidget* edit) : QObject(edit), m_edit(edit) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_edit && event->type() == QEvent::Wheel && !m_edit->hasFocus()) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* m_edit;
};

void fillList(QComboBox* box, const QStringList& items)
{
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(QString());
}

} // namespace

Tergebnis::Tergebnis(QWidget* parent, Prompter& prompter) : QDialog(parent), m_page(this, prompter)
{
    setObjectName(QStringLiteral("ergebnis"));
    setWindowTitle(QStringLiteral("Spielverwaltung"));
    // A fixed frame without window buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* layout = new QVBoxLayout(this);

    const auto label = [this](const char* name, const QString& text = {}) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    const auto tagLabel = [this](const char* name, const QString& text = {}) {
        auto* l = new TagLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };

    // The match.
    auto* header = new QGridLayout;
    spieler1 = tagLabel("spieler1", QStringLiteral("Spieler 1: "));
    spieler2 = tagLabel("spieler2", QStringLiteral("Spieler 2: "));
    gruppe = label("gruppe", QStringLiteral("Gruppe : "));
    platte = label("platte", QStringLiteral("An Tisch: "));
    schiri = label("schiri", QStringLiteral("Schiedsrichter: "));
    for (QLabel* l : {static_cast<QLabel*>(spieler1), static_cast<QLabel*>(spieler2)}) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    header->addWidget(spieler1, 0, 0, 1, 2);
    header->addWidget(spieler2, 1, 0, 1, 2);
    header->addWidget(gruppe, 2, 0);
    header->addWidget(platte, 2, 1);
    header->addWidget(schiri, 3, 0, 1, 2);
    auto* start = new QHBoxLayout;
    start->addWidget(new QLabel(QStringLiteral("Geplanter Start"), this));
    starttag = new QDateEdit(this);
    starttag->setObjectName(QStringLiteral("starttag"));
    starttag->setCalendarPopup(true);
    starttag->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    guardDateEdit(starttag);
    start->addWidget(starttag);
    start->addWidget(new QLabel(QStringLiteral("Uhrzeit"), this));
    startzeit = new QLineEdit(this);
    startzeit->setObjectName(QStringLiteral("startzeit"));
    startzeit->setMaxLength(5);
    startzeit->setFixedWidth(startzeit->fontMetrics().horizontalAdvance(QStringLiteral("00:000")) + 12);
    startzeit->installEventFilter(this);
    start->addWidget(startzeit);
    JetztButton = new TuiButton(this, QStringLiteral("JetztButton"), QStringLiteral("<-- Jetzt"));
    start->addWidget(JetztButton);
    start->addStretch();
    header->addLayout(start, 4, 0, 1, 2);
    layout->addLayout(header);

    snr = label("snr");
    gruppetemp = label("gruppetemp");
    manuell = tagLabel("manuell");
    for (QLabel* hidden : {snr, gruppetemp, static_cast<QLabel*>(manuell)})
        hidden->hide();

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setStyleSheet(QStringLiteral("QTabBar::tab { min-width: 144px; }"));
    PageControl1->setMinimumWidth(3 * 160);
    const auto page = [this](const char* name, const QString& caption) {
        auto* w = new QWidget(PageControl1);
        w->setObjectName(QString::fromLatin1(name));
        PageControl1->addTab(w, caption);
        return w;
    };
    TabSheet1 = page("TabSheet1", QStringLiteral("Spielplanung"));
    TabSheet2 = page("TabSheet2", QStringLiteral("Spiel aufgerufen"));
    TabSheet3 = page("TabSheet3", QStringLiteral("Fertig"));
    layout->addWidget(PageControl1);

    // "Spielplanung"
    auto* planning = new QGridLayout(TabSheet1);
    const auto combo = [](QWidget* parent, const char* name) {
        auto* box = new QComboBox(parent);
        box->setObjectName(QString::fromLatin1(name));
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setMinimumContentsLength(16);
        return box;
    };
    planning->addWidget(new QLabel(QStringLiteral("Geplanter Tisch:"), TabSheet1), 0, 0);
    geplanter_tisch = new QLabel(TabSheet1);
    geplanter_tisch->setObjectName(QStringLiteral("geplanter_tisch"));
    planning->addWidget(geplanter_tisch, 0, 1);
    planning->addWidget(new QLabel(QStringLiteral("An Tisch"), TabSheet1), 1, 0);
    plattencombo = combo(TabSheet1, "plattencombo");
    planning->addWidget(plattencombo, 1, 1);
    planning->addWidget(new QLabel(QStringLiteral("Schiedsrichter"), TabSheet1), 2, 0);
    schiricombo = combo(TabSheet1, "schiricombo");
    planning->addWidget(schiricombo, 2, 1);
    next1 = new TuiCheckbox(TabSheet1, QStringLiteral("next1"), QStringLiteral("nächstes mögliches Spiel aufrufen"));
    planning->addWidget(next1, 3, 0, 1, 2);
    planning->setRowStretch(4, 1);
    planning->setColumnStretch(1, 1);

    // "Spiel aufgerufen"
    const std::array<TuiCheckbox*, 6> boxes =
        addLaterCallBoxes(TabSheet2, QStringLiteral("Spieler 1"), QStringLiteral("Spieler 2"));
    aufruf2_sp1 = boxes[0];
    aufruf3_sp1 = boxes[1];
    aufruf2_sp2 = boxes[2];
    aufruf3_sp2 = boxes[3];
    aufruf2_sch = boxes[4];
    aufruf3_sch = boxes[5];

    // "Fertig"
    auto* finish = new QGridLayout(TabSheet3);
    finish->addWidget(new QLabel(QStringLiteral("Endergebnis:"), TabSheet3), 0, 0);
    ergebniscombo = combo(TabSheet3, "ergebniscombo");
    ergebniscombo->setMinimumContentsLength(4);
    finish->addWidget(ergebniscombo, 0, 1, Qt::AlignLeft);
    auto* sets = new QHBoxLayout;
    for (int k = 0; k < kSaetze; ++k) {
        auto* entry = new QLineEdit(TabSheet3);
        entry->setObjectName(QStringLiteral("satz%1").arg(k + 1));
        entry->setMaxLength(3);
        entry->setValidator(new SetEntryValidator(entry));
        entry->setFixedWidth(entry->fontMetrics().horizontalAdvance(QStringLiteral("-000")) + 12);
        entry->installEventFilter(this);
        satz[size_t(k)] = entry;
        sets->addWidget(entry);
    }
    sets->addStretch();
    finish->addLayout(sets, 1, 0, 1, 2);
    satzhinweis = new QLabel(QStringLiteral("(z.B. +9  -7  +3)"), TabSheet3);
    satzhinweis->setObjectName(QStringLiteral("satzhinweis"));
    finish->addWidget(satzhinweis, 2, 0, 1, 2);
    schiripool = new TuiCheckbox(TabSheet3, QStringLiteral("schiripool"),
                                 QStringLiteral("Verlierer in Schiedsrichterpool übernehmen"));
    finish->addWidget(schiripool, 3, 0, 1, 2);
    next = new TuiCheckbox(TabSheet3, QStringLiteral("next"), QStringLiteral("nächstes mögliches Spiel anzeigen"));
    finish->addWidget(next, 4, 0, 1, 2);
    finish->setRowStretch(5, 1);
    finish->setColumnStretch(1, 1);

    // The buttons.
    auto* buttons = new QHBoxLayout;
    drucken = new TuiButton(this, QStringLiteral("drucken"), QStringLiteral("Drucken"));
    buttons->addWidget(drucken);
    buttons->addStretch();
    ok = new TuiButton(this, QStringLiteral("ok"), kUebernehmen);
    ok->SetDefault(true);
    buttons->addWidget(ok);
    uiButton1 = new TuiButton(this, QStringLiteral("uiButton1"), QStringLiteral("▾"));
    uiButton1->setFixedWidth(22);
    buttons->addWidget(uiButton1);
    buttons->addSpacing(8);
    cancel = new TuiButton(this, QStringLiteral("cancel"), QStringLiteral("Zurück"));
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    MyPopupMenu = new QMenu(this);
    MyPopupMenu->setObjectName(QStringLiteral("MyPopupMenu"));
    const auto item = [this](const char* name, const QString& caption) {
        QAction* action = MyPopupMenu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    Spielstarten1 = item("Spielstarten1", QStringLiteral("Aktuelle Aktion + drucken"));
    Spielstartendrucken1 = item("Spielstartendrucken1", QStringLiteral("Spiel starten + drucken"));
    SaveChanges1 = item("SaveChanges1", QStringLiteral("Nur Änderung speichern"));
    Drucken1 = item("Drucken1", QStringLiteral("Drucken"));
    Spielbeenden1 = item("Spielbeenden1", QStringLiteral("Spiel zurücksetzen"));

    m_page.handle(ok, &TuiButton::OnClick, [this] { okClick(); });
    m_page.handle(cancel, &TuiButton::OnClick, [this] { cancelClick(); });
    m_page.handle(drucken, &TuiButton::OnClick, [this] { druckenClick(); });
    m_page.handle(uiButton1, &TuiButton::OnClick, [this] { uiButton1Click(); });
    m_page.handle(JetztButton, &TuiButton::OnClick, [this] { JetztButtonClick(); });
    for (TuiCheckbox* box : aufrufe())
        m_page.handle(box, &TuiCheckbox::OnClick, [this, box] { aufruf2_sp1Click(box); });
    m_page.handle(ergebniscombo, &QComboBox::currentTextChanged, [this] { ergebniscomboChange(); });
    m_page.handle(plattencombo, &QComboBox::currentTextChanged, [this] { plattencomboChange(); });
    m_page.handle(MyPopupMenu, &QMenu::aboutToShow, [this] { MyPopupMenuPopup(); });
    m_page.handle(Spielstarten1, &QAction::triggered, [this] { Spielstarten1Click(); });
    m_page.handle(Spielstartendrucken1, &QAction::triggered, [this] { Spielstartendrucken1Click(); });
    m_page.handle(SaveChanges1, &QAction::triggered, [this] { SaveChanges1Click(); });
    m_page.handle(Drucken1, &QAction::triggered, [this] { druckenClick(); });
    m_page.handle(Spielbeenden1, &QAction::triggered, [this] { Spielbeenden1Click(); });
    // The user never switches pages: the other pages are disabled, and the
    // bar takes no click.
    PageControl1->tabBar()->installEventFilter(this);
}

void Tergebnis::setResultSetup(const ResultDialogSetup& setup)
{
    const auto filling = m_page.fill();
    m_setup = setup;
    m_setEntries = std::clamp(setup.setEntries, 0, kSaetze);
    for (int k = 0; k < kSaetze; ++k)
        satz[size_t(k)]->setVisible(k < m_setEntries);
    ergebniscombo->clear();
    ergebniscombo->addItems(setup.ergebnisItems);
    ergebniscombo->setCurrentIndex(-1);
}

QDateTime Tergebnis::now() const
{
    return m_links.clock ? m_links.clock->now() : QDateTime::currentDateTime();
}

void Tergebnis::setPage(QWidget* page)
{
    for (int i = 0; i < PageControl1->count(); ++i)
        PageControl1->setTabEnabled(i, PageControl1->widget(i) == page);
    PageControl1->setCurrentWidget(page);
}

void paintSetEntry(QLineEdit* entry, bool active)
{
    entry->setFrame(active);
    QPalette palette = entry->palette();
    palette.setColor(QPalette::Base, active ? uiCoreUtils::ColorFromValue(kSatzFarbe) : QColor(Qt::white));
    entry->setPalette(palette);
}

std::array<TuiCheckbox*, 6> addLaterCallBoxes(QWidget* page, const QString& side1, const QString& side2)
{
    auto* calls = new QGridLayout(page);
    calls->addWidget(new QLabel(side1, page), 0, 0);
    calls->addWidget(new QLabel(side2, page), 1, 0);
    calls->addWidget(new QLabel(QStringLiteral("Schiedsrichter"), page), 2, 0);
    std::array<TuiCheckbox*, 6> boxes{};
    for (size_t c = 0; c < kLaterCallColumns.size(); ++c) {
        const bool third = kLaterCallColumns[c].startsWith(QLatin1String("aufruf3"));
        boxes[c] = new TuiCheckbox(page, kLaterCallColumns[c],
                                   third ? QStringLiteral("3. Aufruf") : QStringLiteral("2. Aufruf"));
        calls->addWidget(boxes[c], int(c / 2), third ? 2 : 1);
    }
    calls->setRowStretch(3, 1);
    calls->setColumnStretch(3, 1);
    return boxes;
}

void guardDateEdit(QDateEdit* edit)
{
    edit->setFocusPolicy(Qt::StrongFocus);
    edit->installEventFilter(new WheelWhenFocused(edit));
}

void setNextBoxes(NextBoxes own, NextBoxes twin, bool anzeigen)
{
    for (const NextBoxes& boxes : {own, twin}) {
        if (boxes.next)
            boxes.next->SetChecked(anzeigen);
        if (boxes.next1)
            boxes.next1->SetChecked(true);
    }
}

void Tergebnis::showSetEntry(QLineEdit* entry, bool active)
{
    paintSetEntry(entry, active);
}

void Tergebnis::fillMode(TergebnisMode mode, int kid, const MatchDialogRow& row, const QStringList& tables,
                         const QStringList& umpires, const QDate& classDay, bool byHand)
{
    const auto filling = m_page.fill();
    m_mode = mode;
    m_stage = row.state();
    m_spielende = row.spielende;
    m_kid = kid;
    m_phase = row.phase;
    static const QString captions[] = {kUebernehmen, kAufrufen, kSpielStarten, kSpielBeendet, kKorrigieren};
    ok->SetCaption(captions[int(mode)]);
    cancel->SetCaption(QStringLiteral("Zurück"));
    setPage(mode == TergebnisMode::Planen || mode == TergebnisMode::Aufrufen ? TabSheet1
            : mode == TergebnisMode::Aufgerufen                              ? TabSheet2
                                                                             : TabSheet3);

    // The header.
    spieler1->setText(QStringLiteral("Spieler 1: ") + row.spieler1);
    spieler2->setText(QStringLiteral("Spieler 2: ") + row.spieler2);
    spieler1->Tag = row.sid1;
    spieler2->Tag = row.sid2;
    if (row.gruppe >= 0)
        gruppe->setText(QStringLiteral("Gruppe : ") + groupLetter(row.gruppe));
    else if (mode == TergebnisMode::Planen || mode == TergebnisMode::Aufgerufen)
        gruppe->setText(QStringLiteral("Gruppe: "));
    else
        gruppe->setText(QStringLiteral("Gruppe :"));
    gruppetemp->setText(QString::number(row.gruppe));
    snr->setText(QString::number(row.spielnummer));
    manuell->Tag = byHand ? 1 : 0;
    // Every mode starts from this match's plan, never from the match shown
    // before: its planned day, else the class's day; its planned time, else none.
    starttag->setDate(row.geplanterTag.isValid() ? row.geplanterTag : classDay);
    startzeit->setText(row.geplanteZeit.isValid() ? row.geplanteZeit.toString(QStringLiteral("hh:mm")) : QString());
    geplanter_tisch->clear();
    platte->setText(QStringLiteral("An Tisch: "));
    schiri->setText(QStringLiteral("Schiedsrichter: "));
    schiripool->SetChecked(false);
    for (TuiCheckbox* box : aufrufe()) {
        box->SetChecked(false);
        box->setToolTip(QString());
    }
    ergebniscombo->setCurrentIndex(-1);
    ergebniscombo->setEditText(QString());
    for (QLineEdit* entry : satz) {
        entry->clear();
        entry->setEnabled(false);
        showSetEntry(entry, false);
    }

    // The result actions store no plan: there the planned start is only shown.
    const bool planStored = mode != TergebnisMode::Starten && mode != TergebnisMode::Beendet;
    for (QWidget* w : std::initializer_list<QWidget*>{starttag, startzeit, JetztButton})
        w->setEnabled(planStored);

    switch (mode) {
    case TergebnisMode::Planen:
    case TergebnisMode::Aufrufen: {
        plattencombo->setEnabled(true);
        schiricombo->setEnabled(true);
        schiripool->setEnabled(mode == TergebnisMode::Aufrufen);
        fillList(plattencombo, tables);
        fillList(schiricombo, umpires);
        geplanter_tisch->setText(row.geplanterTisch);
        QString chosen;
        if (mode == TergebnisMode::Planen) {
            // The plan as stored: no table or umpire the organiser never chose.
            chosen = row.geplanterTisch;
            schiricombo->setEditText(row.schiri);
        } else {
            // Only what is free: the planned table when it is, else the first
            // free one; the umpire of the plan (or of a call-up taken back)
            // only while he is free.
            chosen = tables.contains(row.geplanterTisch) ? row.geplanterTisch : tables.value(0);
            platte->setText(QStringLiteral("An Tisch : ") + chosen);
            schiricombo->setCurrentIndex(umpires.indexOf(row.schiri));
            schiricombo->setEditText(umpires.contains(row.schiri) ? row.schiri : QString());
        }
        plattencombo->setCurrentIndex(tables.indexOf(chosen));
        plattencombo->setEditText(chosen);
        break;
    }
    case TergebnisMode::Aufgerufen:
        plattencombo->setEnabled(false);
        schiricombo->setEnabled(false);
        schiripool->setEnabled(false);
        fillList(plattencombo, {});
        fillList(schiricombo, {});
        for (size_t c = 0; c < kLaterCallColumns.size(); ++c) {
            const QDateTime& at = row.spaetereAufrufe[c];
            if (!at.isValid())
                continue;
            aufrufe()[c]->SetChecked(true);
            aufrufe()[c]->setToolTip(at.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")));
        }
        plattencombo->setEditText(row.anPlatte);
        schiricombo->setEditText(row.schiri);
        platte->setText(QStringLiteral("An Tisch: ") + row.anPlatte);
        schiri->setText(QStringLiteral("Schiedsrichter: ") + row.schiri);
        break;
    case TergebnisMode::Starten:
    case TergebnisMode::Beendet:
        plattencombo->setEnabled(false);
        schiricombo->setEnabled(mode == TergebnisMode::Starten);
        schiripool->setEnabled(true);
        fillList(plattencombo, {});
        fillList(schiricombo, {});
        plattencombo->setEditText(row.anPlatte);
        schiricombo->setEditText(row.schiri);
        platte->setText(QStringLiteral("An Tisch: ") + row.anPlatte);
        schiri->setText(QStringLiteral("Schiedsrichter: ") + row.schiri);
        if (mode == TergebnisMode::Beendet) {
            ergebniscombo->setCurrentIndex(ergebniscombo->findText(row.ergebnis));
            ergebniscombo->setEditText(row.ergebnis);
            // The sets of the stored result can be corrected.
            const int played = setsPlayed(row.ergebnis).value_or(0);
            for (int k = 0; k < kSaetze; ++k) {
                QLineEdit* entry = satz[size_t(k)];
                entry->setText(setEntryText(row.saetze[size_t(k)]));
                const bool active = k < std::min(played, m_setEntries);
                entry->setEnabled(active);
                showSetEntry(entry, active);
            }
        }
        break;
    }
    // Typing goes where the page's next step is, also before the dialog shows.
    nextStep()->setFocus();
}

QWidget* Tergebnis::nextStep() const
{
    switch (m_mode) {
    case TergebnisMode::Planen:
    case TergebnisMode::Aufrufen: return plattencombo;
    case TergebnisMode::Aufgerufen: return ok;
    case TergebnisMode::Starten:
    case TergebnisMode::Beendet: break;
    }
    return ergebniscombo;
}

void Tergebnis::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    runGuarded(prompter(), [this] { FormActivate(); });
}

void Tergebnis::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    runGuarded(prompter(), [this] { FormClose(); });
}

void Tergebnis::FormActivate()
{
    activateWindow();
    nextStep()->setFocus();
    ok->setEnabled(true);
    cancel->setEnabled(true);
    drucken->setEnabled(true);
    setNextBoxes({next, next1}, m_links.twin,
                 m_links.naechstesSpielAnzeigen ? m_links.naechstesSpielAnzeigen() : true);
    next1->setVisible(ok->Caption() == kAufrufen);
    if (m_mode != TergebnisMode::Beendet) {
        for (QLineEdit* entry : satz)
            showSetEntry(entry, false);
    }
    if (m_links.setWorkAreaEnabled)
        m_links.setWorkAreaEnabled(false);
}

void Tergebnis::FormClose()
{
    if (m_links.setWorkAreaEnabled)
        m_links.setWorkAreaEnabled(true);
}

bool Tergebnis::tableListed() const
{
    return plattencombo->findText(plattencombo->currentText(), Qt::MatchExactly) >= 0;
}

std::optional<QTime> Tergebnis::startTime() const
{
    const QString text = startzeit->text().trimmed();
    if (text.isEmpty())
        return QTime();
    for (const char* format : {"H:mm", "HH:mm", "H:mm:ss", "HH:mm:ss"}) {
        const QTime time = QTime::fromString(text, QString::fromLatin1(format));
        if (time.isValid())
            return time;
    }
    return std::nullopt;
}

bool Tergebnis::startTimeValid()
{
    if (startTime())
        return true;
    startzeitExit();
    ok->setEnabled(true);
    return false;
}

MatchPlan Tergebnis::plan() const
{
    return {plattencombo->currentText(), starttag->date(), startTime().value_or(QTime()), schiricombo->currentText()};
}

HeldResources Tergebnis::heldResources() const
{
    return {gruppetemp->text().toInt(), spieler1->Tag, spieler2->Tag, plattencombo->currentText(),
            schiricombo->currentText()};
}

MatchCall Tergebnis::call() const
{
    // A table typed by hand (not one of the list) marks the match started by hand.
    return {plattencombo->currentText(), schiricombo->currentText(), !tableListed(), now()};
}

bool Tergebnis::refuse(const QString& message)
{
    prompter().warning(message);
    ok->setEnabled(true);
    return false;
}

bool Tergebnis::store(const std::function<void()>& write)
{
    bool conflict = false;
    bool busy = false;
    const bool stored = runGuarded(prompter(), [&] {
        try {
            write();
        } catch (const ResourceBusy& e) {
            busy = true;
            prompter().prompt(PromptKind::Warning, e.message(), PromptButtons::Ok);
        } catch (const MatchConflict& e) {
            conflict = true;
            prompter().prompt(PromptKind::Warning, e.message(), PromptButtons::Ok);
        }
    });
    if (busy) {
        // The table or umpire went to another match meanwhile: the dialog
        // stays with what was chosen, so the organiser picks another.
        ok->setEnabled(true);
        return false;
    }
    if (conflict) {
        // Nothing was stored; the plan shows the match as it is now.
        reject();
        if (m_links.plan)
            runGuarded(prompter(), [this] { m_links.plan->rebuildStates(); });
        return false;
    }
    if (!stored)
        ok->setEnabled(true);
    return stored;
}

void Tergebnis::db_planen(int spielnummer)
{
    planMatch(db(), m_kid, spielnummer, m_stage, plan());
}

void Tergebnis::db_aufgerufen(int spielnummer)
{
    // The plan and the call in one transaction.
    callMatch(db(), m_kid, spielnummer, plan(), call());
}

void Tergebnis::db_starten(int spielnummer)
{
    // The plan and the start in one transaction; a match started straight
    // from open also takes its table, umpire and manual flag as a call-up does.
    startMatch(db(), m_kid, spielnummer, m_stage, plan(), call(), now());
}

bool Tergebnis::okClick()
{
    ok->setEnabled(false);
    const int n = snr->text().toInt();
    const QString action = ok->Caption();
    if (action == kUebernehmen) {
        if (!tableListed())
            return refuse(kKeinePlatte);
        if (!startTimeValid() || !store([&] { db_planen(n); }))
            return false;
        accept();
        return true;
    } else if (action == kAufrufen) {
        if (manuell->Tag == 0 && !tableListed())
            return refuse(kKeinePlatte);
        if (!startTimeValid() || !store([&] { db_aufgerufen(n); }))
            return false;
        const HeldResources held = heldResources();
        accept();
        if (m_links.plan)
            m_links.plan->matchCalled(n, held);
        return true;
    } else if (action == kSpielStarten) {
        const bool fromOpen = m_stage == MatchStage::Open;
        if (fromOpen && manuell->Tag == 0 && !tableListed() && m_mode == TergebnisMode::Aufrufen)
            return refuse(kKeinePlatte);
        if (!startTimeValid() || !store([&] { db_starten(n); }))
            return false;
        const HeldResources held = heldResources();
        accept();
        if (m_links.plan)
            m_links.plan->matchStarted(n, fromOpen ? std::optional<HeldResources>(held) : std::nullopt);
        return true;
    } else if (action == kSpielBeendet || action == kKorrigieren) {
        if (ergebniscombo->findText(ergebniscombo->currentText(), Qt::MatchExactly) < 0)
            return refuse(kKeinSatzergebnis);
        MatchFinish finish;
        finish.kid = m_kid;
        finish.spielnummer = n;
        finish.gruppe = gruppetemp->text().toInt();
        finish.phase = m_phase;
        finish.expected = m_stage;
        finish.spielende = m_spielende;
        finish.ergebnis = ergebniscombo->currentText();
        for (int k = 0; k < m_setEntries; ++k) {
            const QString text = satz[size_t(k)]->text().trimmed();
            if (!text.isEmpty() && !isSetEntryNumber(text)) {
                satz[size_t(k)]->setFocus();
                return refuse(kKeinSatzwert);
            }
            finish.saetze << text;
        }
        finish.schiripool = schiripool->Checked();
        finish.mirroredIcon = platte->toolTip() == QLatin1String("x");
        finish.next = next->Checked();
        const auto& handOver = action == kSpielBeendet ? m_links.spielBeendet : m_links.korrigieren;
        if (!handOver) {
            prompter().information(QStringLiteral("Ergebnisse können hier noch nicht erfasst werden."));
            ok->setEnabled(true);
            return false;
        }
        bool recorded = false;
        if (!store([&] { recorded = handOver(finish); }) || !recorded) {
            ok->setEnabled(true);
            return false;
        }
        // The recording closes the dialog itself before it offers the next
        // matches in it.
        if (isVisible())
            accept();
        return true;
    }
    ok->setEnabled(true);
    return false;
}

void Tergebnis::cancelClick()
{
    cancel->setEnabled(false);
    reject();
}

void Tergebnis::aufruf2_sp1Click(TuiCheckbox* box)
{
    // The box has been ticked or unticked by the click; its name is the column.
    const bool ticked = box->Checked();
    const QDateTime moment = ticked ? now() : QDateTime();
    const int n = snr->text().toInt();
    if (store([&] { storeLaterCall(db(), m_kid, n, m_stage, box->objectName(), moment); })) {
        box->setToolTip(ticked ? moment.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")) : QString());
        return;
    }
    // Not stored: the box shows the stored call again.
    box->SetChecked(!ticked);
}

void Tergebnis::ergebniscomboChange()
{
    const std::optional<int> played = setsPlayed(ergebniscombo->currentText());
    if (!played || ergebniscombo->findText(ergebniscombo->currentText(), Qt::MatchExactly) < 0)
        return;
    for (int k = 0; k < m_setEntries; ++k) {
        QLineEdit* entry = satz[size_t(k)];
        entry->setEnabled(false);
        showSetEntry(entry, false);
        entry->clear();
    }
    for (int k = 0; k < std::min(*played, m_setEntries); ++k) {
        satz[size_t(k)]->setEnabled(true);
        showSetEntry(satz[size_t(k)], true);
    }
}

void Tergebnis::plattencomboChange()
{
    if (ok->Caption() == kAufrufen)
        platte->setText(QStringLiteral("An Tisch: ") + plattencombo->currentText());
    else if (ok->Caption() == kUebernehmen)
        geplanter_tisch->setText(plattencombo->currentText());
}

void Tergebnis::satz1Exit(QLineEdit* entry)
{
    const QString text = entry->text().trimmed();
    if (text.isEmpty() || isSetEntryNumber(text))
        return;
    entry->clear();
    prompter().warning(kKeinSatzwert);
    entry->setFocus();
}

void Tergebnis::startzeitExit()
{
    if (startTime())
        return;
    startzeit->clear();
    prompter().warning(kKeineUhrzeit);
    startzeit->setFocus();
}

void Tergebnis::JetztButtonClick()
{
    const QDateTime moment = now();
    starttag->setDate(moment.date());
    startzeit->setText(moment.time().toString(QStringLiteral("hh:mm")));
}

void Tergebnis::uiButton1Click()
{
    MyPopupMenu->popup(ok->mapToGlobal(QPoint(0, ok->height())));
}

void Tergebnis::MyPopupMenuPopup()
{
    const QString action = ok->Caption();
    Spielstartendrucken1->setVisible(action == kAufrufen);
    SaveChanges1->setVisible(action == kUebernehmen || action == kAufrufen);
    Spielstarten1->setText(action + QStringLiteral(" + drucken"));
}

void Tergebnis::printSheet(int kid, int spielnummer)
{
    if (m_links.schiedsrichterzettel)
        m_links.schiedsrichterzettel(kid, spielnummer);
    else
        prompter().information(QStringLiteral("Der Schiedsrichterzettel kann noch nicht gedruckt werden."));
}

void Tergebnis::druckenClick()
{
    printSheet(m_kid, snr->text().toInt());
}

void Tergebnis::Spielstarten1Click()
{
    // The sheet shows the stored match (the table and umpire of a call-up), so
    // it is printed only after the action was stored. The match is taken
    // first: a recording may offer the next match in this dialog.
    const int kid = m_kid;
    const int n = snr->text().toInt();
    if (okClick())
        printSheet(kid, n);
}

void Tergebnis::Spielstartendrucken1Click()
{
    // Straight from the call-up to a running match: the call-up's check of the
    // table, then the start; a refused start leaves the call-up as it was.
    const int n = snr->text().toInt();
    ok->SetCaption(kSpielStarten);
    const bool started = okClick();
    if (isVisible())
        ok->SetCaption(kAufrufen);
    if (started)
        printSheet(m_kid, n);
}

void Tergebnis::SaveChanges1Click()
{
    if (!tableListed()) {
        refuse(kKeinePlatte);
        return;
    }
    const int n = snr->text().toInt();
    if (!startTimeValid() || !store([&] { db_planen(n); }))
        return;
    accept();
}

void Tergebnis::Spielbeenden1Click()
{
    const int n = snr->text().toInt();
    const MatchStage shown = m_stage;
    reject();
    if (m_links.spielZuruecksetzen)
        m_links.spielZuruecksetzen(m_kid, n, shown);
}

bool Tergebnis::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == PageControl1->tabBar()
        && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick
            || event->type() == QEvent::Wheel))
        return !PageControl1Changing();
    if (event->type() == QEvent::FocusOut && !m_checking && isVisible() && !m_page.isFilling()) {
        // Leaving a set entry or the time: a text that is no number or time is refused.
        m_checking = true;
        if (watched == startzeit)
            runGuarded(prompter(), [this] { startzeitExit(); });
        for (QLineEdit* entry : satz) {
            if (watched == entry)
                runGuarded(prompter(), [this, entry] { satz1Exit(entry); });
        }
        m_checking = false;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace bw
