#include "live/liveclient.h"

#include "platform/germantext.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>
#include <QTimer>

#include <algorithm>
#include <cstring>

namespace bw {

namespace {

const QString kCancelledText = QStringLiteral("Der Vorgang wurde abgebrochen.");

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
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
        return QStringLiteral("der Proxy-Server ließ die Verbindung nicht zu (Netzwerkfehler %1)").arg(int(error));
    default: return QStringLiteral("Netzwerkfehler %1").arg(int(error));
    }
}

// Why a server's certificate was not accepted.
QString certificateReason(const QSslError& error)
{
    switch (error.error()) {
    case QSslError::SelfSignedCertificate:
    case QSslError::SelfSignedCertificateInChain:
        return QStringLiteral("das Zertifikat des Servers ist selbst ausgestellt");
    case QSslError::CertificateExpired: return QStringLiteral("das Zertifikat des Servers ist abgelaufen");
    case QSslError::CertificateNotYetValid: return QStringLiteral("das Zertifikat des Servers ist noch nicht gültig");
    case QSslError::HostNameMismatch: return QStringLiteral("das Zertifikat gilt nicht für diesen Server");
    case QSslError::CertificateRevoked: return QStringLiteral("das Zertifikat des Servers wurde zurückgezogen");
    case QSslError::UnableToGetLocalIssuerCertificate:
    case QSslError::UnableToGetIssuerCertificate:
    case QSslError::UnableToVerifyFirstCertificate:
    case QSslError::CertificateUntrusted:
        return QStringLiteral("das Zertifikat des Servers stammt von keiner anerkannten Stelle");
    default: return QStringLiteral("das Zertifikat des Servers wurde nicht anerkannt");
    }
}

QString serviceAt(const QUrl& url)
{
    return url.toDisplayString(QUrl::RemoveUserInfo | QUrl::RemoveQuery | QUrl::RemoveFragment);
}

QString seconds(std::chrono::milliseconds time)
{
    return german::formatNumber(double(time.count()) / 1000.0);
}

