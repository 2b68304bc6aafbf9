// The SOAP client against the fake service on 127.0.0.1: the request follows
// the service description it fetched (two descriptions with other endpoints,
// actions and styles), one description fetch per binding, and every way a call
// can fail ends in its German message. The readers of descriptions and replies
// are also checked on their own.
#include "fakeliveservice.h"
#include "live/liveclient.h"
#include "live/soapmessages.h"

#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>

using namespace bw;
using namespace bw::test;

Q_DECLARE_METATYPE(bw::test::FakeLiveService::Binding)
Q_DECLARE_METATYPE(bw::test::FakeLiveService::Answer)

namespace {

using Binding = FakeLiveService::Binding;
using Answer = FakeLiveService::Answer;

QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const LiveError& e) {
        return e.message();
    }
    return QStringLiteral("(kein Fehler)");
}

QByteArray description(const QString& port, const QString& extraBinding = QString())
{
    return QStringLiteral(
               "<?xml version=\"1.0\"?>"
               "<definitions xmlns=\"http://schemas.xmlsoap.org/wsdl/\" xmlns:soap=\"http://schemas.xmlsoap.org/wsdl/soap/\">"
               "<binding name=\"b\"><soap:binding style=\"rpc\"/>%2"
               "<operation name=\"GetKlassen\"><soap:operation soapAction=\"a#GetKlassen\"/>"
               "<input><soap:body use=\"literal\" namespace=\"urn:x\"/></input></operation></binding>"
               "<service name=\"IServerInfoservice\"><port name=\"IServerInfoPort\" binding=\"tns:b\">"
               "<soap:address location=\"%1\"/></port></service></definitions>")
        .arg(port, extraBinding)
        .toUtf8();
}

// A reply whose result (or faultstring) holds "tief" inside `depth` nested
// elements.
QByteArray nestedEnvelope(bool fault, int depth)
{
    QByteArray open;
    QByteArray close;
    open.reserve(depth * 3);
    close.reserve(depth * 4);
    for (int i = 0; i < depth; ++i) {
        open += "<i>";
        close += "</i>";
    }
    const QByteArray text = open + "tief" + close;
    const QByteArray env = "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body>";
    return fault ? env + "<e:Fault><faultcode>e:Server</faultcode><faultstring>" + text +
                       "</faultstring></e:Fault></e:Body></e:Envelope>"
                 : env + "<r:GetKlassenResponse xmlns:r=\"urn:x\"><return>" + text +
                       "</return></r:GetKlassenResponse></e:Body></e:Envelope>";
}

} // namespace

class TestLiveClient : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FakeLiveService> m_fake;
    // A small cap; and a short timeout for the calls a silent service lets wait.
    const LiveLimits m_small{std::chrono::milliseconds(30000), 64 * 1024, {}};
    const LiveLimits m_quick{std::chrono::milliseconds(300), 64 * 1024, {}};

