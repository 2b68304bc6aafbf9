#include "plans/placementpage.h"

#include "data/planviewrecords.h"
#include "platform/apperror.h"
#include "platform/germantext.h"
#include "platform/pagestate.h"
#include "platform/prompter.h"
#include "plans/plancanvas.h"
#include "plans/planpanel.h"

#include <QApplication>
#include <QComboBox>
#include <QDataStream>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollArea>

#include <array>

namespace bw {

const QString kPlacementMatchesAffected = QStringLiteral("Es können mehrere Spiele betroffen sein. Fortsetzten?");

namespace {

const QString kSlotMime = QStringLiteral("application/x-brackwell-placement-slot");
const QString kListMime = QStringLiteral("application/x-qabstractitemmodeldatalist");
constexpr int kRowStep = 30;

// A slot of a placement match: its entrant or placeholder, Tag the entrant's
// id; dragged onto the candidate list it is emptied.
class SlotLabel : public QLabel {
public:
    SlotLabel(const QString& name, QWidget* parent) : QLabel(parent)
    {
        setObjectName(name);
        setProperty("Tag", -1);
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::ToolTipBase);
        setForegroundRole(QPalette::ToolTipText);
        setCursor(Qt::PointingHandCursor);
        setAcceptDrops(true);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            m_pressedAt = event->position().toPoint();
        QLabel::mousePressEvent(event);
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (!(event->buttons() & Qt::LeftButton)
            || (event->position().toPoint() - m_pressedAt).manhattanLength() < QApplication::startDragDistance())
            return;
        auto* data = new QMimeData;
        data->setData(kSlotMime, objectName().toUtf8());
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
    }

private:
    QPoint m_pressedAt;
};

QString slotOf(const QMimeData* data)
{
    return data && data->hasFormat(kSlotMime) ? QString::fromUtf8(data->data(kSlotMime)) : QString();
}

} // namespace

PlacementPage::PlacementPage(PlanPanel* panel, Prompter* prompter, std::function<QSqlDatabase()> database,
                             QObject* parent)
    : QObject(parent), m_panel(panel), m_prompter(prompter), m_database(std::move(database))
{
    QListWidget* list = m_panel->platz;
    list->setDragEnabled(true);
    list->setDragDropMode(QAbstractItemView::DragDrop);
    list->setDefaultDropAction(Qt::CopyAction);
    list->viewport()->setAcceptDrops(true);
    list->viewport()->installEventFilter(this);
}

std::optional<plan::Candidate> PlacementPage::candidateOf(const QMimeData* data)
{
    if (!data || !data->hasFormat(kListMime))
        return std::nullopt;
    QByteArray bytes = data->data(kListMime);
    QDataStream stream(&bytes, QIODevice::ReadOnly);
    int row = 0;
    int column = 0;
    QMap<int, QVariant> roles;
    stream >> row >> column >> roles;
    if (stream.status() != QDataStream::Ok || !roles.contains(Qt::DisplayRole))
        return std::nullopt;
    return plan::Candidate{roles.value(Qt::DisplayRole).toString(), roles.value(Qt::UserRole).toInt()};
}

QWidget* PlacementPage::pageWidget() const
{
    return m_panel->sp_ScrollBox4->widget();
}

QComboBox* PlacementPage::countBox() const
{
    QWidget* page = pageWidget();
    return page ? page->findChild<QComboBox*>(QStringLiteral("anzahl"), Qt::FindDirectChildrenOnly) : nullptr;
}

