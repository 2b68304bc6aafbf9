#include "people/playerpage.h"

#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"
#include "draw/tdoppelauswahl.h"
#include "people/peoplewidgets.h"
#include "platform/germantext.h"
#include "platform/prompter.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QSet>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace bw {

using people::editableCombo;
using people::entryWithKey;
using people::learnValue;
using people::selectOnly;

const QString PlayerPage::kNewCaption = QStringLiteral("Spieler speichern");
const QString PlayerPage::kChangeCaption = QStringLiteral("Änderung übernehmen");

namespace {

constexpr int kKeyRole = Qt::UserRole;
constexpr int kFlagRole = Qt::UserRole + 1; // class entry: checked in; partner line: the partner's key

const QString kBirthDateMessage = QStringLiteral("Das Geburtsdatum wurde nicht korrekt eingegeben");

// The class list: an "A" before a class the player is checked in for.
class ClassEntryDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(option.rect, selected ? option.palette.highlight() : QBrush(Qt::white));
        painter->setPen(selected ? Qt::white : Qt::black);
        const QRect r = option.rect;
        if (index.data(kFlagRole).toBool())
            painter->drawText(r.adjusted(5, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("A"));
        painter->drawText(r.adjusted(20, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, index.data().toString());
        painter->restore();
    }
};

} // namespace

PlayerPage::PlayerPage(const PlayerPageLinks& links, QWidget* parent)
    : QWidget(parent), m_links(links), m_page(this, links.people.prompter)
{
    setObjectName(QStringLiteral("PlayerPage"));
    build();
    connectHandlers();
    m_page.onChange([this] { showMode(); });
    showMode();
}

