#include "groups/groupsetuppage.h"

#include "controls/uibuttons.h"
#include "data/classrecords.h"
#include "draw/tgruppe.h"
#include "groups/entrylist.h"
#include "platform/prompter.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace bw {

namespace {

using Value = GroupSettingsModel::Value;

const QString kRandomPairingQuestion = QStringLiteral(
    "Sollen die Spieler ohne Partner jetzt zufällig zugelost werden?\rAchtung! die Losung kann nicht revidiert werden.");

// The spin edits have no bounds of their own worth meeting: the rules keep
// the values in range.
constexpr int kSpinMaximum = 999;

QSpinBox* spinEdit(QWidget* parent, const QString& name, bool typing)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(0, kSpinMaximum);
    // A typed number counts when it is complete (ENTER or leaving the edit).
    box->setKeyboardTracking(false);
    if (!typing) {
        // Changed by the arrows only.
        if (auto* edit = box->findChild<QLineEdit*>())
            edit->setReadOnly(true);
    }
    return box;
}

// The texts of the kinds' labels: the entrant list, the seed slots.
std::pair<QString, QString> listLabels(ClassKind kind)
{
    switch (kind) {
    case ClassKind::Einzel: return {QStringLiteral("Gemeldete Spieler"), QStringLiteral("Gesetzte Spieler")};
    case ClassKind::Doppel:
    case ClassKind::Mixed: return {QStringLiteral("Gemeldete Doppel"), QStringLiteral("Gesetzte Doppel")};
    case ClassKind::Team: return {QStringLiteral("Gemeldete Mannschaften"), QStringLiteral("Gesetzte Mannschaften")};
    }
    return {};
}

} // namespace

GroupSetupPage::GroupSetupPage(const GroupSetupPageLinks& links, QWidget* parent)
    : QWidget(parent), m_links(links), m_page(this, links.prompter)
{
    setObjectName(QStringLiteral("GroupSetupPage"));
    build();
    connectHandlers();
    showSettings();
    showLists();
}

QGroupBox* GroupSetupPage::buildPhase(int p)
{
    const QString n = QString::number(p + 1);
    auto* panel = new QGroupBox(QStringLiteral("Phase ") + n, allgemein1);
    panel->setObjectName(QStringLiteral("spielsystempanel") + n);
    auto* column = new QVBoxLayout(panel);

    auto* box = new QGroupBox(QStringLiteral("Spielsystem"), panel);
    box->setObjectName(QStringLiteral("spielsystem") + n);
    auto* group = new QButtonGroup(box);
    auto* radios = new QVBoxLayout(box);
    for (PlaySystem system : {PlaySystem::Gruppenphase, PlaySystem::EinfachesKO, PlaySystem::DoppeltesKO}) {
        auto* radio = new QRadioButton(playSystemName(system), box);
        radio->setObjectName(QStringLiteral("spielsystem%1_%2").arg(n).arg(int(system)));
        group->addButton(radio, int(system));
        radios->addWidget(radio);
    }
    column->addWidget(box);

    auto* values = new QWidget(panel);
    values->setObjectName(QStringLiteral("ph%1_gruppe").arg(n));
    auto* grid = new QGridLayout(values);
    grid->setContentsMargins(0, 0, 0, 0);
    auto add = [&](int line, const QString& label, QSpinBox* edit) {
        grid->addWidget(new QLabel(label, values), line, 0);
        grid->addWidget(edit, line, 1);
    };
    // Phase 2's best-per-group edit keeps the name its handler has.
    const QString besteName = p == 1 ? QStringLiteral("besten2") : QStringLiteral("beste") + n;
    gruppenanzahl[size_t(p)] = spinEdit(values, QStringLiteral("gruppenanzahl") + n, false);
    teilnehmer[size_t(p)] = spinEdit(values, QStringLiteral("teilnehmer") + n, false);
    beste[size_t(p)] = spinEdit(values, besteName, true);
    bestplazierte[size_t(p)] = spinEdit(values, QStringLiteral("bestplazierte") + n, false);
    add(0, QStringLiteral("Gruppenanzahl"), gruppenanzahl[size_t(p)]);
    add(1, QStringLiteral("Teilnehmer pro Gruppe"), teilnehmer[size_t(p)]);
    add(2, QStringLiteral("Besten pro Gruppe"), beste[size_t(p)]);
    add(3, QStringLiteral("Bestplazierten weiter"), bestplazierte[size_t(p)]);
    column->addWidget(values);
    column->addStretch();

    spielsystemBox[size_t(p)] = box;
    spielsystem[size_t(p)] = group;
    ph_gruppe[size_t(p)] = values;
    return panel;
}

