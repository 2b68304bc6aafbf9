// The forms and data modules of the program, created once by the program body
// in this order and living for the whole run. Forms reach each other through it.
#pragma once

namespace bw {

class TMainform;
class Tdb_procedures;
class TData_Unit;
class Tturnierladen;
class TTurnier_erstellen;
class Tgruppe;
class TAltersklassen;
class TDoppelauswahl;
class Tauslosungsform;
class Tspielplaene;
class Tergebnis;
class Tvergleich;
class TR_Nummer;
class Ttisch_verwaltung;
class Tteamform;
class Tteamauswahl;
class Tergebnis_team;
class Tspielplan_form;
class Tteam_melden;
class Timport_form;
class Tplanung;
class Tdrucken;
class Tdruck_form;
class Texportform;
class Tpdfform;
class TMSDENetworkForm;
class TImpressumForm;
class TQuittungPrepareForm;
class TUrkundePrepareForm;
class TAbrechnungForm;
class TCourtcastForm;
class TExportNewForm;

struct Forms {
    TMainform* Mainform = nullptr;
    Tdb_procedures* db_procedures = nullptr;
    TData_Unit* Data_Unit = nullptr;
    Tturnierladen* turnierladen = nullptr;
    TTurnier_erstellen* Turnier_erstellen = nullptr;
    Tgruppe* gruppe = nullptr;
    TAltersklassen* Altersklassen = nullptr;
    TDoppelauswahl* Doppelauswahl = nullptr;
    Tauslosungsform* auslosungsform = nullptr;
    Tspielplaene* spielplaene = nullptr;
    Tergebnis* ergebnis = nullptr;
    Tvergleich* vergleich = nullptr;
    TR_Nummer* R_Nummer = nullptr;
    Ttisch_verwaltung* tisch_verwaltung = nullptr;
    Tteamform* teamform = nullptr;
    Tteamauswahl* teamauswahl = nullptr;
    Tergebnis_team* ergebnis_team = nullptr;
    Tspielplan_form* spielplan_form = nullptr;
    Tteam_melden* team_melden = nullptr;
    Timport_form* import_form = nullptr;
    Tplanung* planung = nullptr;
    Tdrucken* drucken = nullptr;
    Tdruck_form* druck_form = nullptr;
    Texportform* exportform = nullptr;
    Tpdfform* pdfform = nullptr;
    TMSDENetworkForm* MSDENetworkForm = nullptr;
    TImpressumForm* ImpressumForm = nullptr;
    TQuittungPrepareForm* QuittungPrepareForm = nullptr;
    TUrkundePrepareForm* UrkundePrepareForm = nullptr;
    TAbrechnungForm* AbrechnungForm = nullptr;
    TCourtcastForm* CourtcastForm = nullptr;
    TExportNewForm* ExportNewForm = nullptr;
};

} // namespace bw
