#include "output/importpage.h"

#include "controls/uibuttons.h"
#include "output/progressrun.h"
#include "platform/germantext.h"
#include "platform/prompter.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QSet>
#include <QVBoxLayout>

namespace bw {

namespace {

// An entry of the sorted list, ordered as a German reader sorts names.
class SortedEntry : public QListWidgetItem {
public:
    using QListWidgetItem::QListWidgetItem;
    bool operator<(const QListWidgetItem& other) const override { return german::lessThan(text(), other.text()); }
};

// Adds the entries at the end, or in their places by text when the list sorts
// (sorting once, not at every entry).
void addEntries(QListWidget* list, const QList<ImportItem>& items)
{
    const bool sorted = list->isSortingEnabled();
    list->setSortingEnabled(false);
    for (const ImportItem& item : items) {
        auto* entry = new SortedEntry(item.text());
        entry->setData(Qt::UserRole, QVariant::fromValue(item));
        list->addItem(entry);
    }
    if (sorted) {
        list->sortItems();
        list->setSortingEnabled(true);
    }
}

QListWidget* entryList(QWidget* parent, const QString& name, bool sorted)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSortingEnabled(sorted);
    return list;
}

QLabel* heading(QWidget* parent, const QString& text, int points)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSize(points);
    label->setFont(font);
    return label;
}

} // namespace

ImportPage::ImportPage(const ImportPageLinks& links, QWidget* parent)
    : QWidget(parent), m_links(links), m_page(this, links.prompter)
{
    setObjectName(QStringLiteral("ImportPage"));
    auto* layout = new QGridLayout(this);
    title = heading(this, QStringLiteral("Importieren von Spielern"), 14);
    layout->addWidget(title, 0, 0, 1, 3);
    layout->addWidget(heading(this, QStringLiteral("Spieler wählen"), 10), 1, 0);
    layout->addWidget(heading(this, QStringLiteral("Spieler importieren"), 10), 1, 2);
    importliste1 = entryList(this, QStringLiteral("importliste1"), true);
    importliste2 = entryList(this, QStringLiteral("importliste2"), false);
    layout->addWidget(importliste1, 2, 0);
    layout->addWidget(importliste2, 2, 2);
    auto* middle = new QVBoxLayout;
    importbutton1 = new TuiButton(this, QStringLiteral("importbutton1"), QStringLiteral("->>"));
    importbutton2 = new TuiButton(this, QStringLiteral("importbutton2"), QStringLiteral("<<-"));
    middle->addStretch();
    middle->addWidget(importbutton1);
    middle->addWidget(importbutton2);
    middle->addStretch();
    layout->addLayout(middle, 2, 1);
    impoertquelle = new TuiButton(this, QStringLiteral("impoertquelle"), QStringLiteral("Datenquelle öffnen"));
    importhinzu = new TuiButton(this, QStringLiteral("importhinzu"), QStringLiteral("Importieren"));
    layout->addWidget(impoertquelle, 3, 0, Qt::AlignLeft);
    layout->addWidget(importhinzu, 3, 2, Qt::AlignRight);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(2, 1);

    m_page.handle(impoertquelle, &TuiButton::OnClick, [this] { impoertquelleClick(); });
    m_page.handle(importbutton1, &TuiButton::OnClick, [this] { importbutton1Click(); });
    m_page.handle(importbutton2, &TuiButton::OnClick, [this] { importbutton2Click(); });
    m_page.handle(importhinzu, &TuiButton::OnClick, [this] { importhinzuClick(); });
}

void ImportPage::clearLists()
{
    const auto filling = m_page.fill();
    importliste1->clear();
    importliste2->clear();
}

void ImportPage::setSourceEntries(const QList<ImportItem>& items)
{
    const auto filling = m_page.fill();
    importliste1->clear();
    addEntries(importliste1, items);
    importliste1->selectAll();
}

QList<ImportItem> ImportPage::entries(const QListWidget* list)
{
    QList<ImportItem> items;
    for (int i = 0; i < list->count(); ++i)
        items.append(list->item(i)->data(Qt::UserRole).value<ImportItem>());
    return items;
}

void ImportPage::impoertquelleClick()
{
    if (m_links.openSource)
        m_links.openSource();
}

void ImportPage::move(QListWidget* from, QListWidget* to)
{
    // One pass however long the lists are: the destination's texts in a set,
    // the source rebuilt from the entries that stay, each list sorted once.
    QSet<QString> present;
    for (int i = 0; i < to->count(); ++i)
        present.insert(to->item(i)->text());
    QList<ImportItem> moved;
    QList<ImportItem> staying;
    for (int i = from->count() - 1; i >= 0; --i) {
        const QListWidgetItem* entry = from->item(i);
        const ImportItem item = entry->data(Qt::UserRole).value<ImportItem>();
        if (entry->isSelected() && !present.contains(entry->text())) {
            present.insert(entry->text());
            moved.append(item);
        } else {
            staying.prepend(item);
        }
    }
    if (!moved.isEmpty()) {
        from->clear();
        addEntries(from, staying);
        addEntries(to, moved);
    }
    from->clearSelection();
}

void ImportPage::importbutton1Click()
{
    move(importliste1, importliste2);
}

void ImportPage::importbutton2Click()
{
    move(importliste2, importliste1);
}

void ImportPage::importhinzuClick()
{
    const QList<ImportItem> items = entries(importliste2);
    ImportOutcome outcome;
    if (!items.isEmpty()) {
        ProgressRun progress(m_links.progress, int(items.size()));
        if (!m_page.write([&] {
                outcome = importPlayers(m_links.database(), m_links.aktuelleTID, items,
                                        [&progress](int done) { progress.set(done); });
            }))
            return; // nothing written, both lists as they were
    }
    QString message = QStringLiteral("Der Import wurde abgeschlossen.");
    if (!outcome.present.isEmpty())
        message += QStringLiteral("\n\nNicht übernommen, da schon im Turnier: ") + outcome.present.join(QStringLiteral("; "));
    if (!outcome.unknownClasses.isEmpty())
        message += QStringLiteral("\n\nNicht eingetragen, da keine Klasse dieses Turniers: ")
                   + outcome.unknownClasses.join(QStringLiteral("; "));
    m_links.prompter.information(message);
    clearLists();
}

} // namespace bw