void GroupSetupPage::build()
{
    auto* layout = new QVBoxLayout(this);
    StaticText22 = new QLabel(QStringLiteral("Gruppeneinteilung für "), this);
    StaticText22->setObjectName(QStringLiteral("StaticText22"));
    QFont title = StaticText22->font();
    title.setBold(true);
    title.setPointSize(title.pointSize() + 4);
    StaticText22->setFont(title);
    layout->addWidget(StaticText22);

    // One page, its tab header hidden.
    gruppeneinteilung = new QTabWidget(this);
    gruppeneinteilung->setObjectName(QStringLiteral("gruppeneinteilung"));
    allgemein1 = new QWidget(gruppeneinteilung);
    allgemein1->setObjectName(QStringLiteral("allgemein1"));
    gruppeneinteilung->addTab(allgemein1, QStringLiteral("Allgemein"));
    gruppeneinteilung->tabBar()->hide();
    gruppeneinteilung->setDocumentMode(true);
    layout->addWidget(gruppeneinteilung, 1);
    auto* page = new QVBoxLayout(allgemein1);
    page->setContentsMargins(0, 0, 0, 0);

    // The phases side by side, the lists below them.
    auto* phases = new QHBoxLayout;
    for (int p = 0; p < kPhaseCount; ++p) {
        spielsystempanel[size_t(p)] = buildPhase(p);
        phases->addWidget(spielsystempanel[size_t(p)]);
    }
    phases->addStretch();
    page->addLayout(phases);

    auto* lists = new QGridLayout;
    StaticText11 = new QLabel(QStringLiteral("Gemeldete Spieler"), allgemein1);
    StaticText11->setObjectName(QStringLiteral("StaticText11"));
    spieleranzahl = new QLabel(QStringLiteral("0"), allgemein1);
    spieleranzahl->setObjectName(QStringLiteral("spieleranzahl"));
    spieleranzahl->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    gemeldete_spieler = new EntryList(QStringLiteral("gemeldete_spieler"), false, allgemein1);
    lists->addWidget(StaticText11, 0, 0);
    lists->addWidget(spieleranzahl, 0, 1);
    lists->addWidget(gemeldete_spieler, 1, 0, 1, 2);

    StaticText12 = new QLabel(QStringLiteral("Gesetzte Spieler"), allgemein1);
    StaticText12->setObjectName(QStringLiteral("StaticText12"));
    gesetztespieleredit = spinEdit(allgemein1, QStringLiteral("gesetztespieleredit"), true);
    gesetztespielerliste = new EntryList(QStringLiteral("gesetztespielerliste"), true, allgemein1);
    lists->addWidget(StaticText12, 0, 2);
    lists->addWidget(gesetztespieleredit, 0, 3);
    lists->addWidget(gesetztespielerliste, 1, 2, 1, 2);

    doppelpanel = new QGroupBox(QStringLiteral("ohne Doppelpartner"), allgemein1);
    doppelpanel->setObjectName(QStringLiteral("doppelpanel"));
    auto* pairs = new QVBoxLayout(doppelpanel);
    ohnepartner = new EntryList(QStringLiteral("ohnepartner"), false, doppelpanel);
    uiButton7 = new TuiButton(doppelpanel, QStringLiteral("uiButton7"), QStringLiteral("Partner zufällig zulosen"));
    pairs->addWidget(ohnepartner);
    pairs->addWidget(uiButton7);
    lists->addWidget(doppelpanel, 0, 4, 2, 1);
    for (int column : {0, 2, 4})
        lists->setColumnStretch(column, 1);
    page->addLayout(lists, 1);

    auto* buttons = new QHBoxLayout;
    spielsystem_create = new TuiButton(this, QStringLiteral("spielsystem_create"), QStringLiteral("Spielsystem speichern"));
    zurauslosung = new TuiButton(this, QStringLiteral("zurauslosung"), QStringLiteral("Zur Auslosung -->"));
    QFont bold = zurauslosung->font();
    bold.setBold(true);
    zurauslosung->setFont(bold);
    buttons->addStretch();
    buttons->addWidget(spielsystem_create);
    buttons->addWidget(zurauslosung);
    layout->addLayout(buttons);
    // Nothing to save or draw before a class is open.
    spielsystem_create->setEnabled(false);
    zurauslosung->setEnabled(false);
}

