#include "output/pdflists.h"

#include "output/storedtext.h"
#include "platform/apperror.h"
#include "platform/apppaths.h"
#include "platform/germantext.h"

#include <QDir>

namespace bw {

using namespace pdf;

namespace {

constexpr int kLine = 13;
// A row whose line position passed this goes onto a new page.
constexpr int kPageEnd = 470;

const QDateTime kCreationDate(QDate(2006, 9, 9), QTime(14, 4, 54));

} // namespace

QString pdfExportFolder(const AppPaths& paths)
{
    return paths.dataFile(QStringLiteral("ExportPDF"));
}

// One document being written: whatever happens, the document is dropped and
// the panel emptied when it ends, so the next export starts afresh.
class PdfListPages::Document {
public:
    Document(PdfListPages& pages, const QString& fileName, bool landscape, const QString& turniername,
             const QString& folder)
        : m_pages(pages)
    {
        try {
            m_pages.PDFSeiteVorbereiten(landscape, turniername, folder);
        } catch (...) {
            clear();
            throw;
        }
        m_pages.report.FileName = QDir(folder).filePath(fileName);
    }
    ~Document() { clear(); }
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Prints the last page and writes the file.
    QString finish()
    {
        m_pages.report.Print(m_pages.PRPage1);
        m_pages.report.EndDoc();
        return m_pages.report.FileName;
    }

private:
    void clear()
    {
        m_pages.report.Abort();
        m_pages.PRLayoutPanel1.DestroyComponents();
        m_pages.aktlabel = nullptr;
    }

