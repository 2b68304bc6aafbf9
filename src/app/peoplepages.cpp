#include "app/peoplepages.h"

#include "app/appcontext.h"
#include "app/forms.h"
#include "app/tmainform.h"
#include "data/db_procedures.h"
#include "app/tr_nummer.h"
#include "draw/tdoppelauswahl.h"
#include "people/playerpage.h"
#include "people/refereepage.h"
#include "platform/services.h"

#include <QVBoxLayout>

namespace bw {

void installPeoplePages(TMainform& main, AppContext& context, Services& services, const Forms& forms)
{
    Tdb_procedures* data = forms.db_procedures;
    const PeoplePageLinks links{services.prompter, [data] { return data->ADOConnection1(); }, context.aktuelleTID,
                                context.aktuelleSID, context.aktuelleKID};
    auto* referees = new QVBoxLayout(main.schiripanel);
    referees->setContentsMargins(0, 0, 0, 0);
    main.schiriseite = new RefereePage(links, main.schiripanel);
    referees->addWidget(main.schiriseite);

    TMainform* window = &main;
    TR_Nummer* numbers = forms.R_Nummer;
    const PlayerPageLinks playerLinks{links, *forms.Doppelauswahl,
                                      [window](QWidget* dialog) { window->showWorkDialog(dialog); },
                                      [window, numbers] { window->showWorkDialog(numbers); },
                                      [window] { window->uiButton6Click(); }};
    auto* players = new QVBoxLayout(main.spielerverwaltung);
    players->setContentsMargins(0, 0, 0, 0);
    main.spielerseite = new PlayerPage(playerLinks, main.spielerverwaltung);
    players->addWidget(main.spielerseite);
}

void showPlayerPage(TMainform& main)
{
    main.bringToFront(main.spielerverwaltung);
    if (main.spielerseite)
        main.spielerseite->SpielerbuttonItems0Click();
}

void showRefereePage(TMainform& main)
{
    main.bringToFront(main.schiripanel);
    if (main.schiriseite)
        main.schiriseite->SpielerbuttonItems4Click();
}

} // namespace bw