void PlayerPage::build()
{
    auto* heading = new QLabel(QStringLiteral("Spieler verwalten"), this);
    QFont font = heading->font();
    font.setBold(true);
    font.setPointSize(font.pointSize() + 4);
    heading->setFont(font);

    auto list = [this](const QString& name) {
        auto* l = new QListWidget(this);
        l->setObjectName(name);
        l->setSortingEnabled(true);
        return l;
    };
    spielerliste = list(QStringLiteral("spielerliste"));
    vereinsliste = list(QStringLiteral("vereinsliste"));
    sklassen = list(QStringLiteral("sklassen"));
    sklassen->setSelectionMode(QAbstractItemView::MultiSelection);
    sklassen->setItemDelegate(new ClassEntryDelegate(sklassen));
    spielerliste->setItemDelegate(new people::PersonEntryDelegate(spielerliste));
    doppelpartner = list(QStringLiteral("doppelpartner"));

    auto edit = [this](const QString& name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        return e;
    };
    snachname = edit(QStringLiteral("snachname"));
    svorname = edit(QStringLiteral("svorname"));
    sverein = edit(QStringLiteral("sverein"));
    sgeb = edit(QStringLiteral("sgeb"));
    zuzahlen = edit(QStringLiteral("zuzahlen"));
    snummer = edit(QStringLiteral("snummer"));
    s_staerke = edit(QStringLiteral("s_staerke"));
    semail = edit(QStringLiteral("semail"));
    kreisverband = editableCombo(this, QStringLiteral("kreisverband"));
    bezirksverband = editableCombo(this, QStringLiteral("bezirksverband"));
    landesverband = editableCombo(this, QStringLiteral("landesverband"));
    land = editableCombo(this, QStringLiteral("land"));
    spklasse = editableCombo(this, QStringLiteral("spklasse"));
    bezahlt = new TuiCheckbox(this, QStringLiteral("bezahlt"), QStringLiteral("bezahlt"));
    sv_mann = new TuiCheckbox(this, QStringLiteral("sv_mann"), QStringLiteral("männlich"));
    sv_mann->SetChecked(true);
    sv_weiblich = new TuiCheckbox(this, QStringLiteral("sv_weiblich"), QStringLiteral("weiblich"));
    spielerspeichernbutton = new TuiButton(this, QStringLiteral("spielerspeichernbutton"), kNewCaption);
    QFont bold = spielerspeichernbutton->font();
    bold.setBold(true);
    spielerspeichernbutton->setFont(bold);
    // Red while it can be pressed; a disabled button draws its caption grey.
    spielerspeichernbutton->SetFontColor(Qt::red);
    spielerdelbutton = new TuiButton(this, QStringLiteral("spielerdelbutton"), QStringLiteral("Spieler löschen"));
    neuerspielerbutton = new TuiButton(this, QStringLiteral("neuerspielerbutton"), QStringLiteral("Neuer Spieler"));
    snummerbutton = new TuiButton(this, QStringLiteral("snummerbutton"), QStringLiteral("erzeugen"));
    snummerbutton->setToolTip(QStringLiteral("ermittelt die nächste freie Rückennummer"));
    rnr_show = new TuiButton(this, QStringLiteral("rnr_show"), QStringLiteral("Nummern anzeigen"));
    uiButton6 = new TuiButton(this, QStringLiteral("uiButton6"), QStringLiteral("Quittung"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Nachname"), snachname);
    form->addRow(QStringLiteral("Vorname"), svorname);
    form->addRow(QStringLiteral("Verein"), sverein);
    form->addRow(QStringLiteral("Geburtsdatum"), sgeb);
    auto* fee = new QHBoxLayout;
    fee->addWidget(zuzahlen);
    fee->addWidget(new QLabel(QStringLiteral("Euro"), this));
    fee->addWidget(bezahlt);
    form->addRow(QStringLiteral("Startgebühr"), fee);
    auto* number = new QHBoxLayout;
    number->addWidget(snummer);
    number->addWidget(snummerbutton);
    number->addWidget(rnr_show);
    form->addRow(QStringLiteral("Rückennummer"), number);
    form->addRow(QStringLiteral("LPZ bwz. Stärke des Spielers"), s_staerke);
    form->addRow(QStringLiteral("E-Mailadresse"), semail);
    form->addRow(QStringLiteral("Kreisverband"), kreisverband);
    form->addRow(QStringLiteral("Bezirksverband"), bezirksverband);
    form->addRow(QStringLiteral("Landesverband"), landesverband);
    form->addRow(QStringLiteral("Land"), land);
    form->addRow(QStringLiteral("Spielklasse"), spklasse);
    auto* sex = new QHBoxLayout;
    sex->addWidget(sv_mann);
    sex->addWidget(sv_weiblich);
    sex->addStretch();
    form->addRow(QString(), sex);

    // At the window's start size every control keeps its room: the player and
    // club lists on the left, the form beside them, the classes and partner
    // lines below the form; spare width goes to the lists.
    snummer->setMinimumWidth(snummer->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    number->setStretch(0, 1);
    // A long name and its scroll bar.
    for (QListWidget* l : {spielerliste, vereinsliste})
        l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral("Müller-Lüdenscheidt, Hans")) + 30);
    auto* left = new QVBoxLayout;
    left->addWidget(spielerliste, 3);
    left->addWidget(vereinsliste, 2);
    auto* classesLabel = new QLabel(QStringLiteral("Spieler nimmt Teil in Klasse(n)"), this);
    classesLabel->setObjectName(QStringLiteral("StaticText13"));
    auto* classColumn = new QVBoxLayout;
    classColumn->addWidget(classesLabel);
    classColumn->addWidget(sklassen, 1);
    auto* partnerColumn = new QVBoxLayout;
    partnerColumn->addWidget(new QLabel(QStringLiteral("Doppelpartner / Team"), this));
    partnerColumn->addWidget(doppelpartner, 1);
    auto* entries = new QHBoxLayout;
    entries->addLayout(classColumn, 1);
    entries->addLayout(partnerColumn, 1);
    auto* right = new QVBoxLayout;
    right->addLayout(form);
    right->addLayout(entries, 1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(neuerspielerbutton);
    buttons->addWidget(spielerspeichernbutton);
    buttons->addWidget(spielerdelbutton);
    buttons->addStretch();
    buttons->addWidget(uiButton6);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);
}

void PlayerPage::connectHandlers()
{
    m_page.handle(spielerliste, &QListWidget::itemClicked, [this] { spielerlisteClick(); });
    m_page.handle(vereinsliste, &QListWidget::itemClicked, [this] { vereinslisteClick(); });
    m_page.handle(sklassen, &QListWidget::itemClicked, [this](QListWidgetItem* item) { sklassenClick(item); });
    m_page.handle(doppelpartner, &QListWidget::itemClicked, [this] { doppelpartnerClick(); });
    m_page.handle(spielerspeichernbutton, &TuiButton::OnClick, [this] { spielerspeichernbuttonClick(); });
    m_page.handle(spielerdelbutton, &TuiButton::OnClick, [this] { spielerdelbuttonClick(); });
    m_page.handle(neuerspielerbutton, &TuiButton::OnClick, [this] { neuerspielerbuttonClick(); });
    m_page.handle(snummerbutton, &TuiButton::OnClick, [this] { snummerbuttonClick(); });
    m_page.handle(rnr_show, &TuiButton::OnClick, [this] { rnr_showClick(); });
    m_page.handle(uiButton6, &TuiButton::OnClick, [this] {
        if (m_links.quittung)
            m_links.quittung();
    });
    m_page.handle(sv_mann, &TuiCheckbox::OnClick, [this] { sv_mannClick(); });
    m_page.handle(sv_weiblich, &TuiCheckbox::OnClick, [this] { sv_weiblichClick(); });
    m_page.edits(bezahlt, &TuiCheckbox::OnClick);
    m_page.handle(snachname, &QLineEdit::textEdited, [this](const QString& text) { namensuche(text); });
    m_page.handle(snachname, &QLineEdit::returnPressed, [this] {
        if (!spielerliste->selectedItems().isEmpty())
            loadSelectedPlayer();
    });
    snachname->installEventFilter(this);
    m_page.handle(sverein, &QLineEdit::textEdited, [this](const QString& text) { vereinsuche(text); });
    m_page.handle(sverein, &QLineEdit::returnPressed, [this] {
        const QList<QListWidgetItem*> selected = vereinsliste->selectedItems();
        if (selected.isEmpty())
            return;
        const QString club = selected.first()->text();
        mitglieder(club);
        sverein->setText(club);
    });
    for (QLineEdit* e : {snachname, svorname, sverein, sgeb, zuzahlen, snummer, s_staerke, semail})
        m_page.edits(e, &QLineEdit::textChanged);
    for (QComboBox* c : {kreisverband, bezirksverband, landesverband, land, spklasse}) {
        m_page.edits(c, &QComboBox::currentTextChanged);
        // A value typed into a combo is offered again until the page is reopened.
        m_page.handle(c->lineEdit(), &QLineEdit::editingFinished, [this, c] {
            const auto filling = m_page.fill();
            learnValue(c, c->currentText().trimmed());
        });
    }
    m_page.handle(&m_links.doppelauswahl, &TDoppelauswahl::partnerChosen,
                  [this](int kid, int partnerSid, const QString& text) { partnerChosen(kid, partnerSid, text); });
}

bool PlayerPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == snachname && event->type() == QEvent::MouseButtonPress)
        snachnameClick();
    return QWidget::eventFilter(watched, event);
}

