#include "results/tteamauswahl.h"

#include "controls/uibuttons.h"
#include "data/teamrecords.h"
#include "platform/prompter.h"

#include <QComboBox>
#include <QScrollBar>
#include <QDragEnterEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>

namespace bw {

namespace {

constexpr int kIdRole = Qt::UserRole;

// Slots: every entry on white in black, its number and "." at 1 pixel, the
// player at 10 pixels; the selection is not shown.
class SlotDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        painter->save();
        painter->fillRect(option.rect, Qt::white);
        painter->setPen(Qt::black);
        painter->setFont(option.font);
        const QRect r = option.rect;
        painter->drawText(r.adjusted(1, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                          QString::number(index.row() + 1) + QLatin1Char('.'));
        const QRect name = r.adjusted(10 + option.fontMetrics.horizontalAdvance(QStringLiteral("0")), 0, 0, 0);
        painter->drawText(name, Qt::AlignVCenter | Qt::AlignLeft,
                          option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, name.width()));
        painter->restore();
    }
};

// Registered players: the selected one on the highlight colour in white, the
// others on white, blue when they are in a team of the class, else black.
class RegisteredDelegate : public QStyledItemDelegate {
public:
    RegisteredDelegate(const QSet<int>& assigned, QObject* parent) : QStyledItemDelegate(parent), m_assigned(assigned) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        painter->save();
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, selected ? option.palette.highlight().color() : QColor(Qt::white));
        QColor text = Qt::black;
        if (selected)
            text = Qt::white;
        else if (m_assigned.contains(index.data(kIdRole).toInt()))
            text = Qt::blue;
        painter->setPen(text);
        painter->setFont(option.font);
        painter->drawText(option.rect.adjusted(5, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, index.data().toString());
        painter->restore();
    }

private:
    const QSet<int>& m_assigned;
};

QLabel* caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

QList<int> slotIds(const QListWidget* list)
{
    QList<int> ids;
    for (int row = 0; row < list->count(); ++row)
        ids << Tteamauswahl::entryId(list, row);
    return ids;
}

} // namespace

TeamDragList::TeamDragList(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
}

