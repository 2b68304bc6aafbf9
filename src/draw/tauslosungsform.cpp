#include "draw/tauslosungsform.h"

#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"
#include "controls/uicontainer.h"
#include "draw/drawwidgets.h"
#include "platform/pagestate.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace bw {

namespace {

const QColor kGroupsColour(225, 255, 225);

QString systemName(int system)
{
    switch (system) {
    case 0:
        return QStringLiteral("Gruppenphase");
    case 1:
        return QStringLiteral("Einfaches KO-System");
    case 2:
        return QStringLiteral("Doppeltes KO-System");
    default:
        return {};
    }
}

QLabel* stepLabel(QWidget* parent, const QString& name, const QString& text, bool bold)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    if (bold) {
        QFont f = label->font();
        f.setBold(true);
        label->setFont(f);
    }
    return label;
}

QGroupBox* radioGroup(QWidget* parent, const QString& name, const QString& caption, const QStringList& items,
                      QButtonGroup*& group)
{
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    auto* column = new QVBoxLayout(box);
    group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], box);
        group->addButton(button, i);
        column->addWidget(button);
    }
    group->button(0)->setChecked(true);
    return box;
}

QScrollArea* scrollBox(QWidget* parent, const QString& name, QWidget*& canvas)
{
    auto* box = new QScrollArea(parent);
    box->setObjectName(name);
    canvas = new QWidget;
    canvas->setAutoFillBackground(true);
    box->setWidget(canvas);
    box->setWidgetResizable(false);
    return box;
}

// The scroll box's colour: its canvas and the viewport around it.
void setBackground(QWidget* canvas, const QColor& colour)
{
    for (QWidget* w : {canvas, canvas->parentWidget()}) {
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, colour);
        w->setPalette(pal);
        w->setAutoFillBackground(true);
    }
}

} // namespace