// The save button names the next save; while the page is unchanged it is
// disabled and keeps the caption loading, clearing or the last save left.
void PlayerPage::showMode()
{
    if (m_page.mode() != PageState::Mode::Unchanged)
        spielerspeichernbutton->SetCaption(m_page.mode() == PageState::Mode::New ? kNewCaption : kChangeCaption);
    spielerspeichernbutton->setEnabled(m_page.hasChanges());
}

void PlayerPage::SpielerbuttonItems0Click()
{
    const auto filling = m_page.fill();
    spielerfelderloeschen();
    for (QListWidget* l : {sklassen, spielerliste, vereinsliste})
        l->clear();
    for (QComboBox* c : {land, kreisverband, bezirksverband, landesverband, spklasse})
        c->clear();
    spielerinfoliste.clear();
    klassenidliste.clear();
    startgebuehrSumme = 0;
    alteRueckennummer = -1;
    geladenerName.clear();
    spielerspeichernbutton->SetCaption(kNewCaption);
    m_page.set(0, PageState::Mode::Unchanged);
    m_loaded.reset();
    fillOfferedClasses();
    {
        const QSqlDatabase db = m_links.people.database();
        const int tid = m_links.people.aktuelleTID;
        spielerinfoliste = loadPlayers(db, tid);
        for (const SpielerInfo& p : spielerinfoliste)
            addPlayerEntry(p);
        const std::pair<QComboBox*, const char*> combos[] = {{kreisverband, "kverband"},
                                                             {bezirksverband, "bverband"},
                                                             {landesverband, "lverband"},
                                                             {land, "land"},
                                                             {spklasse, "spklasse"}};
        for (const auto& [combo, column] : combos)
            combo->addItems(playerColumnValues(db, tid, QString::fromLatin1(column)));
        for (const QString& club : playerColumnValues(db, tid, QStringLiteral("verein"), true))
            people::addEntry(vereinsliste, club);
    }
    for (QComboBox* c : {land, kreisverband, bezirksverband, landesverband, spklasse})
        c->setCurrentText(QString());
}

