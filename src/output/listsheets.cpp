#include "output/listsheets.h"

#include "output/outputfile.h"
#include "output/storedtext.h"
#include "output/xlsxbook.h"

#include <initializer_list>

namespace bw {

namespace {

CellLook titleLook()
{
    CellLook look;
    look.bold = true;
    look.fontSize = 16;
    return look;
}

CellLook headingLook(double size)
{
    CellLook look;
    look.bold = true;
    look.fontSize = size;
    return look;
}

CellLook headerLook()
{
    CellLook look;
    look.fill = kHeaderYellow;
    look.thinBorder = true;
    return look;
}

CellLook rowLook()
{
    CellLook look;
    look.thinBorder = true;
    return look;
}

CellLook dateLook()
{
    CellLook look = rowLook();
    look.numberFormat = QStringLiteral("dd.mm.yyyy");
    return look;
}

// One sheet in a new file of its own; finish() writes and names the file.
class ListSheet {
public:
    ListSheet(const QString& folder, const QString& list, const QDateTime& time)
        : m_file(folder, list, time, QStringLiteral("xlsx")), m_book(m_file.temporaryPath()),
          m_sheet(m_book.addSheet(list))
    {
    }

    XlsxSheet& sheet() { return m_sheet; }

    void widths(std::initializer_list<double> widths)
    {
        int c = 0;
        for (double w : widths)
            m_sheet.setColumnWidth(c++, w);
    }

    // The header row 2 with its columns; the auto-filter reaches the last row.
    void header(const QStringList& captions)
    {
        m_columns = int(captions.size());
        for (int c = 0; c < m_columns; ++c)
            m_sheet.writeText(1, c, captions[c], headerLook());
    }

    // A bordered row: a text cell for each non-empty text, a bordered blank otherwise.
    void text(int row, int column, const QString& value)
    {
        if (value.isEmpty())
            m_sheet.writeBlank(row, column, rowLook());
        else
            m_sheet.writeText(row, column, value, rowLook());
    }

