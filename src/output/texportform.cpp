#include "output/texportform.h"

#include "controls/uibuttons.h"
#include "data/siterecords.h"
#include "output/htmlsite.h"
#include "platform/pagestate.h"
#include "platform/services.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QVBoxLayout>

namespace bw {

const QString Texportform::kOverwrite = QStringLiteral("Im Ordner gibt es schon eine Turnier-Website. Überschreiben?");

// While an export runs the dialog is disabled; at its end, whichever way it
// ends, the dialog is enabled and the progress bar back at 0.
class Texportform::Working {
public:
    explicit Working(Texportform& form)
        : m_form(form), m_minimum(form.m_progress->minimum()), m_maximum(form.m_progress->maximum())
    {
        m_form.m_progress->setValue(0);
        m_form.setEnabled(false);
    }
    ~Working()
    {
        // The bar is the main window's: its range as others set it, its value 0.
        m_form.m_progress->setRange(m_minimum, m_maximum);
        m_form.m_progress->setValue(0);
        m_form.setEnabled(true);
    }
    Working(const Working&) = delete;
    Working& operator=(const Working&) = delete;

private:
    Texportform& m_form;
    int m_minimum;
    int m_maximum;
};

Texportform::Texportform(QWidget* parent, Services& services, std::function<QSqlDatabase()> database,
                         const int& aktuelleTID, const QString& aktuellerTurniername, QProgressBar* ProgressBar1)
    : QDialog(parent), m_services(services), m_database(std::move(database)), m_tid(aktuelleTID),
      m_turniername(aktuellerTurniername), m_progress(ProgressBar1)
{
    setObjectName(QStringLiteral("exportform"));
    setWindowTitle(QStringLiteral("HTML-Export"));

    auto* automatic = new QGroupBox(QStringLiteral("automatischer Export"), this);
    ListBox1 = new QListWidget(automatic);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSortingEnabled(true);
    auto* left = new QVBoxLayout(automatic);
    left->addWidget(new QLabel(QStringLiteral("Zu exportierende Daten"), automatic));
    left->addWidget(ListBox1);

    auto* custom = new QGroupBox(QStringLiteral("benutzerdefinierter Export"), this);
    ListBox2 = new QListWidget(custom);
    ListBox2->setObjectName(QStringLiteral("ListBox2"));
    ListBox3 = new QListWidget(custom);
    ListBox3->setObjectName(QStringLiteral("ListBox3"));
    ListBox4 = new QListWidget(this);
    ListBox4->setObjectName(QStringLiteral("ListBox4"));
    ListBox4->hide();
    auto* right = new QHBoxLayout(custom);
    for (const auto& [caption, list] : {std::pair{"vorhandene Datenfelder", ListBox2}, {"gewählte Datenfelder", ListBox3}}) {
        auto* column = new QVBoxLayout;
        column->addWidget(new QLabel(QString::fromUtf8(caption), custom));
        column->addWidget(list);
        right->addLayout(column);
    }

    uiButton1 = new TuiButton(this, QStringLiteral("uiButton1"), QStringLiteral("Exportieren"));
    uiButton2 = new TuiButton(this, QStringLiteral("uiButton2"), QStringLiteral("Abbrechen"));
    auto* frames = new QHBoxLayout;
    frames->addWidget(automatic, 1);
    frames->addWidget(custom, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(uiButton1);
    buttons->addWidget(uiButton2);
    auto* column = new QVBoxLayout(this);
    column->addLayout(frames);
    column->addLayout(buttons);
    setFixedSize(560, 300);

    connectGuarded(uiButton1, &TuiButton::OnClick, this, m_services.prompter, [this] { uiButton1Click(); });
    connectGuarded(uiButton2, &TuiButton::OnClick, this, m_services.prompter, [this] { uiButton2Click(); });
}

void Texportform::htmlload()
{
    for (QListWidget* list : {ListBox1, ListBox2, ListBox3, ListBox4})
        list->clear();
    ListBox1->addItem(QStringLiteral("Turnier (komplett)"));
    ListBox1->setCurrentRow(0);
}

void Texportform::uiButton1Click()
{
    if (windowTitle() == QStringLiteral("HTML-Export"))
        htmlexport();
}

void Texportform::uiButton2Click()
{
    close();
}

HtmlSite Texportform::readSite(const QString& framesetName) const
{
    return HtmlSite(readSiteData(m_database(), m_tid), m_turniername, framesetName);
}

void Texportform::step()
{
    m_progress->setValue(m_progress->value() + 1);
    // Keeps the bar moving; the user's input waits, the dialog is disabled anyway.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void Texportform::htmlexport()
{
    m_progress->setValue(0);
    const QString chosen = m_services.files.saveFile(
        this, QStringLiteral("HTML-Export"), QDir(m_services.paths.dataDir()).filePath(safeFileStem(m_turniername)),
        QStringLiteral("HTML (*.htm)"));
    if (chosen.isEmpty())
        return;
    const QFileInfo file(chosen);
    const QString folder = file.absolutePath();

    Working working(*this);
    const HtmlSite site = readSite(file.fileName() + QStringLiteral(".html"));
    m_progress->setRange(0, 2 * site.pageCount());
    const QList<HtmlPage> pages = site.pages([this] { step(); });
    if (!existingPages(pages, folder).isEmpty() && !m_services.prompter.confirm(kOverwrite))
        return;
    writeHtmlPages(pages, folder, [this] { step(); });
}

void Texportform::htmlklassen(const QString& folder, const QString& kid)
{
    Working working(*this);
    const HtmlSite site = readSite(QString());
    for (const SiteClass& c : site.classes())
        if (QString::number(c.kid) == kid)
            writeHtmlPages({HtmlPage{site.classPageName(c.kid), site.klassenseite(c)}}, folder);
}

void Texportform::htmlspielplan(const QString& folder)
{
    Working working(*this);
    const HtmlSite site = readSite(QString());
    QList<HtmlPage> pages;
    for (const SiteClass& c : site.classes())
        pages.append(HtmlPage{site.matchPageName(c.kid), site.spielplanseite(c)});
    writeHtmlPages(pages, folder);
}

} // namespace bw