void PlayerPage::fillOfferedClasses()
{
    const auto filling = m_page.fill();
    QSet<int> selected;
    for (const QListWidgetItem* item : sklassen->selectedItems())
        selected.insert(item->data(kKeyRole).toInt());
    sklassen->clear();
    klassenidliste = loadOfferedClasses(m_links.people.database(), m_links.people.aktuelleTID);
    for (const KlassenInfo& k : klassenidliste) {
        QListWidgetItem* item = people::addEntry(sklassen, k.text);
        item->setData(kKeyRole, k.kid);
        item->setSelected(selected.contains(k.kid));
    }
}

void PlayerPage::showPlayerEntry(const SpielerInfo& info)
{
    bool listed = false;
    for (SpielerInfo& p : spielerinfoliste) {
        if (p.sid == info.sid) {
            p = info;
            listed = true;
        }
    }
    if (!listed)
        spielerinfoliste.append(info);
    delete entryWithKey(spielerliste, info.sid);
    addPlayerEntry(info);
    selectOnly(spielerliste, entryWithKey(spielerliste, info.sid));
}

void PlayerPage::addPlayerEntry(const SpielerInfo& player, bool present)
{
    QListWidgetItem* item = people::addEntry(spielerliste, player.name());
    item->setData(kKeyRole, player.sid);
    if (present)
        item->setForeground(people::kPresentColour);
}

void PlayerPage::rebuildPlayerList()
{
    spielerliste->clear();
    for (const SpielerInfo& p : spielerinfoliste) {
        if (p.sid != -1)
            addPlayerEntry(p);
    }
}

QString PlayerPage::playerName(int sid) const
{
    for (const SpielerInfo& p : spielerinfoliste) {
        if (p.sid == sid)
            return p.name();
    }
    return QString();
}

void PlayerPage::spielerfelderloeschen()
{
    const auto filling = m_page.fill();
    for (QLineEdit* e : {snachname, svorname, sverein, sgeb, zuzahlen, snummer, semail, s_staerke})
        e->clear();
    bezahlt->SetChecked(false);
    for (QComboBox* c : {kreisverband, bezirksverband, landesverband, land, spklasse})
        c->setCurrentText(QString());
    doppelpartner->clear();
    for (int i = 0; i < sklassen->count(); ++i)
        sklassen->item(i)->setData(kFlagRole, QVariant());
}

void PlayerPage::spielerlisteClick()
{
    if (!spielerliste->selectedItems().isEmpty())
        loadSelectedPlayer();
}

void PlayerPage::loadSelectedPlayer()
{
    const int sid = spielerliste->selectedItems().first()->data(kKeyRole).toInt();
    if (sid > 0)
        spielerfelderfuellen(sid);
    bool ok = false;
    const int number = snummer->text().toInt(&ok);
    alteRueckennummer = ok ? number : -1;
}

