#include "results/tergebnis_team.h"

#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"
#include "platform/apperror.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "results/setentry.h"

#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace bw {

namespace {

void fillList(QComboBox* box, const QStringList& items, const QString& text)
{
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(items.indexOf(text));
    if (box->isEditable())
        box->setEditText(text);
}

QString positionCaption(int index, bool team1)
{
    const QString caption = index < 4 ? QStringLiteral("Spieler %1").arg(index + 1)
                                      : QStringLiteral("Doppel %1").arg(index - 3);
    return team1 ? caption + QLatin1Char(':') : caption;
}

} // namespace

Tergebnis_team::Tergebnis_team(QWidget* parent, Prompter& prompter) : QDialog(parent), m_page(this, prompter)
{
    setObjectName(QStringLiteral("ergebnis_team"));
    setWindowTitle(QStringLiteral("Spielverwaltung"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* layout = new QVBoxLayout(this);
    const auto named = [](QWidget* w, const QString& name) {
        w->setObjectName(name);
        return w;
    };

    // The teams and their line-ups.
    auto* header = new QGridLayout;
    gruppe = new QLabel(QStringLiteral("Gruppe : "), this);
    gruppe->setObjectName(QStringLiteral("gruppe"));
    header->addWidget(gruppe, 0, 0, 1, 4);
    team1 = new TagLabel(this);
    team2 = new TagLabel(this);
    team1->setObjectName(QStringLiteral("team1"));
    team2->setObjectName(QStringLiteral("team2"));
    for (QLabel* l : {static_cast<QLabel*>(team1), static_cast<QLabel*>(team2)}) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    header->addWidget(team1, 1, 0, 1, 2);
    header->addWidget(team2, 1, 2, 1, 2);
    static const char* suffixes[] = {"1", "2", "3", "4", "11", "21"};
    static const char* labelSuffixes[] = {"1", "2", "3", "4", "1", "2"};
    for (int i = 0; i < 6; ++i) {
        const bool dbl = i >= 4;
        spielera[size_t(i)] = new QLabel(positionCaption(i, true), this);
        spielerb[size_t(i)] = new QLabel(positionCaption(i, false), this);
        spielera[size_t(i)]->setObjectName(
            QString::fromLatin1(dbl ? "doppela%1" : "spielera%1").arg(QString::fromLatin1(labelSuffixes[i])));
        spielerb[size_t(i)]->setObjectName(
            QString::fromLatin1(dbl ? "doppelb%1" : "spielerb%1").arg(QString::fromLatin1(labelSuffixes[i])));
        auto* c = new QComboBox(this);
        auto* d = new QComboBox(this);
        named(c, QStringLiteral("spielerc") + QString::fromLatin1(suffixes[i]));
        named(d, QStringLiteral("spielerd") + QString::fromLatin1(suffixes[i]));
        // Players 3 and 4 of team 1 may be typed; every other choice only lists.
        c->setEditable(i == 2 || i == 3);
        c->setInsertPolicy(QComboBox::NoInsert);
        for (QComboBox* box : {c, d})
            box->setMinimumContentsLength(dbl ? 26 : 16);
        spielerc[size_t(i)] = c;
        spielerd[size_t(i)] = d;
        header->addWidget(spielera[size_t(i)], 2 + i, 0);
        header->addWidget(c, 2 + i, 1);
        header->addWidget(spielerb[size_t(i)], 2 + i, 2);
        header->addWidget(d, 2 + i, 3);
    }
    layout->addLayout(header);

    snr = new QLabel(this);
    snr->setObjectName(QStringLiteral("snr"));
    gruppetemp = new QLabel(this);
    gruppetemp->setObjectName(QStringLiteral("gruppetemp"));
    manuell = new TagLabel(this);
    manuell->setObjectName(QStringLiteral("manuell"));
    platte = new QLabel(this);
    platte->setObjectName(QStringLiteral("platte"));
    for (QLabel* hidden : {snr, gruppetemp, static_cast<QLabel*>(manuell), platte})
        hidden->hide();

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setStyleSheet(QStringLiteral("QTabBar::tab { min-width: 144px; }"));
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

    // "Spielplanung": one row per game.
    auto* planning = new QGridLayout(TabSheet1);
    const auto editableCombo = [](QWidget* parent, const QString& name, int width) {
        auto* box = new QComboBox(parent);
        box->setObjectName(name);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setMinimumContentsLength(width);
        return box;
    };
    for (int g = 0; g < kSpiele; ++g) {
        const QString n = QString::number(g + 1);
        spiel[size_t(g)] = new QLabel(QStringLiteral("Spiel %1").arg(n), TabSheet1);
        spiel[size_t(g)]->setObjectName(QStringLiteral("spiel") + n);
        tag[size_t(g)] = new QDateEdit(TabSheet1);
        tag[size_t(g)]->setObjectName(QStringLiteral("tag") + n);
        tag[size_t(g)]->setCalendarPopup(true);
        tag[size_t(g)]->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        guardDateEdit(tag[size_t(g)]);
        zeit[size_t(g)] = new QLineEdit(TabSheet1);
        zeit[size_t(g)]->setObjectName(QStringLiteral("zeit") + n);
        zeit[size_t(g)]->setMaxLength(5);
        zeit[size_t(g)]->setFixedWidth(zeit[size_t(g)]->fontMetrics().horizontalAdvance(QStringLiteral("00:000")) + 12);
        tisch[size_t(g)] = editableCombo(TabSheet1, QStringLiteral("tisch") + n, 8);
        schiri[size_t(g)] = editableCombo(TabSheet1, QStringLiteral("schiri") + n, 18);
        planning->addWidget(spiel[size_t(g)], g, 0);
        planning->addWidget(tag[size_t(g)], g, 1);
        planning->addWidget(zeit[size_t(g)], g, 2);
        planning->addWidget(tisch[size_t(g)], g, 3);
        planning->addWidget(schiri[size_t(g)], g, 4);
    }
    next1 = new TuiCheckbox(TabSheet1, QStringLiteral("next1"), QStringLiteral("nächstes mögliches Spiel aufrufen"));
    planning->addWidget(next1, kSpiele, 0, 1, 5);
    planning->setRowStretch(kSpiele + 1, 1);

    // "Spiel aufgerufen"
    const std::array<TuiCheckbox*, 6> boxes =
        addLaterCallBoxes(TabSheet2, QStringLiteral("Team 1"), QStringLiteral("Team 2"));
    aufruf2_sp1 = boxes[0];
    aufruf3_sp1 = boxes[1];
    aufruf2_sp2 = boxes[2];
    aufruf3_sp2 = boxes[3];
    aufruf2_sch = boxes[4];
    aufruf3_sch = boxes[5];

    // "Fertig": the whole match, then one row per game with its sets.
    auto* finish = new QGridLayout(TabSheet3);
    finish->addWidget(new QLabel(QStringLiteral("Endergebnis"), TabSheet3), 0, 0);
    ergebniscombo = editableCombo(TabSheet3, QStringLiteral("ergebniscombo"), 4);
    finish->addWidget(ergebniscombo, 0, 1, Qt::AlignLeft);
    finish->addWidget(new QLabel(QStringLiteral("(z.B. +9  -7  +3)"), TabSheet3), 0, 2, 1, kSaetze);
    for (int g = 0; g < kSpiele; ++g) {
        const QString n = QString::number(g + 1);
        sp[size_t(g)] = new QLabel(QStringLiteral("Spiel ") + n, TabSheet3);
        sp[size_t(g)]->setObjectName(QStringLiteral("sp") + n);
        erg[size_t(g)] = editableCombo(TabSheet3, QStringLiteral("erg") + n, 4);
        finish->addWidget(sp[size_t(g)], g + 1, 0);
        finish->addWidget(erg[size_t(g)], g + 1, 1);
        for (int k = 0; k < kSaetze; ++k) {
            auto* entry = new QLineEdit(TabSheet3);
            entry->setObjectName(QStringLiteral("satz%1%2").arg(g + 1).arg(k + 1));
            entry->setMaxLength(3);
            entry->setValidator(new SetEntryValidator(entry));
            entry->setFixedWidth(entry->fontMetrics().horizontalAdvance(QStringLiteral("-000")) + 12);
            entry->installEventFilter(this);
            satz[size_t(g)][size_t(k)] = entry;
            finish->addWidget(entry, g + 1, 2 + k);
        }
    }
    schiripool = new TuiCheckbox(TabSheet3, QStringLiteral("schiripool"),
                                 QStringLiteral("Verlierer in Schiedsrichterpool übernehmen"));
    finish->addWidget(schiripool, kSpiele + 1, 0, 1, 2 + kSaetze);
    next = new TuiCheckbox(TabSheet3, QStringLiteral("next"), QStringLiteral("nächstes mögliches Spiel anzeigen"));
    finish->addWidget(next, kSpiele + 2, 0, 1, 2 + kSaetze);
    finish->setRowStretch(kSpiele + 3, 1);

    auto* buttons = new QHBoxLayout;
    drucken = new TuiButton(this, QStringLiteral("drucken"), QStringLiteral("Drucken"));
    buttons->addWidget(drucken);
    buttons->addStretch();
    ok = new TuiButton(this, QStringLiteral("ok"), kUebernehmen);
    ok->SetDefault(true);
    buttons->addWidget(ok);
    cancel = new TuiButton(this, QStringLiteral("cancel"), QStringLiteral("Zurück"));
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    m_page.handle(ok, &TuiButton::OnClick, [this] { okClick(); });
    m_page.handle(cancel, &TuiButton::OnClick, [this] { cancelClick(); });
    m_page.handle(drucken, &TuiButton::OnClick, [this] { druckenClick(); });
    for (TuiCheckbox* box : aufrufe())
        m_page.handle(box, &TuiCheckbox::OnClick, [this, box] { aufruf2_sp1Click(box); });
    for (int g = 0; g < kSpiele; ++g)
        m_page.handle(erg[size_t(g)], &QComboBox::currentTextChanged, [this, g] { erg1Change(g + 1); });
}

void Tergebnis_team::setResultSetup(const ResultDialogSetup& setup)
{
    const auto filling = m_page.fill();
    m_setup = setup;
    m_setEntries = std::clamp(setup.setEntries, 0, kSaetze);
    ergebniscombo->clear();
    ergebniscombo->addItems(setup.teamResultItems);
    ergebniscombo->setCurrentIndex(-1);
    for (int g = 0; g < kSpiele; ++g) {
        const bool shown = g < setup.teamGames;
        for (QWidget* w : std::initializer_list<QWidget*>{spiel[size_t(g)], tag[size_t(g)], zeit[size_t(g)],
                                                         tisch[size_t(g)], schiri[size_t(g)], sp[size_t(g)],
                                                         erg[size_t(g)]})
            w->setVisible(shown);
        if (g < setup.gameCaptions.size())
            spiel[size_t(g)]->setText(setup.gameCaptions[g]);
        erg[size_t(g)]->clear();
        erg[size_t(g)]->addItems(setup.ergebnisItems);
        erg[size_t(g)]->setCurrentIndex(-1);
        for (int k = 0; k < kSaetze; ++k)
            satz[size_t(g)][size_t(k)]->setVisible(shown && k < m_setEntries);
    }
    for (int i = 0; i < 4; ++i) {
        const bool shown = i < setup.teamPlayers;
        for (QWidget* w : std::initializer_list<QWidget*>{spielera[size_t(i)], spielerb[size_t(i)],
                                                         spielerc[size_t(i)], spielerd[size_t(i)]})
            w->setVisible(shown);
    }
}

QDateTime Tergebnis_team::now() const
{
    return m_links.clock ? m_links.clock->now() : QDateTime::currentDateTime();
}

void Tergebnis_team::setPage(QWidget* page)
{
    // Every page may be looked at; only the mode's page takes input.
    for (int i = 0; i < PageControl1->count(); ++i)
        PageControl1->widget(i)->setEnabled(PageControl1->widget(i) == page);
    PageControl1->setCurrentWidget(page);
}

void Tergebnis_team::showSetEntry(QLineEdit* entry, bool active)
{
    entry->setEnabled(active);
    paintSetEntry(entry, active);
}

void Tergebnis_team::fillMode(TergebnisMode mode, const TeamMatch& match, bool byHand)
{
    const auto filling = m_page.fill();
    m_mode = mode;
    m_match = match;
    static const QString captions[] = {kUebernehmen, kAufrufen, kSpielStarten, kSpielBeendet, kKorrigieren};
    ok->SetCaption(captions[int(mode)]);
    cancel->SetCaption(QStringLiteral("Zurück"));
    setPage(mode == TergebnisMode::Planen || mode == TergebnisMode::Aufrufen ? TabSheet1
            : mode == TergebnisMode::Aufgerufen                              ? TabSheet2
                                                                             : TabSheet3);
    gruppe->setText(match.gruppe >= 0 ? QStringLiteral("Gruppe : ") + QChar(65 + match.gruppe)
                                      : QStringLiteral("Gruppe: "));
    team1->setText(match.team1);
    team2->setText(match.team2);
    team1->Tag = match.mid1;
    team2->Tag = match.mid2;
    snr->setText(QString::number(match.spielnummer));
    gruppetemp->setText(QString::number(match.gruppe));
    manuell->Tag = byHand ? 1 : 0;
    schiripool->setEnabled(true);
    schiripool->SetChecked(false);
    for (int i = 0; i < 6; ++i) {
        fillList(spielerc[size_t(i)], match.lineup1[size_t(i)].items, match.lineup1[size_t(i)].text);
        fillList(spielerd[size_t(i)], match.lineup2[size_t(i)].items, match.lineup2[size_t(i)].text);
    }
    for (int g = 0; g < kSpiele; ++g) {
        const bool exists = size_t(g) < match.games.size();
        const TeamGameEntry game = exists ? match.games[size_t(g)] : TeamGameEntry{};
        tag[size_t(g)]->setDate(game.tag);
        zeit[size_t(g)]->setText(game.zeit);
        fillList(tisch[size_t(g)], game.tische, game.tisch);
        fillList(schiri[size_t(g)], game.schiris, game.schiri);
        erg[size_t(g)]->setCurrentIndex(erg[size_t(g)]->findText(game.erg));
        erg[size_t(g)]->setEditText(game.erg);
        const int opened = openedSetEntries(game.erg, m_setup.ergebnisItems);
        for (int k = 0; k < kSaetze; ++k) {
            QLineEdit* entry = satz[size_t(g)][size_t(k)];
            entry->setText(game.saetze[size_t(k)]);
            showSetEntry(entry, k < std::min(opened, m_setEntries));
        }
    }
    for (size_t c = 0; c < kLaterCallColumns.size(); ++c) {
        const QDateTime& at = match.spaetereAufrufe[c];
        const bool shown = mode == TergebnisMode::Aufgerufen && at.isValid();
        aufrufe()[c]->SetChecked(shown);
        aufrufe()[c]->setToolTip(shown ? at.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")) : QString());
    }
    const QString result = mode == TergebnisMode::Beendet ? match.ergebnis : QString();
    ergebniscombo->setCurrentIndex(ergebniscombo->findText(result));
    ergebniscombo->setEditText(result);
    nextStep()->setFocus();
}

QWidget* Tergebnis_team::nextStep() const
{
    switch (m_mode) {
    case TergebnisMode::Planen:
    case TergebnisMode::Aufrufen: return tisch[0];
    case TergebnisMode::Aufgerufen: return ok;
    case TergebnisMode::Starten:
    case TergebnisMode::Beendet: break;
    }
    return ergebniscombo;
}

TeamMatch Tergebnis_team::match() const
{
    TeamMatch match = m_match;
    for (int i = 0; i < 6; ++i) {
        match.lineup1[size_t(i)].text = spielerc[size_t(i)]->currentText();
        match.lineup2[size_t(i)].text = spielerd[size_t(i)]->currentText();
    }
    for (size_t g = 0; g < match.games.size() && g < size_t(kSpiele); ++g) {
        TeamGameEntry& game = match.games[g];
        game.tag = tag[g]->date();
        game.zeit = zeit[g]->text();
        game.tisch = tisch[g]->currentText();
        game.schiri = schiri[g]->currentText();
        game.erg = erg[g]->currentText();
        for (size_t k = 0; k < size_t(kSaetze); ++k)
            game.saetze[k] = satz[g][k]->text();
    }
    match.ergebnis = ergebniscombo->currentText();
    return match;
}

void Tergebnis_team::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    runGuarded(prompter(), [this] { FormActivate(); });
}

void Tergebnis_team::FormActivate()
{
    nextStep()->setFocus();
    ok->setEnabled(true);
    cancel->setEnabled(true);
    drucken->setEnabled(true);
    setNextBoxes({next, next1}, m_links.twin,
                 m_links.naechstesSpielAnzeigen ? m_links.naechstesSpielAnzeigen() : true);
    next1->setVisible(ok->Caption() == kAufrufen);
}

bool Tergebnis_team::refuse(const QString& message)
{
    prompter().warning(message);
    ok->setEnabled(true);
    return false;
}

bool Tergebnis_team::store(const std::function<void()>& write)
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
        // A game's table or umpire went to another match meanwhile: the
        // dialog stays with what was chosen, so the organiser picks another.
        ok->setEnabled(true);
        return false;
    }
    if (conflict) {
        reject();
        if (m_links.rebuildStates)
            runGuarded(prompter(), [this] { m_links.rebuildStates(); });
        return false;
    }
    if (!stored)
        ok->setEnabled(true);
    return stored;
}

