// The player page ("Spielerverwaltung"), one of the main window's work panels:
// the tournament's players, one of them edited at a time with the classes he
// enters (asking when he does not meet a class's sex or age rule), the fee sum,
// his doubles partners and team lines, the type-ahead searches for surname and
// club, the club filter and the start-number buttons.
//
// The page acts on the loaded player's key: a name shared by two players, a
// rename onto another's name or a type-ahead moving the list selection cannot
// make it write to someone else. A save writes the player, his class entries and
// his pair rows in one transaction, after every check has passed, and only over
// the player as the page loaded him: when another desk changed or deleted him
// meanwhile, nothing is written and the page loads him anew.
#pragma once

#include "data/partnerrecords.h"
#include "data/playerrecords.h"
#include "people/refereepage.h"
#include "platform/pagestate.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

class TuiButton;
class TuiCheckbox;

namespace bw {

class TDoppelauswahl;

struct PlayerPageLinks {
    PeoplePageLinks people;
    TDoppelauswahl& doppelauswahl;
    // Shows a work dialog with the main window's work area disabled.
    std::function<void(QWidget*)> showWorkDialog;
    // "Nummern anzeigen".
    std::function<void()> showStartNumbers;
    // "Quittung": the receipt of the main menu's commands.
    std::function<void()> quittung;
};

class PlayerPage : public QWidget {
    Q_OBJECT
public:
    static const QString kNewCaption;    // "Spieler speichern"
    static const QString kChangeCaption; // "Änderung übernehmen"

    explicit PlayerPage(const PlayerPageLinks& links, QWidget* parent = nullptr);

    QListWidget* spielerliste;
    QListWidget* vereinsliste;
    QListWidget* sklassen;
    QListWidget* doppelpartner;
    QLineEdit* snachname;
    QLineEdit* svorname;
    QLineEdit* sverein;
    QLineEdit* sgeb;
    QLineEdit* zuzahlen;
    QLineEdit* snummer;
    QLineEdit* s_staerke;
    QLineEdit* semail;
    QComboBox* kreisverband;
    QComboBox* bezirksverband;
    QComboBox* landesverband;
    QComboBox* land;
    QComboBox* spklasse;
    TuiCheckbox* bezahlt;
    TuiCheckbox* sv_mann;
    TuiCheckbox* sv_weiblich;
    TuiButton* spielerspeichernbutton;
    TuiButton* spielerdelbutton;
    TuiButton* neuerspielerbutton;
    TuiButton* snummerbutton;
    TuiButton* rnr_show;
    TuiButton* uiButton6; // "Quittung"

    // The players of the page as loaded (a deleted one keeps his place with key -1)
    // and the offered classes in the order of `sklassen`.
    QList<SpielerInfo> spielerinfoliste;
    QList<KlassenInfo> klassenidliste;
    // The loaded player's display name; empty while the page holds a new one.
    QString geladenerName;
    int loadedSid() const { return m_page.key(); }
    PageState::Mode mode() const { return m_page.mode(); }
    double startgebuehrSumme = 0;
    int alteRueckennummer = -1;

public slots:
    void SpielerbuttonItems0Click();
    void spielerlisteClick();
    void vereinslisteClick();
    void sklassenClick(QListWidgetItem* item);
    void doppelpartnerClick();
    void spielerspeichernbuttonClick();
    void spielerdelbuttonClick();
    void neuerspielerbuttonClick();
    void snachnameClick();
    void sv_mannClick();
    void sv_weiblichClick();
    void snummerbuttonClick();
    void rnr_showClick();
    // The type-ahead searches on the fields' text as it now reads.
    void namensuche(const QString& prefix);
    void vereinsuche(const QString& prefix);
    // "Übernehmen" of the partner dialog: the class's line now names the partner.
    void partnerChosen(int kid, int partnerSid, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void connectHandlers();
    void spielerfelderloeschen();
    void spielerfelderfuellen(int sid);
    void loadSelectedPlayer();
    void mitglieder(const QString& club);
    void rebuildPlayerList();
    // The offered classes read anew; a selected class that still exists stays selected.
    void fillOfferedClasses();
    // The player's list entry shows him as given, selected alone.
    void showPlayerEntry(const SpielerInfo& info);
    // After a save refused because another desk changed or deleted the player.
    void reloadStale();
    // The player is gone: out of the lists, the page empty.
    void forgetPlayer(int sid);
    void addPlayerEntry(const SpielerInfo& player, bool present = false);
    void showMode();
    void addPartnerLine(const QString& text, int kid, int partnerSid);
    void removePartnerLine(int kid);
    void updateFee();
    // The kind of an offered class; nothing for a class the page does not offer.
    std::optional<ClassKind> offeredKind(int kid) const;
    bool nameTaken(const QString& nachname, const QString& vorname, int exceptSid) const;
    PlayerTexts pageTexts() const;
    QList<int> selectedClasses() const;
    QList<PartnerLine> partnerLines() const;
    QString playerName(int sid) const;
    void save(const PlayerRecord& record, bool isNew);

    PlayerPageLinks m_links;
    PageState m_page;
    // The player as loaded or last saved: a save writes only over these values.
    std::optional<PlayerData> m_loaded;
};

} // namespace bw
