#include "output/tdrucken.h"

#include "data/planrecords.h"
#include "data/planviewrecords.h"
#include "draw/planfiles.h"
#include "output/groupplanprint.h"
#include "output/koplanprint.h"
#include "output/tdruck_form.h"
#include "platform/prompter.h"
#include "platformui/printcanvas.h"
#include "platformui/printercontext.h"
#include "plans/bracketlayout.h"

#include <QPrinter>

namespace bw {

namespace {

const QString kNothingToPrint =
    QStringLiteral("Diese Phase hat keine Spiele der ersten Runde. Es wird nichts gedruckt.");

} // namespace

QString missingDoubleKoPlanMessage(PlanLookup lookup, int slotCount)
{
    if (lookup == PlanLookup::FileMissing)
        return QStringLiteral("Die Datei ko_system.txt mit den Doppel-KO-Plänen fehlt.");
    return QStringLiteral("In ko_system.txt fehlt der Doppel-KO-Plan für %1 Plätze.").arg(slotCount);
}

Tdrucken::Tdrucken(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("drucken"));
}

void Tdrucken::gruppenplan(int, int, int phase)
{
    QPrinter& printer = m_links.printer();
    if (!(PrintDialog1 ? PrintDialog1 : runPrintDialog)(printer, nullptr))
        return;
    printer.setPageOrientation(QPageLayout::Portrait);
    runGuarded(*m_links.prompter, [&] {
        const QSqlDatabase db = m_links.database();
        const int kid = m_links.aktuelleKID();
        const gruppeninfos infos = m_links.klasseninfos();
        const std::optional<PlanClassRow> klasse = readPlanClass(db, kid);
        groupprint::Input in;
        in.turniername = m_links.turniername();
        in.spielplantext = m_links.spielplantext();
        in.teilnehmer = infos.teilnehmer(phase);
        in.punkteProSieg = (klasse ? klasse->punkteprosieg : 0) + 1;
        in.team = klasse && klasse->system == 3;
        in.groups = groupprint::readGroups(db, kid, phase, infos.gruppenOffset(phase), infos.gruppenanzahl(phase));
        PrintJob job(printer);
        in.page = PageMetrics::of(printer);
        job.printPages(groupprint::layout(in, job.canvas().measure()));
        job.finish();
    });
}

void Tdrucken::koplan(int, int, int phase)
{
    runGuarded(*m_links.prompter, [&] { printKnockOut(false, phase); });
}

void Tdrucken::doppelterkoplan(int, int, int phase)
{
    runGuarded(*m_links.prompter, [&] { printKnockOut(true, phase); });
}

void Tdrucken::printKnockOut(bool doubleKo, int phase)
{
    const QSqlDatabase db = m_links.database();
    const int kid = m_links.aktuelleKID();
    const QList<PlanMatchRow> classMatches = readPlanMatches(db, kid);
    QList<PlanMatchRow> rows;
    for (const PlanMatchRow& match : classMatches)
        if (match.phase == phase)
            rows.append(match);
    const int n = plan::firstRoundMatches(rows);
    if (n == 0) {
        m_links.prompter->information(kNothingToPrint);
        return;
    }
    koprint::PlanFigures figures{doubleKo ? koprint::PlanKind::DoubleKnockOut : koprint::PlanKind::KnockOut, n};
    // The block is read once for the whole printout.
    DoubleKoPlan block;
    if (doubleKo) {
        block = readDoubleKoPlan(m_links.programFile(QString::fromLatin1(kDoubleKoFile)), 2 * n);
        if (!block.found()) {
            m_links.prompter->error(missingDoubleKoPlanMessage(block.lookup, 2 * n));
            return;
        }
        figures.columns = block.columns;
        figures.rows = block.rows;
    }

    Tdruck_form& form = *m_links.druck_form;
    form.fillEntries(figures);
    const int answer = showPrintSize ? showPrintSize(form) : form.exec();
    if (answer != QDialog::Accepted)
        return;
    const int size = form.size();
    const bool landscape = form.orientation() == koprint::Orientation::Landscape;

    QPrinter& printer = m_links.printer();
    if (!(PrintDialog1 ? PrintDialog1 : runPrintDialog)(printer, form.parentWidget()))
        return;
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    const int offset = doubleKo && phase > 1 ? lastMatchNumber(db, kid, phase - 1) : 0;
    // A failure aborts the job: nothing half-printed is sent.
    PrintJob job(printer);
    const PageMetrics page = PageMetrics::of(printer);
    const koprint::PlanHeader header{m_links.turniername(), m_links.spielplantext()};
    const TextWidthFn measure = job.canvas().measure();
    const koprint::PlanPrint laidOut = doubleKo
                                           ? koprint::doubleKoPlan(block, classMatches, offset, header, size, page, measure)
                                           : koprint::koPlan(rows, header, size, page, measure);
    job.printPages(koprint::tilePages(laidOut, koprint::tileSize(page), measure));
    job.finish();
}

} // namespace bw
