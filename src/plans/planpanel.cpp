#include "plans/planpanel.h"

#include "controls/uibuttons.h"
#include "plans/playercard.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace bw {

namespace {

// A page's scroll box: white, moved by 5 pixels per wheel step.
class PlanScrollBox : public QScrollArea {
public:
    PlanScrollBox(const QString& name, QWidget* parent) : QScrollArea(parent)
    {
        setObjectName(name);
        setWidgetResizable(false);
        setBackgroundRole(QPalette::Base);
        QPalette white = palette();
        white.setColor(QPalette::Base, Qt::white);
        white.setColor(QPalette::Window, Qt::white);
        setPalette(white);
        setAutoFillBackground(true);
    }

protected:
    void wheelEvent(QWheelEvent* event) override
    {
        const int steps = event->angleDelta().y() / 120;
        if (steps == 0) {
            QScrollArea::wheelEvent(event);
            return;
        }
        verticalScrollBar()->setValue(verticalScrollBar()->value() - 5 * steps);
        event->accept();
    }
};

QPushButton* zoomButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFixedWidth(28);
    return button;
}

} // namespace

PlanPanel::PlanPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PlanPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);

    spielplantext = new QLabel(this);
    spielplantext->setObjectName(QStringLiteral("spielplantext"));
    spielplantext->setAlignment(Qt::AlignCenter);
    QFont title = spielplantext->font();
    title.setBold(true);
    title.setPointSize(title.pointSize() + 3);
    spielplantext->setFont(title);
    layout->addWidget(spielplantext);

    auto* bar = new QHBoxLayout;
    Label4 = new QLabel(QStringLiteral("Gruppendarstellung:"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    GruppeDarBox = new QComboBox(this);
    GruppeDarBox->setObjectName(QStringLiteral("GruppeDarBox"));
    GruppeDarBox->addItems({QStringLiteral("Matrix"), QStringLiteral("Liste")});
    GruppeDarBox->setCurrentIndex(1);
    bar->addWidget(Label4);
    bar->addWidget(GruppeDarBox);
    bar->addSpacing(20);
    zoompanel = new QWidget(this);
    zoompanel->setObjectName(QStringLiteral("zoompanel"));
    auto* zoomLayout = new QHBoxLayout(zoompanel);
    zoomLayout->setContentsMargins(0, 0, 0, 0);
    StaticText14 = new QLabel(QStringLiteral("Zoom"), zoompanel);
    StaticText14->setObjectName(QStringLiteral("StaticText14"));
    zoom1_1 = zoomButton(zoompanel, QStringLiteral("zoom1_1"), QStringLiteral("1"));
    zoom1_2 = zoomButton(zoompanel, QStringLiteral("zoom1_2"), QStringLiteral("2"));
    zoom1_3 = zoomButton(zoompanel, QStringLiteral("zoom1_3"), QStringLiteral("3"));
    zoomLayout->addWidget(StaticText14);
    zoomLayout->addWidget(zoom1_1);
    zoomLayout->addWidget(zoom1_2);
    zoomLayout->addWidget(zoom1_3);
    bar->addWidget(zoompanel);
    bar->addStretch(1);
    turniergo = new TuiButton(this, QStringLiteral("turniergo"), QStringLiteral("Turnierklasse &starten"));
    bar->addWidget(turniergo);
    layout->addLayout(bar);

    sp_contol = new QTabWidget(this);
    sp_contol->setObjectName(QStringLiteral("sp_contol"));
    const QString pageNames[] = {QStringLiteral("sp_phase1"), QStringLiteral("sp_phase2"), QStringLiteral("sp_phase3"),
                                 QStringLiteral("sp_platzierung")};
    const QString captions[] = {QStringLiteral("Phase 1"), QStringLiteral("Phase 2"), QStringLiteral("Phase 3"),
                                QStringLiteral("Plazierungsspiele")};
    const QString boxNames[] = {QStringLiteral("sp_scrollbox1"), QStringLiteral("sp_ScrollBox2"),
                                QStringLiteral("sp_ScrollBox3"), QStringLiteral("sp_ScrollBox4")};
    QWidget* pages[4];
    QScrollArea* boxes[4];
    for (int i = 0; i < 4; ++i) {
        pages[i] = new QWidget(sp_contol);
        pages[i]->setObjectName(pageNames[i]);
        auto* pageLayout = new QHBoxLayout(pages[i]);
        pageLayout->setContentsMargins(0, 0, 0, 0);
        boxes[i] = new PlanScrollBox(boxNames[i], pages[i]);
        pageLayout->addWidget(boxes[i], 1);
        sp_contol->addTab(pages[i], captions[i]);
    }
    sp_phase1 = pages[0];
    sp_phase2 = pages[1];
    sp_phase3 = pages[2];
    sp_platzierung = pages[3];
    sp_scrollbox1 = boxes[0];
    sp_ScrollBox2 = boxes[1];
    sp_ScrollBox3 = boxes[2];
    sp_ScrollBox4 = boxes[3];
    platz = new QListWidget(sp_platzierung);
    platz->setObjectName(QStringLiteral("platz"));
    platz->setFixedWidth(200);
    sp_platzierung->layout()->addWidget(platz);
    layout->addWidget(sp_contol, 1);

    sp_info = new QListWidget(this);
    sp_info->setObjectName(QStringLiteral("sp_info"));
    sp_info->setFixedHeight(70);
    layout->addWidget(sp_info);

    // Created last, so they lie over the pages.
    spielernotiz = new PlayerCard(QStringLiteral("spielernotiz"), this);
    spielernotiz2 = new PlayerCard(QStringLiteral("spielernotiz2"), this);
    markZoom(2);
}

QScrollArea* PlanPanel::page(int index) const
{
    switch (index) {
    case 0: return sp_scrollbox1;
    case 1: return sp_ScrollBox2;
    case 2: return sp_ScrollBox3;
    case 3: return sp_ScrollBox4;
    default: return nullptr;
    }
}

void PlanPanel::markZoom(int zoom)
{
    QPushButton* buttons[] = {zoom1_1, zoom1_2, zoom1_3};
    for (int i = 0; i < 3; ++i) {
        QPalette palette = buttons[i]->palette();
        palette.setColor(QPalette::ButtonText, i + 1 == zoom ? Qt::white : Qt::black);
        palette.setColor(QPalette::Button, QColor(0x40, 0x40, 0x40).lighter(i + 1 == zoom ? 100 : 300));
        buttons[i]->setPalette(palette);
    }
}

int PlanPanel::markedZoom() const
{
    const QPushButton* buttons[] = {zoom1_1, zoom1_2, zoom1_3};
    for (int i = 0; i < 3; ++i)
        if (buttons[i]->palette().color(QPalette::ButtonText) == Qt::white)
            return i + 1;
    return 0;
}

} // namespace bw