Tauslosungsform::Tauslosungsform(QWidget* parent, const AuslosungLinks& links) : QDialog(parent), m_links(links)
{
    setObjectName(QStringLiteral("auslosungsform"));
    setWindowTitle(QStringLiteral("Auslosung"));
    setMinimumSize(700, 500);
    resize(900, 640);

    uiContainer1 = new TuiContainer(this);
    uiContainer1->setObjectName(QStringLiteral("uiContainer1"));
    uiContainer1->setFixedWidth(170);
    auto* side = new QVBoxLayout(uiContainer1);
    side->setContentsMargins(12, 16, 8, 8);
    StaticText1 = stepLabel(uiContainer1, QStringLiteral("StaticText1"), QStringLiteral("Phase 1"), true);
    StaticText2 = stepLabel(uiContainer1, QStringLiteral("StaticText2"), {}, false);
    StaticText3 = stepLabel(uiContainer1, QStringLiteral("StaticText3"), QStringLiteral("Phase 2"), true);
    StaticText4 = stepLabel(uiContainer1, QStringLiteral("StaticText4"), {}, false);
    StaticText5 = stepLabel(uiContainer1, QStringLiteral("StaticText5"), QStringLiteral("Phase 3"), true);
    StaticText6 = stepLabel(uiContainer1, QStringLiteral("StaticText6"), {}, false);
    StaticText10 = stepLabel(uiContainer1, QStringLiteral("StaticText10"), QStringLiteral("Tische"), true);
    for (QLabel* l : {StaticText1, StaticText2, StaticText3, StaticText4, StaticText5, StaticText6}) {
        side->addWidget(l);
        if (l == StaticText2 || l == StaticText4 || l == StaticText6)
            side->addSpacing(12);
    }
    side->addWidget(StaticText10);
    side->addStretch();

    auslosungsphasen = new QStackedWidget(this);
    auslosungsphasen->setObjectName(QStringLiteral("auslosungsphasen"));
    phase1 = buildPhasePage(1);
    phase2 = buildPhasePage(2);
    phase3 = buildPhasePage(3);
    platten = buildTablesPage();
    for (QWidget* page : {phase1, phase2, phase3, platten})
        auslosungsphasen->addWidget(page);

    cancel = new TuiButton(this, QStringLiteral("cancel"), QStringLiteral("Abbrechen"));
    zurueck = new TuiButton(this, QStringLiteral("zurueck"), QStringLiteral("<-- Zurück"));
    weiter = new TuiButton(this, QStringLiteral("weiter"), QStringLiteral("Weiter -->"));
    fertig = new TuiButton(this, QStringLiteral("fertig"), QStringLiteral("Fertig stellen"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cancel);
    buttons->addStretch();
    for (TuiButton* b : {zurueck, weiter, fertig}) {
        b->setMinimumWidth(110);
        buttons->addWidget(b);
    }

    auto* right = new QVBoxLayout;
    right->addWidget(auslosungsphasen, 1);
    right->addLayout(buttons);
    auto* whole = new QHBoxLayout(this);
    whole->addWidget(uiContainer1);
    whole->addLayout(right, 1);

    connectHandlers();
    connect(this, &QDialog::finished, this, [this] { m_loaded = false; });
}

Tauslosungsform::~Tauslosungsform() = default;

QWidget* Tauslosungsform::buildPhasePage(int p)
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("phase") + QString::number(p));
    auto* column = new QVBoxLayout;
    auto* row = new QHBoxLayout(page);
    row->addLayout(column);
    QWidget* canvas = nullptr;
    QScrollArea* box = nullptr;
    const DrawDrag fromList{DrawDrag::From::List, 0, 0, -1};
    if (p == 1) {
        DrawDrag one = fromList;
        one.a = int(DrawList::ListBox1);
        DrawDrag two = fromList;
        two.a = int(DrawList::ListBox2);
        ListBox1 = new DrawListBox(QStringLiteral("ListBox1"), one, page);
        ListBox2 = new DrawListBox(QStringLiteral("ListBox2"), two, page);
        column->addWidget(new QLabel(QStringLiteral("angemeldete Spieler"), page));
        column->addWidget(ListBox1, 2);
        column->addWidget(new QLabel(QStringLiteral("gesetzte Spieler"), page));
        column->addWidget(ListBox2, 1);
        RadioGroup1 = radioGroup(page, QStringLiteral("RadioGroup1"), QStringLiteral("Auslosungsverfahren"),
                                 {QStringLiteral("zufällig (gesetzte Spieler fest)"),
                                  QStringLiteral("zufällig (gesetzte Spieler losen)")},
                                 m_seedChoice[0]);
        column->addWidget(RadioGroup1);
        Checkbox1 = new TuiCheckbox(page, QStringLiteral("Checkbox1"), QStringLiteral("Vereinszugehörigkeit beachten"));
        Checkbox2 = new TuiCheckbox(page, QStringLiteral("Checkbox2"), QStringLiteral("Freilose zufällig verteilen"));
        column->addWidget(Checkbox1);
        column->addWidget(Checkbox2);
        uiButton1 = new TuiButton(page, QStringLiteral("uiButton1"), QStringLiteral("Losen"));
        ph1_del = new TuiButton(page, QStringLiteral("ph1_del"), QStringLiteral("Alles löschen"));
        column->addWidget(uiButton1);
        column->addWidget(ph1_del);
        ScrollBox1 = box = scrollBox(page, QStringLiteral("ScrollBox1"), canvas);
        m_participantLists[0] = ListBox1;
    } else {
        const QString n = QString::number(p + 1);
        DrawDrag origin = fromList;
        origin.a = p == 2 ? int(DrawList::ListBox3) : int(DrawList::ListBox4);
        auto* list = new DrawListBox(QStringLiteral("ListBox") + QString::number(p + 1), origin, page);
        column->addWidget(new QLabel(QStringLiteral("Teilnehmer an Phase ") + QString::number(p), page));
        column->addWidget(list, 1);
        QGroupBox* radio = radioGroup(page, QStringLiteral("RadioGroup") + QString::number(p),
                                      QStringLiteral("Setzverfahren für Zwischenrunde"),
                                      {QStringLiteral("nach System"), QStringLiteral("Zufall")}, m_seedChoice[size_t(p - 1)]);
        column->addWidget(radio);
        auto* check = new TuiCheckbox(page, QStringLiteral("Checkbox") + QString::number(p + 1),
                                      QStringLiteral("Freilose zufällig verteilen"));
        column->addWidget(check);
        auto* losenButton = new TuiButton(page, QStringLiteral("uiButton") + QString::number(p), QStringLiteral("Losen"));
        auto* del = new TuiButton(page, QStringLiteral("ph") + QString::number(p) + QStringLiteral("_del"),
                                  QStringLiteral("Alles löschen"));
        column->addWidget(losenButton);
        column->addWidget(del);
        box = scrollBox(page, QStringLiteral("ScrollBox") + QString::number(p + 2), canvas);
        m_participantLists[size_t(p - 1)] = list;
        if (p == 2) {
            ListBox3 = list;
            RadioGroup2 = radio;
            Checkbox3 = check;
            uiButton2 = losenButton;
            ph2_del = del;
            ScrollBox4 = box;
        } else {
            ListBox4 = list;
            RadioGroup3 = radio;
            Checkbox4 = check;
            uiButton3 = losenButton;
            ph3_del = del;
            ScrollBox5 = box;
        }
        (void)n;
    }
    for (QWidget* w : page->findChildren<QWidget*>())
        if (w->parentWidget() == page && w != box)
            w->setMaximumWidth(250);
    row->addWidget(box, 1);
    m_canvas[size_t(p - 1)] = canvas;
    return page;
}

