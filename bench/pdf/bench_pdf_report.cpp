// Writes one report of placed text labels (a player list: landscape pages,
// six labels per row, 13 points per row, Helvetica 10) with three writers:
// Brackwell's PDF writer (uncompressed), libharu (compression off, base-14
// font) and Qt's QPdfWriter. Each run is a child process of its own, so that
// peak memory is measured per writer. pdftotext must give the same text for
// all files. Prints time, file size and peak memory with their ratios (the
// peer's value divided by Brackwell's: above 1 means Brackwell needs less).
// Goal: faster than every peer, and linear in the number of labels (the time
// per label of the largest report within 1.5x of the smallest's).
//
//   [BENCH_PDF_DIR=folder] bench_pdf_report [labels ...]      default: 6000 100000
#include "benchreport.h"

#include "pdf/pdfreport.h"

#include "platform/cp1252.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <hpdf.h>

#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

using namespace bw::pdf;

namespace {

constexpr int kColumns = 6;
constexpr int kLeft[kColumns] = {0, 180, 230, 390, 430, 580};
constexpr int kPageWidth = 800;
constexpr int kPageHeight = 596;
constexpr int kPanelOffset = 33; // bevel and margin of the report page

QString cell(int row, int column)
{
    switch (column) {
    case 0: return QStringLiteral("Müller-%1, Jürgen").arg(row);
    case 1: return QStringLiteral("%1.03.19%2").arg(1 + row % 28, 2, 10, QLatin1Char('0')).arg(50 + row % 50);
    case 2: return QStringLiteral("TTC Rabenweiß %1").arg(row % 97);
    case 3: return row % 2 ? QStringLiteral("M") : QStringLiteral("W");
    case 4: return QStringLiteral("spieler%1@example.org").arg(row);
    default: return QStringLiteral("Bezirk Nord €%1").arg(row % 7);
    }
}

// Calls place(text, left, top) for every label and page() after each page,
// positions in points from the top-left corner of the layout panel.
void layout(int labels, const std::function<void(const QString&, int, int)>& place, const std::function<void()>& page)
{
    int y = 24;
    int placed = 0;
    for (int row = 0; placed < labels; ++row) {
        for (int c = 0; c < kColumns && placed < labels; ++c, ++placed)
            place(cell(row, c), kLeft[c], y);
        y += 13;
        if (y > 470 && placed < labels) {
            page();
            y = 24;
        }
    }
    page();
}

void writeOwn(int labels, const QString& path)
{
    TPdfReport report;
    report.FileName = path;
    TRepPage page;
    page.SetWidth(kPageWidth);
    page.SetHeight(kPageHeight);
    auto& panel = page.Create<TRepLayoutPanel>();
    panel.SetAlign(TAlign::alClient);
    report.BeginDoc();
    layout(
        labels,
        [&](const QString& text, int left, int top) {
            auto& l = panel.Create<TRepLabel>();
            l.SetFontName(TRepFontName::fnArial);
            l.SetFontSize(10);
            l.SetHeight(10);
            l.SetWidth(100);
            l.SetTop(top);
            l.SetLeft(left);
            l.SetCaption(text);
        },
        [&] {
            report.Print(page);
            panel.DestroyComponents();
        });
    report.EndDoc();
}

void hpdfError(HPDF_STATUS error, HPDF_STATUS detail, void*)
{
    std::fprintf(stderr, "libharu error %04X (%u)\n", unsigned(error), unsigned(detail));
    std::exit(2);
}

void writeHaru(int labels, const QString& path)
{
    HPDF_Doc pdf = HPDF_New(hpdfError, nullptr);
    HPDF_SetCompressionMode(pdf, HPDF_COMP_NONE);
    HPDF_Font font = HPDF_GetFont(pdf, "Helvetica", "WinAnsiEncoding");
    HPDF_Page page = nullptr;
    auto newPage = [&] {
        page = HPDF_AddPage(pdf);
        HPDF_Page_SetWidth(page, kPageWidth);
        HPDF_Page_SetHeight(page, kPageHeight);
        HPDF_Page_BeginText(page);
        HPDF_Page_SetFontAndSize(page, font, 10);
    };
    newPage();
    int pages = 1;
    const int total = [&] {
        int n = 0;
        layout(labels, [](const QString&, int, int) {}, [&] { ++n; });
        return n;
    }();
    layout(
        labels,
        [&](const QString& text, int left, int top) {
            const QByteArray bytes = bw::cp1252::encode(text);
            HPDF_Page_TextOut(page, HPDF_REAL(kPanelOffset + left), HPDF_REAL(kPageHeight - kPanelOffset - top - 8.5),
                              bytes.constData());
        },
        [&] {
            HPDF_Page_EndText(page);
            if (pages++ < total)
                newPage();
        });
    HPDF_SaveToFile(pdf, QFile::encodeName(path).constData());
    HPDF_Free(pdf);
}

// Brackwell saves through QSaveFile, which syncs the file to disk before it
// replaces the old one; this row gives libharu the same sync for comparison.
void writeHaruSynced(int labels, const QString& path)
{
    writeHaru(labels, path);
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY);
    ::fdatasync(fd);
    ::close(fd);
}