std::optional<std::vector<TeamGamePlan>> Tergebnis_team::gamePlans()
{
    try {
        return match().gamePlans();
    } catch (const AppError& e) {
        refuse(e.message());
        return std::nullopt;
    }
}

bool Tergebnis_team::tablesValid()
{
    // Every shown game needs one of the tables its list offers.
    const TeamMatch shown = match();
    return shown.gameWithoutValidTable() == 0;
}

HeldTeamResources Tergebnis_team::heldResources() const
{
    HeldTeamResources held;
    held.gruppe = gruppetemp->text().toInt();
    held.mid1 = team1->Tag;
    held.mid2 = team2->Tag;
    for (const TeamGameEntry& game : match().games) {
        held.tische << game.tisch;
        held.schiris << game.schiri;
    }
    return held;
}

bool Tergebnis_team::okClick()
{
    ok->setEnabled(false);
    const int n = snr->text().toInt();
    const QString action = ok->Caption();
    if (action == kUebernehmen || action == kAufrufen || action == kSpielStarten) {
        const bool byHand = manuell->Tag != 0;
        if ((action == kUebernehmen || (action == kAufrufen && !byHand)) && !tablesValid())
            return refuse(kKeinePlatte);
        const std::optional<std::vector<TeamGamePlan>> plans = gamePlans();
        if (!plans)
            return false;
        const QDateTime moment = now();
        const bool stored = store([&] {
            if (action == kUebernehmen)
                planTeamMatch(db(), m_match.kid, n, m_match.stage, *plans, false);
            else if (action == kAufrufen)
                callTeamMatch(db(), m_match.kid, n, *plans, byHand, moment);
            else
                startTeamMatch(db(), m_match.kid, n, *plans, moment);
        });
        if (!stored)
            return false;
        const HeldTeamResources held = heldResources();
        accept();
        if (action == kAufrufen && m_links.matchCalled)
            runGuarded(prompter(), [&] { m_links.matchCalled(n, held); });
        if (action == kSpielStarten && m_links.matchStarted)
            runGuarded(prompter(), [&] { m_links.matchStarted(n); });
        return true;
    }
    if (action == kSpielBeendet || action == kKorrigieren)
        return finish(action == kKorrigieren);
    accept();
    return false;
}

