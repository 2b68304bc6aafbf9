#include "live/liveclient.h"

#include "platform/germantext.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace bw {

namespace {

QString sizeText(qint64 bytes)
{
    if (bytes % (1024 * 1024) == 0)
        return QStringLiteral("%1 MiB").arg(bytes / (1024 * 1024));
    if (bytes % 1024 == 0)
        return QStringLiteral("%1 KiB").arg(bytes / 1024);
    return QStringLiteral("%1 Bytes").arg(bytes);
}

QString networkReason(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError: return QStringLiteral("die Verbindung wurde abgelehnt");
    case QNetworkReply::HostNotFoundError: return QStringLiteral("der Server wurde nicht gefunden");
    case QNetworkReply::RemoteHostClosedError: return QStringLiteral("der Server hat die Verbindung geschlossen");
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("die verschlüsselte Verbindung kam nicht zustande (Zertifikat ungültig?)");
    case QNetworkReply::TooManyRedirectsError:
    case QNetworkReply::InsecureRedirectError: return QStringLiteral("die Weiterleitung wurde nicht befolgt");
    case QNetworkReply::ProtocolUnknownError: return QStringLiteral("das Protokoll wird nicht unterstützt");
    default: return QStringLiteral("Netzwerkfehler %1").arg(int(error));
    }
}

QString serviceAt(const QUrl& url)
{
    return url.toDisplayString(QUrl::RemoveUserInfo | QUrl::RemoveQuery | QUrl::RemoveFragment);
}

} // namespace

LiveClient::LiveClient(const LiveLimits& limits)
    : m_limits(limits), m_network(std::make_unique<QNetworkAccessManager>())
{
    m_network->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

LiveClient::~LiveClient() = default;

QUrl LiveClient::descriptionUrl(const QString& liveServiceURL)
{
    QString base = liveServiceURL;
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return QUrl(base + QStringLiteral("/XML/IServerInfo25.xml"), QUrl::StrictMode);
}

std::unique_ptr<LiveClient> LiveClient::bind(const QString& liveServiceURL, const LiveLimits& limits)
{
    const QUrl url = descriptionUrl(liveServiceURL);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        throw LiveError(QStringLiteral("Die Adresse des Courtcast-Dienstes \"%1\" ist keine http- oder https-Adresse.")
                            .arg(liveServiceURL));
    std::unique_ptr<LiveClient> client(new LiveClient(limits));
    QNetworkRequest request(url);
    const Transfer reply = client->transfer(request, nullptr);
    if (reply.status != 200)
        throw LiveError(QStringLiteral("Die Dienstbeschreibung %1 konnte nicht geladen werden (HTTP-Status %2).")
                            .arg(serviceAt(url))
                            .arg(reply.status));
    QString reason;
    std::optional<ServiceDescription> description = readServiceDescription(reply.body, url, &reason);
    if (!description)
        throw LiveError(QStringLiteral("Die Dienstbeschreibung %1 ist unbrauchbar: %2").arg(serviceAt(url), reason));
    client->m_description = std::move(*description);
    return client;
}

std::unique_ptr<LiveClient> GetIServerInfo(const QString& liveServiceURL, const LiveLimits& limits)
{
    return LiveClient::bind(liveServiceURL, limits);
}

LiveClient::Transfer LiveClient::transfer(const QNetworkRequest& prepared, const QByteArray* body)
{
    QNetworkRequest request(prepared);
    request.setTransferTimeout(int(m_limits.timeout.count()));
    QNetworkReply* reply = body ? m_network->post(request, *body) : m_network->get(request);
    std::unique_ptr<QNetworkReply> owner(reply);

    QByteArray data;
    bool tooLarge = false;
    const qint64 cap = m_limits.maxReplyBytes;
    const auto overCap = [&](qint64 size) {
        if (size > cap && !tooLarge) {
            tooLarge = true;
            reply->abort();
        }
    };
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid())
            overCap(length.toLongLong());
    });
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        if (tooLarge)
            return;
        overCap(data.size() + reply->bytesAvailable());
        if (!tooLarge)
            data += reply->readAll();
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();

    const QUrl url = request.url();
    if (tooLarge)
        throw LiveError(QStringLiteral("Die Antwort des Courtcast-Dienstes ist größer als %1 und wurde verworfen.")
                            .arg(sizeText(cap)));
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid()) {
        const QNetworkReply::NetworkError error = reply->error();
        if (error == QNetworkReply::OperationCanceledError || error == QNetworkReply::TimeoutError)
            throw LiveError(QStringLiteral("Der Courtcast-Dienst unter %1 hat nicht innerhalb von %2 Sekunden geantwortet.")
                                .arg(serviceAt(url))
                                .arg(german::formatNumber(double(m_limits.timeout.count()) / 1000.0)));
        throw LiveError(QStringLiteral("Der Courtcast-Dienst unter %1 ist nicht erreichbar: %2.")
                            .arg(serviceAt(url), networkReason(error)));
    }
    if (reply->error() == QNetworkReply::OperationCanceledError || reply->error() == QNetworkReply::TimeoutError)
        throw LiveError(QStringLiteral("Die Antwort des Courtcast-Dienstes unter %1 brach nach %2 Sekunden ohne neue Daten ab.")
                            .arg(serviceAt(url))
                            .arg(german::formatNumber(double(m_limits.timeout.count()) / 1000.0)));
    data += reply->readAll();
    if (data.size() > cap)
        throw LiveError(QStringLiteral("Die Antwort des Courtcast-Dienstes ist größer als %1 und wurde verworfen.")
                            .arg(sizeText(cap)));
    return {status.toInt(), data};
}