void PlayerPage::spielerfelderfuellen(int sid)
{
    const std::optional<PlayerData> data = readPlayer(m_links.people.database(), sid);
    if (!data)
        return;
    const auto filling = m_page.fill();
    spielerfelderloeschen();
    const PlayerRecord& r = data->record;
    m_links.people.aktuelleSID = sid;
    geladenerName = displayName(r.nachname, r.vorname);
    snachname->setText(r.nachname);
    svorname->setText(r.vorname);
    sverein->setText(r.verein);
    if (r.geb)
        sgeb->setText(german::formatDate(*r.geb));
    if (r.nummer)
        snummer->setText(QString::number(*r.nummer));
    if (r.zubezahlen)
        zuzahlen->setText(german::formatNumber(*r.zubezahlen));
    kreisverband->setCurrentText(r.kverband);
    bezirksverband->setCurrentText(r.bverband);
    landesverband->setCurrentText(r.lverband);
    land->setCurrentText(r.land);
    spklasse->setCurrentText(r.spklasse);
    s_staerke->setText(r.spielstaerke);
    semail->setText(r.email);
    bezahlt->SetChecked(r.bezahlt);
    sv_mann->SetChecked(r.mann);
    sv_weiblich->SetChecked(r.frau);
    sklassen->clearSelection();
    vereinsliste->clearSelection();
    for (const ClassEntryRow& entry : data->classes) {
        if (QListWidgetItem* item = entryWithKey(sklassen, entry.kid)) {
            item->setSelected(true);
            if (entry.gemeldet)
                item->setData(kFlagRole, true);
        }
    }
    for (const PairRow& pair : data->pairs) {
        const QListWidgetItem* cls = entryWithKey(sklassen, pair.kid);
        if (!cls)
            continue;
        QString text = cls->text() + QStringLiteral(": ");
        int partner = 0;
        if (pair.mannschaft) {
            text += *pair.mannschaft;
        } else if (pair.partnerSid) {
            partner = *pair.partnerSid;
            text += playerName(partner);
        }
        addPartnerLine(text, pair.kid, partner);
    }
    m_loaded = data;
    spielerspeichernbutton->SetCaption(kChangeCaption);
    m_page.set(sid, PageState::Mode::Unchanged);
}

void PlayerPage::reloadStale()
{
    // The other desk may have deleted a class as well.
    fillOfferedClasses();
    const int sid = m_page.key();
    if (sid == 0)
        return; // a new player: the typing stays, the classes are those that exist
    const std::optional<PlayerData> now = readPlayer(m_links.people.database(), sid);
    if (!now) {
        forgetPlayer(sid);
        return;
    }
    spielerfelderfuellen(sid);
    const auto filling = m_page.fill();
    showPlayerEntry({sid, now->record.nachname, now->record.vorname, now->record.verein, false});
    alteRueckennummer = now->record.nummer.value_or(-1);
}

void PlayerPage::namensuche(const QString& prefix)
{
    if (prefix.isEmpty())
        return;
    vereinsliste->clearSelection();
    const auto found = findPlayerByPrefix(m_links.people.database(), m_links.people.aktuelleTID, prefix);
    if (found) {
        if (QListWidgetItem* item = entryWithKey(spielerliste, found->sid))
            selectOnly(spielerliste, item);
    }
}

void PlayerPage::vereinsuche(const QString& prefix)
{
    if (prefix.isEmpty())
        return;
    const auto club = findClubByPrefix(m_links.people.database(), m_links.people.aktuelleTID, prefix);
    if (club) {
        const QList<QListWidgetItem*> items = vereinsliste->findItems(*club, Qt::MatchExactly);
        if (!items.isEmpty())
            selectOnly(vereinsliste, items.first());
    }
}

void PlayerPage::snachnameClick()
{
    rebuildPlayerList();
}

void PlayerPage::mitglieder(const QString& club)
{
    const QList<SpielerInfo> members = clubMembers(m_links.people.database(), m_links.people.aktuelleTID, club);
    spielerliste->clear();
    for (const SpielerInfo& p : members)
        addPlayerEntry(p, p.angemeldet);
}

void PlayerPage::vereinslisteClick()
{
    const QList<QListWidgetItem*> selected = vereinsliste->selectedItems();
    if (selected.isEmpty())
        return;
    const QString club = selected.first()->text();
    // The loaded player's class ticks stay: the click only changes his club.
    spielerliste->clearSelection();
    sverein->deselect();
    sverein->setText(club);
    mitglieder(club);
}

