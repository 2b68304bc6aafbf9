#include "output/texportnewform.h"

#include "data/exportrecords.h"
#include "output/listexports.h"
#include "output/outputfile.h"
#include "output/pdflists.h"
#include "platform/apperror.h"
#include "platform/pagestate.h"
#include "platform/services.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QVBoxLayout>

namespace bw {

namespace {

// A 30 x 30 rounded badge with a short white text, the picture of an export kind.
QPixmap badge(const QColor& colour, const QString& text)
{
    QImage image(30, 30, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(colour.darker(130));
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(1.5, 1.5, 27, 27), 4, 4);
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 30, 30), Qt::AlignCenter, text);
    p.end();
    return QPixmap::fromImage(image);
}

// The dialog's bar: steps up to its maximum and keeps the window painted
// (the dialog is disabled meanwhile, so no input gets through).
class BarProgress : public ListProgress {
public:
    explicit BarProgress(QProgressBar& bar) : m_bar(bar) { m_painted.start(); }

    void step(int n) override
    {
        m_bar.setValue(std::min(std::max(m_bar.value(), 0) + n, m_bar.maximum()));
        if (m_painted.elapsed() >= 40) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            m_painted.restart();
        }
    }
    void setMaximum(int maximum) override { m_bar.setMaximum(std::max(maximum, 1)); }

private:
    QProgressBar& m_bar;
    QElapsedTimer m_painted;
};

} // namespace

ExportLink::ExportLink(const QString& name, const QString& caption, QWidget* parent) : QLabel(caption, parent)
{
    setObjectName(name);
    QFont f = font();
    f.setBold(true);
    f.setUnderline(true);
    setFont(f);
    setCursor(Qt::PointingHandCursor);
    showColour();
}

void ExportLink::showColour()
{
    QPalette p = palette();
    const QColor colour = isEnabled() ? QColor(Qt::blue) : QColor(0xC0, 0xC0, 0xC0); // silver
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::WindowText, colour);
    setPalette(p);
}

void ExportLink::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        showColour();
}

void ExportLink::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && isEnabled())
        emit clicked();
}

const QString TExportNewForm::kFailed = QStringLiteral("Es trat ein Fehler auf. Die Datei konnte nicht erzeugt werden.");