QString LiveClient::call(const QString& operationName, const QList<QPair<QString, QString>>& parameters)
{
    const SoapOperation* operation = m_description.operation(operationName);
    if (!operation)
        throw LiveError(QStringLiteral("Der Courtcast-Dienst bietet die Operation \"%1\" nicht an.").arg(operationName));
    QNetworkRequest request(m_description.endpoint);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("text/xml; charset=utf-8"));
    request.setRawHeader("SOAPAction", '"' + operation->soapAction.toUtf8() + '"');
    const QByteArray envelope = soapRequest(*operation, parameters);
    const Transfer reply = transfer(request, &envelope);

    // SOAP sends a Fault with status 500; any other status than 200 without
    // a readable Fault is the server's failure.
    const SoapReply answer = readSoapReply(reply.body);
    if (answer.kind == SoapReply::Kind::Fault && (reply.status == 200 || reply.status == 500))
        throw LiveError(QStringLiteral("Der Courtcast-Dienst meldet einen Fehler: ") + answer.text);
    if (reply.status != 200)
        throw LiveError(QStringLiteral("Der Courtcast-Dienst antwortete mit dem HTTP-Status %1.").arg(reply.status));
    if (answer.kind != SoapReply::Kind::Result)
        throw LiveError(QStringLiteral("Die Antwort des Courtcast-Dienstes ist keine gültige SOAP-Nachricht."));
    return answer.text;
}

QString LiveClient::CheckLogIn(const QString& Group, const QString& Email, const QString& Password)
{
    return call(QStringLiteral("CheckLogIn"),
                {{QStringLiteral("Group"), Group}, {QStringLiteral("Email"), Email}, {QStringLiteral("Password"), Password}});
}

QString LiveClient::GetAllGroups()
{
    return call(QStringLiteral("GetAllGroups"), {});
}

QString LiveClient::GetAnmeldung(const QString& TurnierID, const QString& Code)
{
    return call(QStringLiteral("GetAnmeldung"), {{QStringLiteral("TurnierID"), TurnierID}, {QStringLiteral("Code"), Code}});
}

QString LiveClient::GetKlassen(const QString& TurnierID)
{
    return call(QStringLiteral("GetKlassen"), {{QStringLiteral("TurnierID"), TurnierID}});
}

QString LiveClient::SetLokalPlayer(const QString& PlayerString)
{
    return call(QStringLiteral("SetLokalPlayer"), {{QStringLiteral("PlayerString"), PlayerString}});
}

QString LiveClient::SetKlasse(const QString& KlassenString)
{
    return call(QStringLiteral("SetKlasse"), {{QStringLiteral("KlassenString"), KlassenString}});
}

QString LiveClient::ResultPublish(const QString& PublishString)
{
    return call(QStringLiteral("ResultPublish"), {{QStringLiteral("PublishString"), PublishString}});
}

} // namespace bw