void PlayerPage::sklassenClick(QListWidgetItem* item)
{
    if (!item)
        return;
    Prompter& prompter = m_links.people.prompter;
    const auto unselect = [&] {
        const auto filling = m_page.fill();
        item->setSelected(false);
    };
    std::optional<QDate> birth;
    if (!sgeb->text().isEmpty()) {
        birth = german::parseDate(sgeb->text());
        if (!birth) {
            prompter.information(kBirthDateMessage);
            unselect();
            sgeb->setFocus();
            return;
        }
    }
    const int kid = item->data(kKeyRole).toInt();
    m_links.people.aktuelleKID = kid;
    const auto refuse = [&](const QString& question) {
        if (prompter.confirm(question))
            return false;
        unselect();
        if (sklassen->selectedItems().isEmpty())
            doppelpartner->clear();
        return true;
    };
    const QSqlDatabase db = m_links.people.database();
    if (item->isSelected() && !sexEligible(db, kid, sv_mann->Checked(), sv_weiblich->Checked())
        && refuse(QStringLiteral("Der Spieler entspricht nicht den Geschlechtskriterien dieser Klasse\n\r"
                                 "Spieler trotzdem für diese Klasse melden?")))
        return;
    if (birth && item->isSelected() && !ageEligible(db, kid, *birth)
        && refuse(QStringLiteral("Der Spieler entspricht nicht den Alterskriterien dieser Klasse.\n\r"
                                 "Spieler trotzdem für diese Klasse melden?"))) {
        sgeb->setFocus();
        return;
    }
    if (item->isSelected()) {
        if (offeredKind(kid) != ClassKind::Einzel && !entryWithKey(doppelpartner, kid))
            addPartnerLine(item->text() + QStringLiteral(": "), kid, 0);
    } else {
        removePartnerLine(kid);
    }
    updateFee();
    m_page.edited();
}

void PlayerPage::updateFee()
{
    startgebuehrSumme = 0;
    for (const QListWidgetItem* selected : sklassen->selectedItems()) {
        for (const KlassenInfo& k : klassenidliste) {
            if (k.kid == selected->data(kKeyRole).toInt())
                startgebuehrSumme += k.gebuehr;
        }
    }
    zuzahlen->setText(german::formatNumber(startgebuehrSumme));
}

std::optional<ClassKind> PlayerPage::offeredKind(int kid) const
{
    for (const KlassenInfo& k : klassenidliste) {
        if (k.kid == kid)
            return k.kind;
    }
    return std::nullopt;
}

void PlayerPage::addPartnerLine(const QString& text, int kid, int partnerSid)
{
    QListWidgetItem* line = people::addEntry(doppelpartner, text);
    line->setData(kKeyRole, kid);
    line->setData(kFlagRole, partnerSid);
}

void PlayerPage::removePartnerLine(int kid)
{
    delete entryWithKey(doppelpartner, kid);
}

void PlayerPage::doppelpartnerClick()
{
    const QList<QListWidgetItem*> selected = doppelpartner->selectedItems();
    if (selected.isEmpty())
        return;
    const QListWidgetItem* line = selected.first();
    const int kid = line->data(kKeyRole).toInt();
    if (offeredKind(kid) == ClassKind::Team) {
        m_links.people.prompter.prompt(PromptKind::Question,
                                       QStringLiteral("Die Teamverwaltung kann nur von im Menüpunkt "
                                                      "\"Teamverwaltung\" erfolgen"),
                                       PromptButtons::Ok);
        return;
    }
    TDoppelauswahl& dialog = m_links.doppelauswahl;
    dialog.doppelklasse->setText(line->text().left(line->text().indexOf(QLatin1Char(':')) + 1));
    TDoppelauswahl::Request request;
    request.kid = kid;
    request.mixed = offeredKind(kid) == ClassKind::Mixed;
    request.sid = m_page.key();
    request.mann = sv_mann->Checked();
    request.frau = sv_weiblich->Checked();
    for (const SpielerInfo& p : spielerinfoliste) {
        if (p.sid > 0)
            request.names.insert(p.sid, p.name());
    }
    dialog.request = request;
    if (m_links.showWorkDialog)
        m_links.showWorkDialog(&dialog);
    else
        dialog.show();
}

