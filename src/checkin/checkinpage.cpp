#include "checkin/checkinpage.h"

#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"
#include "data/checkinrecords.h"
#include "platform/germantext.h"
#include "platform/prompter.h"
#include "results/tteam_melden.h"
#include "results/tteamauswahl.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QVBoxLayout>

Q_DECLARE_METATYPE(bw::Myitem)

namespace bw {

namespace {

constexpr int kItemRole = Qt::UserRole;
constexpr int kEntryHeight = 16;

// A selected entry on the highlight colour in white; any other on white in the
// colour of its state. The text starts 5 pixels from the left.
class CheckInDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const Myitem item = index.data(kItemRole).value<Myitem>();
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(option.rect, selected ? option.palette.highlight().color() : QColor(Qt::white));
        painter->setPen(selected ? QColor(Qt::white) : checkInColour(item));
        painter->setFont(option.font);
        painter->drawText(option.rect.adjusted(5, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, index.data().toString());
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), kEntryHeight};
    }
};

QLabel* boldLabel(const QString& text, const QColor& colour, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
    return label;
}

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// CTRL as the only modifier; the keypad's mark does not count.
bool onlyControl(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & ~Qt::KeypadModifier) == Qt::ControlModifier;
}

QListWidget* makeList(const char* name, QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setItemDelegate(new CheckInDelegate(list));
    list->setUniformItemSizes(true);
    list->setMouseTracking(true);
    return list;
}

TuiButton* makeButton(const char* name, const QString& caption, QWidget* parent)
{
    auto* button = new TuiButton(parent, QLatin1String(name), caption);
    button->setMinimumSize(150, 25);
    return button;
}

} // namespace

TypedName splitTypedName(const QString& text)
{
    for (QChar separator : {QLatin1Char(','), QLatin1Char(' ')}) {
        const int at = text.indexOf(separator);
        if (at >= 0)
            return {text.left(at).trimmed(), text.mid(at + 1).trimmed()};
    }
    return {text, QString()};
}

QColor checkInColour(const Myitem& item)
{
    if (item.gemeldet)
        return Qt::black;
    if (item.teilgemeldet)
        return Qt::blue;
    return Qt::red;
}

