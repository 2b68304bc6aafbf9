#include "app/timpressumform.h"

#include "app/pictures.h"
#include "controls/uibuttons.h"
#include "platform/services.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QUrl>

namespace bw {

const QString TImpressumForm::kWebSite = QStringLiteral("https://www.brackwell.de");
const QString TImpressumForm::kMail = QStringLiteral("info@brackwell.de");

void openAddress(Services& services, const QUrl& url)
{
    if (services.runner.openUrl(url))
        return;
    const bool mail = url.scheme() == QLatin1String("mailto");
    services.prompter.information(
        (mail ? QStringLiteral("Es ist kein E-Mail-Programm eingerichtet. Schreiben Sie bitte an %1.")
              : QStringLiteral("Es ist kein Webbrowser eingerichtet. Die Adresse lautet %1."))
            .arg(mail ? url.path() : url.toString()));
}

TImpressumForm::TImpressumForm(QWidget* parent, Services& services)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_services(services)
{
    setObjectName(QStringLiteral("ImpressumForm"));
    setWindowTitle(QStringLiteral("Impressum"));
    auto* grid = new QGridLayout(this);

    // Details under the mouse are highlighted; links open through the desktop.
    const QString hover = QStringLiteral("QLabel:hover { color: #357CFF; }");
    auto link = [&](const QString& name, const QString& text, const QUrl& url) {
        auto* label = new QLabel(text, this);
        label->setObjectName(name);
        label->setAttribute(Qt::WA_Hover);
        label->setStyleSheet(hover);
        label->setCursor(Qt::PointingHandCursor);
        label->setTextFormat(Qt::PlainText);
        label->installEventFilter(this);
        label->setProperty("url", url);
        return label;
    };

    Image1 = link(QStringLiteral("Image1"), QString(), QUrl(kWebSite));
    Image1->setPixmap(QPixmap::fromImage(pictures::logo(services.paths.programDir()).scaledToWidth(160, Qt::SmoothTransformation)));
    grid->addWidget(Image1, 0, 0, 5, 1, Qt::AlignTop);

    grid->addWidget(new QLabel(QStringLiteral("Programm-Version Erstellungdatum"), this), 0, 1);
    VersionLabel = new QLabel(QStringLiteral("2.53\n06.09.2009"), this);
    VersionLabel->setObjectName(QStringLiteral("VersionLabel"));
    grid->addWidget(VersionLabel, 1, 1);

    auto* maker = new QLabel(QStringLiteral("Brackwell Turniersoftware\nAm Sportplatz 1\n12345 Musterstadt"), this);
    maker->setObjectName(QStringLiteral("Anschrift"));
    maker->setAttribute(Qt::WA_Hover);
    maker->setStyleSheet(hover);
    grid->addWidget(maker, 2, 1);
    WebLink = link(QStringLiteral("WebLink"), kWebSite, QUrl(kWebSite));
    grid->addWidget(WebLink, 3, 1);
    MailLink = link(QStringLiteral("MailLink"), kMail, QUrl(QStringLiteral("mailto:") + kMail));
    grid->addWidget(MailLink, 4, 1);

    CloseButton = new TuiButton(this, QStringLiteral("CloseButton"), QStringLiteral("Fenster schliessen"));
    CloseButton->SetDefault(true);
    grid->addWidget(CloseButton, 5, 1, Qt::AlignRight);
    connect(CloseButton, &TuiButton::OnClick, this, &QDialog::accept);
    setFixedSize(sizeHint());
}

bool TImpressumForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        const QUrl url = watched->property("url").toUrl();
        if (url.isValid()) {
            openAddress(m_services, url);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace bw