void PlacementPage::platzierungsspiele(int kid, const gruppeninfos& infos, ResourcePools& pools)
{
    m_kid = kid;
    const QSqlDatabase database = db();
    const PlacementNumbers numbers = readPlacementNumbers(database, kid);
    bool knockOut = false;
    for (int p = 1; p <= 3; ++p)
        knockOut = knockOut || infos.spielsystem(p) == 1 || infos.spielsystem(p) == 2;
    m_class = plan::PlacementClass{knockOut, numbers.m};

    QListWidget* list = m_panel->platz;
    list->clear();
    for (const plan::Candidate& candidate : plan::placementCandidates(numbers.maxMatch, numbers.maxGroup)) {
        auto* item = new QListWidgetItem(candidate.text, list);
        item->setData(Qt::UserRole, candidate.match);
    }

    clearPlanPage(m_panel->sp_ScrollBox4);
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("sp_platzierungen"));
    auto* caption = new QLabel(QStringLiteral("Anzahl der Platzierungen"), page);
    caption->move(10, 10);
    caption->adjustSize();
    auto* count = new QComboBox(page);
    count->setObjectName(QStringLiteral("anzahl"));
    count->setEditable(true);
    count->setInsertPolicy(QComboBox::NoInsert);
    count->addItems(plan::countItems());
    // At 150 as laid out for the small font of old, further right when the caption needs it.
    count->setGeometry(std::max(150, caption->x() + caption->width() + 8), 6, 64, count->sizeHint().height());
    const int shown = m_class.shownCount(numbers.storedPlatz);
    m_shownCount = shown == 0 ? QString() : QString::number(shown);
    if (!m_shownCount.isEmpty() && count->findText(m_shownCount) < 0)
        count->addItem(m_shownCount);
    count->setCurrentIndex(count->findText(m_shownCount));
    count->setEditText(m_shownCount);
    // Attached only now: setting the count runs no change.
    connectGuarded(count, &QComboBox::textActivated, this, *m_prompter, [this] { anzahlchange(); });
    m_panel->sp_ScrollBox4->setWidget(page);
    buildRows(plan::placementRows(shown), 57);
    platzierungsspielefuellen();

    if (!pools.contains(QStringLiteral("allespieler"))) {
        QList<PoolItem> players;
        QStringList seen;
        for (const PlanMatchRow& row : readPlanMatches(database, kid))
            for (int sid : {row.sid1, row.sid2})
                if (sid >= 0 && !seen.contains(QString::number(sid))) {
                    seen << QString::number(sid);
                    players << PoolItem{QString::number(sid), sid};
                }
        pools.addIfAbsent(QStringLiteral("allespieler"), players);
    }
    if (!pools.contains(QStringLiteral("alleplatten"))) {
        QStringList tables;
        for (const QStringList& group : readGroupTableNames(database, kid))
            tables += group;
        QList<PoolItem> items;
        for (const QString& table : german::sortedNames(tables))
            items << PoolItem{table, 0};
        pools.addIfAbsent(QStringLiteral("alleplatten"), items);
    }
}

void PlacementPage::buildRows(int rows, int top)
{
    QWidget* page = pageWidget();
    if (!page)
        return;
    // The slots at 100 and 250 as laid out for the small font of old, further
    // right when the row captions need it.
    const int left = std::max(100, 10 + page->fontMetrics().horizontalAdvance(plan::rowCaption(plan::kMaxPlaces / 2)) + 10);
    for (int k = 1; k <= rows; ++k) {
        const int y = top + kRowStep * (k - 1);
        auto* text = new QLabel(plan::rowCaption(k), page);
        text->setObjectName(QStringLiteral("text%1").arg(k));
        text->move(10, y + 3);
        text->adjustSize();
        for (int side = 1; side <= 2; ++side) {
            auto* slot = new SlotLabel(plan::slotName(side, k), page);
            slot->setGeometry(side == 1 ? left : left + 150, y, 120, 22);
            slot->installEventFilter(this);
        }
        plan::ControlSpec spec;
        spec.kind = plan::ControlKind::StatusIcon;
        spec.name = QStringLiteral("status%1").arg(m_class.rowMatch(k));
        spec.rect = QRect(left + 120, y + 3, 25, 16);
        spec.tag = 1;
        auto* icon = new PlanIcon(spec, QPixmap(), page);
        const QString name = spec.name;
        connect(icon, &PlanIcon::OnClick, this, [this, name, icon] { emit statusClicked(name, icon->Tag); });
        connect(icon, &PlanIcon::OnMouseDown, this, [this, name, icon](Qt::MouseButton button, QPoint at) {
            emit statusMouseDown(name, icon->Tag, button, at);
        });
    }
    page->setFixedSize(left + 290, top + kRowStep * rows + 20);
    for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->show();
    emit rowsBuilt();
}

void PlacementPage::removeRows()
{
    QWidget* page = pageWidget();
    if (!page)
        return;
    // Everything but the count's caption and box: the rows' texts, slots and icons.
    for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QString name = child->objectName();
        if (name.startsWith(QStringLiteral("text")) || name.startsWith(QStringLiteral("platz"))
            || name.startsWith(QStringLiteral("status"))) {
            child->hide();
            child->setParent(nullptr);
            child->deleteLater();
        }
    }
}