CheckInPage::CheckInPage(const CheckInPageLinks& links, QWidget* parent)
    : QWidget(parent), m_links(links), m_page(this, links.prompter)
{
    setObjectName(QStringLiteral("CheckInPage"));
    Titel = new QLabel(QStringLiteral("Spieleranmeldung"), this);
    Titel->setObjectName(QStringLiteral("Titel"));
    QFont title = Titel->font();
    title.setBold(true);
    title.setPointSize(title.pointSize() + 4);
    Titel->setFont(title);

    meldetab = new QTabBar(this);
    meldetab->setObjectName(QStringLiteral("meldetab"));
    meldetab->setExpanding(false);
    meldetab->setUsesScrollButtons(true);
    meldetab->addTab(QStringLiteral("Alle"));
    meldetab->setTabData(0, 0);

    const QString keyHint = QStringLiteral("ENTER=anmelden, STRG+ENTER=Neuen Spieler anlegen");
    auto* playerLabel = new QLabel(QStringLiteral("Spieler anmelden (Nachname, Vorname)"), this);
    spieler_anmeldung = new QLineEdit(this);
    spieler_anmeldung->setObjectName(QStringLiteral("spieler_anmeldung"));
    spieler_anmeldung->setToolTip(keyHint);
    anmeldecheck = new TuiCheckbox(this, QStringLiteral("anmeldecheck"), QStringLiteral("angemeldet"));
    RadioGroup1 = new QGroupBox(QStringLiteral("Sortiert nach"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1Buttons = new QButtonGroup(this);
    {
        auto* row = new QHBoxLayout(RadioGroup1);
        int id = 0;
        for (const QString& text : {QStringLiteral("Nachname"), QStringLiteral("Verein")}) {
            auto* button = new QRadioButton(text, RadioGroup1);
            RadioGroup1Buttons->addButton(button, id++);
            row->addWidget(button);
        }
        RadioGroup1Buttons->button(0)->setChecked(true);
    }
    anmeldeliste = makeList("anmeldeliste", this);
    uiButton2 = makeButton("uiButton2", QStringLiteral("alle Spieler anmelden"), this);
    uiButton3 = makeButton("uiButton3", QStringLiteral("alle Spieler abmelden"), this);
    Label1 = boldLabel(QStringLiteral("Alle angem."), Qt::black, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = boldLabel(QStringLiteral("Teilweise angem."), Qt::blue, this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = boldLabel(QStringLiteral("Nicht angem."), Qt::red, this);
    Label3->setObjectName(QStringLiteral("Label3"));

    StaticText91 = new QLabel(QStringLiteral("Team anmelden (Teamname)"), this);
    StaticText91->setObjectName(QStringLiteral("StaticText91"));
    team_anmeldung = new QLineEdit(this);
    team_anmeldung->setObjectName(QStringLiteral("team_anmeldung"));
    team_anmeldung->setToolTip(keyHint);
    teammeldecheck = new TuiCheckbox(this, QStringLiteral("teammeldecheck"), QStringLiteral("angemeldet"));
    RadioGroup2 = new QGroupBox(QStringLiteral("Sortiert nach"), this);
    RadioGroup2->setObjectName(QStringLiteral("RadioGroup2"));
    {
        auto* row = new QHBoxLayout(RadioGroup2);
        auto* byName = new QRadioButton(QStringLiteral("Teamname"), RadioGroup2);
        byName->setChecked(true);
        row->addWidget(byName);
        m_page.handle(byName, &QRadioButton::clicked, [this] { RadioGroup1Click(); });
    }
    teammeldeliste = makeList("teammeldeliste", this);
    uiButton4 = makeButton("uiButton4", QStringLiteral("alle Teams anmelden"), this);
    uiButton5 = makeButton("uiButton5", QStringLiteral("alle Teams abmelden"), this);

    // Layout: the tabs on top, players left, teams right, the help texts below.
    auto* players = new QVBoxLayout;
    players->addWidget(playerLabel);
    players->addWidget(spieler_anmeldung);
    players->addWidget(anmeldecheck);
    players->addWidget(RadioGroup1);
    players->addWidget(anmeldeliste, 1);
    auto* legend = new QHBoxLayout;
    legend->addWidget(Label1);
    legend->addWidget(Label2);
    legend->addWidget(Label3);
    legend->addStretch();
    players->addLayout(legend);
    players->addWidget(uiButton2);
    players->addWidget(uiButton3);

    auto* teams = new QVBoxLayout;
    teams->addWidget(StaticText91);
    teams->addWidget(team_anmeldung);
    teams->addWidget(teammeldecheck);
    teams->addWidget(RadioGroup2);
    teams->addWidget(teammeldeliste, 1);
    teams->addSpacing(Label1->sizeHint().height());
    teams->addWidget(uiButton4);
    teams->addWidget(uiButton5);

    auto* columns = new QHBoxLayout;
    columns->addLayout(players, 1);
    columns->addLayout(teams, 1);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(Titel);
    outer->addWidget(meldetab);
    outer->addLayout(columns, 1);
    outer->addWidget(new QLabel(QStringLiteral("ENTER zum Spieler/Team anmelden"), this));
    outer->addWidget(new QLabel(QStringLiteral("STRG + ENTER Neuer Spieler/Team anlegen"), this));

    m_page.handle(meldetab, &QTabBar::currentChanged, [this](int index) { meldetabChange(index); });
    m_page.handle(RadioGroup1Buttons, &QButtonGroup::idClicked, [this] { RadioGroup1Click(); });
    m_page.handle(spieler_anmeldung, &QLineEdit::textEdited,
                  [this](const QString& text) { spieler_anmeldungChange(text); });
    m_page.handle(anmeldeliste, &QListWidget::itemClicked, [this] { anmeldelisteClick(); });
    m_page.handle(anmeldeliste, &QListWidget::itemDoubleClicked, [this] { anmeldelisteDblClick(); });
    m_page.handle(anmeldecheck, &TuiCheckbox::OnClick, [this] { anmeldeCheckClick(); });
    m_page.handle(uiButton2, &TuiButton::OnClick, [this] { uiButton2Click(); });
    m_page.handle(uiButton3, &TuiButton::OnClick, [this] { uiButton3Click(); });
    m_page.handle(team_anmeldung, &QLineEdit::textEdited, [this](const QString& text) { team_anmeldungChange(text); });
    m_page.handle(teammeldeliste, &QListWidget::itemClicked, [this] { teammeldelisteClick(); });
    m_page.handle(teammeldeliste, &QListWidget::itemDoubleClicked, [this] { teammeldelisteDblClick(); });
    m_page.handle(teammeldecheck, &TuiCheckbox::OnClick, [this] { teammeldecheckClick(); });
    m_page.handle(uiButton4, &TuiButton::OnClick, [this] { uiButton4Click(); });
    m_page.handle(uiButton5, &TuiButton::OnClick, [this] { uiButton5Click(); });
    // The check boxes show the entries the lists select, whatever selected
    // them (a click, a key, a reload, another tab); unticked when none is.
    connect(anmeldeliste, &QListWidget::currentRowChanged, this,
            [this](int row) { anmeldecheck->SetChecked(item(anmeldeliste, row).gemeldet); });
    connect(teammeldeliste, &QListWidget::currentRowChanged, this,
            [this](int row) { teammeldecheck->SetChecked(item(teammeldeliste, row).gemeldet); });
    for (QObject* watched : {static_cast<QObject*>(spieler_anmeldung), static_cast<QObject*>(anmeldeliste),
                             static_cast<QObject*>(team_anmeldung), static_cast<QObject*>(teammeldeliste)})
        watched->installEventFilter(this);
    anmeldeliste->viewport()->installEventFilter(this);
    teammeldeliste->viewport()->installEventFilter(this);
}

Myitem CheckInPage::item(const QListWidget* list, int row)
{
    const QListWidgetItem* entry = list->item(row);
    return entry ? entry->data(kItemRole).value<Myitem>() : Myitem();
}

void CheckInPage::setItem(QListWidget* list, int row, const Myitem& item)
{
    if (QListWidgetItem* entry = list->item(row))
        entry->setData(kItemRole, QVariant::fromValue(item));
}

int CheckInPage::currentClass() const
{
    return meldetab->currentIndex() >= 0 ? meldetab->tabData(meldetab->currentIndex()).toInt() : 0;
}

void CheckInPage::selectRow(QListWidget* list, int row)
{
    if (row >= 0 && row < list->count())
        list->setCurrentRow(row);
}

void CheckInPage::fillPlayers(const QList<Myitem>& players)
{
    for (const Myitem& p : players) {
        auto* entry = new QListWidgetItem(playerEntryText(p), anmeldeliste);
        entry->setData(kItemRole, QVariant::fromValue(p));
    }
}

void CheckInPage::fillTeams(const QList<Myitem>& teams)
{
    for (const Myitem& t : teams) {
        auto* entry = new QListWidgetItem(t.name, teammeldeliste);
        entry->setData(kItemRole, QVariant::fromValue(t));
    }
}

void CheckInPage::showTeamControls(bool visible)
{
    for (QWidget* w : {static_cast<QWidget*>(teammeldeliste), static_cast<QWidget*>(StaticText91),
                       static_cast<QWidget*>(team_anmeldung), static_cast<QWidget*>(RadioGroup2),
                       static_cast<QWidget*>(teammeldecheck), static_cast<QWidget*>(uiButton4),
                       static_cast<QWidget*>(uiButton5)})
        w->setVisible(visible);
}

void CheckInPage::SpielerbuttonItems1Click()
{
    if (m_links.bringToFront)
        m_links.bringToFront();
    reloadPage();
}

void CheckInPage::reloadPage()
{
    const auto filling = m_page.fill();
    anmeldeliste->clear();
    teammeldeliste->clear();
    spieler_anmeldung->clear();
    team_anmeldung->clear();
    showTeamControls(true);
    // The class tabs are made anew; the page shows "Alle" afterwards.
    while (meldetab->count() > 1)
        meldetab->removeTab(meldetab->count() - 1);
    meldetab->setCurrentIndex(0);
    const QSqlDatabase db = m_links.database();
    for (const CheckInTab& tab : checkInTabs(db, m_links.aktuelleTID)) {
        const int index = meldetab->addTab(tab.text);
        meldetab->setTabData(index, tab.kid);
    }
    fillPlayers(bw::allPlayers(db, m_links.aktuelleTID, CheckInOrder::Name));
    fillTeams(checkInTeams(db, m_links.aktuelleTID, 0));
    selectRow(anmeldeliste, 0);
    selectRow(teammeldeliste, 0);
}

void CheckInPage::meldetabChange(int index)
{
    if (index < 0)
        return;
    const int kid = meldetab->tabData(index).toInt();
    if (kid == 0) {
        reloadPage();
        return;
    }
    const auto filling = m_page.fill();
    anmeldeliste->clear();
    teammeldeliste->clear();
    team_anmeldung->clear();
    anmeldecheck->setVisible(true);
    const QSqlDatabase db = m_links.database();
    const bool teamClass = meldetab->tabText(index).endsWith(QLatin1String("(Team)"));
    showTeamControls(teamClass);
    if (teamClass) {
        fillTeams(checkInTeams(db, m_links.aktuelleTID, kid));
        selectRow(teammeldeliste, 0);
    }
    fillPlayers(classPlayers(db, m_links.aktuelleTID, kid, CheckInOrder::Name));
    selectRow(anmeldeliste, 0);
}

void CheckInPage::reloadPlayers()
{
    const auto filling = m_page.fill();
    anmeldeliste->clear();
    const CheckInOrder order = RadioGroup1Buttons->checkedId() == 1 ? CheckInOrder::Club : CheckInOrder::Name;
    const int kid = currentClass();
    const QSqlDatabase db = m_links.database();
    fillPlayers(kid == 0 ? bw::allPlayers(db, m_links.aktuelleTID, order)
                         : classPlayers(db, m_links.aktuelleTID, kid, order));
    selectRow(anmeldeliste, 0);
}

void CheckInPage::reloadAfterWrite(int kid)
{
    if (kid == 0) {
        reloadPage();
        return;
    }
    const auto filling = m_page.fill();
    anmeldeliste->clear();
    fillPlayers(classPlayers(m_links.database(), m_links.aktuelleTID, kid, CheckInOrder::Name));
}

void CheckInPage::reloadShown()
{
    const auto filling = m_page.fill();
    const QSqlDatabase db = m_links.database();
    const int tid = m_links.aktuelleTID;
    const int kid = currentClass();
    const int playerRow = anmeldeliste->currentRow();
    const CheckInOrder order = RadioGroup1Buttons->checkedId() == 1 ? CheckInOrder::Club : CheckInOrder::Name;
    anmeldeliste->clear();
    fillPlayers(kid == 0 ? bw::allPlayers(db, tid, order) : classPlayers(db, tid, kid, order));
    selectRow(anmeldeliste, playerRow);
    anmeldecheck->SetChecked(item(anmeldeliste, anmeldeliste->currentRow()).gemeldet);
    if (!teammeldeliste->isHidden()) {
        const int teamRow = teammeldeliste->currentRow();
        teammeldeliste->clear();
        fillTeams(checkInTeams(db, tid, kid));
        selectRow(teammeldeliste, teamRow);
        teammeldecheck->SetChecked(item(teammeldeliste, teammeldeliste->currentRow()).gemeldet);
    }
}

void CheckInPage::RadioGroup1Click()
{
    spieler_anmeldung->clear();
    reloadPlayers();
}

void CheckInPage::spieler_anmeldungChange(const QString& text)
{
    // The first player by name whose surname begins with the text, when he is listed.
    const QCollator collator = german::collator();
    int best = -1;
    for (int row = 0; row < anmeldeliste->count(); ++row) {
        const Myitem p = item(anmeldeliste, row);
        const QString surname = p.name.section(QStringLiteral(", "), 0, 0);
        if (!german::startsWithIgnoringCase(surname, text))
            continue;
        if (best < 0 || collator.compare(p.name, item(anmeldeliste, best).name) < 0)
            best = row;
    }
    if (best < 0)
        return;
    anmeldeliste->setCurrentRow(best);
    anmeldecheck->SetChecked(item(anmeldeliste, best).gemeldet);
}

void CheckInPage::team_anmeldungChange(const QString& text)
{
    for (int row = 0; row < teammeldeliste->count(); ++row) {
        const Myitem t = item(teammeldeliste, row);
        if (german::startsWithIgnoringCase(t.name, text)) {
            teammeldeliste->setCurrentRow(row);
            teammeldecheck->SetChecked(t.gemeldet);
            return;
        }
    }
}

void CheckInPage::anmeldelisteClick()
{
    const int row = anmeldeliste->currentRow();
    if (row < 0)
        return;
    const Myitem p = item(anmeldeliste, row);
    spieler_anmeldung->setText(p.name);
    anmeldecheck->SetChecked(p.gemeldet);
}

void CheckInPage::teammeldelisteClick()
{
    const int row = teammeldeliste->currentRow();
    if (row < 0)
        return;
    const Myitem t = item(teammeldeliste, row);
    team_anmeldung->setText(t.name);
    teammeldecheck->SetChecked(t.gemeldet);
}

void CheckInPage::togglePlayer(bool newState)
{
    const int row = anmeldeliste->currentRow();
    if (row < 0)
        return;
    const int kid = currentClass();
    Myitem p = item(anmeldeliste, row);
    const bool written = m_page.write(
        [&] { spieleranmeldung(m_links.database(), m_links.aktuelleTID, p.ID, newState, kid); },
        [this] { reloadShown(); });
    if (!written)
        return;
    p.gemeldet = newState;
    if (kid == 0)
        p.teilgemeldet = newState;
    setItem(anmeldeliste, row, p);
    anmeldecheck->SetChecked(newState);
}

void CheckInPage::anmeldelisteDblClick()
{
    const int row = anmeldeliste->currentRow();
    if (row >= 0)
        togglePlayer(!item(anmeldeliste, row).gemeldet);
}

void CheckInPage::anmeldeCheckClick()
{
    togglePlayer(anmeldecheck->Checked());
}

bool CheckInPage::spieler_anmeldungKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (isEnter(key) && onlyControl(modifiers)) {
        if (m_links.newPlayer)
            m_links.newPlayer(splitTypedName(spieler_anmeldung->text()));
        return true;
    }
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        const int row = anmeldeliste->currentRow() + (key == Qt::Key_Up ? -1 : 1);
        if (row >= 0 && row < anmeldeliste->count()) {
            anmeldeliste->setCurrentRow(row);
            anmeldelisteClick();
        }
        return true;
    }
    if (isEnter(key)) {
        anmeldelisteDblClick();
        return true;
    }
    return false;
}

bool CheckInPage::anmeldelisteKeyDown(int key, Qt::KeyboardModifiers)
{
    if (!isEnter(key))
        return false;
    anmeldelisteDblClick();
    return true;
}

bool CheckInPage::team_anmeldungKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        const int row = teammeldeliste->currentRow() + (key == Qt::Key_Up ? -1 : 1);
        if (row >= 0 && row < teammeldeliste->count()) {
            teammeldeliste->setCurrentRow(row);
            teammeldelisteClick();
        }
        return true;
    }
    return teammeldelisteKeyDown(key, modifiers);
}

