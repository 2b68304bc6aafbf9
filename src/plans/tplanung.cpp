#include "plans/tplanung.h"

#include "controls/uibuttons.h"
#include "plans/boardviews.h"
#include "platform/germantext.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace bw {

namespace {

QIcon swatch(const QColor& colour)
{
    QPixmap picture(16, 12);
    picture.fill(colour);
    QPainter painter(&picture);
    painter.setPen(Qt::black);
    painter.drawRect(picture.rect().adjusted(0, 0, -1, -1));
    return QIcon(picture);
}

QToolButton* arrow(QWidget* parent, const char* name, Qt::ArrowType type, const QString& tip)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setArrowType(type);
    button->setAutoRaise(true);
    button->setToolTip(tip);
    // A hand over the arrow, as over a link.
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

} // namespace

Tplanung::Tplanung(QWidget* parent, PlanungLinks links)
    : QDialog(parent), m_links(std::move(links)), m_page(this, m_links.prompter)
{
    setObjectName(QStringLiteral("planung"));
    setWindowTitle(QStringLiteral("Spieleplaner"));

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ColorBox1 = new QComboBox(this);
    ColorBox1->setObjectName(QStringLiteral("ColorBox1"));
    for (const QString& name : boardColourNames())
        ColorBox1->addItem(swatch(boardColour(name)), name);
    ListBox1 = new BoardList(m_board, this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    StringGrid1 = new BoardGrid(m_board, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setDropList(ListBox1);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit1->setAlignment(Qt::AlignCenter);
    Edit1->setFixedWidth(Edit1->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 16);
    von = new QLabel(this);
    von->setObjectName(QStringLiteral("von"));
    bis = new QLabel(this);
    bis->setObjectName(QStringLiteral("bis"));
    Image1 = arrow(this, "Image1", Qt::LeftArrow, QStringLiteral("Vorheriger Tag"));
    Image2 = arrow(this, "Image2", Qt::RightArrow, QStringLiteral("Nächster Tag"));
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    uiButton1 = new TuiButton(this, QStringLiteral("uiButton1"), QStringLiteral("Beenden"));

    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel(QStringLiteral("Klasse:"), this));
    side->addWidget(ComboBox1);
    side->addWidget(new QLabel(QStringLiteral("Farbe:"), this));
    side->addWidget(ColorBox1);
    side->addWidget(new QLabel(QStringLiteral("Ungeplante Spiele:"), this));
    side->addWidget(ListBox1, 1);
    auto* sideWidget = new QWidget(this);
    sideWidget->setLayout(side);
    sideWidget->setFixedWidth(220);
    side->setContentsMargins(0, 0, 0, 0);

    auto* days = new QHBoxLayout;
    days->addWidget(Image1);
    days->addWidget(Edit1);
    days->addWidget(Image2);
    days->addSpacing(16);
    days->addWidget(new QLabel(QStringLiteral("Turniertage:"), this));
    days->addWidget(von);
    days->addWidget(new QLabel(QStringLiteral("bis"), this));
    days->addWidget(bis);
    days->addStretch(1);
    days->addWidget(uiButton1);

    auto* layout = new QGridLayout(this);
    layout->addWidget(sideWidget, 0, 0, 2, 1);
    layout->addLayout(days, 0, 1);
    layout->addWidget(StringGrid1, 1, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(1, 1);
    resize(1100, 720);

    m_page.handle(ComboBox1, &QComboBox::activated, [this](int index) { ComboBox1Select(index); });
    m_page.handle(ColorBox1, &QComboBox::activated, [this](int index) { ColorBox1Change(index); });
    m_page.handle(Image1, &QToolButton::clicked, [this] { Image1Click(); });
    m_page.handle(Image2, &QToolButton::clicked, [this] { Image2Click(); });
    connect(uiButton1, &TuiButton::OnClick, this, &QDialog::close);
    m_page.handle(StringGrid1, &BoardGrid::listEntryDropped, [this](const BoardMatchKey& entry, int row, int column) {
        commit(m_board.planFromList(entry, row, column));
    });
    m_page.handle(StringGrid1, &BoardGrid::matchMoved, [this](int fromRow, int fromColumn, int toRow, int toColumn) {
        commit(m_board.move(fromRow, fromColumn, toRow, toColumn));
    });
    m_page.handle(StringGrid1, &BoardGrid::matchDroppedOnList,
                  [this](int row, int column) { commit(m_board.takeOff(row, column)); });
    m_page.handle(StringGrid1, &BoardGrid::matchMenuRequested,
                  [this](int row, int column, const QPoint& globalPos) { openMenu(row, column, globalPos); });
}

Tplanung::~Tplanung()
{
    // The views read the board until they are gone.
    delete StringGrid1;
    delete ListBox1;
}

void Tplanung::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        runGuarded(m_links.prompter, [this] { FormShow(); });
}

void Tplanung::FormShow()
{
    const auto filling = m_page.fill();
    ComboBox1->clear();
    ListBox1->clear();
    showBoard(m_board, m_links.database(), m_links.aktuelleTID);
    for (const kitem& c : m_board.classes())
        ComboBox1->addItem(c.schiri);
    ComboBox1->setCurrentIndex(m_board.chosenClass());
    von->setText(german::formatDate(m_board.von()));
    bis->setText(german::formatDate(m_board.bis()));
    showDayText();
    showColour();
    ListBox1->fill();
    StringGrid1->boardModel()->reset();
    StringGrid1->setCurrentBoardRow(kCurrentBoardRow);
    ListBox1->setFocus();
}

void Tplanung::showDayText()
{
    Edit1->setText(german::formatDate(m_board.day()));
    Image1->setEnabled(m_board.canGoBack());
    Image2->setEnabled(m_board.canGoForward());
}

void Tplanung::showColour()
{
    ColorBox1->setCurrentIndex(int(boardColourNames().indexOf(m_board.chosenColour())));
}

void Tplanung::ComboBox1Select(int index)
{
    chooseBoardClass(m_board, m_links.database(), index);
    showColour();
    ListBox1->fill();
}

void Tplanung::ColorBox1Change(int index)
{
    if (index < 0)
        return;
    storeBoardColour(m_board, m_links.database(), boardColourNames()[index]);
    ListBox1->viewport()->update();
    StringGrid1->viewport()->update();
}

void Tplanung::showDay(const QDate& day)
{
    showBoardDay(m_board, m_links.database(), day);
    showDayText();
    StringGrid1->boardModel()->reset();
    StringGrid1->setCurrentBoardRow(kCurrentBoardRow);
}

void Tplanung::refresh()
{
    const QPoint scrolled(StringGrid1->horizontalScrollBar()->value(), StringGrid1->verticalScrollBar()->value());
    const QModelIndex current = StringGrid1->currentIndex();
    showBoardDay(m_board, m_links.database(), m_board.day());
    chooseBoardClass(m_board, m_links.database(), m_board.chosenClass());
    StringGrid1->boardModel()->reset();
    ListBox1->fill();
    StringGrid1->setCurrentIndex(StringGrid1->boardModel()->index(current.row(), current.column()));
    StringGrid1->horizontalScrollBar()->setValue(scrolled.x());
    StringGrid1->verticalScrollBar()->setValue(scrolled.y());
}

void Tplanung::Image1Click()
{
    if (m_board.canGoBack())
        showDay(m_board.day().addDays(-1));
}

void Tplanung::Image2Click()
{
    if (m_board.canGoForward())
        showDay(m_board.day().addDays(1));
}

void Tplanung::commit(const std::optional<BoardDrop>& drop)
{
    if (!drop)
        return;
    try {
        const BoardChange change = dropOnBoard(m_board, m_links.database(), *drop);
        StringGrid1->boardModel()->columnsChanged(change.columns);
        if (change.listEntryRemoved || change.relist)
            ListBox1->fill();
    } catch (const BoardConflict& conflict) {
        // The board has read the day and the list again.
        StringGrid1->boardModel()->reset();
        ListBox1->fill();
        m_links.prompter.prompt(PromptKind::Warning, conflict.message(), PromptButtons::Ok);
    }
}

void Tplanung::openMenu(int row, int column, const QPoint& globalPos)
{
    const std::optional<kitem> item = m_board.cell(row, column);
    if (!item)
        return;
    bearbeiten = item->key();
    PopupMenu1->clear();
    connect(PopupMenu1->addAction(QStringLiteral("Spiel bearbeiten")), &QAction::triggered, this,
            [this] { runGuarded(m_links.prompter, [this] { spielbearbeitenClick(); }); });
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(item->spieler1)->setEnabled(false);
    PopupMenu1->addAction(item->spieler2)->setEnabled(false);
    PopupMenu1->popup(globalPos);
}

void Tplanung::spielbearbeitenClick()
{
    if (m_links.editMatch && bearbeiten.kid > 0)
        m_links.editMatch(bearbeiten.kid, bearbeiten.spielnummer, bearbeiten.nummer);
}

} // namespace bw