QWidget* Tauslosungsform::buildTablesPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("platten"));
    auto* column = new QVBoxLayout;
    RadioGroup5 = radioGroup(page, QStringLiteral("RadioGroup5"), QStringLiteral("Tischaufteilung"),
                             {QStringLiteral("Tische frei verteilen"), QStringLiteral("Tische Gruppen fest zuordnen")},
                             m_tableChoice);
    ListBox5 = new DrawListBox(QStringLiteral("ListBox5"), DrawDrag{DrawDrag::From::Tables, 0, 0, -1}, page);
    ListBox5->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox5->setMaximumWidth(250);
    RadioGroup5->setMaximumWidth(250);
    column->addWidget(RadioGroup5);
    column->addWidget(new QLabel(QStringLiteral("Verfügbare Tische"), page));
    column->addWidget(ListBox5, 1);
    QWidget* canvas = nullptr;
    ScrollBox6 = scrollBox(page, QStringLiteral("ScrollBox6"), canvas);
    canvas->setAutoFillBackground(false);
    m_canvas[3] = canvas;
    auto* row = new QHBoxLayout(page);
    row->addLayout(column);
    row->addWidget(ScrollBox6, 1);
    return page;
}

void Tauslosungsform::connectHandlers()
{
    Prompter& prompter = m_links.prompter;
    const auto on = [this, &prompter](TuiButton* button, void (Tauslosungsform::*handler)()) {
        connectGuarded(button, &TuiButton::OnClick, this, prompter, [this, handler] { (this->*handler)(); });
    };
    on(weiter, &Tauslosungsform::weiterClick);
    on(zurueck, &Tauslosungsform::zurueckClick);
    on(cancel, &Tauslosungsform::cancelClick);
    on(fertig, &Tauslosungsform::fertigClick);
    on(uiButton1, &Tauslosungsform::uiButton1Click);
    on(uiButton2, &Tauslosungsform::uiButton2Click);
    on(uiButton3, &Tauslosungsform::uiButton3Click);
    on(ph1_del, &Tauslosungsform::ph1_delClick);
    on(ph2_del, &Tauslosungsform::ph2_delClick);
    on(ph3_del, &Tauslosungsform::ph3_delClick);
    connectGuarded(m_tableChoice, &QButtonGroup::idClicked, this, prompter,
                   [this](int id) { RadioGroup5Click(id); });
    // ListBox1Click / ListBox2Click: a selection in one clears the other's.
    connect(ListBox1, &QListWidget::itemPressed, ListBox2, &QListWidget::clearSelection);
    connect(ListBox2, &QListWidget::itemPressed, ListBox1, &QListWidget::clearSelection);

    const std::array<DrawList, 4> lists{DrawList::ListBox1, DrawList::ListBox2, DrawList::ListBox3,
                                        DrawList::ListBox4};
    const std::array<DrawListBox*, 4> boxes{ListBox1, ListBox2, ListBox3, ListBox4};
    for (size_t i = 0; i < lists.size(); ++i) {
        const DrawList target = lists[i];
        boxes[i]->onDrop = [this, target, &prompter](const DrawDrag& drag, int) {
            runGuarded(prompter, [&] { listDrop(target, drag); });
        };
    }
    ListBox5->onDrop = [this, &prompter](const DrawDrag& drag, int) {
        runGuarded(prompter, [&] { availableTablesDrop(drag); });
    };
}