QSpinBox* GroupSetupPage::valueEdit(int phase, Value value) const
{
    const size_t p = size_t(phase);
    switch (value) {
    case Value::Gruppenanzahl: return gruppenanzahl[p];
    case Value::Teilnehmer: return teilnehmer[p];
    case Value::Beste: return beste[p];
    case Value::Bestplazierte: return bestplazierte[p];
    }
    return nullptr;
}

void GroupSetupPage::connectHandlers()
{
    for (int p = 0; p < kPhaseCount; ++p) {
        m_page.handle(spielsystem[size_t(p)], &QButtonGroup::idClicked, [this, p](int id) { spielsystemClick(p, id); });
        for (Value v : {Value::Gruppenanzahl, Value::Teilnehmer, Value::Beste, Value::Bestplazierte}) {
            m_page.handle(valueEdit(p, v), &QSpinBox::valueChanged,
                          [this, p, v](int value) { valueChange(p, v, value); });
        }
    }
    m_page.handle(gesetztespieleredit, &QSpinBox::valueChanged, [this](int value) { gesetztespielereditChange(value); });
    m_page.handle(gemeldete_spieler, &QListWidget::itemPressed, [this](QListWidgetItem*) { gemeldete_spielerClick(); });
    m_page.handle(gesetztespielerliste, &QListWidget::itemPressed, [this](QListWidgetItem*) { gesetztespielerlisteClick(); });
    m_page.handle(gesetztespielerliste, &EntryList::dropped, [this](EntryList* source, int from, int to) {
        gesetztespielerlisteDragDrop(source, from, to);
    });
    m_page.handle(gemeldete_spieler, &EntryList::dropped, [this](EntryList* source, int from, int to) {
        gemeldete_spielerDragDrop(source, from, to);
    });
    m_page.handle(ohnepartner, &EntryList::dropped,
           [this](EntryList* source, int from, int to) { ohnepartnerDragDrop(source, from, to); });
    m_page.handle(uiButton7, &TuiButton::OnClick, [this] { uiButton7Click(); });
    m_page.handle(spielsystem_create, &TuiButton::OnClick, [this] { spielsystem_createClick(); });
    m_page.handle(zurauslosung, &TuiButton::OnClick, [this] { zurauslosungClick(); });
}

void GroupSetupPage::showSettings()
{
    const auto filling = m_page.fill();
    const GroupSettingsModel& settings = m_links.gruppe.settings();
    for (int p = 0; p < kPhaseCount; ++p) {
        const GroupSettingsModel::Phase& phase = settings.phase(p);
        spielsystempanel[size_t(p)]->setVisible(settings.phaseShown(p));
        spielsystem[size_t(p)]->button(int(phase.system))->setChecked(true);
        ph_gruppe[size_t(p)]->setVisible(phase.valuesShown);
        for (Value v : {Value::Gruppenanzahl, Value::Teilnehmer, Value::Beste, Value::Bestplazierte})
            valueEdit(p, v)->setValue(settings.value(p, v));
    }
}

void GroupSetupPage::showLists()
{
    const auto filling = m_page.fill();
    const Tgruppe& gruppe = m_links.gruppe;
    auto fill = [](QListWidget* list, const QList<GroupListEntry>& entries, bool coloured) {
        list->clear();
        for (const GroupListEntry& entry : entries) {
            auto* item = new QListWidgetItem(entry.text, list);
            // Entrants who have not checked in stand out in red.
            if (coloured)
                item->setForeground(entry.item.gemeldet ? Qt::black : Qt::red);
        }
    };
    fill(gemeldete_spieler, gruppe.gemeldete_spieler(), true);
    fill(gesetztespielerliste, gruppe.gesetztespielerliste(), false);
    fill(ohnepartner, gruppe.ohnepartner(), false);
    gesetztespieleredit->setValue(gruppe.gesetztespieleredit());
    spieleranzahl->setText(QString::number(gruppe.spieleranzahl()));
    doppelpanel->setVisible(gruppe.pairsClass());
}

bool GroupSetupPage::write(const std::function<void()>& body, const std::function<void()>& reload)
{
    const bool written = m_page.write(body, reload);
    showSettings();
    showLists();
    return written;
}