void PlayerPage::partnerChosen(int kid, int partnerSid, const QString& text)
{
    removePartnerLine(kid);
    addPartnerLine(text, kid, partnerSid);
    doppelpartner->clearSelection();
    m_page.edited();
}

void PlayerPage::sv_mannClick()
{
    sv_weiblich->SetChecked(!sv_mann->Checked());
    m_page.edited();
}

void PlayerPage::sv_weiblichClick()
{
    sv_mann->SetChecked(!sv_weiblich->Checked());
    m_page.edited();
}

void PlayerPage::snummerbuttonClick()
{
    snummer->setText(QString::number(nextFreeStartNumber(m_links.people.database(), m_links.people.aktuelleTID)));
}

void PlayerPage::rnr_showClick()
{
    if (m_links.showStartNumbers)
        m_links.showStartNumbers();
}

bool PlayerPage::nameTaken(const QString& nachname, const QString& vorname, int exceptSid) const
{
    for (const SpielerInfo& p : spielerinfoliste) {
        if (p.sid != -1 && p.sid != exceptSid && p.nachname == nachname && p.vorname == vorname)
            return true;
    }
    return false;
}

PlayerTexts PlayerPage::pageTexts() const
{
    PlayerTexts t;
    t.nachname = snachname->text();
    t.vorname = svorname->text();
    t.verein = sverein->text();
    t.geb = sgeb->text();
    t.nummer = snummer->text();
    t.kverband = kreisverband->currentText();
    t.bverband = bezirksverband->currentText();
    t.lverband = landesverband->currentText();
    t.land = land->currentText();
    t.zubezahlen = zuzahlen->text();
    t.spklasse = spklasse->currentText();
    t.spielstaerke = s_staerke->text();
    t.email = semail->text();
    t.bezahlt = bezahlt->Checked();
    t.mann = sv_mann->Checked();
    t.frau = sv_weiblich->Checked();
    return t;
}

QList<int> PlayerPage::selectedClasses() const
{
    QList<int> kids;
    for (int i = 0; i < sklassen->count(); ++i) {
        if (sklassen->item(i)->isSelected())
            kids << sklassen->item(i)->data(kKeyRole).toInt();
    }
    return kids;
}

QList<PartnerLine> PlayerPage::partnerLines() const
{
    QList<PartnerLine> lines;
    for (int i = 0; i < doppelpartner->count(); ++i)
        lines.append({doppelpartner->item(i)->data(kKeyRole).toInt(), doppelpartner->item(i)->data(kFlagRole).toInt()});
    return lines;
}

void PlayerPage::spielerspeichernbuttonClick()
{
    if (!m_page.hasChanges())
        return;
    Prompter& prompter = m_links.people.prompter;
    if (snachname->text().trimmed().isEmpty()) {
        prompter.information(QStringLiteral("Bitte geben Sie einen Nachnamen ein"));
        return;
    }
    if (svorname->text().trimmed().isEmpty()) {
        prompter.information(QStringLiteral("Bitte geben Sie einen Vornamen ein"));
        return;
    }
    if (!sgeb->text().trimmed().isEmpty() && !german::parseDate(sgeb->text())) {
        prompter.information(kBirthDateMessage);
        return;
    }
    bool isNumber = false;
    const int number = snummer->text().trimmed().toInt(&isNumber);
    if (isNumber && number != -99 && number != alteRueckennummer
        && startNumberInUse(m_links.people.database(), m_links.people.aktuelleTID, number)) {
        prompter.prompt(PromptKind::Error, QStringLiteral("Diese Rückennummer existiert bereits"),
                        PromptButtons::Cancel);
        snummer->setFocus();
        return;
    }
    // Everything else that must convert is checked before anything is written.
    PlayerTexts texts = pageTexts();
    // A player without a club is stored as "ohne Verein"; the field shows it once saved.
    if (texts.verein.trimmed().isEmpty())
        texts.verein = QStringLiteral("ohne Verein");
    const PlayerConversion conversion = convertPlayerTexts(texts);
    if (!conversion.record) {
        prompter.information(conversion.error);
        return;
    }
    const bool isNew = m_page.key() == 0;
    const bool renamed = displayName(snachname->text(), svorname->text()) != geladenerName;
    if ((isNew || renamed) && nameTaken(snachname->text(), svorname->text(), m_page.key())) {
        prompter.information(QStringLiteral("Ein Spieler mit diesem Namen existiert bereits"));
        return;
    }
    save(*conversion.record, isNew);
}