void TeamDragList::dragEnterEvent(QDragEnterEvent* event)
{
    auto* source = qobject_cast<QListWidget*>(event->source());
    if (source && accepts && accepts(source)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void TeamDragList::dragMoveEvent(QDragMoveEvent* event)
{
    auto* source = qobject_cast<QListWidget*>(event->source());
    const int row = indexAt(event->position().toPoint()).row();
    if (source && accepts && accepts(source) && row >= 0) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void TeamDragList::dropEvent(QDropEvent* event)
{
    auto* source = qobject_cast<QListWidget*>(event->source());
    const int row = indexAt(event->position().toPoint()).row();
    // The drop is handled here; the source never removes the dragged entry itself.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (source && row >= 0 && dropped)
        dropped(source, row);
}

Tteamauswahl::Tteamauswahl(QWidget* parent, Prompter& prompter, std::function<QSqlDatabase()> database,
                           std::function<int()> tournament)
    : QDialog(parent), m_prompter(prompter), m_database(std::move(database)), m_tournament(std::move(tournament))
{
    setObjectName(QStringLiteral("teamauswahl"));
    setWindowTitle(QStringLiteral("Team bearbeiten"));

    auto makeList = [this](const char* name) {
        auto* list = new TeamDragList(this);
        list->setObjectName(QLatin1String(name));
        return list;
    };
    ListBox6 = makeList("ListBox6");
    ListBox3 = makeList("ListBox3");
    ListBox1 = makeList("ListBox1");
    ListBox2 = makeList("ListBox2");
    ListBox4 = makeList("ListBox4");
    ListBox5 = makeList("ListBox5");
    ListBox6->setDragEnabled(false);
    ListBox6->setAcceptDrops(false);
    ListBox3->setItemDelegate(new RegisteredDelegate(m_assigned, ListBox3));
    for (QListWidget* list : {ListBox1, ListBox2, ListBox4, ListBox5})
        list->setItemDelegate(new SlotDelegate(list));
    for (TeamDragList* list : {ListBox3, ListBox1, ListBox2, ListBox4, ListBox5}) {
        list->accepts = [this, list](QListWidget* source) { return ListBoxDragOver(list, source); };
        list->dropped = [this, list](QListWidget* source, int row) { ListBoxDragDrop(list, source, row); };
    }
    // The slot lists show all their slots: no scroll bar covers the last one,
    // a long name ends in "…".
    for (QListWidget* list : {ListBox1, ListBox2, ListBox4, ListBox5}) {
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    fitSlots(ListBox1, 4);
    for (QListWidget* list : {ListBox2, ListBox4, ListBox5})
        fitSlots(list, 2);

    teamklasse = new QLabel(this);
    teamklasse->setObjectName(QStringLiteral("teamklasse"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));

    ok = new TuiButton(this, QStringLiteral("ok"), QStringLiteral("Übernehmen"));
    newButton = new TuiButton(this, QStringLiteral("new"), QStringLiteral("Neues Team"));
    deleteButton = new TuiButton(this, QStringLiteral("delete"), QStringLiteral("Team löschen"));
    cancel = new TuiButton(this, QStringLiteral("cancel"), QStringLiteral("Zurück"));

    auto* left = new QVBoxLayout;
    left->addWidget(caption(QStringLiteral("Turnierklassen"), this));
    left->addWidget(ListBox6, 1);
    left->addWidget(teamklasse);
    left->addWidget(caption(QStringLiteral("Gemeldete Spieler"), this));
    left->addWidget(ListBox3, 3);
    auto* legend = new QHBoxLayout;
    auto* open = caption(QStringLiteral("Offen"), this);
    auto* assigned = caption(QStringLiteral("Zugeordnet"), this);
    assigned->setStyleSheet(QStringLiteral("color: blue"));
    legend->addWidget(open);
    legend->addWidget(assigned);
    legend->addStretch();
    left->addLayout(legend);

    auto* right = new QGridLayout;
    int row = 0;
    right->addWidget(caption(QStringLiteral("Teamname"), this), row, 0);
    right->addWidget(ComboBox1, row++, 1);
    right->addWidget(caption(QStringLiteral("Verein"), this), row, 0);
    right->addWidget(ComboBox2, row++, 1);
    const std::pair<const char*, QListWidget*> slotLists[] = {
        {"Spieler", ListBox1}, {"Reservespieler", ListBox2}, {"Doppel 1", ListBox4}, {"Doppel 2", ListBox5}};
    for (const auto& [text, list] : slotLists) {
        right->addWidget(caption(QString::fromUtf8(text), this), row, 0, Qt::AlignTop);
        right->addWidget(list, row++, 1);
    }
    right->setRowStretch(row, 1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(newButton);
    buttons->addWidget(deleteButton);
    buttons->addStretch();
    buttons->addWidget(cancel);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(columns, 1);
    outer->addLayout(buttons);
    resize(620, 460);

    connect(ListBox6, &QListWidget::itemClicked, this, &Tteamauswahl::ListBox6Click);
    connect(ListBox3, &QListWidget::itemClicked, this, &Tteamauswahl::ListBox3Click);
    connect(ComboBox1, &QComboBox::activated, this, &Tteamauswahl::ComboBox1Select);
    connect(ok, &TuiButton::OnClick, this, &Tteamauswahl::okClick);
    connect(newButton, &TuiButton::OnClick, this, &Tteamauswahl::newClick);
    connect(deleteButton, &TuiButton::OnClick, this, &Tteamauswahl::deleteClick);
    connect(cancel, &TuiButton::OnClick, this, &Tteamauswahl::cancelClick);
}

int Tteamauswahl::entryId(const QListWidget* list, int row)
{
    const QListWidgetItem* item = list->item(row);
    return item ? item->data(kIdRole).toInt() : 0;
}

int Tteamauswahl::currentClass() const
{
    return ListBox6->currentRow() >= 0 ? entryId(ListBox6, ListBox6->currentRow()) : 0;
}

void Tteamauswahl::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        runGuarded(m_prompter, [this] { FormShow(); });
}

void Tteamauswahl::clearAll()
{
    for (QListWidget* list : {ListBox6, ListBox3, ListBox1, ListBox2, ListBox4, ListBox5})
        list->clear();
    ComboBox1->clear();
    ComboBox1->setEditText(QString());
    ComboBox2->clear();
    teamklasse->clear();
    m_assigned.clear();
}

void Tteamauswahl::FormShow()
{
    clearAll();
    for (const NamedId& c : teamClasses(m_database(), m_tournament())) {
        auto* item = new QListWidgetItem(c.name, ListBox6);
        item->setData(kIdRole, c.id);
    }
    if (ListBox6->count() == 0)
        return;
    ListBox6->setCurrentRow(0);
    teamsladen(entryId(ListBox6, 0));
}

void Tteamauswahl::ListBox6Click()
{
    const int row = ListBox6->currentRow();
    if (row < 0)
        return;
    runGuarded(m_prompter, [&] {
        for (QListWidget* list : {ListBox3, ListBox1, ListBox2, ListBox4, ListBox5})
            list->clear();
        ComboBox1->clear();
        ComboBox1->setEditText(QString());
        ComboBox2->clear();
        teamsladen(entryId(ListBox6, row));
    });
}

void Tteamauswahl::makeSlots(QListWidget* list, int count)
{
    list->clear();
    for (int i = 0; i < count; ++i) {
        auto* item = new QListWidgetItem(QString(), list);
        item->setData(kIdRole, 0);
    }
    fitSlots(list, count);
}

void Tteamauswahl::fitSlots(QListWidget* list, int count)
{
    const int row = std::max(list->fontMetrics().height() + 4, list->count() > 0 ? list->sizeHintForRow(0) : 0);
    list->setFixedHeight(std::max(1, count) * row + 2 * list->frameWidth());
}

void Tteamauswahl::setSlot(QListWidget* list, int row, int sid, const QString& text)
{
    QListWidgetItem* item = list->item(row);
    if (!item)
        return;
    item->setText(text);
    item->setData(kIdRole, sid);
}

void Tteamauswahl::teamsladen(int kid)
{
    const QSqlDatabase db = m_database();
    if (QListWidgetItem* item = ListBox6->currentItem())
        teamklasse->setText(item->text());
    ListBox3->clear();
    for (const NamedId& p : registeredPlayers(db, kid)) {
        auto* item = new QListWidgetItem(p.name, ListBox3);
        item->setData(kIdRole, p.id);
    }
    ComboBox2->clear();
    ComboBox2->addItems(registeredClubs(db, kid));
    ComboBox2->setCurrentIndex(-1);
    ComboBox1->clear();
    for (const NamedId& t : classTeamList(db, kid))
        ComboBox1->addItem(t.name, t.id);
    ComboBox1->setEditText(QString());
    const auto [players, reserves] = teamFormatSize(db, kid);
    makeSlots(ListBox1, players);
    makeSlots(ListBox2, reserves);
    makeSlots(ListBox4, 2);
    makeSlots(ListBox5, 2);
    m_assigned = playersInTeams(db, kid);
    deleteButton->setEnabled(false);
    if (ComboBox1->count() > 0) {
        ComboBox1->setCurrentIndex(0);
        if (const std::optional<TeamRow> team = readTeam(db, ComboBox1->itemData(0).toInt())) {
            deleteButton->setEnabled(true);
            showTeam(*team);
        }
    }
    ListBox3->viewport()->update();
}

QString Tteamauswahl::slotText(int sid) const
{
    for (int row = 0; row < ListBox3->count(); ++row) {
        if (entryId(ListBox3, row) == sid)
            return ListBox3->item(row)->text();
    }
    return playerName(m_database(), sid).value_or(QString());
}

void Tteamauswahl::showTeam(const TeamRow& team)
{
    ComboBox2->setCurrentIndex(ComboBox2->findText(team.verein));
    const std::pair<QListWidget*, int> lists[] = {{ListBox1, 0}, {ListBox2, 4}, {ListBox4, 6}, {ListBox5, 8}};
    for (const auto& [list, first] : lists) {
        for (int row = 0; row < list->count(); ++row) {
            const int sid = team.slotColumns.value(first + row).toInt();
            const QString text = sid > 0 ? slotText(sid) : QString();
            setSlot(list, row, text.isEmpty() ? 0 : sid, text);
        }
    }
}

void Tteamauswahl::ComboBox1Select(int index)
{
    if (index < 0)
        return;
    runGuarded(m_prompter, [&] {
        deleteButton->setEnabled(true);
        if (const std::optional<TeamRow> team = readTeam(m_database(), ComboBox1->itemData(index).toInt()))
            showTeam(*team);
    });
}

void Tteamauswahl::ListBox3Click()
{
    const int row = ListBox3->currentRow();
    const int kid = currentClass();
    if (row < 0 || kid == 0)
        return;
    runGuarded(m_prompter, [&] {
        const QSqlDatabase db = m_database();
        const std::optional<NamedId> team = teamOfPlayer(db, kid, entryId(ListBox3, row));
        if (!team)
            return;
        const std::optional<TeamRow> rowData = readTeam(db, team->id);
        if (!rowData)
            return;
        ComboBox1->setCurrentIndex(ComboBox1->findData(team->id));
        ComboBox1->setEditText(team->name);
        deleteButton->setEnabled(true);
        showTeam(*rowData);
    });
}

bool Tteamauswahl::isSlotList(const QListWidget* list) const
{
    return list == ListBox1 || list == ListBox2 || list == ListBox4 || list == ListBox5;
}

bool Tteamauswahl::ListBoxDragOver(QListWidget* target, QListWidget* source) const
{
    if (target == ListBox1 || target == ListBox2)
        return source == ListBox3 || isSlotList(source);
    if (target == ListBox4 || target == ListBox5)
        return isSlotList(source);
    if (target == ListBox3)
        return isSlotList(source);
    return false;
}

void Tteamauswahl::ListBoxDragDrop(QListWidget* target, QListWidget* source, int row)
{
    const int from = source->currentRow();
    if (!ListBoxDragOver(target, source) || from < 0 || row < 0 || row >= target->count())
        return;
    QListWidgetItem* dragged = source->item(from);
    const int sid = dragged->data(kIdRole).toInt();
    const QString text = dragged->text();

    if (target == ListBox3) {
        runGuarded(m_prompter, [&] {
            if ((source == ListBox1 || source == ListBox2) && sid > 0)
                clearPlayerTeam(m_database(), currentClass(), sid);
            setSlot(source, from, 0, QString());
        });
        return;
    }
    if (source == target) {
        // Two slots of one list change places.
        QListWidgetItem* under = target->item(row);
        const int otherSid = under->data(kIdRole).toInt();
        const QString otherText = under->text();
        setSlot(target, row, sid, text);
        setSlot(target, from, otherSid, otherText);
        return;
    }
    if (sid <= 0 || slotIds(target).contains(sid))
        return;
    setSlot(target, row, sid, text);
    // Into the players or reserves a player moves; into a double he is copied.
    if ((target == ListBox1 || target == ListBox2) && isSlotList(source))
        setSlot(source, from, 0, QString());
}

void Tteamauswahl::okClick()
{
    const int kid = currentClass();
    if (kid == 0)
        return;
    QString name = ComboBox1->currentText().trimmed();
    if (name.isEmpty()) {
        QString proposal;
        if (ListBox1->count() > 0) {
            auto surname = [](const QListWidgetItem* item) {
                const QString text = item ? item->text() : QString();
                const int comma = text.indexOf(QLatin1Char(','));
                return comma >= 0 ? text.left(comma) : text;
            };
            proposal = surname(ListBox1->item(0)) + QStringLiteral(" / ") + surname(ListBox1->item(1));
            m_prompter.information(proposal);
        }
        if (!proposal.isEmpty()
            && m_prompter.confirm(QStringLiteral("Soll der Teamname ") + proposal + QStringLiteral(" verwendet werden?"))) {
            ComboBox1->setEditText(proposal);
            name = proposal;
        } else {
            m_prompter.warning(QStringLiteral("Sie müssen einen Mannschaftsname eingeben"));
            ComboBox1->setFocus();
            return;
        }
    }
    const QString club = ComboBox2->currentText().trimmed();
    if (club.isEmpty()) {
        m_prompter.warning(QStringLiteral("Sie müssen einen Verein eingeben"));
        ComboBox2->setFocus();
        return;
    }
    runGuarded(m_prompter, [&] {
        const QSqlDatabase db = m_database();
        int mid = 0;
        if (const std::optional<int> existing = teamByName(db, kid, name)) {
            if (m_prompter.prompt(PromptKind::Warning,
                                  QStringLiteral("Dieser Mannschaftsname existiert bereits!\nÜberschreiben?"),
                                  PromptButtons::OkCancel) != PromptAnswer::Ok)
                return;
            mid = *existing;
        }
        const TeamSlots lineup{slotIds(ListBox1), slotIds(ListBox2), slotIds(ListBox4), slotIds(ListBox5)};
        const int stored = storeTeam(db, m_tournament(), kid, mid, name, club, lineup);
        if (mid == 0) {
            ComboBox1->addItem(name, stored);
            ComboBox1->setCurrentIndex(ComboBox1->count() - 1);
        }
        deleteButton->setEnabled(true);
        refreshAssigned();
    });
}

void Tteamauswahl::newClick()
{
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setEditText(QString());
    for (QListWidget* list : {ListBox1, ListBox2, ListBox4, ListBox5}) {
        for (int row = 0; row < list->count(); ++row)
            setSlot(list, row, 0, QString());
    }
    deleteButton->setEnabled(false);
}

void Tteamauswahl::deleteClick()
{
    const QString name = ComboBox1->currentText().trimmed();
    const int index = ComboBox1->findText(name);
    if (name.isEmpty() || index < 0)
        return;
    if (m_prompter.prompt(PromptKind::Warning, QStringLiteral("Wollen Sie das Team wirklich löschen?"),
                          PromptButtons::OkCancel) != PromptAnswer::Ok)
        return;
    runGuarded(m_prompter, [&] {
        deleteTeam(m_database(), currentClass(), ComboBox1->itemData(index).toInt(), ComboBox1->itemText(index));
        ComboBox1->removeItem(index);
        newClick();
        refreshAssigned();
    });
}

void Tteamauswahl::cancelClick()
{
    close();
}

void Tteamauswahl::refreshAssigned()
{
    m_assigned = playersInTeams(m_database(), currentClass());
    ListBox3->viewport()->update();
}

} // namespace bw
