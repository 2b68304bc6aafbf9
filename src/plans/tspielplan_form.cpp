#include "plans/tspielplan_form.h"

#include "controls/uibuttons.h"
#include "data/groupsettings.h"
#include "data/planlistrecords.h"
#include "platform/prompter.h"
#include "platformui/printercontext.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace bw {

using matchlist::Display;

// ---- MatchListView ---------------------------------------------------------

MatchListView::MatchListView(const QString& name, Display display, QWidget* parent)
    : QWidget(parent), m_display(display)
{
    setObjectName(name);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MatchListView::setRows(const QList<matchlist::Entry>& entries, int saetze, int width, int viewportHeight)
{
    m_entries = entries;
    m_saetze = saetze;
    m_frame = matchlist::screenFrame(m_display, width, saetze, int(entries.size()));
    setFixedSize(width, matchlist::screenHeight(m_display, int(entries.size()), viewportHeight));
    update();
}

namespace {

void paintItems(QPainter& painter, const PrintPage& items)
{
    for (const PrintItem& item : items) {
        if (item.kind == PrintItem::Kind::Line) {
            painter.drawLine(item.x, item.y, item.x2, item.y2);
            continue;
        }
        QFont font(printFontFamily(item.font));
        font.setPointSize(item.height);
        painter.setFont(font);
        const QFontMetrics metrics = painter.fontMetrics();
        const QString shown = item.width > 0 ? metrics.elidedText(item.text, Qt::ElideRight, item.width) : item.text;
        painter.drawText(QPoint(item.x, item.y + metrics.ascent()), shown);
    }
}

} // namespace

void MatchListView::paintEvent(QPaintEvent* event)
{
    const QRect area = event->rect();
    QPainter painter(this);
    painter.fillRect(area, Qt::white);
    painter.setPen(Qt::black);
    paintItems(painter, m_frame);
    // A row's texts reach a little above its top; one row more on each side.
    m_painted = matchlist::screenRowsBetween(m_display, area.top() - 24, area.bottom() + 24, int(m_entries.size()));
    for (int i = m_painted.first; i < m_painted.second; ++i)
        paintItems(painter, matchlist::screenRow(m_display, m_entries.at(i), i, width()));
}

void MatchListView::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved();
    QWidget::mouseMoveEvent(event);
}

// ---- Tspielplan_form -------------------------------------------------------

Tspielplan_form::Tspielplan_form(QWidget* parent, SpielplanFormLinks links)
    : QDialog(parent, Qt::Window), m_links(std::move(links))
{
    setObjectName(QStringLiteral("spielplan_form"));
    setWindowTitle(QStringLiteral("Spielplan"));
    resize(820, 600);

    StaticText1 = new QLabel(this);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    StaticText1->setProperty("Tag", -1);
    StaticText2 = new QLabel(this);
    StaticText2->setObjectName(QStringLiteral("StaticText2"));
    QFont title = StaticText1->font();
    title.setPointSize(12);
    title.setBold(true);
    StaticText1->setFont(title);
    StaticText2->setFont(title);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ScrollBox1->setBackgroundRole(QPalette::Base);
    ScrollBox1->viewport()->installEventFilter(this);

    Darstelllung1Button = new TuiButton(this, QStringLiteral("Darstelllung1Button"), QStringLiteral("Darstellung 1"));
    Darstelllung2Button = new TuiButton(this, QStringLiteral("Darstelllung2Button"), QStringLiteral("Darstellung 2"));
    uiButton3 = new TuiButton(this, QStringLiteral("uiButton3"), QStringLiteral("Drucken"));
    uiButton1 = new TuiButton(this, QStringLiteral("uiButton1"), QStringLiteral("Zurück"));

    auto* titles = new QHBoxLayout;
    titles->setSpacing(10); // the group 10 pixels right of the title
    titles->addWidget(StaticText1);
    titles->addWidget(StaticText2);
    titles->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Darstelllung1Button);
    buttons->addWidget(Darstelllung2Button);
    buttons->addStretch();
    buttons->addWidget(uiButton3);
    buttons->addWidget(uiButton1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(titles);
    layout->addWidget(ScrollBox1, 1);
    layout->addLayout(buttons);

    const auto guarded = [this](TuiButton* button, void (Tspielplan_form::*handler)()) {
        connect(button, &TuiButton::OnClick, this, [this, handler] {
            runGuarded(*m_links.prompter, [&] { (this->*handler)(); });
        });
    };
    guarded(Darstelllung1Button, &Tspielplan_form::Darstelllung1ButtonClick);
    guarded(Darstelllung2Button, &Tspielplan_form::Darstelllung2ButtonClick);
    guarded(uiButton3, &Tspielplan_form::uiButton3Click);
    guarded(uiButton1, &Tspielplan_form::uiButton1Click);
}

int Tspielplan_form::tag() const
{
    return StaticText1->property("Tag").toInt();
}

std::optional<int> Tspielplan_form::group() const
{
    return tag() >= 0 ? std::optional<int>(tag()) : std::nullopt;
}

void Tspielplan_form::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        runGuarded(*m_links.prompter, [&] { FormShow(); });
}

