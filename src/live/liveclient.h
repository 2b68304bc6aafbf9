// The client of the live-results service's SOAP interface IServerInfo.
//
// Every user action that talks to the service binds a client of its own with
// GetIServerInfo() at its start and drops it at its end: the binding fetches the
// service description at liveServiceURL + "/XML/IServerInfo25.xml" and takes the
// endpoint of the port "IServerInfoPort" of the service "IServerInfoservice" and
// each operation's SOAPAction and style from it, so one action makes exactly one
// description fetch. No state survives between actions, and no call carries the
// login: later calls name their data by online tournament and class ids.
//
// Calls are synchronous for the caller: each runs a local event loop until the
// reply is complete, so the caller disables its window while it waits. Each
// transfer has a timeout and a cap on the reply's size. https is checked as
// QtNetwork checks it (certificate and host name); plain http is used only when
// the configured address says so, and an endpoint from the description never
// turns https into http. Redirects are followed only when they stay as safe.
//
// Every failure is a LiveError with a German message: the service unreachable,
// no reply in time, a reply too large, an HTTP error status, a broken reply or
// description, or a SOAP Fault (its faultstring).
#pragma once

#include "live/soapmessages.h"
#include "platform/apperror.h"

#include <QString>
#include <QUrl>

#include <chrono>
#include <memory>

class QNetworkAccessManager;
class QNetworkRequest;

namespace bw {

class LiveError : public AppError {
public:
    using AppError::AppError;
};

struct LiveLimits {
    std::chrono::milliseconds timeout{30000}; // per transfer, from the last data received
    qint64 maxReplyBytes = 16 * 1024 * 1024;
};

class LiveClient {
public:
    ~LiveClient();
    LiveClient(const LiveClient&) = delete;
    LiveClient& operator=(const LiveClient&) = delete;

    // Fetches and reads the service description. Throws LiveError.
    static std::unique_ptr<LiveClient> bind(const QString& liveServiceURL, const LiveLimits& limits = {});

    // The seven operations of IServerInfo; every parameter and result is a string.
    QString CheckLogIn(const QString& Group, const QString& Email, const QString& Password);
    QString GetAllGroups();
    QString GetAnmeldung(const QString& TurnierID, const QString& Code);
    QString GetKlassen(const QString& TurnierID);
    QString SetLokalPlayer(const QString& PlayerString);
    QString SetKlasse(const QString& KlassenString);
    QString ResultPublish(const QString& PublishString);

    const ServiceDescription& description() const { return m_description; }

    // Where the description lies for a base address.
    static QUrl descriptionUrl(const QString& liveServiceURL);

private:
    explicit LiveClient(const LiveLimits& limits);

    QString call(const QString& operation, const QList<QPair<QString, QString>>& parameters);
    struct Transfer {
        int status = 0; // the HTTP status
        QByteArray body;
    };
    // GET without a body, POST with one. Throws LiveError unless an HTTP reply
    // came in time and within the size cap.
    Transfer transfer(const QNetworkRequest& request, const QByteArray* body);

    LiveLimits m_limits;
    std::unique_ptr<QNetworkAccessManager> m_network;
    ServiceDescription m_description;
};

// Binds a new client for one action (see LiveClient::bind).
std::unique_ptr<LiveClient> GetIServerInfo(const QString& liveServiceURL, const LiveLimits& limits = {});

} // namespace bw