void PlacementPage::platzierungsspielefuellen()
{
    QWidget* page = pageWidget();
    if (!page)
        return;
    const QSqlDatabase database = db();
    QList<PlacementMatchRow> rows;
    if (m_class.knockOut) {
        if (const std::optional<PlacementMatchRow> final = readMatchOfPlacement(database, m_kid, m_class.m))
            rows << *final;
    }
    rows << readPlacementMatches(database, m_kid);
    for (int k = 1; k <= rows.size(); ++k) {
        const PlacementMatchRow& row = rows[k - 1];
        const std::array<std::pair<int, QString>, 2> sides{std::pair{row.sid1, row.spieler1},
                                                            std::pair{row.sid2, row.spieler2}};
        for (int side = 1; side <= 2; ++side) {
            if (auto* label = page->findChild<QLabel*>(plan::slotName(side, k), Qt::FindDirectChildrenOnly)) {
                label->setText(sides[size_t(side - 1)].second);
                label->setProperty("Tag", sides[size_t(side - 1)].first);
            }
        }
    }
}

void PlacementPage::anzahlchange()
{
    QComboBox* box = countBox();
    if (!box)
        return;
    const QString text = box->currentText();
    const std::optional<int> count = plan::countOf(text);
    if (!count)
        return;
    const QSqlDatabase database = db();
    const bool played = phaseHasPlayedMatch(database, m_kid, 4);
    if (played
        && m_prompter->prompt(PromptKind::Warning, kPlacementMatchesAffected, PromptButtons::OkCancel)
               != PromptAnswer::Ok) {
        box->setEditText(m_shownCount);
        return;
    }
    try {
        replacePlacementMatches(database, m_kid, m_class.knockOut, *count, played);
    } catch (const StaleRecord&) {
        box->setEditText(m_shownCount);
        throw;
    }
    m_shownCount = text;
    m_class.m = readPlacementNumbers(database, m_kid).m;
    removeRows();
    buildRows(plan::placementRows(*count), 60);
    platzierungsspielefuellen();
}

std::optional<int> PlacementPage::changeableMatch(const QString& slot, int* side) const
{
    const std::optional<plan::SlotRef> ref = plan::slotRef(slot);
    if (!ref || m_class.fixedRow(ref->row))
        return std::nullopt;
    const int spielnummer = m_class.rowMatch(ref->row);
    const std::optional<PlacementMatchRow> row = readMatchOfPlacement(db(), m_kid, spielnummer);
    if (!row || row->played)
        return std::nullopt;
    *side = ref->side;
    return spielnummer;
}

void PlacementPage::feldDragDrop(const QString& slot, const plan::Candidate& candidate)
{
    int side = 0;
    const std::optional<int> spielnummer = changeableMatch(slot, &side);
    if (!spielnummer)
        return;
    const std::optional<plan::SlotValue> value = resolveCandidate(db(), m_kid, candidate);
    if (!value)
        return;
    if (!writeSlot(*spielnummer, side, *value))
        return;
    if (QWidget* page = pageWidget())
        if (auto* label = page->findChild<QLabel*>(slot, Qt::FindDirectChildrenOnly)) {
            label->setText(value->text);
            label->setProperty("Tag", value->id);
        }
}

void PlacementPage::platzDragDrop(const QString& slot)
{
    int side = 0;
    const std::optional<int> spielnummer = changeableMatch(slot, &side);
    if (!spielnummer)
        return;
    writeSlot(*spielnummer, side, plan::SlotValue{});
    if (QWidget* page = pageWidget())
        if (auto* label = page->findChild<QLabel*>(slot, Qt::FindDirectChildrenOnly)) {
            label->clear();
            label->setProperty("Tag", -1);
        }
}

bool PlacementPage::writeSlot(int spielnummer, int side, const plan::SlotValue& value)
{
    try {
        writePlacementSlot(db(), m_kid, spielnummer, side, value);
    } catch (const SameEntrant& e) {
        m_prompter->warning(e.message());
        return false;
    } catch (const StaleRecord&) {
        // Another desk called or played the match meanwhile: the slots as stored.
        platzierungsspielefuellen();
        throw;
    }
    return true;
}

bool PlacementPage::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto* drop = static_cast<QDropEvent*>(event);
    if (watched == m_panel->platz->viewport()) {
        // The list takes slots only; its own entries never move.
        const QString slot = slotOf(drop->mimeData());
        if (slot.isEmpty()) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        if (type == QEvent::Drop)
            runGuarded(*m_prompter, [&] { platzDragDrop(slot); });
        return true;
    }
    // A slot label takes candidates from the list.
    const std::optional<plan::Candidate> candidate = candidateOf(drop->mimeData());
    if (!candidate || drop->source() != m_panel->platz) {
        drop->ignore();
        return true;
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop)
        runGuarded(*m_prompter, [&] { feldDragDrop(watched->objectName(), *candidate); });
    return true;
}

} // namespace bw