bool Tergebnis_team::finish(bool korrigieren)
{
    if (ergebniscombo->findText(ergebniscombo->currentText(), Qt::MatchExactly) < 0)
        return refuse(kKeinSpielergebnis);
    const TeamMatch shown = match();
    TeamMatchFinish result;
    result.kid = shown.kid;
    result.spielnummer = shown.spielnummer;
    result.gruppe = shown.gruppe;
    result.phase = shown.phase;
    result.expected = shown.stage;
    result.ergebnis = shown.ergebnis;
    result.spielende = shown.spielende;
    for (const TeamGameEntry& game : shown.games) {
        TeamMatchFinish::Game g;
        g.nummer = game.nummer;
        g.ergebnis = m_setup.ergebnisItems.contains(game.erg) ? game.erg : QString();
        for (int k = 0; k < m_setEntries; ++k) {
            const QString text = game.saetze[size_t(k)].trimmed();
            if (!text.isEmpty() && !isSetEntryNumber(text))
                return refuse(kKeinSatzwert);
            g.saetze << text;
        }
        g.platte = game.tisch;
        g.schiri = game.schiri;
        result.games.push_back(std::move(g));
    }
    result.schiripool = schiripool->Checked();
    result.mirroredIcon = platte->toolTip() == QLatin1String("x");
    result.next = next->Checked();
    const auto& handOver = korrigieren ? m_links.korrigieren : m_links.spielBeendet;
    if (!handOver) {
        prompter().information(korrigieren
                                   ? QStringLiteral("Ein Mannschaftsergebnis kann hier noch nicht korrigiert werden.")
                                   : QStringLiteral("Mannschaftsergebnisse können hier noch nicht erfasst werden."));
        ok->setEnabled(true);
        return false;
    }
    bool recorded = false;
    if (!store([&] { recorded = handOver(result); }) || !recorded) {
        ok->setEnabled(true);
        return false;
    }
    if (isVisible())
        accept();
    return true;
}

