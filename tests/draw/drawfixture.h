// A class for the draw wizard's form test and its picture: phase 1 in three
// groups of four, the winners to a single knock-out phase 2, ten players of
// three clubs checked in (keys kid * 100 + i, sorted by name as listed), two
// of them seeded, two tables.
#pragma once

#include "data/sql.h"
#include "support/testdatabase.h"

#include <QStringList>

namespace bw::test::draw {

inline void seedDrawClass(const QSqlDatabase& db, int kid)
{
    insertRow(db, s("Turnierklassen"), {{s("KID"), kid}, {s("TID"), 1}, {s("system"), 0}, {s("platten"), 2}});
    QVariantMap settings{{s("KID"), kid}, {s("phase1"), 0}, {s("gruppenanzahl1"), 3}, {s("teilnehmer1"), 4},
                         {s("besten1"), 1}, {s("bestplazierten1"), 0}, {s("phase2"), 1}, {s("gruppenanzahl2"), 0},
                         {s("teilnehmer2"), 0}, {s("besten2"), 0}, {s("bestplazierten2"), 0}, {s("gesetzt"), 2},
                         {s("plattenbez"), s("Tisch")}};
    const QVariant null = QVariant(QMetaType(QMetaType::Int));
    for (const char* c : {"phase3", "gruppenanzahl3", "teilnehmer3", "besten3", "bestplazierten3"})
        settings.insert(QString::fromLatin1(c), null);
    insertRow(db, s("Gruppeneinstellungen"), settings);
    const QStringList names{s("Abel, Eva"),    s("Bach, Lena"),  s("Cohn, Mia"),  s("Dorn, Ida"),
                            s("Ebert, Pia"),   s("Fuchs, Ana"),  s("Graf, Lea"),  s("Hahn, Zoe"),
                            s("Ilgner, Ina"),  s("Jung, Emma")};
    const QStringList clubs{s("TTC Nord"), s("SV Süd"), s("TSV Ost")};
    for (int i = 0; i < names.size(); ++i) {
        const int sid = kid * 100 + i;
        const QStringList name = names[i].split(s(", "));
        insertRow(db, s("Spielerdaten"), {{s("SID"), sid}, {s("TID"), 1}, {s("nachname"), name[0]},
                                          {s("vorname"), name[1]}, {s("verein"), clubs[i % 3]}});
        insertRow(db, s("Spieler_im_turnier"), {{s("TID"), 1}, {s("KID"), kid}, {s("SID"), sid}, {s("gemeldet"), true}});
    }
    insertRow(db, s("Gesetzt"), {{s("KID"), kid}, {s("position"), 0}, {s("SID"), kid * 100 + 7}, {s("partner_SID"), 0}});
    insertRow(db, s("Gesetzt"), {{s("KID"), kid}, {s("position"), 1}, {s("SID"), kid * 100 + 2}, {s("partner_SID"), 0}});
    insertRow(db, s("Platten1"), {{s("KID"), kid}, {s("platte"), s("1")}, {s("TID"), 1}});
    insertRow(db, s("Platten1"), {{s("KID"), kid}, {s("platte"), s("2")}, {s("TID"), 1}});
}

} // namespace bw::test::draw