bool CheckInPage::teammeldelisteKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (!isEnter(key))
        return false;
    if (onlyControl(modifiers))
        newTeam();
    else
        teammeldelisteDblClick();
    return true;
}

void CheckInPage::newTeam()
{
    Tteamauswahl& dialog = m_links.teamauswahl;
    m_links.showWorkDialog(&dialog);
    dialog.newClick();
    dialog.ComboBox1->setEditText(team_anmeldung->text());
}

void CheckInPage::toggleTeam(bool newState)
{
    const int row = teammeldeliste->currentRow();
    if (row < 0)
        return;
    const Myitem old = item(teammeldeliste, row);
    const int kid = currentClass();
    // The box shows the stored state until the members are read.
    teammeldecheck->SetChecked(old.gemeldet);
    Tteam_melden& dialog = m_links.team_melden;
    dialog.prepare(newState);
    dialog.FormActivate(teamMembers(m_links.database(), old.ID));
    // The entry shows the state asked for while the dialog is open.
    Myitem pending = old;
    pending.gemeldet = newState;
    setItem(teammeldeliste, row, pending);
    teammeldecheck->SetChecked(newState);
    // The dialog only asks; the team and the ticked members are written after
    // it, in one short transaction, so no desk waits on an open dialog.
    if (m_links.execModal(dialog) != QDialog::Accepted) {
        // Cancelled: nothing was written; the entry shows its state again.
        setItem(teammeldeliste, row, old);
        teammeldecheck->SetChecked(old.gemeldet);
        teammeldeliste->viewport()->update();
        return;
    }
    const bool written = m_page.write(
        [&] {
            teamanmeldung(m_links.database(), m_links.aktuelleTID, old.ID, newState, kid, dialog.tickedMembers(),
                          kid != 0 ? kid : old.partnerID);
        },
        [this] { reloadShown(); });
    if (written)
        reloadAfterWrite(kid);
}

