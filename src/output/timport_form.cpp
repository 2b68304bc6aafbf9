#include "output/timport_form.h"

#include "controls/uibuttons.h"
#include "output/importsources.h"
#include "output/progressrun.h"
#include "output/registrationformreader.h"
#include "platform/apperror.h"
#include "platform/filedialogs.h"
#include "platform/pagestate.h"
#include "platform/prompter.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace bw {

namespace {

// A list of labels that takes drops from the other list of the mapping. A drop
// never moves an entry by itself: the dialog's handler decides.
class LabelList : public QListWidget {
public:
    LabelList(QWidget* parent, const QString& name) : QListWidget(parent)
    {
        setObjectName(name);
        setDragEnabled(true);
        setAcceptDrops(true);
        setDragDropMode(QAbstractItemView::DragDrop);
        setDefaultDropAction(Qt::CopyAction);
        setSelectionMode(QAbstractItemView::SingleSelection);
    }
    std::function<void(QObject*)> dropped;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override { event->acceptProposedAction(); }
    void dragMoveEvent(QDragMoveEvent* event) override { event->acceptProposedAction(); }
    void dropEvent(QDropEvent* event) override
    {
        event->setDropAction(Qt::CopyAction);
        event->accept();
        if (dropped)
            dropped(event->source());
    }
};

QLabel* caption(QWidget* parent, const QString& text)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QStringList texts(const QListWidget* list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result << list->item(i)->text();
    return result;
}

} // namespace

const QStringList Timport_form::kFileTypes{QStringLiteral("Brackwell-Datenbank (SQLite) (*.sqlite *.db)"),
                                           QStringLiteral("Exceldaten (*.xls *.xlsx)"),
                                           QStringLiteral("Anmeldeformular (Word) (*.docx)")};

Timport_form::Timport_form(QWidget* parent, ImportFormLinks links) : QDialog(parent), m_links(std::move(links))
{
    setObjectName(QStringLiteral("import_form"));
    setWindowTitle(QStringLiteral("Importieren"));
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    auto* layout = new QVBoxLayout(this);

    brackwell = new QWidget(this);
    brackwell->setObjectName(QStringLiteral("brackwell"));
    {
        auto* column = new QVBoxLayout(brackwell);
        column->setContentsMargins(0, 0, 0, 0);
        column->addWidget(caption(brackwell, QStringLiteral("Verfügbare Turniere")));
        ListBox1 = new QListWidget(brackwell);
        ListBox1->setObjectName(QStringLiteral("ListBox1"));
        column->addWidget(ListBox1);
    }
    layout->addWidget(brackwell, 1);

    excel = new QWidget(this);
    excel->setObjectName(QStringLiteral("excel"));
    {
        auto* row = new QHBoxLayout(excel);
        row->setContentsMargins(0, 0, 0, 0);
        auto* left = new QVBoxLayout;
        left->addWidget(caption(excel, QStringLiteral("Vorhanden Daten")));
        DBGrid1 = new QTableWidget(excel);
        DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
        DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
        DBGrid1->verticalHeader()->setVisible(false);
        left->addWidget(DBGrid1, 1);
        row->addLayout(left, 3);
        auto* right = new QVBoxLayout;
        right->addWidget(caption(excel, QStringLiteral("Spielerdaten")));
        auto* labels = new LabelList(excel, QStringLiteral("ListBox2"));
        labels->addItems(sheetFieldLabels());
        labels->dropped = [this](QObject* source) { runGuarded(m_links.prompter, [&] { ListBox2DragDrop(source); }); };
        ListBox2 = labels;
        right->addWidget(ListBox2, 1);
        right->addWidget(caption(excel, QStringLiteral("Datenreihenfolge")));
        auto* order = new LabelList(excel, QStringLiteral("ListBox3"));
        order->dropped = [this](QObject* source) { runGuarded(m_links.prompter, [&] { ListBox3DragDrop(source); }); };
        ListBox3 = order;
        right->addWidget(ListBox3, 1);
        row->addLayout(right, 1);
    }
    layout->addWidget(excel, 1);

    word = new QWidget(this);
    word->setObjectName(QStringLiteral("word"));
    {
        auto* column = new QVBoxLayout(word);
        column->setContentsMargins(0, 0, 0, 0);
        Vereintext = caption(word, QString());
        Vereintext->setObjectName(QStringLiteral("Vereintext"));
        // The club comes from the returned form: shown as typed, never as markup.
        Vereintext->setTextFormat(Qt::PlainText);
        column->addWidget(Vereintext);
        ListBox4 = new QListWidget(word);
        ListBox4->setObjectName(QStringLiteral("ListBox4"));
        column->addWidget(ListBox4);
    }
    layout->addWidget(word, 1);

    auto* buttons = new QHBoxLayout;
    ok = new TuiButton(this, QStringLiteral("ok"), QStringLiteral("Importieren"));
    cancel = new TuiButton(this, QStringLiteral("cancel"), QStringLiteral("Zurück"));
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connectGuarded(ok, &TuiButton::OnClick, this, m_links.prompter, [this] { okClick(); });
    connectGuarded(cancel, &TuiButton::OnClick, this, m_links.prompter, [this] { cancelClick(); });
    connect(this, &QDialog::finished, this, [this] { FormClose(); });
    brackwell->hide();
    excel->hide();
    word->hide();
}

Timport_form::~Timport_form() = default;

bool Timport_form::runImportOpen(FileDialogs& files, QWidget* parent)
{
    importopenFilterIndex = Database;
    importopenFileName.clear();
    QString fileType = kFileTypes.first();
    const QString picked = files.openFileOfType(parent, QStringLiteral("Datenquelle öffnen"), importopenInitialDir,
                                                kFileTypes.join(QStringLiteral(";;")), &fileType);
    if (picked.isEmpty())
        return false;
    importopenFileName = picked;
    importopenFilterIndex = int(std::max<qsizetype>(kFileTypes.indexOf(fileType), 0)) + 1;
    return true;
}