    PdfListPages& m_pages;
};

PdfListPages::PdfListPages(const Clock* clock) : report(clock), PRLayoutPanel1(PRPage1.Create<TRepLayoutPanel>())
{
    PRPage1.SetWidth(596);
    PRPage1.SetHeight(800);
    PRLayoutPanel1.SetAlign(TAlign::alClient);
    report.SetPageMode(TPdfPageMode::pmUseOutlines);
    report.SetUseOutlines(false);
    report.SetCreationDate(kCreationDate);
}

PdfListPages::~PdfListPages() = default;

void PdfListPages::PDFSeiteVorbereiten(bool landscape, const QString& turniername, const QString& folder)
{
    report.BeginDoc();
    PRPage1.SetWidth(landscape ? 800 : 596);
    PRPage1.SetHeight(landscape ? 596 : 800);
    title(turniername, landscape ? 760 : 560);
    aktlabel->SetTop(10);
    aktlabel->SetFontSize(26);
    if (!QDir().mkpath(folder))
        throw AppError(QStringLiteral("Das AusgabeVerzeichnis konnte nicht erstellt werden:\r") +
                       QDir::toNativeSeparators(folder));
}

TRepLabel& PdfListPages::PDFLabelSetzen(const QString& text, int left, int width, int top, float fontSize)
{
    TRepLabel& label = PRLayoutPanel1.Create<TRepLabel>();
    label.Alignment = TPdfAlignment::taLeftJustify;
    label.SetFontName(TRepFontName::fnArial);
    label.SetFontSize(fontSize);
    label.SetHeight(10);
    label.SetWidth(width);
    label.SetTop(top);
    label.SetLeft(left);
    label.SetCaption(text);
    aktlabel = &label;
    return label;
}

// The list's title under the tournament's name: centred, 22 points, bold.
void PdfListPages::title(const QString& text, int width)
{
    TRepLabel& label = PDFLabelSetzen(text, 0, width, 40, 22);
    label.Alignment = TPdfAlignment::taCenter;
    label.SetFontBold(true);
}

void PdfListPages::bold(const QString& text, int left, int width, int top)
{
    PDFLabelSetzen(text, left, width, top, 10).SetFontBold(true);
}

void PdfListPages::newPage()
{
    report.Print(PRPage1);
    PRLayoutPanel1.DestroyComponents();
    aktlabel = nullptr;
}

QString PdfListPages::PDFSpielerliste(const ListRows<ExportPlayer>& list, const QString& turniername,
                                      const QString& folder, ListProgress& progress)
{
    Document document(*this, QStringLiteral("Spielerliste.pdf"), true, turniername, folder);
    title(list.title, 760);
    const auto headings = [this](int top) {
        bold(QStringLiteral("Nachname, Vorname"), 0, 100, top);
        bold(QStringLiteral("Geb.Dat."), 180, 100, top);
        bold(QStringLiteral("Verein"), 230, 100, top);
        bold(QStringLiteral("M/W"), 390, 450, top);
        bold(QStringLiteral("Email"), 430, 100, top);
        bold(QStringLiteral("Verband"), 580, 100, top);
    };
    headings(100);
    int y = 114;
    for (const ExportPlayer& p : list.rows) {
        // A full page ends only when another row follows.
        if (y > kPageEnd) {
            newPage();
            headings(10);
            y = 24;
        }
        PDFLabelSetzen(memberText({p.nachname, p.vorname}), 0, 100, y, 10);
        PDFLabelSetzen(p.geb.isValid() ? german::formatDate(p.geb) : QString(), 180, 100, y, 10);
        PDFLabelSetzen(p.verein, 230, 100, y, 10);
        PDFLabelSetzen(p.mann ? QStringLiteral("M") : QStringLiteral("W"), 390, 450, y, 10);
        PDFLabelSetzen(p.email, 430, 100, y, 10);
        PDFLabelSetzen(verbandText(p), 580, 100, y, 10);
        y += kLine;
        progress.step(1);
    }
    return document.finish();
}

QString PdfListPages::PDFSpielplan(const ListRows<ExportMatch>& list, const QString& turniername,
                                   const QString& folder, ListProgress& progress)
{
    Document document(*this, QStringLiteral("Spielplan.pdf"), true, turniername, folder);
    title(list.title, 760);
    const auto headings = [this](int top) {
        bold(QStringLiteral("Klasse"), 20, 100, top);
        bold(QStringLiteral("Spiel"), 100, 100, top);
        bold(QStringLiteral("Spieler/Team 1"), 150, 100, top);
        bold(QStringLiteral("Spieler/Team 2"), 300, 450, top);
        bold(QStringLiteral("Ergebnis"), 450, 100, top);
        bold(QStringLiteral("Tisch"), 520, 100, top);
        bold(QStringLiteral("Gruppe"), 570, 100, top);
        bold(QStringLiteral("Spielbeginn"), 620, 100, top);
    };
    headings(100);
    int y = 114;
    for (const ExportMatch& m : list.rows) {
        if (!m.spieler1.isEmpty() && !m.spieler2.isEmpty()) {
            if (y > kPageEnd) {
                newPage();
                headings(10);
                y = 24;
            }
            PDFLabelSetzen(m.kbezeichnung + QLatin1Char('-') + QString::number(m.phase), 20, 100, y, 10);
            PDFLabelSetzen(QString::number(m.spielnummer), 100, 100, y, 10);
            PDFLabelSetzen(m.spieler1, 150, 100, y, 10);
            PDFLabelSetzen(m.spieler2, 300, 100, y, 10);
            const QString result = resultText(m.ergebnis);
            if (!result.isEmpty())
                PDFLabelSetzen(result, 450, 100, y, 10);
            PDFLabelSetzen(m.an_platte, 520, 100, y, 10);
            if (m.gruppe >= 0)
                PDFLabelSetzen(groupLetter(m.gruppe), 570, 100, y, 10);
            PDFLabelSetzen(spielbeginnText(m), 620, 100, y, 10);
            y += kLine;
        }
        progress.step(1);
    }
    return document.finish();
}

QString PdfListPages::PDFGruppenTabellen(const ListRows<ExportStanding>& list, const QString& turniername,
                                         const QString& folder, ListProgress& progress)
{
    Document document(*this, QStringLiteral("GruppenTabellen.pdf"), false, turniername, folder);
    title(list.title, 560);
    int b = 50;
    int lastPhase = -1;
    int lastGroup = -1;
    for (const ExportStanding& row : list.rows) {
        if (row.bez.isEmpty())
            continue;
        if (row.phase != lastPhase) {
            lastPhase = row.phase;
            lastGroup = -1; // a new phase starts with its first group's heading
            if (b > 550) {
                newPage();
                b = -30;
            }
            b += 50;
            PDFLabelSetzen(QStringLiteral("Phase %1").arg(row.phase), 20, 100, b, 16).SetFontBold(true);
            b += 5;
        }
        if (row.gid == lastGroup) {
            b += kLine;
            if (b > 750) {
                newPage();
                b = 20;
            }
        } else {
            if (b > 650) {
                newPage();
                b = -10;
            }
            b += 26;
            PDFLabelSetzen(QStringLiteral("Gruppe ") + groupLetter(row.gid), 20, 100, b, 14);
            b += 20;
            bold(QStringLiteral("Pos"), 20, 100, b);
            bold(QStringLiteral("Spieler"), 50, 100, b);
            bold(QStringLiteral("Spiele"), 250, 100, b);
            bold(QStringLiteral("Sätze"), 300, 100, b);
            bold(QStringLiteral("Punkte"), 350, 100, b);
            bold(QStringLiteral("Bälle"), 400, 100, b);
            b += kLine;
            lastGroup = row.gid;
        }
        PDFLabelSetzen(QString::number(row.pos + 1), 20, 100, b, 10);
        PDFLabelSetzen(row.bez, 50, 100, b, 10);
        PDFLabelSetzen(QString::number(row.spielanzahl), 250, 100, b, 10);
        PDFLabelSetzen(QStringLiteral("%1:%2").arg(row.saetzegewonnen).arg(row.saetzeverloren), 300, 100, b, 10);
        PDFLabelSetzen(QStringLiteral("%1:%2").arg(row.spielegewonnen).arg(row.spieleverloren), 350, 100, b, 10);
        PDFLabelSetzen(QStringLiteral("%1:%2").arg(row.punktegewonnen).arg(row.punkteverloren), 400, 100, b, 10);
        progress.step(1);
    }
    return document.finish();
}

namespace {

// "<nachname>, <vorname>", or with the first name cut to two letters and a
// full stop when the whole is longer than `longest`.
QString shortened(const QString& prefix, const ExportMemberName& name, int longest)
{
    const QString full = prefix + memberText(name);
    if (full.size() <= longest)
        return full;
    return prefix + name.nachname + QStringLiteral(", ") + name.vorname.left(2) + QLatin1Char('.');
}

} // namespace

QString PdfListPages::PDFTeamliste(const ListRows<ExportTeam>& list, const QString& turniername,
                                   const QString& folder, ListProgress& progress)
{
    Document document(*this, QStringLiteral("Teamliste.pdf"), true, turniername, folder);
    title(list.title, 760);
    const auto headings = [this](int top) {
        bold(QStringLiteral("Teamname"), 10, 100, top);
        bold(QStringLiteral("Verein"), 130, 100, top);
        bold(QStringLiteral("Spieler"), 270, 100, top);
        bold(QStringLiteral("Reservespieler"), 430, 100, top);
        bold(QStringLiteral("Doppel"), 580, 100, top);
    };
    headings(90);
    int y = 110;
    for (const ExportTeam& t : list.rows) {
        // A block that would start below the page's depth goes onto a new page.
        if (y > kPageEnd) {
            newPage();
            headings(10);
            y = 30;
        }
        int h = 1;
        PDFLabelSetzen(t.teamname, 10, 100, y, 10);
        PDFLabelSetzen(t.verein, 130, 100, y, 10);
        for (int k = 1; k <= 4; ++k) {
            if (const auto& name = t.spieler[size_t(k - 1)]) {
                h = std::max(h, k);
                PDFLabelSetzen(shortened(QStringLiteral("%1. ").arg(k), *name, 25), 270, 100, y + (k - 1) * kLine, 10);
            }
        }
        for (int k = 1; k <= 2; ++k) {
            if (const auto& name = t.reserve[size_t(k - 1)]) {
                h = std::max(h, k);
                PDFLabelSetzen(shortened(QString(), *name, 22), 430, 100, y + (k - 1) * kLine, 10);
            }
        }
        for (int k = 1; k <= 2; ++k) {
            if (const auto& surnames = t.doppel[size_t(k - 1)])
                PDFLabelSetzen(doubleText(*surnames), 580, 100, y + (k - 1) * kLine, 10);
        }
        y += h * kLine + kLine;
        progress.step(1);
    }
    return document.finish();
}

} // namespace bw