void GroupSetupPage::saved()
{
    m_page.set(m_links.gruppe.kid(), PageState::Mode::Unchanged);
}

void GroupSetupPage::openClass(const QString& caption)
{
    gruppeneinteilung->setCurrentWidget(allgemein1);
    StaticText22->setText(QStringLiteral("Gruppeneinteilung für ") + caption);
    QString name;
    ClassKind kind = ClassKind::Einzel;
    if (!splitClassCaption(caption, &name, &kind))
        return;
    // A failed read shows its error; the page then shows what was read.
    runGuarded(m_links.prompter, [&] {
        m_links.aktuelleKID = getKID(m_links.database(), m_links.aktuelleTID, kind, name);
        m_links.gruppe.laden(m_links.aktuelleKID, kind);
    });
    saved();
    showSettings();
    showLists();
    zurauslosung->setEnabled(true);
    spielsystem_create->setEnabled(true);
    const auto [entrantsLabel, seedsLabel] = listLabels(kind);
    StaticText11->setText(entrantsLabel);
    StaticText12->setText(seedsLabel);
}

void GroupSetupPage::spielsystemClick(int phase, int system)
{
    if (const std::optional<PlaySystem> chosen = playSystemOf(system))
        m_links.gruppe.settings().choose(phase, *chosen);
    m_page.edited();
    showSettings();
}

void GroupSetupPage::valueChange(int phase, Value value, int newValue)
{
    m_links.gruppe.settings().setValue(phase, value, newValue);
    m_page.edited();
    showSettings();
}

void GroupSetupPage::gesetztespielereditChange(int value)
{
    m_links.gruppe.setSeedCount(value);
    m_page.edited();
    showLists();
}

void GroupSetupPage::gemeldete_spielerClick()
{
    gesetztespielerliste->clearSelection();
}

void GroupSetupPage::gesetztespielerlisteClick()
{
    gemeldete_spieler->clearSelection();
}

void GroupSetupPage::gesetztespielerlisteDragDrop(EntryList* source, int sourceRow, int targetRow)
{
    Tgruppe& gruppe = m_links.gruppe;
    if ((source == gemeldete_spieler && gruppe.seed(sourceRow, targetRow)) ||
        (source == gesetztespielerliste && gruppe.swapSlots(sourceRow, targetRow)))
        m_page.edited();
    showLists();
}

void GroupSetupPage::gemeldete_spielerDragDrop(EntryList* source, int sourceRow, int targetRow)
{
    Tgruppe& gruppe = m_links.gruppe;
    if (source == gesetztespielerliste) {
        if (gruppe.emptySlot(sourceRow))
            m_page.edited();
        showLists();
    } else if (source == ohnepartner) {
        Tgruppe::PairOutcome outcome = Tgruppe::PairOutcome::Unchanged;
        write([&] { outcome = gruppe.pair(sourceRow, targetRow); }, [this] { m_links.gruppe.reloadEntrants(); });
        if (outcome == Tgruppe::PairOutcome::SameSex)
            m_links.prompter.warning(QStringLiteral("Beide Spieler haben das gleiche Geschlecht"));
    }
}

void GroupSetupPage::ohnepartnerDragDrop(EntryList* source, int sourceRow, int)
{
    // The class is loaded anew: what was not saved is gone.
    if (source == gemeldete_spieler && write([&] { m_links.gruppe.split(sourceRow); },
                                             [this] { m_links.gruppe.reloadEntrants(); }))
        saved();
}

void GroupSetupPage::uiButton7Click()
{
    if (m_links.gruppe.ohnepartner().isEmpty())
        return;
    if (!m_links.prompter.confirm(kRandomPairingQuestion))
        return;
    if (write([this] { m_links.gruppe.pairRandomly(m_links.random); }, [this] { m_links.gruppe.reloadEntrants(); })) {
        saved();
        m_links.prompter.information(QStringLiteral("Auslosung abgeschlossen!"));
    }
}

void GroupSetupPage::spielsystem_createClick()
{
    if (write([this] { m_links.gruppe.systemspeichern(); }))
        saved();
}

void GroupSetupPage::zurauslosungClick()
{
    if (const std::optional<QString> refusal = m_links.gruppe.drawRefusal()) {
        m_links.prompter.warning(*refusal);
        return;
    }
    if (!write([this] { m_links.gruppe.systemspeichern(); }))
        return;
    saved();
    m_links.openDraw();
}

} // namespace bw