void Timport_form::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) // not when the window comes back from being minimised
        runGuarded(m_links.prompter, [this] { FormShow(); });
}

void Timport_form::FormShow()
{
    ListBox1->clear();
    ListBox3->clear();
    ListBox4->clear();
    m_formItems.clear();
    m_table = {};
    m_source.reset();
    DBGrid1->clear();
    DBGrid1->setRowCount(0);
    DBGrid1->setColumnCount(0);
    Vereintext->clear();
    brackwell->hide();
    excel->hide();
    word->hide();
    switch (importopenFilterIndex) {
    case Database: showDatabase(); break;
    case Sheet: showSheet(); break;
    case Form: showForm(); break;
    default: break;
    }
}

void Timport_form::showDatabase()
{
    resize(std::max(210, brackwell->sizeHint().width() + 20), 320);
    brackwell->show();
    try {
        m_source = std::make_unique<SourceDatabase>(importopenFileName);
        for (const SourceTournament& tournament : m_source->tournaments()) {
            auto* item = new QListWidgetItem(tournament.turniername, ListBox1);
            item->setData(Qt::UserRole, tournament.tid);
        }
    } catch (const AppError& e) {
        m_source.reset();
        m_links.prompter.prompt(PromptKind::Error, QStringLiteral("Ungültige Quelle gewählt\n") + e.message(),
                                PromptButtons::Cancel);
    }
}

void Timport_form::showSheet()
{
    resize(575, 400);
    excel->show();
    try {
        m_table = SheetReader::readFile(importopenFileName);
    } catch (const AppError& e) {
        m_table = {};
        m_links.prompter.error(e.message());
        return;
    }
    const int columns = m_table.columnCount();
    ProgressRun progress(m_links.progress, columns + int(m_table.rows.size()));
    DBGrid1->setColumnCount(columns);
    for (int i = 0; i < columns; ++i) {
        DBGrid1->setColumnWidth(i, 80);
        DBGrid1->setHorizontalHeaderItem(i, new QTableWidgetItem(QStringLiteral("Spalte %1").arg(i + 1)));
        progress.step();
    }
    DBGrid1->setRowCount(int(m_table.rows.size()));
    for (int row = 0; row < m_table.rows.size(); ++row) {
        for (int column = 0; column < columns; ++column)
            if (!m_table.rows[row][column].isEmpty())
                DBGrid1->setItem(row, column, new QTableWidgetItem(m_table.rows[row][column]));
        if (row % 64 == 0)
            progress.set(columns + row);
    }
}

void Timport_form::showForm()
{
    resize(std::max(230, word->sizeHint().width()), 360);
    word->show();
    ProgressRun progress(m_links.progress, 3);
    try {
        const ReturnedForm form = RegistrationFormReader::readFile(importopenFileName);
        progress.step();
        const FormImport read = formImport(form);
        replaceStagingRows(m_links.database(), read.staging);
        progress.step();
        m_formItems = read.items;
        std::reverse(m_formItems.begin(), m_formItems.end()); // the last row at the top
        Vereintext->setText(read.verein);
        for (const ImportItem& item : m_formItems)
            ListBox4->addItem(item.text());
        progress.step();
    } catch (const AppError& e) {
        m_formItems.clear();
        ListBox4->clear();
        Vereintext->clear();
        m_links.prompter.prompt(PromptKind::Information, QStringLiteral("Es trat ein Fehler auf!\n") + e.message(),
                                PromptButtons::Ok);
    }
}

void Timport_form::okClick()
{
    if (!brackwell->isHidden()) {
        QList<ImportItem> items;
        try {
            const QListWidgetItem* chosen = ListBox1->currentItem();
            if (!m_source || !chosen || !chosen->isSelected())
                throw AppError(QStringLiteral("Es ist kein Turnier gewählt."));
            items = m_source->players(chosen->data(Qt::UserRole).toInt());
        } catch (const AppError&) {
            m_links.prompter.prompt(PromptKind::Error, QStringLiteral("Daten konnten nicht übernommen werden"),
                                    PromptButtons::Cancel);
            return;
        }
        finishWith(items);
    } else if (!excel->isHidden()) {
        const QStringList order = texts(ListBox3);
        const QString refusal = checkSheetMapping(m_table, order);
        if (!refusal.isEmpty()) {
            m_links.prompter.prompt(PromptKind::Error, refusal, PromptButtons::Ok);
            return;
        }
        finishWith(sheetItems(m_table, order));
    } else if (!word->isHidden()) {
        finishWith(m_formItems);
    }
}

void Timport_form::finishWith(const QList<ImportItem>& items)
{
    if (m_links.deliver)
        m_links.deliver(items);
    done(QDialog::Accepted);
}

void Timport_form::cancelClick()
{
    done(QDialog::Rejected);
}

void Timport_form::FormClose()
{
    m_source.reset();
    m_table = {};
    DBGrid1->setRowCount(0);
}

void Timport_form::ListBox3DragDrop(QObject* source)
{
    if (source != ListBox2)
        return;
    const QListWidgetItem* label = ListBox2->currentItem();
    if (!label || !label->isSelected())
        return;
    if (ListBox3->findItems(label->text(), Qt::MatchExactly).isEmpty())
        ListBox3->addItem(label->text());
}

void Timport_form::ListBox2DragDrop(QObject*)
{
    QListWidgetItem* label = ListBox3->currentItem();
    if (label && label->isSelected())
        delete ListBox3->takeItem(ListBox3->row(label));
}

} // namespace bw