    QString finish(int lastRow)
    {
        if (m_columns > 0)
            m_sheet.setAutoFilter(1, 0, std::max(lastRow, 1), m_columns - 1);
        m_book.close();
        return m_file.commit();
    }

private:
    OutputFile m_file;
    XlsxBook m_book;
    XlsxSheet m_sheet;
    int m_columns = 0;
};

} // namespace

QString writeSpielplanSheet(const ListRows<ExportMatch>& list, bool hasGroups, const QString& folder,
                            const QDateTime& time, ListProgress& progress)
{
    ListSheet out(folder, QStringLiteral("Spielplan"), time);
    XlsxSheet& sheet = out.sheet();
    sheet.writeText(0, 0, list.title, titleLook());
    out.widths({20, 7, 14, 30, 30, 12, 12, 20, 20});
    QStringList captions{QStringLiteral("Klasse"),         QStringLiteral("Phase"),
                         QStringLiteral("Spielnummer"),    QStringLiteral("Spieler/Team 1"),
                         QStringLiteral("Spieler/Team 2"), QStringLiteral("Ergebnis"),
                         QStringLiteral("Tisch"),          QStringLiteral("Schiedsrichter"),
                         QStringLiteral("Spielbeginn")};
    if (hasGroups)
        captions << QStringLiteral("Gruppe");
    out.header(captions);
    int r = 1;
    for (const ExportMatch& m : list.rows) {
        if (!m.spieler1.isEmpty() && !m.spieler2.isEmpty()) {
            ++r;
            out.text(r, 0, m.kbezeichnung);
            sheet.writeNumber(r, 1, m.phase, rowLook());
            sheet.writeNumber(r, 2, m.spielnummer, rowLook());
            out.text(r, 3, m.spieler1);
            out.text(r, 4, m.spieler2);
            out.text(r, 5, resultText(m.ergebnis));
            out.text(r, 6, m.an_platte);
            out.text(r, 7, m.schiri);
            out.text(r, 8, m.spielstart.isValid() ? storedText(m.spielstart) : QString());
            if (hasGroups)
                out.text(r, 9, m.gruppe >= 0 ? groupLetter(m.gruppe) : QString());
        }
        progress.step(1);
    }
    return out.finish(r);
}

QString writeSpielerlisteSheet(const ListRows<ExportPlayer>& list, const QString& folder, const QDateTime& time,
                               ListProgress& progress)
{
    ListSheet out(folder, QStringLiteral("Spielerliste"), time);
    XlsxSheet& sheet = out.sheet();
    sheet.writeText(0, 0, list.title, titleLook());
    out.widths({20, 20, 14, 22, 6, 7, 30, 12, 20, 20, 20, 20, 20});
    out.header({QStringLiteral("Nachname"), QStringLiteral("Vorname"), QStringLiteral("Geb.Datum"),
                QStringLiteral("Verein"), QStringLiteral("M/W"), QStringLiteral("Bezahlt"), QStringLiteral("Emails"),
                QStringLiteral("Spielstärke"), QStringLiteral("Spielklasse"), QStringLiteral("Kreisverband"),
                QStringLiteral("Bezirksverband"), QStringLiteral("Landesverband"), QStringLiteral("Land")});
    int r = 1;
    for (const ExportPlayer& p : list.rows) {
        ++r;
        out.text(r, 0, p.nachname);
        out.text(r, 1, p.vorname);
        if (p.geb.isValid())
            sheet.writeDate(r, 2, p.geb, dateLook());
        else
            out.text(r, 2, QString());
        out.text(r, 3, p.verein);
        out.text(r, 4, p.mann ? QStringLiteral("M") : QStringLiteral("W"));
        out.text(r, 5, p.bezahlt ? QStringLiteral("ja") : QStringLiteral("Nein"));
        out.text(r, 6, p.email);
        out.text(r, 7, p.spielstaerke);
        out.text(r, 8, p.spklasse);
        out.text(r, 9, p.kverband);
        out.text(r, 10, p.bverband);
        out.text(r, 11, p.lverband);
        out.text(r, 12, p.land);
        progress.step(1);
    }
    return out.finish(r);
}

QString writeTeamlisteSheet(const ListRows<ExportTeam>& list, const QString& folder, const QDateTime& time,
                            ListProgress& progress)
{
    ListSheet out(folder, QStringLiteral("Teamliste"), time);
    out.sheet().writeText(0, 0, list.title, titleLook());
    out.widths({20, 20, 20, 20, 20, 20, 20, 20, 25, 25});
    out.header({QStringLiteral("Teamname"), QStringLiteral("Verein"), QStringLiteral("Spieler 1"),
                QStringLiteral("Spieler 2"), QStringLiteral("Spieler 3"), QStringLiteral("Spieler 4"),
                QStringLiteral("Reservespieler 1"), QStringLiteral("Reservespieler 2"), QStringLiteral("Doppel 1"),
                QStringLiteral("Doppel 2")});
    int r = 1;
    for (const ExportTeam& t : list.rows) {
        ++r;
        out.text(r, 0, t.teamname);
        out.text(r, 1, t.verein);
        for (int k = 0; k < 4; ++k)
            out.text(r, 2 + k, t.spieler[size_t(k)] ? memberText(*t.spieler[size_t(k)]) : QString());
        for (int k = 0; k < 2; ++k)
            out.text(r, 6 + k, t.reserve[size_t(k)] ? memberText(*t.reserve[size_t(k)]) : QString());
        for (int k = 0; k < 2; ++k)
            out.text(r, 8 + k, t.doppel[size_t(k)] ? doubleText(*t.doppel[size_t(k)]) : QString());
        progress.step(1);
    }
    return out.finish(r);
}

QString writeGruppenTabellenSheet(const ListRows<ExportStanding>& list, const QString& folder, const QDateTime& time,
                                  ListProgress& progress)
{
    ListSheet out(folder, QStringLiteral("GruppenTabellen"), time);
    XlsxSheet& sheet = out.sheet();
    sheet.writeText(0, 0, list.title);
    out.widths({5, 30, 6, 6, 7, 6});
    // Excel's row numbers from 1, as the layout counts them; cells take r - 1.
    int r = 1;
    int lastPhase = -1;
    int lastGroup = -1;
    const QString header[] = {QStringLiteral("Pos"),   QStringLiteral("Spieler"), QStringLiteral("Spiele"),
                              QStringLiteral("Sätze"), QStringLiteral("Punkte"),  QStringLiteral("Bälle")};
    for (const ExportStanding& row : list.rows) {
        if (row.bez.isEmpty())
            continue;
        if (row.phase != lastPhase) {
            lastPhase = row.phase;
            lastGroup = -1; // a new phase starts with its first group's heading
            r += 2;
            sheet.writeText(r - 1, 0, QStringLiteral("Phase %1").arg(row.phase), headingLook(14));
            r -= 1;
        }
        if (row.gid == lastGroup) {
            r += 1;
        } else {
            r += 2;
            sheet.writeText(r - 1, 0, QStringLiteral("Gruppe ") + groupLetter(row.gid), headingLook(12));
            r += 1;
            for (int c = 0; c < 6; ++c)
                sheet.writeText(r - 1, c, header[c], headerLook());
            r += 1;
            lastGroup = row.gid;
        }
        const int cell = r - 1;
        sheet.writeNumber(cell, 0, row.pos + 1, rowLook());
        out.text(cell, 1, row.bez);
        sheet.writeNumber(cell, 2, row.spielanzahl, rowLook());
        out.text(cell, 3, QStringLiteral("%1:%2").arg(row.saetzegewonnen).arg(row.saetzeverloren));
        out.text(cell, 4, QStringLiteral("%1:%2").arg(row.spielegewonnen).arg(row.spieleverloren));
        out.text(cell, 5, QStringLiteral("%1:%2").arg(row.punktegewonnen).arg(row.punkteverloren));
        progress.step(1);
    }
    return out.finish(0);
}

} // namespace bw
