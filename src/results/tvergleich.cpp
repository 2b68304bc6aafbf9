#include "results/tvergleich.h"

#include "controls/uibuttons.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace bw {

namespace {

constexpr int kItemRole = Qt::UserRole + 1;
constexpr int kItemHeight = 16;

// Draws an entry as the list shows it: selected on the highlight colour in
// white, otherwise on white in black or, when marked, red; 5 pixels in.
class EntryDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const tabellenitem item = index.data(kItemRole).value<tabellenitem>();
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(option.rect, selected ? option.palette.color(QPalette::Highlight) : QColor(Qt::white));
        painter->setPen(selected ? QColor(Qt::white) : item.marked() ? QColor(Qt::red) : QColor(Qt::black));
        painter->drawText(option.rect.adjusted(5, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), kItemHeight};
    }
};

QListWidgetItem* entry(const tabellenitem& item)
{
    auto* e = new QListWidgetItem(item.bez);
    e->setData(kItemRole, QVariant::fromValue(item));
    e->setToolTip(Tvergleich::hintText(item));
    return e;
}

} // namespace

Tvergleich::Tvergleich(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("vergleich"));
    setWindowTitle(QStringLiteral("Direkter Vergleich"));
    setModal(true);

    StaticText1 = new QLabel(QStringLiteral("Die rotmarkierten Einträge sind nicht eindeutige"), this);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    StaticText2 = new QLabel(QStringLiteral("Tabellenplätze und müssen von Hand bestimmt werden"), this);
    StaticText2->setObjectName(QStringLiteral("StaticText2"));
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setVisible(false);
    ListBox2 = new QListWidget(this);
    ListBox2->setObjectName(QStringLiteral("ListBox2"));
    ListBox2->setItemDelegate(new EntryDelegate(ListBox2));
    ListBox2->setUniformItemSizes(true);
    ListBox2->setMinimumSize(260, 12 * kItemHeight);
    ListBox2->setMouseTracking(true);
    ListBox2->viewport()->setMouseTracking(true);
    ListBox2->viewport()->installEventFilter(this);
    Button1 = new QPushButton(QStringLiteral("Rauf"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    Button2 = new QPushButton(QStringLiteral("Runter"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);
    uiButton1 = new TuiButton(this, QStringLiteral("uiButton1"), QStringLiteral("Übernehmen"));
    uiButton1->setMinimumSize(100, 25);

    auto* moves = new QVBoxLayout;
    moves->addWidget(Button1);
    moves->addWidget(Button2);
    moves->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addWidget(ListBox2, 1);
    middle->addLayout(moves);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(uiButton1);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(StaticText1);
    outer->addWidget(StaticText2);
    outer->addLayout(middle, 1);
    outer->addLayout(bottom);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(uiButton1, &TuiButton::OnClick, this, [this] { uiButton1Click(); });
}

QList<tabellenitem> Tvergleich::resolveTies(const QList<tabellenitem>& ranked)
{
    fill(ranked);
    exec();
    return order();
}

void Tvergleich::fill(const QList<tabellenitem>& ranked)
{
    ListBox1->clear();
    ListBox2->clear();
    for (const tabellenitem& item : ranked) {
        if (item.marked())
            ListBox1->addItem(entry(item));
        ListBox2->addItem(entry(item));
    }
    if (ListBox2->count() > 0)
        ListBox2->setCurrentRow(0);
}

QList<tabellenitem> Tvergleich::order() const
{
    QList<tabellenitem> items;
    for (int row = 0; row < ListBox2->count(); ++row)
        items.append(item(row));
    return items;
}

tabellenitem Tvergleich::item(int row) const
{
    return ListBox2->item(row)->data(kItemRole).value<tabellenitem>();
}

QString Tvergleich::hintText(const tabellenitem& i)
{
    return QStringLiteral("Spiele: %1:%2 Sätze: %3:%4 Punkte: %5:%6")
        .arg(i.spielegewonnen)
        .arg(i.spieleverloren)
        .arg(i.saetzegewonnen)
        .arg(i.saetzeverloren)
        .arg(i.punktegewonnen)
        .arg(i.punkteverloren);
}

void Tvergleich::move(int step)
{
    const int row = ListBox2->currentRow();
    const int other = row + step;
    if (row < 0 || other < 0 || other >= ListBox2->count())
        return;
    const tabellenitem a = item(row);
    const tabellenitem b = item(other);
    if (!a.marked() || !b.marked() || a.tie != b.tie)
        return;
    QListWidgetItem* taken = ListBox2->takeItem(row);
    ListBox2->insertItem(other, taken);
    // The selection stays at its index.
    ListBox2->setCurrentRow(row);
}

void Tvergleich::Button1Click()
{
    move(-1);
}

void Tvergleich::Button2Click()
{
    move(1);
}

void Tvergleich::uiButton1Click()
{
    accept();
}

void Tvergleich::closeEvent(QCloseEvent* event)
{
    // Closing by the frame takes the order as it stands.
    event->accept();
    accept();
}

void Tvergleich::keyPressEvent(QKeyEvent* event)
{
    // Escape does not cancel either.
    if (event->key() == Qt::Key_Escape) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool Tvergleich::eventFilter(QObject* watched, QEvent* event)
{
    // Moving the mouse over an entry makes its counters the list's hint.
    if (watched == ListBox2->viewport() && event->type() == QEvent::MouseMove) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (QListWidgetItem* e = ListBox2->itemAt(mouse->position().toPoint()))
            ListBox2->setToolTip(e->toolTip());
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace bw