void CheckInPage::teammeldelisteDblClick()
{
    const int row = teammeldeliste->currentRow();
    if (row >= 0)
        toggleTeam(!item(teammeldeliste, row).gemeldet);
}

void CheckInPage::teammeldecheckClick()
{
    toggleTeam(teammeldecheck->Checked());
}

void CheckInPage::allPlayers(bool flag)
{
    QList<int> sids;
    for (int row = 0; row < anmeldeliste->count(); ++row)
        sids << item(anmeldeliste, row).ID;
    const int kid = currentClass();
    QProgressBar* bar = m_links.progressBar;
    if (bar)
        bar->setValue(0);
    const int step = sids.isEmpty() ? 0 : 100 / int(sids.size());
    const bool written = m_page.write(
        [&] {
            setPlayersCheckIn(m_links.database(), m_links.aktuelleTID, sids, flag, kid, [&](int, int) {
                if (bar)
                    bar->setValue(std::min(bar->maximum(), bar->value() + step));
            });
        },
        [this] { reloadShown(); });
    if (bar)
        bar->setValue(0);
    if (written)
        reloadAfterWrite(kid);
}

void CheckInPage::uiButton2Click()
{
    allPlayers(true);
}

void CheckInPage::uiButton3Click()
{
    allPlayers(false);
}