void Tspielplan_form::FormShow()
{
    freeImages();
    m_content = new QWidget;
    m_content->setObjectName(QStringLiteral("ScrollContent"));
    darstellung1bild = new MatchListView(QStringLiteral("darstellung1bild"), Display::One, m_content);
    darstellung2bild = new MatchListView(QStringLiteral("darstellung2bild"), Display::Two, m_content);
    for (MatchListView* image : {darstellung1bild, darstellung2bild}) {
        image->hide();
        connect(image, &MatchListView::mouseMoved, ScrollBox1, [this] { ScrollBox1->setFocus(); });
    }
    ScrollBox1->setWidget(m_content);
    markShown(Darstelllung1Button, Darstelllung2Button);
    darstellung1zeichnen();
}

void Tspielplan_form::markShown(TuiButton* shown, TuiButton* other)
{
    QFont bold = shown->font();
    bold.setBold(true);
    shown->setFont(bold);
    QFont normal = other->font();
    normal.setBold(false);
    other->setFont(normal);
}

void Tspielplan_form::Darstelllung1ButtonClick()
{
    markShown(Darstelllung1Button, Darstelllung2Button);
    darstellung1zeichnen();
}

void Tspielplan_form::Darstelllung2ButtonClick()
{
    markShown(Darstelllung2Button, Darstelllung1Button);
    darstellung2zeichnen();
}

QList<matchlist::Entry> Tspielplan_form::readEntries() const
{
    QList<matchlist::Entry> entries;
    for (const PlanListMatch& match : readPlanList(m_links.database(), m_links.aktuelleKID(), group()))
        entries.append(matchlist::entryOf(match));
    return entries;
}

void Tspielplan_form::darstellung1zeichnen()
{
    zeichnen(darstellung1bild, darstellung2bild);
}

void Tspielplan_form::darstellung2zeichnen()
{
    zeichnen(darstellung2bild, darstellung1bild);
}

void Tspielplan_form::zeichnen(MatchListView* shown, MatchListView* hidden)
{
    if (!shown)
        return;
    hidden->hide();
    StaticText2->setText(tag() >= 0 ? QStringLiteral(" Gruppe ") + groupLetter(tag()) : QString());
    const QList<matchlist::Entry> entries = readEntries();
    const int saetze = shown->display() == Display::One ? readSetsToWin(m_links.database(), m_links.aktuelleKID()) : 0;
    shown->setRows(entries, saetze, ScrollBox1->width() - 20, ScrollBox1->height());
    shown->move(0, 0);
    m_content->setFixedSize(shown->size());
    shown->show();
}

void Tspielplan_form::uiButton3Click()
{
    if (darstellung2bild && darstellung2bild->isVisible())
        darstellung2drucken();
    else
        darstellung1drucken();
}

void Tspielplan_form::darstellung1drucken()
{
    drucken(Display::One, [](const std::exception& e) {
        return QStringLiteral("Druckerfehler:") + QString::fromUtf8(e.what());
    });
}

void Tspielplan_form::darstellung2drucken()
{
    drucken(Display::Two, [](const std::exception&) { return QStringLiteral("Druckerfehler"); });
}

void Tspielplan_form::drucken(Display display, const std::function<QString(const std::exception&)>& message)
{
    QPrinter& printer = m_links.printer();
    if (!(PrintDialog1 ? PrintDialog1 : runPrintDialog)(printer, this))
        return;
    try {
        printer.setPageOrientation(QPageLayout::Landscape);
        const QList<matchlist::Entry> entries = readEntries();
        const int saetze = display == Display::One ? readSetsToWin(m_links.database(), m_links.aktuelleKID()) : 0;
        const QList<PrintPage> pages =
            matchlist::layoutPrint(display, entries, saetze, {m_links.turniername(), StaticText1->text()},
                                   PageMetrics::of(printer));
        PrintJob job(printer);
        job.printPages(pages);
        job.finish();
    } catch (const std::exception& e) {
        m_links.prompter->error(message(e));
    }
}

void Tspielplan_form::uiButton1Click()
{
    close(); // FormClose gives the main window back
}

void Tspielplan_form::closeEvent(QCloseEvent* event)
{
    FormClose();
    QDialog::closeEvent(event);
}

void Tspielplan_form::FormClose()
{
    if (m_links.backToMain)
        m_links.backToMain();
    freeImages();
}

void Tspielplan_form::freeImages()
{
    if (!m_content)
        return;
    // The scroll box deletes its widget, and the pictures with it.
    delete ScrollBox1->takeWidget();
    m_content = nullptr;
    darstellung1bild = nullptr;
    darstellung2bild = nullptr;
}

bool Tspielplan_form::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ScrollBox1->viewport() && event->type() == QEvent::Wheel) {
        if (static_cast<QWheelEvent*>(event)->angleDelta().y() < 0)
            ScrollBox1MouseWheelDown();
        else
            ScrollBox1MouseWheelUp();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Tspielplan_form::ScrollBox1MouseWheelDown()
{
    QScrollBar* bar = ScrollBox1->verticalScrollBar();
    bar->setValue(bar->value() + 5);
}

void Tspielplan_form::ScrollBox1MouseWheelUp()
{
    QScrollBar* bar = ScrollBox1->verticalScrollBar();
    bar->setValue(bar->value() - 5);
}

} // namespace bw