TExportNewForm::TExportNewForm(QWidget* parent, Services& services, std::function<QSqlDatabase()> database,
                               const int& aktuelleTID, const QString& aktuellerTurniername, PdfListPages& pdfform)
    : QDialog(parent), m_services(services), m_database(std::move(database)), m_tid(aktuelleTID),
      m_turniername(aktuellerTurniername), m_pdf(pdfform)
{
    setObjectName(QStringLiteral("ExportNewForm"));
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    QPalette white = Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(white);
    Images_Excel = new QLabel(Panel1);
    Images_Excel->setObjectName(QStringLiteral("Images_Excel"));
    Images_Excel->setPixmap(badge(QColor(0x1D, 0x6F, 0x42), QStringLiteral("XLS")));
    Images_PDF = new QLabel(Panel1);
    Images_PDF->setObjectName(QStringLiteral("Images_PDF"));
    Images_PDF->setPixmap(badge(QColor(0xC0, 0x20, 0x20), QStringLiteral("PDF")));
    auto* row = new QHBoxLayout(Panel1);
    row->addWidget(Images_Excel);
    row->addWidget(Images_PDF);
    row->addStretch();

    GroupBox1 = new QGroupBox(QStringLiteral("Export"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Label1 = new QLabel(QStringLiteral("Klasse/Phase"), GroupBox1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Klassenwahl = new QComboBox(GroupBox1);
    Klassenwahl->setObjectName(QStringLiteral("Klassenwahl"));
    Klassenwahl->setMaxVisibleItems(20);
    Klassenwahl->setMinimumWidth(260);
    ExportTyp_Spielplan =
        new ExportLink(QStringLiteral("ExportTyp_Spielplan"), QStringLiteral("-> Spielplan mit Ergebnissen"), GroupBox1);
    ExportTyp_Gruppen = new ExportLink(QStringLiteral("ExportTyp_Gruppen"), QStringLiteral("-> Gruppen / Tabellen"), GroupBox1);
    ExportTyp_Spieler = new ExportLink(QStringLiteral("ExportTyp_Spieler"), QStringLiteral("-> Spielerliste"), GroupBox1);
    ExportTyp_Team = new ExportLink(QStringLiteral("ExportTyp_Team"), QStringLiteral("-> Teamliste"), GroupBox1);
    auto* box = new QVBoxLayout(GroupBox1);
    box->addWidget(Label1);
    box->addWidget(Klassenwahl);
    box->addSpacing(6);
    for (QLabel* link : {static_cast<QLabel*>(ExportTyp_Spielplan), static_cast<QLabel*>(ExportTyp_Gruppen),
                         static_cast<QLabel*>(ExportTyp_Spieler), static_cast<QLabel*>(ExportTyp_Team)})
        box->addWidget(link);

    ExportProgress = new QProgressBar(this);
    ExportProgress->setObjectName(QStringLiteral("ExportProgress"));
    ExportProgress->setValue(0);

    auto* column = new QVBoxLayout(this);
    column->addWidget(Panel1);
    column->addWidget(GroupBox1);
    column->addWidget(ExportProgress);
    column->addStretch();

    connect(Klassenwahl, &QComboBox::currentIndexChanged, this, [this] { ExportTypenAktualisieren(); });
    Prompter& prompter = m_services.prompter;
    connectGuarded(ExportTyp_Spielplan, &ExportLink::clicked, this, prompter, [this] { ExportTyp_SpielplanClick(); });
    connectGuarded(ExportTyp_Gruppen, &ExportLink::clicked, this, prompter, [this] { ExportTyp_GruppenClick(); });
    connectGuarded(ExportTyp_Spieler, &ExportLink::clicked, this, prompter, [this] { ExportTyp_SpielerClick(); });
    connectGuarded(ExportTyp_Team, &ExportLink::clicked, this, prompter, [this] { ExportTyp_TeamClick(); });
}

void TExportNewForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        runGuarded(m_services.prompter, [this] { FormShow(); });
}

void TExportNewForm::FormShow()
{
    ExportProgress->setValue(0);
    Klassenwahl->clear();
    m_entries.clear();
    std::vector<KlassenwahlEntry> entries{klassenwahlEntries({})};
    if (m_tid > 0)
        entries = klassenwahlEntries(exportClasses(m_database(), m_tid));
    m_entries = std::move(entries);
    for (const KlassenwahlEntry& entry : m_entries)
        Klassenwahl->addItem(entry.text);
    Klassenwahl->setCurrentIndex(0);
    ExportTypenAktualisieren();
}

klassenwahlinfo TExportNewForm::selected() const
{
    const int index = Klassenwahl->currentIndex();
    if (index < 0 || size_t(index) >= m_entries.size())
        return klassenwahlinfo{};
    return m_entries[size_t(index)].info;
}

void TExportNewForm::ExportTypenAktualisieren()
{
    const klassenwahlinfo r = selected();
    ExportTyp_Gruppen->setEnabled(r.hasGroups);
    ExportTyp_Team->setEnabled(r.isTeam);
}

void TExportNewForm::ExportTyp_SpielplanClick()
{
    runList(ExportListKind::Spielplan);
}

void TExportNewForm::ExportTyp_GruppenClick()
{
    runList(ExportListKind::GruppenTabellen);
}

void TExportNewForm::ExportTyp_SpielerClick()
{
    runList(ExportListKind::Spielerliste);
}

void TExportNewForm::ExportTyp_TeamClick()
{
    runList(ExportListKind::Teamliste);
}

void TExportNewForm::runList(ExportListKind kind)
{
    setEnabled(false);
    try {
        BarProgress progress(*ExportProgress);
        const ListExportJob job{m_database(), m_tid, m_turniername, selected()};
        const QString caption = windowTitle();
        if (caption == QLatin1String("Excel-Export"))
            openOutputFile(m_services, exportExcelList(kind, job, excelExportFolder(m_services.paths),
                                                       m_services.clock.now(), progress));
        if (caption == QLatin1String("PDF-Export"))
            openOutputFile(m_services, exportPdfList(kind, job, m_pdf, pdfExportFolder(m_services.paths), progress));
    } catch (const std::exception& e) {
        m_services.prompter.prompt(PromptKind::Error, kFailed + QLatin1Char('\r') + exceptionText(e), PromptButtons::Ok);
    }
    setEnabled(true);
    ExportProgress->setValue(0);
}

} // namespace bw
