#include "people/refereepage.h"

#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"
#include "data/dbvalue.h"
#include "data/playerrecords.h"
#include "data/refereerecords.h"
#include "people/peoplewidgets.h"
#include "platform/germantext.h"
#include "platform/prompter.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace bw {

using people::editableCombo;
using people::learnValue;
using people::selectOnly;

const QString RefereePage::kNewCaption = QStringLiteral("Speichern");
const QString RefereePage::kChangeCaption = QStringLiteral("Änderung übernehmen");

RefereePage::RefereePage(const PeoplePageLinks& links, QWidget* parent)
    : QWidget(parent), m_links(links), m_page(this, links.prompter)
{
    setObjectName(QStringLiteral("RefereePage"));
    build();
    m_page.onChange([this] { showMode(); });
    showMode();
}

void RefereePage::build()
{
    auto* title = new QLabel(QStringLiteral("Schiedsrichterverwaltung"), this);
    QFont font = title->font();
    font.setBold(true);
    font.setPointSize(font.pointSize() + 4);
    title->setFont(font);

    schiriliste = new QListWidget(this);
    schiriliste->setObjectName(QStringLiteral("schiriliste"));
    schiriliste->setSortingEnabled(true);
    schiriliste->setItemDelegate(new people::PersonEntryDelegate(schiriliste, 16));
    schiriliste->setUniformItemSizes(true);
    schiriliste->setMinimumWidth(200);
    schiriklassen = new QListWidget(this);
    schiriklassen->setObjectName(QStringLiteral("schiriklassen"));
    schiriklassen->setSortingEnabled(true);
    schiriklassen->setSelectionMode(QAbstractItemView::MultiSelection);

    auto edit = [this](const QString& name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        return e;
    };
    schirinname = edit(QStringLiteral("schirinname"));
    schirivname = edit(QStringLiteral("schirivname"));
    schirigeb = edit(QStringLiteral("schirigeb"));
    schiriverein = editableCombo(this, QStringLiteral("schiriverein"));
    schiriangemeldet = new TuiCheckbox(this, QStringLiteral("schiriangemeldet"), QStringLiteral("angemeldet"));
    schirikverband = editableCombo(this, QStringLiteral("schirikverband"));
    schiribverband = editableCombo(this, QStringLiteral("schiribverband"));
    schirilverband = editableCombo(this, QStringLiteral("schirilverband"));
    schiriland = editableCombo(this, QStringLiteral("schiriland"));
    schiriklasse = editableCombo(this, QStringLiteral("schiriklasse"));
    schirimemo = new QPlainTextEdit(this);
    schirimemo->setObjectName(QStringLiteral("schirimemo"));
    schiri_neu = new TuiButton(this, QStringLiteral("schiri_neu"), QStringLiteral("Neuer Schiedsrichter"));
    schirispeichern = new TuiButton(this, QStringLiteral("schirispeichern"), kNewCaption);
    schiri_del = new TuiButton(this, QStringLiteral("schiri_del"), QStringLiteral("Schiedsrichter löschen"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Nachname"), schirinname);
    form->addRow(QStringLiteral("Vorname"), schirivname);
    form->addRow(QStringLiteral("Geburtstag"), schirigeb);
    form->addRow(QStringLiteral("Verein"), schiriverein);
    form->addRow(QString(), schiriangemeldet);
    form->addRow(QStringLiteral("Kreisverband"), schirikverband);
    form->addRow(QStringLiteral("Bundesverband"), schiribverband);
    form->addRow(QStringLiteral("Landesverband"), schirilverband);
    form->addRow(QStringLiteral("Land"), schiriland);
    form->addRow(QStringLiteral("Spielklasse"), schiriklasse);
    form->addRow(QStringLiteral("Memo"), schirimemo);

    auto* classes = new QVBoxLayout;
    classes->addWidget(new QLabel(QStringLiteral("Verfügbare Klassen"), this));
    classes->addWidget(schiriklassen, 1);

    auto* columns = new QHBoxLayout;
    columns->addWidget(schiriliste, 1);
    columns->addLayout(form, 2);
    columns->addLayout(classes, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(schiri_neu);
    buttons->addWidget(schirispeichern);
    buttons->addWidget(schiri_del);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);

    m_page.handle(schiri_neu, &TuiButton::OnClick, [this] { schiri_neuClick(); });
    m_page.handle(schirispeichern, &TuiButton::OnClick, [this] { schirispeichernClick(); });
    m_page.handle(schiri_del, &TuiButton::OnClick, [this] { schiri_delClick(); });
    m_page.handle(schiriliste, &QListWidget::itemClicked, [this] { schirilisteClick(); });
    // The search runs on the field's text as it now reads, whatever keys made it.
    m_page.handle(schirinname, &QLineEdit::textEdited, [this](const QString& text) { schirisuche(text); });
    m_page.handle(schirinname, &QLineEdit::returnPressed, [this] {
        if (!schiriliste->selectedItems().isEmpty())
            load(schiriliste->selectedItems().first());
    });
    for (QLineEdit* e : {schirinname, schirivname, schirigeb})
        m_page.edits(e, &QLineEdit::textChanged);
    for (QComboBox* c : {schiriverein, schirikverband, schiribverband, schirilverband, schiriland, schiriklasse})
        m_page.edits(c, &QComboBox::currentTextChanged);
    m_page.edits(schiriangemeldet, &TuiCheckbox::OnClick);
    m_page.edits(schiriklassen, &QListWidget::itemClicked);
}

// The save button names the next save; while the page is unchanged it is
// disabled and keeps the caption loading, clearing or the last save left.
void RefereePage::showMode()
{
    if (m_page.mode() != PageState::Mode::Unchanged)
        schirispeichern->SetCaption(m_page.mode() == PageState::Mode::New ? kNewCaption : kChangeCaption);
    schirispeichern->setEnabled(m_page.hasChanges());
}

void RefereePage::SpielerbuttonItems4Click()
{
    const auto filling = m_page.fill();
    schiriliste->clear();
    schiriklassen->clear();
    schirifelderloeschen();
    for (QComboBox* c : {schiriland, schirikverband, schiribverband, schirilverband, schiriklasse, schiriverein})
        c->clear();
    geladenerName.clear();
    m_loaded.reset();
    schirispeichern->SetCaption(kNewCaption);
    m_page.set(0, PageState::Mode::Unchanged);
    fillClasses();
    {
        const QSqlDatabase db = m_links.database();
        const int tid = m_links.aktuelleTID;
        schiriverein->addItems(playerColumnValues(db, tid, QStringLiteral("verein")));
        for (const SchiriInfo& r : loadReferees(db, tid))
            addListEntry(r.id, r.name(), r.angemeldet, r.verein);
        const std::pair<QComboBox*, const char*> lists[] = {{schirikverband, "kverband"},
                                                            {schiribverband, "bverband"},
                                                            {schirilverband, "lverband"},
                                                            {schiriland, "land"},
                                                            {schiriklasse, "spklasse"}};
        for (const auto& [combo, column] : lists)
            combo->addItems(playerColumnValues(db, tid, QString::fromLatin1(column)));
    }
    for (QComboBox* c : {schiriland, schirikverband, schiribverband, schirilverband, schiriklasse, schiriverein})
        c->setCurrentText(QString());
}

void RefereePage::fillClasses()
{
    const auto filling = m_page.fill();
    const QList<int> selected = selectedClasses();
    schiriklassen->clear();
    for (const RefereeClass& c : loadRefereeClasses(m_links.database(), m_links.aktuelleTID)) {
        QListWidgetItem* item = people::addEntry(schiriklassen, c.text);
        item->setData(Qt::UserRole, c.kid);
        item->setSelected(selected.contains(c.kid));
    }
}

void RefereePage::showListEntry(const RefereeData& data)
{
    const QString name = displayName(data.record.snname, data.record.svname);
    delete people::entryWithKey(schiriliste, data.id);
    addListEntry(data.id, name, data.record.sangemeldet, data.record.sverein);
    selectOnly(schiriliste, people::entryWithKey(schiriliste, data.id));
}

void RefereePage::addListEntry(int id, const QString& name, bool angemeldet, const QString& verein)
{
    QListWidgetItem* item = people::addEntry(schiriliste, name);
    item->setData(Qt::UserRole, id);
    item->setData(Qt::UserRole + 1, verein);
    item->setForeground(angemeldet ? people::kPresentColour : QColor(Qt::black));
}

bool RefereePage::listHolds(const QString& name) const
{
    return !schiriliste->findItems(name, Qt::MatchExactly).isEmpty();
}

void RefereePage::schirifelderloeschen()
{
    const auto filling = m_page.fill();
    for (QLineEdit* e : {schirinname, schirivname, schirigeb})
        e->clear();
    schirimemo->clear();
    for (QComboBox* c : {schirikverband, schiribverband, schirilverband, schiriland, schiriverein, schiriklasse})
        c->setCurrentText(QString());
    schiriangemeldet->SetChecked(false);
}

void RefereePage::schiri_neuClick()
{
    schirifelderloeschen();
    geladenerName.clear();
    m_loaded.reset();
    selectOnly(schiriliste, nullptr);
    schiriklassen->clearSelection();
    m_page.set(0, PageState::Mode::New);
}

void RefereePage::schirilisteClick()
{
    const QList<QListWidgetItem*> selected = schiriliste->selectedItems();
    if (!selected.isEmpty())
        load(selected.first());
}

void RefereePage::load(QListWidgetItem* item)
{
    schirifelderfuellen(item->data(Qt::UserRole).toInt());
}

void RefereePage::schirifelderfuellen(int id)
{
    const std::optional<RefereeData> data = readReferee(m_links.database(), id);
    if (!data)
        return;
    const auto filling = m_page.fill();
    schirifelderloeschen();
    const RefereeRecord& r = data->record;
    geladenerName = displayName(r.snname, r.svname);
    schirinname->setText(r.snname);
    schirivname->setText(r.svname);
    schiriverein->setCurrentText(r.sverein);
    schirikverband->setCurrentText(r.skverband);
    schiribverband->setCurrentText(r.sbverband);
    schirilverband->setCurrentText(r.slverband);
    schiriland->setCurrentText(r.sland);
    schiriklasse->setCurrentText(r.sklasse);
    if (r.sgeb)
        schirigeb->setText(german::formatDate(*r.sgeb));
    schiriangemeldet->SetChecked(r.sangemeldet);
    schirimemo->setPlainText(fromStoredMemo(r.smemo));
    schirimemo->moveCursor(QTextCursor::Start);
    schiriklassen->clearSelection();
    for (int i = 0; i < schiriklassen->count(); ++i) {
        if (data->kids.contains(schiriklassen->item(i)->data(Qt::UserRole).toInt()))
            schiriklassen->item(i)->setSelected(true);
    }
    m_loaded = data;
    schirispeichern->SetCaption(kChangeCaption);
    m_page.set(id, PageState::Mode::Unchanged);
}

void RefereePage::reloadStale()
{
    // The other desk may have deleted a class as well.
    fillClasses();
    const int id = m_page.key();
    if (id == 0)
        return; // a new referee: the typing stays, the classes are those that exist
    const std::optional<RefereeData> now = readReferee(m_links.database(), id);
    if (!now) {
        forgetReferee(id);
        return;
    }
    schirifelderfuellen(id);
    const auto filling = m_page.fill();
    showListEntry(*now);
}

QList<int> RefereePage::selectedClasses() const
{
    QList<int> kids;
    for (const QListWidgetItem* item : schiriklassen->selectedItems())
        kids << item->data(Qt::UserRole).toInt();
    return kids;
}

void RefereePage::schirispeichernClick()
{
    if (!m_page.hasChanges())
        return;
    Prompter& prompter = m_links.prompter;
    if (schirinname->text().trimmed().isEmpty()) {
        prompter.warning(QStringLiteral("Bitte geben Sie einen Nachnamen ein"));
        return;
    }
    if (schirivname->text().trimmed().isEmpty()) {
        prompter.warning(QStringLiteral("Bitte geben Sie einen Vornamen ein"));
        return;
    }
    RefereeTexts texts;
    texts.nachname = schirinname->text();
    texts.vorname = schirivname->text();
    texts.geb = schirigeb->text();
    texts.verein = schiriverein->currentText();
    // A referee without a club is stored as "ohne Verein"; the field shows it once saved.
    if (texts.verein.trimmed().isEmpty())
        texts.verein = QStringLiteral("ohne Verein");
    texts.kverband = schirikverband->currentText();
    texts.bverband = schiribverband->currentText();
    texts.lverband = schirilverband->currentText();
    texts.land = schiriland->currentText();
    texts.memo = schirimemo->toPlainText();
    texts.klasse = schiriklasse->currentText();
    texts.angemeldet = schiriangemeldet->Checked();
    const RefereeConversion conversion = convertRefereeTexts(texts);
    if (!conversion.record) {
        prompter.warning(conversion.error);
        return;
    }
    const RefereeRecord& record = *conversion.record;
    const QString name = displayName(record.snname, record.svname);
    const bool isNew = m_page.key() == 0;
    if ((isNew || name != geladenerName) && listHolds(name)) {
        prompter.warning(QStringLiteral("Ein Schiedsrichter mit diesem Namen existiert bereits"));
        return;
    }
    RefereeData stored;
    const bool written = m_page.write(
        [&] {
            stored = saveReferee(m_links.database(), m_links.aktuelleTID, isNew ? std::nullopt : m_loaded, record,
                                 selectedClasses());
        },
        {}, [this] { reloadStale(); });
    if (!written)
        return;
    const auto filling = m_page.fill();
    m_loaded = stored;
    if (isNew) {
        m_links.aktuelleSID = stored.id;
        learnValue(schiriverein, record.sverein);
        learnValue(schirikverband, record.skverband);
        learnValue(schiribverband, record.sbverband);
        learnValue(schirilverband, record.slverband);
        learnValue(schiriland, record.sland);
    }
    schiriverein->setCurrentText(record.sverein);
    showListEntry(stored);
    geladenerName = name;
    m_page.set(stored.id, PageState::Mode::Unchanged);
}

void RefereePage::schiri_delClick()
{
    // Only a loaded referee can be deleted; a name merely typed names nobody.
    const int id = m_page.key();
    if (schirinname->text().isEmpty() || id == 0)
        return;
    const QString name = displayName(schirinname->text(), schirivname->text());
    if (!m_links.prompter.confirm(QStringLiteral("Wollen Sie den Schiedsrichter \"%1\" wirklich löschen?").arg(name)))
        return;
    if (!m_page.write([&] { deleteReferee(m_links.database(), id); }))
        return;
    forgetReferee(id);
}

void RefereePage::forgetReferee(int id)
{
    delete people::entryWithKey(schiriliste, id);
    schirifelderloeschen();
    selectOnly(schiriliste, nullptr);
    schiriklassen->clearSelection();
    geladenerName.clear();
    m_loaded.reset();
    schirispeichern->SetCaption(kNewCaption);
    m_page.set(0, PageState::Mode::Unchanged);
}

void RefereePage::schirisuche(const QString& prefix)
{
    if (prefix.isEmpty())
        return;
    const std::optional<SchiriInfo> found = findRefereeByPrefix(m_links.database(), m_links.aktuelleTID, prefix);
    if (!found)
        return;
    if (QListWidgetItem* item = people::entryWithKey(schiriliste, found->id))
        selectOnly(schiriliste, item);
}

} // namespace bw