// The body of a call, readable once: QtNetwork resends a request by reading
// its body again from the start, which this device refuses as soon as any of
// it was handed out (the reply then fails with ContentReSendError). Not a
// QBuffer, whose bytes QtNetwork would take directly and resend at will.
class SingleUseBody : public QIODevice {
public:
    explicit SingleUseBody(const QByteArray& bytes) : m_bytes(bytes) { open(QIODevice::ReadOnly); }
    qint64 size() const override { return m_bytes.size(); }
    bool reset() override { return !m_handedOut && QIODevice::reset(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 n = std::max<qint64>(std::min<qint64>(maxSize, m_bytes.size() - pos()), 0);
        if (n > 0) {
            std::memcpy(data, m_bytes.constData() + pos(), size_t(n));
            m_handedOut = true;
        }
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    bool m_handedOut = false;
};

bool transportError(QNetworkReply::NetworkError error)
{
    // 1..199: the connection and the proxy; from 200 on QtNetwork names what
    // the HTTP status said, which the caller reads from the status itself.
    return error > QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied;
}

} // namespace

LiveCancelled::LiveCancelled() : LiveError(kCancelledText) {}

void LiveCancel::cancel()
{
    m_cancelled = true;
    if (m_abort)
        m_abort();
}

QString urlOrigin(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    const int port = url.port(scheme == QLatin1String("https") ? 443 : scheme == QLatin1String("http") ? 80 : -1);
    return QStringLiteral("%1://%2:%3").arg(scheme, url.host().toLower()).arg(port);
}

LiveClient::LiveClient(const LiveLimits& limits, LiveCancel* cancel)
    : m_limits(limits), m_cancel(cancel), m_network(std::make_unique<QNetworkAccessManager>())
{
    // The description may move (its GET follows redirects that stay as safe);
    // calls never do (their requests say so).
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

std::unique_ptr<LiveClient> LiveClient::bind(const QString& liveServiceURL, const LiveLimits& limits,
                                             LiveCancel* cancel)
{
    const QUrl url = descriptionUrl(liveServiceURL);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        throw LiveError(QStringLiteral("Die Adresse des Courtcast-Dienstes \"%1\" ist keine http- oder https-Adresse.")
                            .arg(liveServiceURL));
    std::unique_ptr<LiveClient> client(new LiveClient(limits, cancel));
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
    // The calls carry the login: they go to the configured server or to one the
    // desk's own settings name, never where a description alone sends them.
    const QString endpoint = urlOrigin(description->endpoint);
    const QString configured = urlOrigin(url);
    const bool trusted = std::any_of(limits.trustedEndpoints.cbegin(), limits.trustedEndpoints.cend(),
                                     [&](const QString& entry) {
                                         const QUrl origin(entry.trimmed(), QUrl::StrictMode);
                                         return origin.isValid() && !origin.host().isEmpty() &&
                                                urlOrigin(origin) == endpoint;
                                     });
    if (endpoint != configured && !trusted)
        throw LiveError(QStringLiteral("Die Dienstbeschreibung %1 schickt die Aufrufe an %2, eingerichtet ist der "
                                       "Courtcast-Dienst unter %3. Ein anderer Server wird nur angesprochen, wenn die "
                                       "Benutzereinstellungen ihn unter [Live] Endpunkte nennen.")
                            .arg(serviceAt(url), endpoint, configured));
    client->m_description = std::move(*description);
    return client;
}

std::unique_ptr<LiveClient> GetIServerInfo(const QString& liveServiceURL, const LiveLimits& limits, LiveCancel* cancel)
{
    return LiveClient::bind(liveServiceURL, limits, cancel);
}

LiveClient::Transfer LiveClient::transfer(const QNetworkRequest& prepared, const QByteArray* body)
{
    if (m_cancel && m_cancel->isCancelled())
        throw LiveCancelled();
    QNetworkRequest request(prepared);
    std::unique_ptr<SingleUseBody> upload;
    QNetworkReply* reply = nullptr;
    if (body) {
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
        // HTTP/2 has resend rules of its own; a call speaks HTTP/1.1.
        request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
        request.setHeader(QNetworkRequest::ContentLengthHeader, body->size());
        upload = std::make_unique<SingleUseBody>(*body);
        reply = m_network->post(request, upload.get());
    } else {
        reply = m_network->get(request);
    }
    std::unique_ptr<QNetworkReply> owner(reply);

    QByteArray data;
    bool tooLarge = false;
    bool timedOut = false;
    bool cancelled = false;
    QString certificate;
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
    QObject::connect(reply, &QNetworkReply::sslErrors, &loop, [&](const QList<QSslError>& errors) {
        if (!errors.isEmpty() && certificate.isEmpty())
            certificate = certificateReason(errors.first());
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // The deadline counts from the start, however slowly the bytes come.
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    struct Abort {
        LiveCancel* cancel;
        ~Abort()
        {
            if (cancel)
                cancel->m_abort = nullptr;
        }
    } abortOnCancel{m_cancel};
    if (m_cancel)
        m_cancel->m_abort = [&] {
            cancelled = true;
            reply->abort();
        };
    if (!reply->isFinished()) {
        deadline.start(m_limits.deadline);
        loop.exec();
    }

    const QUrl url = request.url();
    if (cancelled)
        throw LiveCancelled();
    if (tooLarge)
        throw LiveError(QStringLiteral("Die Antwort des Courtcast-Dienstes ist größer als %1 und wurde verworfen.")
                            .arg(sizeText(cap)));
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (timedOut && !status.isValid())
        throw LiveError(QStringLiteral("Der Courtcast-Dienst unter %1 hat nicht innerhalb von %2 Sekunden geantwortet.")
                            .arg(serviceAt(url), seconds(m_limits.deadline)));
    if (timedOut)
        throw LiveError(QStringLiteral("Die Antwort des Courtcast-Dienstes unter %1 kam nicht innerhalb von %2 "
                                       "Sekunden vollständig an.")
                            .arg(serviceAt(url), seconds(m_limits.deadline)));
    const QNetworkReply::NetworkError error = reply->error();
    if (!status.isValid()) {
        if (error == QNetworkReply::RemoteHostClosedError || error == QNetworkReply::ContentReSendError)
            throw LiveError(QStringLiteral("Der Courtcast-Dienst unter %1 hat die Verbindung ohne Antwort geschlossen.%2")
                                .arg(serviceAt(url), body ? QStringLiteral(" Ob die Daten angekommen sind, ist nicht "
                                                                           "bekannt; bitte prüfen Sie es vor einem "
                                                                           "neuen Versuch.")
                                                          : QString()));
        if (error == QNetworkReply::SslHandshakeFailedError && !certificate.isEmpty())
            throw LiveError(QStringLiteral("Der Courtcast-Dienst unter %1 ist nicht erreichbar: die verschlüsselte "
                                           "Verbindung kam nicht zustande (%2).")
                                .arg(serviceAt(url), certificate));
        throw LiveError(QStringLiteral("Der Courtcast-Dienst unter %1 ist nicht erreichbar: %2.")
                            .arg(serviceAt(url), networkReason(error)));
    }
    if (transportError(error))
        throw LiveError(QStringLiteral("Die Antwort des Courtcast-Dienstes unter %1 brach vor ihrem Ende ab: %2.")
                            .arg(serviceAt(url), networkReason(error)));
    data += reply->readAll();
    if (data.size() > cap)
        throw LiveError(QStringLiteral("Die Antwort des Courtcast-Dienstes ist größer als %1 und wurde verworfen.")
                            .arg(sizeText(cap)));
    Transfer result{status.toInt(), data, {}};
    if (result.status >= 300 && result.status < 400)
        result.location = reply->header(QNetworkRequest::LocationHeader).toUrl();
    return result;
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
    if (reply.status >= 300 && reply.status < 400)
        throw LiveError(QStringLiteral("Der Courtcast-Dienst unter %1 leitet den Aufruf nach %2 weiter; Aufrufe werden "
                                       "nicht weitergeleitet.")
                            .arg(serviceAt(m_description.endpoint),
                                 reply.location.isValid() ? serviceAt(m_description.endpoint.resolved(reply.location))
                                                          : QStringLiteral("(keine Adresse)")));

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
