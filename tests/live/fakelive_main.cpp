// The fake live-results service as a program, for trying the live link by hand:
//   fake_live_service [port]
// It prints the address to start Brackwell with (BRACKWELL_LIVE_URL) and every
// call it receives. Any user name with a non-empty password logs in as user 17
// with two online tournaments; the classes, registrations and uploads answer
// with fixed demonstration data; a class sent with online id 0 gets a new id.
#include "fakeliveservice.h"

#include <QCoreApplication>
#include <QTextStream>

using bw::test::FakeLiveService;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const quint16 port = argc > 1 ? quint16(QString::fromLocal8Bit(argv[1]).toUInt()) : 0;
    QTextStream out(stdout);

    FakeLiveService service;
    int nextClassId = 200;
    service.setResponder([&](const FakeLiveService::Call& call) {
        using Answer = FakeLiveService::Answer;
        const QString& op = call.operation;
        if (op == QLatin1String("CheckLogIn")) {
            if (call.value(QStringLiteral("Password")).isEmpty())
                return Answer::reply(QStringLiteral("Benutzername oder Passwort falsch"));
            return Answer::reply(QStringLiteral("#*#17#*#4711#*#Stadtmeisterschaft 2026#*#12.12.2026"
                                                "#*#4712#*#Vereinsmeisterschaft#*#01.03.2027"));
        }
        if (op == QLatin1String("GetKlassen"))
            return Answer::reply(QStringLiteral("#-#101#-#0#-#Herren A#-#12#-##-#102#-#0#-#Damen#-#1#-#"
                                                "#-#103#-#1#-#Herren-Doppel#-#0#-#"));
        if (op == QLatin1String("GetAnmeldung"))
            return Answer::reply(QStringLiteral("0"));
        if (op == QLatin1String("SetKlasse")) {
            const QStringList fields = call.value(QStringLiteral("KlassenString")).split(QStringLiteral("#-#"));
            if (fields.size() > 2 && fields.at(2) == QLatin1String("0"))
                return Answer::reply(QString::number(nextClassId++));
        }
        return Answer::reply(QStringLiteral("okay"));
    });
    service.onCall = [&](const FakeLiveService::Call& call) {
        out << call.operation;
        for (const auto& [name, value] : call.parameters)
            out << ' ' << name << '=' << (name == QLatin1String("Password") ? QStringLiteral("***") : value);
        out << Qt::endl;
    };
    if (!service.start(port)) {
        QTextStream(stderr) << "Der Port " << port << " ist nicht frei." << Qt::endl;
        return 1;
    }
    out << "BRACKWELL_LIVE_URL=" << service.baseUrl() << Qt::endl;
    out << "(rpc/literal: " << service.baseUrl(FakeLiveService::Binding::Literal) << ")" << Qt::endl;
    return app.exec();
}