void Tergebnis_team::cancelClick()
{
    cancel->setEnabled(false);
    reject();
}

void Tergebnis_team::druckenClick()
{
    const int n = snr->text().toInt();
    if (ok->Caption() == kUebernehmen) {
        // The sheets show the planned games: store them first.
        if (!tablesValid()) {
            prompter().warning(kKeinePlatte);
            return;
        }
        const std::optional<std::vector<TeamGamePlan>> plans = gamePlans();
        if (!plans || !store([&] { planTeamMatch(db(), m_match.kid, n, m_match.stage, *plans, false); }))
            return;
    }
    if (m_links.schiedsrichterzettel)
        m_links.schiedsrichterzettel(m_match.kid, n);
    else
        prompter().information(QStringLiteral("Die Schiedsrichterzettel können noch nicht gedruckt werden."));
}

void Tergebnis_team::erg1Change(int game)
{
    if (game < 1 || game > kSpiele)
        return;
    const QString result = erg[size_t(game - 1)]->currentText();
    if (!m_setup.ergebnisItems.contains(result))
        return;
    const int opened = openedSetEntries(result, m_setup.ergebnisItems);
    for (int k = 0; k < m_setEntries; ++k) {
        QLineEdit* entry = satz[size_t(game - 1)][size_t(k)];
        entry->clear();
        showSetEntry(entry, k < opened);
    }
}

void Tergebnis_team::satz11Exit(QLineEdit* entry)
{
    const QString text = entry->text().trimmed();
    if (text.isEmpty() || isSetEntryNumber(text))
        return;
    entry->clear();
    prompter().warning(kKeinSatzwert);
    entry->setFocus();
}

void Tergebnis_team::aufruf2_sp1Click(TuiCheckbox* box)
{
    // The box has toggled; its name is one of the later-call columns.
    const bool ticked = box->Checked();
    const QDateTime moment = ticked ? now() : QDateTime();
    const int n = snr->text().toInt();
    if (store([&] { storeLaterCall(db(), m_match.kid, n, m_match.stage, box->objectName(), moment); })) {
        box->setToolTip(ticked ? moment.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")) : QString());
        return;
    }
    box->SetChecked(!ticked);
}

bool Tergebnis_team::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && !m_checking && isVisible() && !m_page.isFilling()) {
        if (auto* entry = qobject_cast<QLineEdit*>(watched)) {
            m_checking = true;
            runGuarded(prompter(), [this, entry] { satz11Exit(entry); });
            m_checking = false;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace bw
