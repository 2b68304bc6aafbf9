// The main window's side of the class page: the page in its panel, and the
// class items of the bars "Turnierklassen" and "Spielpläne", which open the
// group set-up page of their class.
#include "app/navigationbar.h"
#include "app/pictures.h"
#include "app/tdata_unit.h"
#include "app/tmainform.h"
#include "classes/classbars.h"
#include "classes/classpage.h"
#include "classes/taltersklassen.h"
#include "classes/ttisch_verwaltung.h"
#include "data/classrecords.h"
#include "data/db_procedures.h"
#include "groups/groupsetuppage.h"
#include "platform/services.h"
#include "results/tteamform.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace bw {

namespace {

// A navigation bar's items as the class page sees them.
class NavigationItems : public ClassItemBar {
public:
    explicit NavigationItems(NavigationBar& bar) : m_bar(bar) {}
    int itemCount() const override { return m_bar.itemCount(); }
    QString itemCaption(int index) const override { return m_bar.itemCaption(index); }
    void setItemCaption(int index, const QString& caption) override { m_bar.setItemCaption(index, caption); }
    void addClassItem(const QString& caption) override { m_bar.addItem(caption, pictures::kClassItem); }
    void removeItem(int index) override { m_bar.removeItem(index); }

private:
    NavigationBar& m_bar;
};

} // namespace

void TMainform::setUpClassPage(const std::function<QSqlDatabase()>& database)
{
    m_classItems = std::make_unique<NavigationItems>(*Klassenbutton);
    m_planItems = std::make_unique<NavigationItems>(*spielplanbutton);
    classPage = new ClassPage(
        ClassPageLinks{m_services.prompter, m_services.clock, database, m_context.aktuelleTID, m_context.aktuelleKID,
                       m_context.aktuellerKlassenname, *m_forms->teamform, *m_forms->tisch_verwaltung, *m_classItems,
                       *m_planItems, [this](QWidget* dialog) { showWorkDialog(dialog); },
                       [this] { m_forms->Data_Unit->listboxenfuellen(m_context.aktuelleTID); }},
        klassenverwalten);
    klassenverwalten->layout()->addWidget(classPage);
    StaticText86 = classPage->StaticText86;
    einzelliste = classPage->einzelliste;
    doppelliste = classPage->doppelliste;
    mixedliste = classPage->mixedliste;
    courbliste = classPage->courbliste;
    altersklasse = classPage->altersklasse;
    austragungstag = classPage->austragungstag;
    Klassecopy = classPage->Klassecopy;
    Klassekopieren1 = classPage->Klassekopieren1;
}

void TMainform::XPBarItemsAdd()
{
    bw::XPBarItemsAdd(m_forms->db_procedures->ADOConnection1(), m_context.aktuelleTID, *m_classItems, *m_planItems);
}

void TMainform::listClassPlan(int kid)
{
    if (const std::optional<ClassRecord> record = readClass(m_forms->db_procedures->ADOConnection1(), kid))
        addItemOnce(*m_planItems, classCaption(record->kbezeichnung, record->system));
}

void TMainform::KlassenbuttonItems0Click()
{
    bringToFront(klassenverwalten);
    classPage->KlassenbuttonItems0Click();
}

void TMainform::openGroupSetup(const QString& caption)
{
    // Leaving the plans stops the call-up reminders.
    Timer1->stop();
    m_context.aktuelleKlassenbeschriftung = caption;
    bringToFront(Gruppen);
    if (classPage)
        classPage->plattenlist->clear();
    if (gruppenseite)
        gruppenseite->openClass(caption);
}

void TMainform::AKverwaltungClick()
{
    // The name can be changed while the class page names no age class of its list.
    m_forms->Altersklassen->aname->setEnabled(altersklasse->findText(altersklasse->currentText()) < 0);
    showWorkDialog(m_forms->Altersklassen);
}

} // namespace bw
