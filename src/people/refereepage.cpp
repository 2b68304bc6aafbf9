#include "people/refereepage.h"

#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"
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

RefereePage::RefereePage(const PeoplePageLinks& links, QWidget* parent) : QWidget(parent), m_links(links)
{
    setObjectName(QStringLiteral("RefereePage"));
    build();
    setSaveButton(kNewCaption, false);
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

    connect(schiri_neu, &TuiButton::OnClick, this, &RefereePage::schiri_neuClick);
    connect(schirispeichern, &TuiButton::OnClick, this, &RefereePage::schirispeichernClick);
    connect(schiri_del, &TuiButton::OnClick, this, &RefereePage::schiri_delClick);
    connect(schiriliste, &QListWidget::itemClicked, this, &RefereePage::schirilisteClick);
    // The search runs on the field's text as it now reads, whatever keys made it.
    connect(schirinname, &QLineEdit::textEdited, this, &RefereePage::schirisuche);
    connect(schirinname, &QLineEdit::returnPressed, this, [this] {
        if (!schiriliste->selectedItems().isEmpty())
            load(schiriliste->selectedItems().first());
    });
    for (QLineEdit* e : {schirinname, schirivname, schirigeb})
        connect(e, &QLineEdit::textChanged, this, &RefereePage::schiriupdated);
    for (QComboBox* c : {schiriverein, schirikverband, schiribverband, schirilverband, schiriland, schiriklasse})
        connect(c, &QComboBox::currentTextChanged, this, &RefereePage::schiriupdated);
    connect(schiriangemeldet, &TuiCheckbox::OnClick, this, &RefereePage::schiriupdated);
    connect(schiriklassen, &QListWidget::itemClicked, this, &RefereePage::schiriupdated);
}

void RefereePage::setSaveButton(const QString& caption, bool enabled)
{
    schirispeichern->SetCaption(caption);
    schirispeichern->setEnabled(enabled);
}

void RefereePage::SpielerbuttonItems4Click()
{
    m_filling = true;
    schiriliste->clear();
    schiriklassen->clear();
    schirifelderloeschen();
    for (QComboBox* c : {schiriland, schirikverband, schiribverband, schirilverband, schiriklasse, schiriverein})
        c->clear();
    m_loadedId = 0;
    geladenerName.clear();
    runGuarded(m_links.prompter, [&] {
        const QSqlDatabase db = m_links.database();
        const int tid = m_links.aktuelleTID;
        for (const RefereeClass& c : loadRefereeClasses(db, tid)) {
            auto* item = new QListWidgetItem(c.text);
            item->setData(Qt::UserRole, c.kid);
            schiriklassen->addItem(item);
        }
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
    });
    for (QComboBox* c : {schiriland, schirikverband, schiribverband, schirilverband, schiriklasse, schiriverein})
        c->setCurrentText(QString());
    m_filling = false;
    setSaveButton(kNewCaption, false);
}

void RefereePage::addListEntry(int id, const QString& name, bool angemeldet, const QString& verein)
{
    auto* item = new QListWidgetItem(name);
    item->setData(Qt::UserRole, id);
    item->setData(Qt::UserRole + 1, verein);
    item->setForeground(angemeldet ? people::kPresentColour : QColor(Qt::black));
    schiriliste->addItem(item);
}

bool RefereePage::listHolds(const QString& name) const
{
    return !schiriliste->findItems(name, Qt::MatchExactly).isEmpty();
}

void RefereePage::schirifelderloeschen()
{
    const bool filling = m_filling;
    m_filling = true;
    for (QLineEdit* e : {schirinname, schirivname, schirigeb})
        e->clear();
    schirimemo->clear();
    for (QComboBox* c : {schirikverband, schiribverband, schirilverband, schiriland, schiriverein, schiriklasse})
        c->setCurrentText(QString());
    schiriangemeldet->SetChecked(false);
    m_filling = filling;
}

void RefereePage::schiri_neuClick()
{
    schirifelderloeschen();
    m_loadedId = 0;
    geladenerName.clear();
    selectOnly(schiriliste, nullptr);
    schiriklassen->clearSelection();
    setSaveButton(kNewCaption, true);
}

void RefereePage::schirilisteClick()
{
    const QList<QListWidgetItem*> selected = schiriliste->selectedItems();
    if (!selected.isEmpty())
        load(selected.first());
}