void CheckInPage::allTeams(bool flag)
{
    QList<Myitem> teams;
    for (int row = 0; row < teammeldeliste->count(); ++row)
        teams << item(teammeldeliste, row);
    const int kid = currentClass();
    if (!m_page.write([&] { setTeamsCheckIn(m_links.database(), m_links.aktuelleTID, teams, flag, kid); },
                      [this] { reloadShown(); }))
        return;
    for (int row = 0; row < teammeldeliste->count(); ++row) {
        Myitem t = item(teammeldeliste, row);
        t.gemeldet = flag;
        setItem(teammeldeliste, row, t);
    }
    reloadAfterWrite(kid);
    teammeldeliste->viewport()->update();
}

void CheckInPage::uiButton4Click()
{
    allTeams(true);
}

void CheckInPage::uiButton5Click()
{
    allTeams(false);
}

bool CheckInPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        // The key handlers run guarded like the connected ones.
        auto* key = static_cast<QKeyEvent*>(event);
        bool used = false;
        runGuarded(m_links.prompter, [&] {
            if (watched == spieler_anmeldung)
                used = spieler_anmeldungKeyDown(key->key(), key->modifiers());
            else if (watched == anmeldeliste)
                used = anmeldelisteKeyDown(key->key(), key->modifiers());
            else if (watched == team_anmeldung)
                used = team_anmeldungKeyDown(key->key(), key->modifiers());
            else if (watched == teammeldeliste)
                used = teammeldelisteKeyDown(key->key(), key->modifiers());
        });
        if (used)
            return true;
    }
    // Moving the mouse over a list gives it the keyboard focus.
    if (event->type() == QEvent::MouseMove) {
        if (watched == anmeldeliste->viewport())
            anmeldeliste->setFocus();
        else if (watched == teammeldeliste->viewport())
            teammeldeliste->setFocus();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace bw
