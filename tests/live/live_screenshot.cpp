// Draws the four pages of the live link dialog for docs/live.png (target
// docs-pictures), logged in at the fake service with a tournament assigned, the
// online classes fetched, the online registrations fetched and the classes
// listed for publishing: the first two pages above, the last two below.
#include "data/connection.h"
#include "data/preparation.h"
#include "docpictures/docpicture.h"
#include "fakeliveservice.h"
#include "live/tcourtcastform.h"
#include "platform/prompter.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QPainter>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollArea>
#include <QTabWidget>
#include <QTemporaryDir>

namespace {

// Every box is answered with OK.
class Answering : public bw::Prompter {
public:
    bw::PromptAnswer prompt(bw::PromptKind, const QString&, bw::PromptButtons, const QString&) override
    {
        return bw::PromptAnswer::Ok;
    }
};

QImage drawLiveLink()
{
    using Answer = bw::test::FakeLiveService::Answer;
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("turnier_db.sqlite"));
    bw::prepareSqliteFile(file);
    bw::ScopedConnection connection(bw::openSqlite(file, QStringLiteral("screenshot")));
    const QSqlDatabase db = connection.db();
    const auto s = [](const char* text) { return QString::fromUtf8(text); };
    bw::test::insertRow(db, s("Turnierdaten"), {{s("TID"), 1}, {s("LiveID"), 4711}});
    const struct { int kid; int kind; const char* name; int live; } classes[] = {
        {1, 0, "Herren A", 101}, {2, 0, "Damen", 102}, {3, 1, "Herren-Doppel", 0}, {4, 2, "Mixed offen", 0},
        {5, 0, "Senioren 50", 0}};
    for (const auto& c : classes)
        bw::test::insertRow(db, s("Turnierklassen"), {{s("TID"), 1}, {s("KID"), c.kid}, {s("system"), c.kind},
                                                       {s("kbezeichnung"), s(c.name)}, {s("LiveKlassenID"), c.live}});

    bw::test::FakeLiveService service;
    if (!service.start())
        return QImage();
    service.script(s("CheckLogIn"), Answer::reply(s("#*#17#*#4711#*#Stadtmeisterschaft 2026#*#12.12.2026"
                                                     "#*#4712#*#Vereinsmeisterschaft#*#01.03.2027")));
    service.script(s("GetKlassen"), Answer::reply(s("#-#101#-#0#-#Herren A#-#12#-##-#102#-#0#-#Damen#-#1#-#"
                                                    "#-#103#-#1#-#Herren-Doppel#-#0#-##-#104#-#2#-#Mixed#-#0#-#")));
    Answering prompter;
    int tid = 1;
    int loginId = 0;
    const QString url = service.baseUrl();
    bw::TCourtcastForm form(nullptr, bw::CourtcastLinks{prompter, [&] { return db; }, tid, loginId, url,
                                                        folder.path()});
    form.show();
    form.BenutzernameEdit->setText(s("turnierleitung@example.org"));
    form.PassWortEdit->setText(s("geheim"));
    form.LogInButtonClick();
    form.PageControl1->setCurrentIndex(bw::TCourtcastForm::KlassenPage);
    form.KlassenAbrufenButtonClick();
    form.findChild<QComboBox*>(s("KlassenBox_3"))->setCurrentIndex(3);
    const QImage second = bw::docs::grabSettled(form);

    bw::test::insertRow(db, s("Spielerdaten"), {{s("TID"), 1}, {s("SID"), 1}, {s("nachname"), s("Kowalski")},
                                                {s("vorname"), s("Piet")}, {s("LiveSpielerID"), 55}});
    const auto registration = [&](const char* vorname, const char* nachname, const char* id, const char* classes,
                                  const char* verein) {
        return QStringList{s(vorname), s(nachname), s("mail@example.org"), s(verein), s(id), s("12.03.1990"),
                           s("Kreis Nord"), s("Bezirk"), s("Land"), s("DE"), s(classes), s("m"), s("C"), s("1500")}
                   .join(s("#-#")) +
               s("#-#");
    };
    service.script(s("GetAnmeldung"),
                   Answer::reply(s("#-#") + registration("Seán", "O'Brien", "101", "101,102", "TTC Nord") +
                                 registration("Piet", "Kowalski", "55", "101", "TSV Süd") +
                                 registration("Lea", "Brenner", "102", "102", "SV West") +
                                 registration("Tom", "Unbekannt", "104", "105", "TTF Ost")));
    form.PageControl1->setCurrentIndex(bw::TCourtcastForm::AnmeldungPage);
    form.GetAnmeldungButtonClick();
    const QImage third = bw::docs::grabSettled(form);
    form.PageControl1->setCurrentIndex(bw::TCourtcastForm::StatistikPage);
    const QImage fourth = bw::docs::grabSettled(form);
    form.PageControl1->setCurrentIndex(bw::TCourtcastForm::UserPage);
    const QImage top = bw::docs::sideBySide({bw::docs::grabSettled(form), second});
    const QImage bottom = bw::docs::sideBySide({third, fourth});
    QImage both(std::max(top.width(), bottom.width()), top.height() + 12 + bottom.height(), QImage::Format_RGB32);
    both.fill(Qt::white);
    QPainter painter(&both);
    painter.drawImage(0, 0, top);
    painter.drawImage(0, top.height() + 12, bottom);
    painter.end();
    return both;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return bw::docs::writePicture(argc, argv, drawLiveLink);
}