void RefereePage::load(QListWidgetItem* item)
{
    runGuarded(m_links.prompter, [&] { schirifelderfuellen(item->data(Qt::UserRole).toInt()); });
    setSaveButton(kChangeCaption, false);
}

void RefereePage::schirifelderfuellen(int id)
{
    const std::optional<RefereeData> data = readReferee(m_links.database(), id);
    if (!data)
        return;
    m_filling = true;
    schirifelderloeschen();
    const RefereeRecord& r = data->record;
    m_loadedId = id;
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
    schirimemo->setPlainText(r.smemo);
    schirimemo->moveCursor(QTextCursor::Start);
    schiriklassen->clearSelection();
    for (int i = 0; i < schiriklassen->count(); ++i) {
        if (data->kids.contains(schiriklassen->item(i)->data(Qt::UserRole).toInt()))
            schiriklassen->item(i)->setSelected(true);
    }
    m_filling = false;
}

void RefereePage::schiriupdated()
{
    if (m_filling)
        return;
    if (!schirispeichern->isEnabled())
        setSaveButton(kChangeCaption, true);
    if (geladenerName.isEmpty())
        setSaveButton(kNewCaption, true);
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
    if (!schirispeichern->isEnabled())
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
    if (schiriverein->currentText().trimmed().isEmpty())
        schiriverein->setCurrentText(QStringLiteral("ohne Verein"));
    RefereeTexts texts;
    texts.nachname = schirinname->text();
    texts.vorname = schirivname->text();
    texts.geb = schirigeb->text();
    texts.verein = schiriverein->currentText();
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
    const bool isNew = schirispeichern->Caption() == kNewCaption || m_loadedId == 0;
    if ((isNew || name != geladenerName) && listHolds(name)) {
        prompter.warning(QStringLiteral("Ein Schiedsrichter mit diesem Namen existiert bereits"));
        return;
    }
    runGuarded(prompter, [&] {
        const QSqlDatabase db = m_links.database();
        if (isNew) {
            const int id = insertReferee(db, m_links.aktuelleTID, record, selectedClasses());
            m_links.aktuelleSID = id;
            m_loadedId = id;
            addListEntry(id, name, record.sangemeldet, record.sverein);
            m_filling = true;
            learnValue(schiriverein, record.sverein);
            learnValue(schirikverband, record.skverband);
            learnValue(schiribverband, record.sbverband);
            learnValue(schirilverband, record.slverband);
            learnValue(schiriland, record.sland);
            m_filling = false;
        } else {
            updateReferee(db, m_loadedId, record, selectedClasses());
            delete people::entryWithKey(schiriliste, m_loadedId);
            addListEntry(m_loadedId, name, record.sangemeldet, record.sverein);
        }
        selectOnly(schiriliste, people::entryWithKey(schiriliste, m_loadedId));
        geladenerName = name;
        setSaveButton(schirispeichern->Caption(), false);
    });
}

void RefereePage::schiri_delClick()
{
    // Only a loaded referee can be deleted; a name merely typed names nobody.
    if (schirinname->text().isEmpty() || m_loadedId == 0)
        return;
    const QString name = displayName(schirinname->text(), schirivname->text());
    if (!m_links.prompter.confirm(QStringLiteral("Wollen Sie den Schiedsrichter \"%1\" wirklich löschen?").arg(name)))
        return;
    const bool done = runGuarded(m_links.prompter, [&] { deleteReferee(m_links.database(), m_loadedId); });
    if (!done)
        return;
    delete people::entryWithKey(schiriliste, m_loadedId);
    schirifelderloeschen();
    selectOnly(schiriliste, nullptr);
    schiriklassen->clearSelection();
    m_loadedId = 0;
    geladenerName.clear();
    setSaveButton(kNewCaption, false);
}

void RefereePage::schirisuche(const QString& prefix)
{
    if (prefix.isEmpty())
        return;
    runGuarded(m_links.prompter, [&] {
        const std::optional<SchiriInfo> found = findRefereeByPrefix(m_links.database(), m_links.aktuelleTID, prefix);
        if (!found)
            return;
        if (QListWidgetItem* item = people::entryWithKey(schiriliste, found->id))
            selectOnly(schiriliste, item);
    });
}

} // namespace bw
