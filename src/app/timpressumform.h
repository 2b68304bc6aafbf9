// The about box "Impressum": the program's version and build date, and the
// maker's contact details, whose links open the desktop's browser or mail
// program.
#pragma once

#include <QDialog>

class QLabel;
class QUrl;
class TuiButton;

namespace bw {

struct Services;

// Opens a web or mail address with the desktop's program for it; when there
// is none, says so and names the address.
void openAddress(Services& services, const QUrl& url);

class TImpressumForm : public QDialog {
    Q_OBJECT
public:
    TImpressumForm(QWidget* parent, Services& services);

    static const QString kWebSite;
    static const QString kMail;

    QLabel* Image1;
    QLabel* VersionLabel;
    QLabel* WebLink;
    QLabel* MailLink;
    TuiButton* CloseButton;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Services& m_services;
};

} // namespace bw