DrawOptions Tauslosungsform::options(int phase) const
{
    DrawOptions o;
    o.randomSeeds = m_seedChoice[size_t(phase - 1)]->checkedId() == 1 ? 1 : 0;
    o.vereinBeachten = phase == 1 && Checkbox1->Checked();
    const std::array<TuiCheckbox*, 3> byes{Checkbox2, Checkbox3, Checkbox4};
    o.freiloseZufaellig = byes[size_t(phase - 1)]->Checked();
    return o;
}

// --- loading ---

void Tauslosungsform::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous() || m_loaded)
        return;
    if (auto* main = parentWidget()) {
        const QRect frame = main->frameGeometry();
        move(frame.center() - rect().center());
    }
    runGuarded(m_links.prompter, [this] { laden(); });
}

void Tauslosungsform::laden()
{
    m_loaded = true;
    m_tid = m_links.aktuelleTID;
    const int mode = Tag == 2 ? 2 : 1;
    m_model.load(m_links.database(), m_links.aktuelleKID, mode, redrawPhase);

    // Emptying (phase1loeschen): the choices back to their first items, the
    // boxes unticked and disabled, the run-time controls gone.
    for (QButtonGroup* g : m_seedChoice)
        g->button(0)->setChecked(true);
    m_tableChoice->button(0)->setChecked(true);
    for (TuiCheckbox* c : {Checkbox1, Checkbox2, Checkbox3, Checkbox4}) {
        c->SetChecked(false);
        c->setEnabled(false);
    }
    for (int p = 1; p <= 3; ++p)
        layOutPhase(p);
    m_tablesWidth = -1;
    layOutTables();

    const DrawPhase& first = m_model.phase(1);
    if (first.exists()) {
        Checkbox1->SetChecked(true);
        Checkbox1->setEnabled(true);
        Checkbox2->setEnabled(first.isKnockOut());
    }
    Checkbox3->setEnabled(m_model.phase(2).isKnockOut() && m_model.phase(2).built);
    Checkbox4->setEnabled(m_model.phase(3).isKnockOut() && m_model.phase(3).built);

    StaticText2->setText(systemName(m_model.phase(1).system));
    StaticText4->setText(systemName(m_model.phase(2).system));
    StaticText6->setText(systemName(m_model.phase(3).system));
    StaticText3->setVisible(m_model.phase(2).exists());
    StaticText4->setVisible(m_model.phase(2).exists());
    StaticText5->setVisible(m_model.phase(3).exists());
    StaticText6->setVisible(m_model.phase(3).exists());
    refresh();
}