private slots:
    void init()
    {
        m_fake = std::make_unique<FakeLiveService>();
        QVERIFY(m_fake->start());
    }
    void cleanup()
    {
        if (m_fake)
            QVERIFY2(m_fake->problems().isEmpty(), qPrintable(m_fake->problems().join(QLatin1Char('\n'))));
        m_fake.reset();
    }

    void followsTheDescription_data()
    {
        QTest::addColumn<Binding>("binding");
        QTest::newRow("rpc/encoded") << Binding::Encoded;
        QTest::newRow("rpc/literal, relative endpoint") << Binding::Literal;
    }
    void followsTheDescription()
    {
        QFETCH(Binding, binding);
        const std::unique_ptr<LiveClient> client = GetIServerInfo(m_fake->baseUrl(binding));
        QCOMPARE(m_fake->descriptionFetches(), 1);
        QCOMPARE(client->description().endpoint.path(), binding == Binding::Encoded
                                                            ? QStringLiteral("/Webservice/soap/IServerInfo")
                                                            : QStringLiteral("/lit/services/ServerInfo"));

        m_fake->script(QStringLiteral("CheckLogIn"), Answer::reply(QStringLiteral("#*#17#*#4711#*#Pokal <Nord> & Süd#*#x")));
        QCOMPARE(client->CheckLogIn(QString(), QStringLiteral("anna@example.org"), QStringLiteral("ge<heim>&\"'")),
                 QStringLiteral("#*#17#*#4711#*#Pokal <Nord> & Süd#*#x"));
        const FakeLiveService::Call call = m_fake->calls().last();
        QCOMPARE(call.binding, binding);
        QCOMPARE(call.encodingStyle, binding == Binding::Encoded);
        QCOMPARE(call.typed, binding == Binding::Encoded);
        QCOMPARE(call.parameters, (QList<QPair<QString, QString>>{{QStringLiteral("Group"), QString()},
                                                                  {QStringLiteral("Email"), QStringLiteral("anna@example.org")},
                                                                  {QStringLiteral("Password"), QStringLiteral("ge<heim>&\"'")}}));

        // Every operation with its parameters in order; still the one description fetch.
        for (const QString& op : {QStringLiteral("GetAllGroups"), QStringLiteral("GetAnmeldung"),
                                  QStringLiteral("GetKlassen"), QStringLiteral("SetLokalPlayer"),
                                  QStringLiteral("SetKlasse"), QStringLiteral("ResultPublish")})
            m_fake->script(op, Answer::reply(op + QStringLiteral(" okay")));
        QCOMPARE(client->GetAllGroups(), QStringLiteral("GetAllGroups okay"));
        QCOMPARE(client->GetAnmeldung(QStringLiteral("4711"), QStringLiteral("quimbex")), QStringLiteral("GetAnmeldung okay"));
        QCOMPARE(client->GetKlassen(QStringLiteral("4711")), QStringLiteral("GetKlassen okay"));
        QCOMPARE(client->SetLokalPlayer(QStringLiteral("#-#1")), QStringLiteral("SetLokalPlayer okay"));
        QCOMPARE(client->SetKlasse(QStringLiteral("#-#2")), QStringLiteral("SetKlasse okay"));
        QCOMPARE(client->ResultPublish(QStringLiteral("#-#3")), QStringLiteral("ResultPublish okay"));
        QCOMPARE(m_fake->descriptionFetches(), 1);
        const QList<FakeLiveService::Call>& calls = m_fake->calls();
        QCOMPARE(calls.at(1).names(), QStringList{});
        QCOMPARE(calls.at(2).names(), (QStringList{QStringLiteral("TurnierID"), QStringLiteral("Code")}));
        QCOMPARE(calls.at(3).names(), QStringList{QStringLiteral("TurnierID")});
        QCOMPARE(calls.at(4).names(), QStringList{QStringLiteral("PlayerString")});
        QCOMPARE(calls.at(5).names(), QStringList{QStringLiteral("KlassenString")});
        QCOMPARE(calls.at(6).names(), QStringList{QStringLiteral("PublishString")});
        QCOMPARE(calls.at(6).value(QStringLiteral("PublishString")), QStringLiteral("#-#3"));

        // A new binding fetches the description again.
        GetIServerInfo(m_fake->baseUrl(binding));
        QCOMPARE(m_fake->descriptionFetches(), 2);
    }

    void callFailures_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("message");
        QTest::newRow("Fault") << Answer::fault(QStringLiteral("Turnier <4711> gesperrt"))
                               << QStringLiteral("Der Courtcast-Dienst meldet einen Fehler: Turnier <4711> gesperrt");
        QTest::newRow("HTTP 500") << Answer::http500()
                                  << QStringLiteral("Der Courtcast-Dienst antwortete mit dem HTTP-Status 500.");
        QTest::newRow("garbage") << Answer::garbage()
                                 << QStringLiteral("Die Antwort des Courtcast-Dienstes ist keine gültige SOAP-Nachricht.");
        QTest::newRow("too large") << Answer::tooLarge(64 * 1024 + 1)
                                   << QStringLiteral("Die Antwort des Courtcast-Dienstes ist größer als 64 KiB und wurde verworfen.");
        QTest::newRow("silence") << Answer::silence()
                                 << QStringLiteral("Der Courtcast-Dienst unter %1 hat nicht innerhalb von 0,3 Sekunden geantwortet.");
    }
    void callFailures()
    {
        QFETCH(Answer, answer);
        QFETCH(QString, message);
        const std::unique_ptr<LiveClient> client =
            GetIServerInfo(m_fake->baseUrl(), answer.kind == Answer::Kind::Silence ? m_quick : m_small);
        m_fake->script(QStringLiteral("GetKlassen"), answer);
        QCOMPARE(errorOf([&] { client->GetKlassen(QStringLiteral("4711")); }),
                 message.contains(QLatin1String("%1")) ? message.arg(client->description().endpoint.toString()) : message);
        // The client goes on working after a failed call.
        if (answer.kind == Answer::Kind::Silence)
            return;
        m_fake->script(QStringLiteral("GetKlassen"), Answer::reply(QStringLiteral("#-#1#-#0#-#A#-#0#-#")));
        QCOMPARE(client->GetKlassen(QStringLiteral("4711")), QStringLiteral("#-#1#-#0#-#A#-#0#-#"));
    }

    // A connection closed after the call was sent is a failure of its own: the
    // call arrived once, and QtNetwork did not send it again.
    void closedWithoutReply_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::newRow("a new class") << QStringLiteral("SetKlasse");
        QTest::newRow("the players") << QStringLiteral("SetLokalPlayer");
        QTest::newRow("a question") << QStringLiteral("GetKlassen");
    }
    void closedWithoutReply()
    {
        QFETCH(QString, operation);
        const std::unique_ptr<LiveClient> client = GetIServerInfo(m_fake->baseUrl(), m_small);
        m_fake->script(operation, Answer::close());
        const auto callIt = [&] {
            return operation == QLatin1String("SetKlasse")        ? client->SetKlasse(QStringLiteral("#-#4711#-#0"))
                   : operation == QLatin1String("SetLokalPlayer") ? client->SetLokalPlayer(QStringLiteral("#-#4711"))
                                                                  : client->GetKlassen(QStringLiteral("4711"));
        };
        QCOMPARE(errorOf([&] { callIt(); }),
                 QStringLiteral("Der Courtcast-Dienst unter %1 hat die Verbindung ohne Antwort geschlossen. Ob die "
                                "Daten angekommen sind, ist nicht bekannt; bitte prüfen Sie es vor einem neuen Versuch.")
                     .arg(client->description().endpoint.toString()));
        QCOMPARE(m_fake->operations(), QStringList{operation});
        // The next call of the same client goes through, once.
        m_fake->script(operation, Answer::reply(QStringLiteral("okay")));
        QCOMPARE(callIt(), QStringLiteral("okay"));
        QCOMPARE(m_fake->operations(), (QStringList{operation, operation}));
    }

    // A reply that drips in byte by byte ends at the call's deadline, counted
    // from its start; cancelling ends it at once.
    void drippingReply()
    {
        const LiveLimits deadline{std::chrono::milliseconds(1500), 64 * 1024, {}};
        const std::unique_ptr<LiveClient> client = GetIServerInfo(m_fake->baseUrl(), deadline);
        m_fake->script(QStringLiteral("GetKlassen"), Answer::drip(QString(2000, QLatin1Char('x')), 50));
        QCOMPARE(errorOf([&] { client->GetKlassen(QStringLiteral("4711")); }),
                 QStringLiteral("Die Antwort des Courtcast-Dienstes unter %1 kam nicht innerhalb von 1,5 Sekunden "
                                "vollständig an.")
                     .arg(client->description().endpoint.toString()));

        LiveCancel cancel;
        const std::unique_ptr<LiveClient> patient = GetIServerInfo(m_fake->baseUrl(), m_small, &cancel);
        m_fake->script(QStringLiteral("GetKlassen"), Answer::drip(QString(2000, QLatin1Char('x')), 50));
        m_fake->onCall = [&](const FakeLiveService::Call&) { QTimer::singleShot(100, [&] { cancel.cancel(); }); };
        QCOMPARE(errorOf([&] { patient->GetKlassen(QStringLiteral("4711")); }), QStringLiteral("Der Vorgang wurde abgebrochen."));
        m_fake->onCall = nullptr;
        QVERIFY_THROWS_EXCEPTION(LiveCancelled, patient->GetKlassen(QStringLiteral("4711")));
        QCOMPARE(m_fake->operations().size(), 2); // the cancelled client sends nothing more
        cancel.reset();
        m_fake->script(QStringLiteral("GetKlassen"), Answer::reply(QStringLiteral("#-#")));
        QCOMPARE(patient->GetKlassen(QStringLiteral("4711")), QStringLiteral("#-#"));
    }

    // What the user typed goes nowhere but to the configured server: a call
    // follows no redirect, and a description may name another server only when
    // the desk's settings trust it.
    void redirectsNotFollowed_data()
    {
        QTest::addColumn<int>("status");
        for (int status : {301, 302, 303, 307, 308})
            QTest::newRow(qPrintable(QString::number(status))) << status;
    }
    void redirectsNotFollowed()
    {
        QFETCH(int, status);
        FakeLiveService other;
        QVERIFY(other.start());
        other.setResponder([](const FakeLiveService::Call&) { return Answer::reply(QStringLiteral("#*#17")); });
        const QString target = QStringLiteral("http://127.0.0.1:%1/Webservice/soap/IServerInfo").arg(other.port());
        const std::unique_ptr<LiveClient> client = GetIServerInfo(m_fake->baseUrl(), m_small);
        m_fake->script(QStringLiteral("CheckLogIn"), Answer::redirect(status, target));
        QCOMPARE(errorOf([&] { client->CheckLogIn(QString(), QStringLiteral("anna"), QStringLiteral("geheim")); }),
                 QStringLiteral("Der Courtcast-Dienst unter %1 leitet den Aufruf nach %2 weiter; Aufrufe werden nicht "
                                "weitergeleitet.")
                     .arg(client->description().endpoint.toString(), target));
        QVERIFY(other.calls().isEmpty());
    }

    void foreignEndpoint()
    {
        FakeLiveService other;
        QVERIFY(other.start());
        other.setResponder([](const FakeLiveService::Call&) { return Answer::reply(QStringLiteral("#*#17")); });
        const QString elsewhere = QStringLiteral("http://127.0.0.1:%1/Webservice/soap/IServerInfo").arg(other.port());
        const QString wsdl = m_fake->baseUrl() + QStringLiteral("/XML/IServerInfo25.xml");
        m_fake->scriptDescription(Answer::raw(m_fake->description(Binding::Encoded, elsewhere)));
        QCOMPARE(errorOf([&] { GetIServerInfo(m_fake->baseUrl(), m_small); }),
                 QStringLiteral("Die Dienstbeschreibung %1 schickt die Aufrufe an http://127.0.0.1:%2, eingerichtet ist "
                                "der Courtcast-Dienst unter http://127.0.0.1:%3. Ein anderer Server wird nur "
                                "angesprochen, wenn die Benutzereinstellungen ihn unter [Live] Endpunkte nennen.")
                     .arg(wsdl)
                     .arg(other.port())
                     .arg(m_fake->port()));

        // Trusted by the desk's settings: the calls go there.
        LiveLimits trusting = m_small;
        trusting.trustedEndpoints = {QStringLiteral("https://soap.example.org"),
                                     QStringLiteral("http://127.0.0.1:%1").arg(other.port())};
        m_fake->scriptDescription(Answer::raw(m_fake->description(Binding::Encoded, elsewhere)));
        const std::unique_ptr<LiveClient> client = GetIServerInfo(m_fake->baseUrl(), trusting);
        QCOMPARE(client->CheckLogIn(QString(), QStringLiteral("anna"), QStringLiteral("geheim")), QStringLiteral("#*#17"));
        QCOMPARE(other.operations(), QStringList{QStringLiteral("CheckLogIn")});
        QVERIFY(m_fake->calls().isEmpty());
    }

    // Markup nested deep inside a result or a faultstring is refused as a
    // broken reply, whatever the HTTP status; a few levels still read.
    void deeplyNestedReplies_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("message");
        const QString broken = QStringLiteral("Die Antwort des Courtcast-Dienstes ist keine gültige SOAP-Nachricht.");
        QTest::newRow("result, 100000 levels") << nestedEnvelope(false, 100000) << broken;
        QTest::newRow("faultstring, 100000 levels") << nestedEnvelope(true, 100000) << broken;
        QTest::newRow("result, 33 levels") << nestedEnvelope(false, 33) << broken;
        QTest::newRow("result, 32 levels") << nestedEnvelope(false, 32) << QStringLiteral("(kein Fehler)");
        QTest::newRow("faultstring, 3 levels") << nestedEnvelope(true, 3)
                                               << QStringLiteral("Der Courtcast-Dienst meldet einen Fehler: tief");
    }
    void deeplyNestedReplies()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, message);
        const std::unique_ptr<LiveClient> client = GetIServerInfo(m_fake->baseUrl(), LiveLimits{});
        m_fake->script(QStringLiteral("GetKlassen"), Answer::raw(body));
        QCOMPARE(errorOf([&] { client->GetKlassen(QStringLiteral("4711")); }), message);
        // The same through the reader alone.
        const SoapReply reply = readSoapReply(body);
        QCOMPARE(reply.kind == SoapReply::Kind::Broken, message.endsWith(QLatin1String("SOAP-Nachricht.")));
        if (reply.kind != SoapReply::Kind::Broken)
            QCOMPARE(reply.text, QStringLiteral("tief"));
    }

    void replyOfSixteenMegabytes()
    {
        const std::unique_ptr<LiveClient> client = GetIServerInfo(m_fake->baseUrl());
        m_fake->script(QStringLiteral("GetKlassen"), Answer::tooLarge(16 * 1024 * 1024 + 1));
        QCOMPARE(errorOf([&] { client->GetKlassen(QStringLiteral("1")); }),
                 QStringLiteral("Die Antwort des Courtcast-Dienstes ist größer als 16 MiB und wurde verworfen."));
    }

    void bindingFailures()
    {
        const QString wsdl = m_fake->baseUrl() + QStringLiteral("/XML/IServerInfo25.xml");
        m_fake->scriptDescription(Answer::http500());
        QCOMPARE(errorOf([&] { GetIServerInfo(m_fake->baseUrl(), m_small); }),
                 QStringLiteral("Die Dienstbeschreibung %1 konnte nicht geladen werden (HTTP-Status 500).").arg(wsdl));
        m_fake->scriptDescription(Answer::garbage());
        QCOMPARE(errorOf([&] { GetIServerInfo(m_fake->baseUrl(), m_small); }),
                 QStringLiteral("Die Dienstbeschreibung %1 ist unbrauchbar: Sie ist keine WSDL-Dienstbeschreibung.").arg(wsdl));
        m_fake->scriptDescription(Answer::reply(QString::fromUtf8(description(QStringLiteral("ftp://127.0.0.1/x")))));
        QCOMPARE(errorOf([&] { GetIServerInfo(m_fake->baseUrl(), m_small); }),
                 QStringLiteral("Die Dienstbeschreibung %1 ist unbrauchbar: Die Adresse \"ftp://127.0.0.1/x\" ist keine "
                                "http- oder https-Adresse.")
                     .arg(wsdl));
        m_fake->scriptDescription(Answer::silence());
        QCOMPARE(errorOf([&] { GetIServerInfo(m_fake->baseUrl(), m_quick); }),
                 QStringLiteral("Der Courtcast-Dienst unter %1 hat nicht innerhalb von 0,3 Sekunden geantwortet.").arg(wsdl));
        QCOMPARE(m_fake->descriptionFetches(), 4);

        // An operation the description does not offer.
        m_fake->scriptDescription(Answer::reply(QString::fromUtf8(description(m_fake->baseUrl() + QStringLiteral("/soap")))));
        const std::unique_ptr<LiveClient> client = GetIServerInfo(m_fake->baseUrl());
        QCOMPARE(errorOf([&] { client->CheckLogIn({}, {}, {}); }),
                 QStringLiteral("Der Courtcast-Dienst bietet die Operation \"CheckLogIn\" nicht an."));
        QVERIFY(m_fake->calls().isEmpty());
    }

    void unreachable()
    {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();
        const QString base = QStringLiteral("http://127.0.0.1:%1/Webservice").arg(port);
        QCOMPARE(errorOf([&] { GetIServerInfo(base, m_small); }),
                 QStringLiteral("Der Courtcast-Dienst unter %1/XML/IServerInfo25.xml ist nicht erreichbar: die "
                                "Verbindung wurde abgelehnt.")
                     .arg(base));
        for (const QString& bad : {QStringLiteral("ftp://127.0.0.1/Webservice"), QStringLiteral("Webservice"), QString()})
            QCOMPARE(errorOf([&] { GetIServerInfo(bad, m_small); }),
                     QStringLiteral("Die Adresse des Courtcast-Dienstes \"%1\" ist keine http- oder https-Adresse.").arg(bad));
    }

    void endpoints_data()
    {
        QTest::addColumn<QString>("wsdl");
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("endpoint");
        const QString https = QStringLiteral("https://live.example.org/Webservice/XML/IServerInfo25.xml");
        const QString http = QStringLiteral("http://live.example.org/Webservice/XML/IServerInfo25.xml");
        QTest::newRow("https stays") << https << QStringLiteral("https://soap.example.org/s") << QStringLiteral("https://soap.example.org/s");
        QTest::newRow("relative") << https << QStringLiteral("../soap/IServerInfo")
                                  << QStringLiteral("https://live.example.org/Webservice/soap/IServerInfo");
        QTest::newRow("https never down to http") << https << QStringLiteral("http://live.example.org/s") << QString();
        QTest::newRow("http up to https") << http << QStringLiteral("https://live.example.org/s")
                                          << QStringLiteral("https://live.example.org/s");
        QTest::newRow("http as configured") << http << QStringLiteral("http://live.example.org/s")
                                            << QStringLiteral("http://live.example.org/s");
        QTest::newRow("file") << http << QStringLiteral("file:///etc/passwd") << QString();
        QTest::newRow("javascript") << http << QStringLiteral("javascript:alert(1)") << QString();
        QTest::newRow("empty") << http << QString() << QString();
    }
    void endpoints()
    {
        QFETCH(QString, wsdl);
        QFETCH(QString, location);
        QString error;
        const QUrl endpoint = resolveEndpoint(QUrl(wsdl), location, &error);
        QTEST(endpoint.toString(), "endpoint");
        QCOMPARE(error.isEmpty(), endpoint.isValid());
    }

    void descriptions()
    {
        const QUrl url(QStringLiteral("http://127.0.0.1/Webservice/XML/IServerInfo25.xml"));
        QString error;
        std::optional<ServiceDescription> d = readServiceDescription(description(QStringLiteral("/soap")), url, &error);
        QVERIFY2(d, qPrintable(error));
        QCOMPARE(d->endpoint.toString(), QStringLiteral("http://127.0.0.1/soap"));
        QCOMPARE(*d->operation(QStringLiteral("GetKlassen")),
                 (SoapOperation{QStringLiteral("GetKlassen"), QStringLiteral("a#GetKlassen"), false, QStringLiteral("urn:x")}));

        // Document style is not spoken.
        const QString document = QStringLiteral("<operation name=\"X\"><soap:operation style=\"document\"/></operation>");
        QVERIFY(!readServiceDescription(description(QStringLiteral("/soap"), document), url, &error));
        QCOMPARE(error, QStringLiteral("Die Operation \"X\" verlangt den Stil \"document\"; unterstützt wird \"rpc\"."));

        // No such port; a document type declaration; broken XML after the parts.
        QVERIFY(!readServiceDescription(description(QStringLiteral("/soap")).replace("IServerInfoPort", "Other"), url, &error));
        QCOMPARE(error, QStringLiteral("Der Dienst \"IServerInfoservice\" mit dem Port \"IServerInfoPort\" fehlt."));
        QVERIFY(!readServiceDescription(description(QStringLiteral("/soap"))
                                            .replace("?>", "?><!DOCTYPE d [<!ENTITY a \"aaaa\">]>"),
                                        url, &error));
        QCOMPARE(error, QStringLiteral("Sie ist keine WSDL-Dienstbeschreibung."));
        QVERIFY(!readServiceDescription(description(QStringLiteral("/soap")) + "<trailing/>", url, &error));
        QCOMPARE(error, QStringLiteral("Sie ist kein gültiges XML."));
    }

    void replies_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        const QByteArray env = "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\">";
        QTest::newRow("result") << env + "<e:Header><h/></e:Header><e:Body><r:XResponse xmlns:r=\"urn:x\"><return>a &amp; b</return>"
                                         "<more/></r:XResponse></e:Body></e:Envelope>"
                                << int(SoapReply::Kind::Result) << QStringLiteral("a & b");
        QTest::newRow("nil result") << env + "<e:Body><XResponse><return xsi:nil=\"true\" "
                                             "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"/></XResponse></e:Body></e:Envelope>"
                                    << int(SoapReply::Kind::Result) << QString();
        QTest::newRow("fault") << env + "<e:Body><e:Fault><faultcode>e:Server</faultcode><faultstring>kaputt</faultstring>"
                                        "<detail><x/></detail></e:Fault></e:Body></e:Envelope>"
                               << int(SoapReply::Kind::Fault) << QStringLiteral("kaputt");
        QTest::newRow("response without result") << env + "<e:Body><XResponse/></e:Body></e:Envelope>"
                                                 << int(SoapReply::Kind::Broken) << QString();
        QTest::newRow("empty body") << env + "<e:Body/></e:Envelope>" << int(SoapReply::Kind::Broken) << QString();
        QTest::newRow("other envelope") << QByteArray("<Envelope><Body><R><r>x</r></R></Body></Envelope>")
                                        << int(SoapReply::Kind::Broken) << QString();
        QTest::newRow("cut off") << env + "<e:Body><XResponse><return>x</return></XResponse></e:Body>"
                                 << int(SoapReply::Kind::Broken) << QString();
        QTest::newRow("entity declared") << "<!DOCTYPE e:Envelope [<!ENTITY x \"xxxxxxxx\">]>" + env +
                                                "<e:Body><R><r>&x;</r></R></e:Body></e:Envelope>"
                                         << int(SoapReply::Kind::Broken) << QString();
        QTest::newRow("undeclared entity") << env + "<e:Body><R><r>&x;</r></R></e:Body></e:Envelope>"
                                           << int(SoapReply::Kind::Broken) << QString();
        QTest::newRow("empty") << QByteArray() << int(SoapReply::Kind::Broken) << QString();
    }
    void replies()
    {
        QFETCH(QByteArray, bytes);
        const SoapReply reply = readSoapReply(bytes);
        QTEST(int(reply.kind), "kind");
        QTEST(reply.text, "text");
    }

    void requestCarriesOnlyXmlCharacters()
    {
        const SoapOperation op{QStringLiteral("SetKlasse"), QStringLiteral("a"), true, QStringLiteral("urn:x")};
        const QByteArray bytes = soapRequest(op, {{QStringLiteral("KlassenString"), QStringLiteral("a\x01" "b\tc\u00e4")}});
        QXmlStreamReader r(bytes);
        while (!r.atEnd())
            r.readNext();
        QVERIFY2(!r.hasError(), qPrintable(r.errorString()));
        QVERIFY(QString::fromUtf8(bytes).contains(QStringLiteral(">ab\tc\u00e4<")));
    }
};

QTEST_GUILESS_MAIN(TestLiveClient)
#include "test_liveclient.moc"
