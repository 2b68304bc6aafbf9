#include "app/tr_nummer.h"

#include "app/appcontext.h"
#include "controls/uibuttons.h"
#include "data/db_procedures.h"
#include "app/tmainform.h"
#include "platformui/printcanvas.h"
#include "platformui/printercontext.h"
#include "platform/services.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <QVBoxLayout>

namespace bw {

TR_Nummer::TR_Nummer(TMainform& main, AppContext& context, Services& services, Tdb_procedures& database)
    : QDialog(&main, Qt::Window), m_main(main), m_context(context), m_services(services), m_database(database)
{
    setObjectName(QStringLiteral("R_Nummer"));
    setWindowTitle(QStringLiteral("Rückennummern"));
    resize(560, 520);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ScrollBox1->setBackgroundRole(QPalette::Base);
    ScrollBox1->viewport()->installEventFilter(this);
    uiButton1 = new TuiButton(this, QStringLiteral("uiButton1"), QStringLiteral("Drucken"));
    uiButton2 = new TuiButton(this, QStringLiteral("uiButton2"), QStringLiteral("Zurück"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(uiButton1);
    buttons->addWidget(uiButton2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ScrollBox1, 1);
    layout->addLayout(buttons);

    connect(uiButton1, &TuiButton::OnClick, this, &TR_Nummer::uiButton1Click);
    connect(uiButton2, &TuiButton::OnClick, this, &TR_Nummer::uiButton2Click);
}

bool TR_Nummer::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(e);
}

void TR_Nummer::FormActivate()
{
    runGuarded(m_services.prompter, [&] {
        const QList<StartNumberRow> rows = loadStartNumbers(m_database.ADOConnection1(), m_context.aktuelleTID);
        const int width = ScrollBox1->viewport()->width();
        const StartNumberPreview preview =
            layoutStartNumberPreview(rows, m_context.aktuellerTurniername, width, ScrollBox1->viewport()->height());
        QPixmap picture(width, preview.height);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.setPen(Qt::black);
        for (const PrintItem& item : preview.items) {
            if (item.kind == PrintItem::Kind::Line) {
                painter.drawLine(item.x, item.y, item.x2, item.y2);
                continue;
            }
            QFont font(printFontFamily(item.font));
            font.setPointSize(item.height);
            painter.setFont(font);
            const QString shown = item.width > 0
                                      ? painter.fontMetrics().elidedText(item.text, Qt::ElideRight, item.width)
                                      : item.text;
            painter.drawText(QPoint(item.x, item.y + painter.fontMetrics().ascent()), shown);
        }
        painter.end();
        // A fresh picture each time; the earlier one goes.
        image = new QLabel;
        image->setObjectName(QStringLiteral("image"));
        image->setPixmap(picture);
        image->setFixedSize(picture.size());
        ScrollBox1->setWidget(image);
    });
}

void TR_Nummer::uiButton1Click()
{
    QPrinter& printer = m_main.printerContext().printer();
    if (!(PrintDialog1 ? PrintDialog1 : runPrintDialog)(printer, this))
        return;
    try {
        printer.setPageOrientation(QPageLayout::Portrait);
        const QList<StartNumberRow> rows = loadStartNumbers(m_database.ADOConnection1(), m_context.aktuelleTID);
        const QList<PrintPage> pages =
            layoutStartNumberPrint(rows, m_context.aktuellerTurniername, PageMetrics::of(printer));
        PrintJob job(printer);
        job.printPages(pages);
        job.finish();
    } catch (const std::exception&) {
        m_services.prompter.error(QStringLiteral("Druckerfehler"));
    }
}

void TR_Nummer::uiButton2Click()
{
    // The dialog stays open behind the main window.
    m_main.setWorkAreaEnabled(true);
    m_main.raise();
    m_main.activateWindow();
}

bool TR_Nummer::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == ScrollBox1->viewport() && e->type() == QEvent::Wheel) {
        if (static_cast<QWheelEvent*>(e)->angleDelta().y() < 0)
            ScrollBox1MouseWheelDown();
        else
            ScrollBox1MouseWheelUp();
        return true;
    }
    return QDialog::eventFilter(watched, e);
}

void TR_Nummer::ScrollBox1MouseWheelDown()
{
    QScrollBar* bar = ScrollBox1->verticalScrollBar();
    bar->setValue(bar->value() + 5);
}

void TR_Nummer::ScrollBox1MouseWheelUp()
{
    QScrollBar* bar = ScrollBox1->verticalScrollBar();
    bar->setValue(bar->value() - 5);
}

void TR_Nummer::closeEvent(QCloseEvent* e)
{
    m_main.setWorkAreaEnabled(true);
    QDialog::closeEvent(e);
}

} // namespace bw