void Tauslosungsform::layOutPhase(int p)
{
    for (DrawListBox* list : m_gruppenlisten[size_t(p - 1)])
        delete list;
    m_gruppenlisten[size_t(p - 1)].clear();
    QWidget* canvas = m_canvas[size_t(p - 1)];
    for (QWidget* child : canvas->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        delete child;
    m_brackets[size_t(p - 1)] = nullptr;
    const DrawPhase& ph = m_model.phase(p);
    if (!ph.built || !ph.exists()) {
        setBackground(canvas, palette().color(QPalette::Window));
        canvas->resize(0, 0);
        return;
    }
    Prompter& prompter = m_links.prompter;
    if (ph.isGroups()) {
        setBackground(canvas, kGroupsColour);
        QSize extent;
        const QList<GroupGeometry> geometry = m_model.groupGeometry(p);
        for (int g = 0; g < geometry.size(); ++g) {
            auto* caption = new QLabel(geometry[g].caption, canvas);
            caption->move(geometry[g].captionAt);
            auto* list = new DrawListBox(QStringLiteral("gruppe%1_%2").arg(p).arg(g),
                                         DrawDrag{DrawDrag::From::GroupRow, p, g, -1}, canvas);
            list->setGeometry(geometry[g].list.adjusted(0, 0, 0, 4));
            list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            list->onDrop = [this, p, g, &prompter](const DrawDrag& drag, int row) {
                runGuarded(prompter, [&] { groupDrop(p, g, row, drag); });
            };
            list->onDelete = [this, p, g, &prompter](int row) {
                runGuarded(prompter, [&] { act([&] { return m_model.deleteRow({p, g, row}); }); });
            };
            if (p == 1) {
                // gruppeonclick: one selection over the phase-1 groups.
                connect(list, &QListWidget::itemPressed, this, [this, list] {
                    for (DrawListBox* other : m_gruppenlisten[0])
                        if (other != list)
                            other->clearSelection();
                });
            }
            m_gruppenlisten[size_t(p - 1)].append(list);
            extent = extent.expandedTo(QSize(geometry[g].list.right() + 10, geometry[g].list.bottom() + 14));
        }
        canvas->resize(extent);
    } else {
        setBackground(canvas, Qt::white);
        auto* bracket = new BracketView(p, canvas);
        bracket->onDrop = [this, p, &prompter](const DrawDrag& drag, int slot) {
            runGuarded(prompter, [&] { slotDrop(p, slot, drag); });
        };
        m_brackets[size_t(p - 1)] = bracket;
        const BracketGeometry geometry = m_model.bracketGeometry(p);
        bracket->showBracket(geometry, {});
        canvas->resize(geometry.size);
    }
    for (QWidget* child : canvas->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->show();
}

void Tauslosungsform::layOutTables()
{
    QWidget* canvas = m_canvas[3];
    qDeleteAll(m_plattenlisten);
    m_plattenlisten.clear();
    for (QWidget* child : canvas->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        delete child;
    m_tablesWidth = ScrollBox6->viewport()->width();
    const QList<TableListGeometry> geometry = m_model.tableListGeometry(m_tablesWidth);
    Prompter& prompter = m_links.prompter;
    QSize extent;
    for (int i = 0; i < geometry.size(); ++i) {
        auto* caption = new QLabel(geometry[i].caption, canvas);
        caption->move(geometry[i].captionAt);
        auto* list = new DrawListBox(QStringLiteral("platte%1").arg(i), DrawDrag{DrawDrag::From::TableList, i, 0, -1},
                                     canvas);
        list->setGeometry(geometry[i].list.adjusted(0, 0, 0, 4));
        list->setSortingEnabled(false);
        list->onDrop = [this, i, &prompter](const DrawDrag& drag, int) {
            runGuarded(prompter, [&] { tableListDrop(i, drag); });
        };
        const bool shown = m_model.tableListShown(i);
        caption->setVisible(shown);
        list->setVisible(shown);
        m_plattenlisten.append(list);
        extent = extent.expandedTo(QSize(geometry[i].list.right() + 10, geometry[i].list.bottom() + 14));
    }
    canvas->resize(extent);
    showTables();
}

void Tauslosungsform::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (!m_plattenlisten.isEmpty() && ScrollBox6->viewport()->width() / 80 != m_tablesWidth / 80)
        layOutTables();
}

// --- showing ---

void Tauslosungsform::refresh()
{
    showLists();
    for (int p = 1; p <= 3; ++p)
        showPhase(p);
    showTables();
    showStep();
}

void Tauslosungsform::showLists()
{
    const std::array<DrawList, 4> lists{DrawList::ListBox1, DrawList::ListBox2, DrawList::ListBox3,
                                        DrawList::ListBox4};
    const std::array<DrawListBox*, 4> boxes{ListBox1, ListBox2, ListBox3, ListBox4};
    for (size_t i = 0; i < lists.size(); ++i) {
        QStringList texts;
        for (int row = 0; row < m_model.list(lists[i]).size(); ++row)
            texts << m_model.listText(lists[i], row);
        boxes[i]->showTexts(texts);
    }
    QStringList tables = m_model.tables();
    if (ListBox5->count() != tables.size()) {
        ListBox5->clear();
        ListBox5->addItems(tables);
    }
}

void Tauslosungsform::showPhase(int p)
{
    const DrawPhase& ph = m_model.phase(p);
    const QList<DrawListBox*>& lists = m_gruppenlisten[size_t(p - 1)];
    for (int g = 0; g < lists.size() && g < ph.groups.size(); ++g) {
        QStringList rows;
        for (int r = 0; r < ph.groups[g].size(); ++r)
            rows << DrawModel::rowText(r, ph.groups[g][r]);
        lists[g]->showTexts(rows);
    }
    if (BracketView* bracket = m_brackets[size_t(p - 1)]) {
        QStringList texts;
        for (const DrawEntry& slot : ph.koinfos)
            texts << slot.text();
        bracket->showBracket(m_model.bracketGeometry(p), texts);
        m_canvas[size_t(p - 1)]->resize(bracket->size());
    }
    const std::array<TuiButton*, 3> losenButtons{uiButton1, uiButton2, uiButton3};
    losenButtons[size_t(p - 1)]->setEnabled(ph.losenEnabled && ph.built && bool(losen));
}

void Tauslosungsform::showTables()
{
    for (int i = 0; i < m_plattenlisten.size() && i < m_model.plattenlisten().size(); ++i)
        m_plattenlisten[i]->showTexts(m_model.plattenlisten()[i]);
}

void Tauslosungsform::showStep()
{
    const WizardState& state = m_model.state();
    auslosungsphasen->setCurrentIndex(state.step - 1);
    zurueck->setEnabled(state.zurueck);
    weiter->setEnabled(state.weiter);
    fertig->setEnabled(state.fertig);
    const QColor highlight = palette().color(QPalette::Highlight);
    const auto colour = [&](QLabel* label, int step) {
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, m_model.highlighted(step) ? highlight : QColor(Qt::black));
        label->setPalette(pal);
    };
    colour(StaticText1, 1);
    colour(StaticText2, 1);
    colour(StaticText3, 2);
    colour(StaticText4, 2);
    colour(StaticText5, 3);
    colour(StaticText6, 3);
    colour(StaticText10, 4);
}

// --- handlers ---

void Tauslosungsform::act(const std::function<bool()>& change)
{
    if (change())
        refresh();
}

void Tauslosungsform::weiterClick()
{
    act([this] { return m_model.weiter(); });
}

void Tauslosungsform::zurueckClick()
{
    act([this] { return m_model.zurueck(); });
}

void Tauslosungsform::cancelClick()
{
    reject();
    if (auto* main = parentWidget()) {
        main->raise();
        main->activateWindow();
    }
}

void Tauslosungsform::fertigClick()
{
    if (!m_model.state().fertig || !fertigStellen)
        return;
    if (fertigStellen(*this))
        accept();
}

void Tauslosungsform::losenClick(int p)
{
    DrawPhase& ph = m_model.phase(p);
    if (!losen || !ph.losenEnabled || !ph.built)
        return;
    losen(m_model, p, options(p));
    m_model.setLosenEnabled(p, false);
    refresh();
}

void Tauslosungsform::allesLoeschen(int p)
{
    m_model.allesLoeschen(p);
    refresh();
}

void Tauslosungsform::listDrop(DrawList target, const DrawDrag& drag)
{
    switch (drag.from) {
    case DrawDrag::From::GroupRow:
        act([&] { return m_model.dropRowOnList({drag.a, drag.b, drag.row}, target); });
        break;
    case DrawDrag::From::Slot:
        act([&] { return m_model.dropSlotOnList({drag.a, drag.row}, target); });
        break;
    default:
        break;
    }
}

void Tauslosungsform::groupDrop(int p, int group, int row, const DrawDrag& drag)
{
    if (row < 0)
        return;
    switch (drag.from) {
    case DrawDrag::From::List:
        act([&] { return m_model.dropOnGroupRow(DrawList(drag.a), drag.row, {p, group, row}); });
        break;
    case DrawDrag::From::GroupRow:
        if (drag.a == p && drag.b == group)
            act([&] { return m_model.swapRows(p, group, drag.row, row); });
        break;
    default:
        break;
    }
}

void Tauslosungsform::slotDrop(int p, int slot, const DrawDrag& drag)
{
    if (drag.from == DrawDrag::From::List)
        act([&] { return m_model.dropOnSlot(DrawList(drag.a), drag.row, {p, slot}); });
}

void Tauslosungsform::RadioGroup5Click(int index)
{
    m_model.setPlattensystem(index);
    layOutTables();
}

void Tauslosungsform::tableListDrop(int list, const DrawDrag& drag)
{
    if (drag.from != DrawDrag::From::Tables)
        return;
    QList<int> rows;
    for (const QModelIndex& index : ListBox5->selectionModel()->selectedRows())
        rows << index.row();
    if (drag.row >= 0 && !rows.contains(drag.row))
        rows << drag.row;
    std::sort(rows.begin(), rows.end());
    act([&] { return m_model.assignTables(rows, list); });
}

void Tauslosungsform::availableTablesDrop(const DrawDrag& drag)
{
    if (drag.from == DrawDrag::From::TableList)
        act([&] { return m_model.removeTable(drag.a, drag.row); });
}

} // namespace bw
