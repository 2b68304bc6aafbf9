#include "app/tdata_unit.h"

#include "app/appcontext.h"
#include "app/tmainform.h"
#include "classes/classpage.h"
#include "data/ageclasses.h"
#include "data/cascades.h"
#include "data/classrecords.h"
#include "data/db_procedures.h"
#include "data/tournamentrecords.h"
#include "output/registrationformwriter.h"
#include "platform/apperror.h"
#include "results/standings.h"
#include "platform/services.h"
#include "platformui/printercontext.h"

#include <QComboBox>
#include <QDateEdit>
#include <QListWidget>
#include <QProgressBar>

namespace bw {

TData_Unit::TData_Unit(TMainform& mainform, AppContext& context, Tdb_procedures& database, QObject* parent)
    : QObject(parent), m_main(mainform), m_context(context), m_database(database)
{
    setObjectName(QStringLiteral("Data_Unit"));
}

void TData_Unit::turnierloeschen(int tid)
{
    deleteTournament(m_database.ADOConnection1(), tid);
    m_context.aktuellerTurniername.clear();
    m_context.aktuelleTID = 0;
    m_context.aktuelleKID = 0;
}

void TData_Unit::listboxenfuellen(int tid)
{
    QListWidget* lists[] = {m_main.einzelliste, m_main.doppelliste, m_main.mixedliste, m_main.courbliste};
    for (QListWidget* list : lists)
        list->clear();
    m_main.altersklasse->clear();
    const QSqlDatabase db = m_database.ADOConnection1();
    for (const ClassEntry& c : listClasses(db, tid)) {
        if (c.kind)
            lists[kindIndex(*c.kind)]->addItem(c.name);
    }
    m_main.altersklasse->addItems(ageClassNames(db, tid));
    m_main.altersklasse->addItem(kNoAgeLimit);
    if (const auto tournament = readTournament(db, tid); tournament && tournament->date(TournamentField::tvon).isValid())
        m_main.austragungstag->setDate(tournament->date(TournamentField::tvon));
    m_main.altersklasse->setCurrentIndex(m_main.altersklasse->count() - 1);
}

void TData_Unit::Tabelle_Rechnen(int KID, int GID)
{
    bw::Tabelle_Rechnen(m_database.ADOConnection1(), KID, GID);
}

void TData_Unit::saveprintersetup(const QString& path)
{
    m_main.printerContext().saveSetup(path);
}

void TData_Unit::loadprintersetup(const QString& path)
{
    if (m_main.printerContext().loadSetup(path) == PrinterContext::Loaded::Missing)
        m_main.services().prompter.error(QStringLiteral("Konnte Druckersetup nicht laden"));
}

void TData_Unit::kfelderloeschen()
{
    for (QListWidget* list : {m_main.einzelliste, m_main.doppelliste, m_main.mixedliste, m_main.courbliste})
        list->clearSelection();
    m_main.classPage->kfelderloeschen();
}

QString zahltext(int value)
{
    return QString::number(value);
}

QString bytetext(int value)
{
    return QString::number(value & 0xFF);
}

void TData_Unit::anmeldeformular_create()
{
    QProgressBar* bar = m_main.ProgressBar1;
    bar->setRange(0, 100);
    bar->setValue(0);
    const QSqlDatabase db = m_database.ADOConnection1();
    const int tid = m_context.aktuelleTID;
    const std::optional<TournamentData> tournament = readTournament(db, tid);
    if (!tournament)
        throw AppError(QStringLiteral("Das Turnier wurde inzwischen an einem anderen Arbeitsplatz gelöscht."));
    const regform::Content content{tournament->text(TournamentField::turniername),
                                   tournament->text(TournamentField::zusatz),
                                   regform::classColumns(listClasses(db, tid))};
    RegistrationFormWriter(content).save(m_main.SaveDialog1FileName,
                                         [bar](int steps) { bar->setValue(bar->value() + steps); });
    bar->setValue(0);
    m_main.services().prompter.information(QStringLiteral("Anmeldeformular wurde erfolgreich generiert"));
}

float TData_Unit::centimeterstopoints(float cm)
{
    return regform::pagePoints(cm);
}

} // namespace bw