void writeQt(int labels, const QString& path)
{
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(QSizeF(kPageWidth, kPageHeight), QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    QFont font(QStringLiteral("Helvetica"));
    font.setPixelSize(10);
    painter.setFont(font);
    int pages = 0;
    const int total = [&] {
        int n = 0;
        layout(labels, [](const QString&, int, int) {}, [&] { ++n; });
        return n;
    }();
    layout(
        labels,
        [&](const QString& text, int left, int top) {
            painter.drawText(QPointF(kPanelOffset + left, kPanelOffset + top + 8.5), text);
        },
        [&] {
            if (++pages < total)
                writer.newPage();
        });
    painter.end();
}

long peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// Child: writes one file and prints "milliseconds peakKiB baselineKiB".
int child(const QString& writer, int labels, const QString& path)
{
    const long baseline = peakKiB();
    QElapsedTimer timer;
    timer.start();
    if (writer == QLatin1String("brackwell"))
        writeOwn(labels, path);
    else if (writer == QLatin1String("libharu"))
        writeHaru(labels, path);
    else if (writer == QLatin1String("libharu+sync"))
        writeHaruSynced(labels, path);
    else
        writeQt(labels, path);
    const double ms = timer.nsecsElapsed() / 1e6;
    std::printf("%.3f %ld %ld\n", ms, peakKiB(), baseline);
    return 0;
}

struct Result {
    double ms = 0;
    qint64 bytes = 0;
    long peak = 0;
    long growth = 0;
    QString text;
};

QString plainText(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")});
    p.waitForFinished(-1);
    // The same words in the same order; spacing follows each writer's metrics.
    return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

Result measure(const QString& writer, int labels, const QString& path, int runs)
{
    Result best;
    for (int i = 0; i < runs; ++i) {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--child"), writer, QString::number(labels), path});
        p.waitForFinished(-1);
        const QList<QByteArray> f = p.readAllStandardOutput().simplified().split(' ');
        if (p.exitCode() != 0 || f.size() != 3) {
            std::fprintf(stderr, "%s failed\n", qPrintable(writer));
            std::exit(1);
        }
        const double ms = f[0].toDouble();
        if (i == 0 || ms < best.ms)
            best.ms = ms;
        best.peak = f[1].toLong();
        best.growth = f[1].toLong() - f[2].toLong();
    }
    best.bytes = QFileInfo(path).size();
    best.text = plainText(path);
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    bw::timing::setUpLikeTests();
    if (argc == 5 && QByteArray(argv[1]) == "--child") {
        QGuiApplication app(argc, argv);
        return child(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt(), QString::fromLocal8Bit(argv[4]));
    }
    QCoreApplication app(argc, argv);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QByteArray(argv[i]).toInt();
    if (sizes.isEmpty())
        sizes = {6000, 100000};

    // By default in memory (tmpfs), so that the disk's sync and rename times,
    // which vary by tens of milliseconds on a busy machine, do not drown the
    // writers' own work. BENCH_PDF_DIR chooses another folder (a real disk).
    QString base = qEnvironmentVariable("BENCH_PDF_DIR");
    if (base.isEmpty())
        base = QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    QTemporaryDir dir(base + QStringLiteral("/bench_pdf_report-XXXXXX"));
    std::printf("files in %s\n", qPrintable(base));
    bool same = true;
    QList<std::pair<QString, double>> speeds;
    QList<double> msPerLabel;
    for (int labels : sizes) {
        const int runs = labels <= 10000 ? 9 : 5;
        const QStringList writers = {QStringLiteral("brackwell"), QStringLiteral("libharu"),
                                     QStringLiteral("libharu+sync"), QStringLiteral("qpdfwriter")};
        QList<Result> results;
        for (const QString& w : writers)
            results << measure(w, labels, dir.filePath(QStringLiteral("%1-%2.pdf").arg(w).arg(labels)), runs);

        std::printf("\n%d labels (best of %d runs; peak = VmHWM of the process, growth = peak above start)\n", labels, runs);
        std::printf("%-12s %10s %8s %12s %8s %10s %8s %11s %8s\n", "writer", "ms", "ratio", "bytes", "ratio",
                    "peak KiB", "ratio", "growth KiB", "ratio");
        const Result& own = results[0];
        for (int i = 0; i < writers.size(); ++i) {
            const Result& r = results[i];
            std::printf("%-12s %10.1f %8.2f %12lld %8.2f %10ld %8.2f %11ld %8.2f\n", qPrintable(writers[i]), r.ms,
                        r.ms / own.ms, static_cast<long long>(r.bytes), double(r.bytes) / double(own.bytes), r.peak,
                        double(r.peak) / double(own.peak), r.growth,
                        own.growth > 0 ? double(r.growth) / double(own.growth) : 0.0);
        }
        for (int i = 1; i < writers.size(); ++i) {
            if (results[i].text != own.text) {
                same = false;
                std::printf("pdftotext of %s differs from brackwell's\n", qPrintable(writers[i]));
            }
        }
        std::printf("pdftotext: %s\n", same ? "the same text in every file" : "DIFFERENT");
        std::printf("time per label: %.3f us (brackwell)\n", own.ms * 1000 / labels);
        for (int i = 1; i < writers.size(); ++i)
            speeds.append({QStringLiteral("%1 labels, time of %2 against ours").arg(labels).arg(writers[i]),
                           results[i].ms / own.ms});
        msPerLabel.append(own.ms / labels);
    }
    using namespace bw::timing;
    for (const auto& [what, ratio] : speeds)
        report(qPrintable(what), kNoBackend, ratio, atLeast(1));
    if (sizes.size() > 1)
        report(qPrintable(QStringLiteral("time per label, %1 against %2 labels").arg(sizes.last()).arg(sizes.first())),
               kNoBackend, msPerLabel.last() / msPerLabel.first(), atMost(1.5));
    return same ? 0 : 1;
}
