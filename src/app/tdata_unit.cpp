#include "app/tdata_unit.h"

#include "app/appcontext.h"
#include "app/tmainform.h"
#include "classes/classpage.h"
#include "controls/uibuttons.h"
#include "data/ageclasses.h"
#include "data/cascades.h"
#include "data/classrecords.h"
#include "data/db_procedures.h"
#include "data/dbvalue.h"
#include "platform/services.h"

#include <QComboBox>
#include <QLabel>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

namespace bw {

TData_Unit::TData_Unit(TMainform& mainform, AppContext& context, Tdb_procedures& database, QObject* parent)
    : QObject(parent), m_main(mainform), m_context(context), m_database(database)
{
    setObjectName(QStringLiteral("Data_Unit"));
}

// The page's controls in the order of the tournament's columns.
struct PageControls {
    QWidget* controls[kTournamentFieldCount];
};

static PageControls pageControls(const TMainform& m)
{
    return {{m.turniername, m.zusatzname, m.austragungsort, m.Tvon, m.Tbis, m.startberechtigung, m.turniermodus,
             m.veranstalter, m.v_homepage, m.gesamtleitung, m.turnierleitung, m.schiedsrichter, m.osr,
             m.meldeschluss, m.auslosung, m.meldeinfo, m.meldung_an, m.auslosunginfo, m.tische, m.baelle, m.netze,
             m.zaehlgeraete, m.banden, m.preise, m.verpflegung, m.wegbeschreibung, m.verschiedenes, m.erstehilfe}};
}

TournamentData TData_Unit::pageData() const
{
    TournamentData data;
    const PageControls page = pageControls(m_main);
    for (int i = 0; i < kTournamentFieldCount; ++i) {
        QWidget* control = page.controls[i];
        QVariant& value = data.values[size_t(i)];
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            value = edit->text();
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(control))
            value = toStoredMemo(memo->toPlainText());
        else if (auto* date = qobject_cast<QDateEdit*>(control))
            value = date->date();
    }
    return data;
}

void TData_Unit::showData(const TournamentData& data)
{
    const PageControls page = pageControls(m_main);
    for (int i = 0; i < kTournamentFieldCount; ++i) {
        QWidget* control = page.controls[i];
        const QVariant& value = data.values[size_t(i)];
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->setText(value.toString());
            edit->setCursorPosition(0);
        } else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
            // A Null memo shows empty, not what the page held before.
            memo->setPlainText(fromStoredMemo(value.toString()));
        } else if (auto* date = qobject_cast<QDateEdit*>(control)) {
            if (value.toDate().isValid())
                date->setDate(value.toDate());
        }
    }
}

void TData_Unit::turnierspeichern()
{
    m_context.aktuelleTID = insertTournament(m_database.ADOConnection1(), pageData(), m_context.turnierOptionen);
}

void TData_Unit::turnierupdate(int tid)
{
    updateTournament(m_database.ADOConnection1(), tid, pageData());
}

void TData_Unit::turnierloeschen(int tid)
{
    deleteTournament(m_database.ADOConnection1(), tid);
    m_context.aktuellerTurniername.clear();
    m_context.aktuelleTID = 0;
    m_context.aktuelleKID = 0;
}

void TData_Unit::tfelderfuellen(int tid)
{
    const auto data = readTournament(m_database.ADOConnection1(), tid);
    if (!data)
        return;
    // The Tvon handler moves Tbis; the row's own last day is set after it.
    showData(*data);
    if (data->date(TournamentField::tbis).isValid())
        m_main.Tbis->setDate(data->date(TournamentField::tbis));
    m_main.statictext1->setText(data->text(TournamentField::turniername));
}

void TData_Unit::turnierfelderloeschen()
{
    const PageControls page = pageControls(m_main);
    const QDate today = m_main.services().clock.today();
    for (QWidget* control : page.controls) {
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            edit->clear();
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(control))
            memo->clear();
        else if (auto* date = qobject_cast<QDateEdit*>(control))
            date->setDate(today);
    }
}

void TData_Unit::tmemoserstezeile()
{
    for (QWidget* control : pageControls(m_main).controls) {
        if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
            QTextCursor cursor = memo->textCursor();
            cursor.movePosition(QTextCursor::Start);
            memo->setTextCursor(cursor);
            memo->ensureCursorVisible();
        }
    }
}

void TData_Unit::updated()
{
    TuiButton* button = m_main.turnier_speichern;
    if (!button->isEnabled()) {
        button->setEnabled(true);
        button->SetCaption(QStringLiteral("Änderung übernehmen"));
    }
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

} // namespace bw