void PlayerPage::save(const PlayerRecord& record, bool isNew)
{
    const QList<PartnerLine> lines = partnerLines();
    const QList<int> kids = selectedClasses();
    const QSqlDatabase db = m_links.people.database();
    // The questions come before the transaction, so no lock waits for the user.
    const auto takeOver = m_links.doppelauswahl.askTakeOvers(db, m_page.key(), lines);
    PlayerData stored;
    const bool written = m_page.write(
        [&] {
            stored = savePlayer(db, m_links.people.aktuelleTID, isNew ? std::nullopt : m_loaded, record, kids, lines,
                                takeOver);
        },
        {}, [this] { reloadStale(); });
    if (!written)
        return;

    const auto filling = m_page.fill();
    m_loaded = stored;
    const int sid = stored.sid;
    m_links.people.aktuelleSID = sid;
    if (isNew) {
        if (vereinsliste->findItems(record.verein, Qt::MatchExactly).isEmpty())
            people::addEntry(vereinsliste, record.verein);
        learnValue(kreisverband, record.kverband);
        learnValue(bezirksverband, record.bverband);
        learnValue(landesverband, record.lverband);
        learnValue(land, record.land);
        learnValue(spklasse, record.spklasse);
    }
    sverein->setText(record.verein);
    showPlayerEntry({sid, record.nachname, record.vorname, record.verein, false});
    geladenerName = displayName(record.nachname, record.vorname);
    alteRueckennummer = record.nummer.value_or(-1);
    m_page.set(sid, PageState::Mode::Unchanged);
}

void PlayerPage::spielerdelbuttonClick()
{
    // Only the loaded player can be deleted; names typed on the page name nobody.
    const int sid = m_page.key();
    if (snachname->text().isEmpty() || sid == 0)
        return;
    Prompter& prompter = m_links.people.prompter;
    if (!prompter.confirm(QStringLiteral("Wollen Sie den Spieler \"%1\" wirklich löschen?")
                              .arg(displayName(snachname->text(), svorname->text()))))
        return;
    if (!m_page.write([&] { deletePlayer(m_links.people.database(), sid); }))
        return;
    forgetPlayer(sid);
}

void PlayerPage::forgetPlayer(int sid)
{
    const auto filling = m_page.fill();
    QString club;
    for (SpielerInfo& p : spielerinfoliste) {
        if (p.sid == sid) {
            club = p.verein;
            p.sid = -1;
        }
    }
    delete entryWithKey(spielerliste, sid);
    const bool clubLives = std::any_of(spielerinfoliste.cbegin(), spielerinfoliste.cend(),
                                       [&](const SpielerInfo& p) { return p.sid != -1 && p.verein == club; });
    if (!clubLives) {
        for (QListWidgetItem* item : vereinsliste->findItems(club, Qt::MatchExactly))
            delete item;
    }
    spielerfelderloeschen();
    sklassen->clearSelection();
    vereinsliste->clearSelection();
    spielerliste->clearSelection();
    geladenerName.clear();
    alteRueckennummer = -1;
    m_loaded.reset();
    spielerspeichernbutton->SetCaption(kNewCaption);
    m_page.set(0, PageState::Mode::Unchanged);
}

void PlayerPage::neuerspielerbuttonClick()
{
    spielerfelderloeschen();
    rebuildPlayerList();
    spielerliste->clearSelection();
    sklassen->clearSelection();
    geladenerName.clear();
    alteRueckennummer = -1;
    m_loaded.reset();
    m_page.set(0, PageState::Mode::New);
}

} // namespace bw
