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
// reply is complete, so the caller keeps its controls from the user while it
// waits. Each transfer has a deadline of its own from its start, however slowly
// the bytes come, and a cap on the reply's size; the user may end it at once
// through a LiveCancel. https is checked as QtNetwork checks it (certificate and
// host name); plain http is used only when the configured address says so.
//
// What the user typed never leaves for another host: the endpoint of the
// description must lie on the configured address's origin (scheme, host and
// port) or on one the per-user settings name (LiveLimits::trustedEndpoints),
// and a call (a POST) follows no redirect. Only the description's GET follows
// redirects that stay as safe; what it names is checked all the same.
//
// A call is sent once. QtNetwork sends a request again when its connection
// closed before any answer; for a call that changes the service's state (a new
// class, the players) the service may have acted on the first, so the body of a
// call can be read once only and a connection that closes after it was sent is
// a failure of its own, never a silent second call.
//
// Every failure is a LiveError with a German message: the service unreachable,
// no reply in time, the connection closed without a reply, a redirect or an
// endpoint elsewhere, a reply too large, an HTTP error status, a broken reply or
// description, or a SOAP Fault (its faultstring); a cancelled call is a
// LiveCancelled.
#pragma once

#include "live/soapmessages.h"
#include "platform/apperror.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <chrono>
#include <functional>
#include <memory>

class QNetworkAccessManager;
class QNetworkRequest;

namespace bw {

class LiveError : public AppError {
public:
    using AppError::AppError;
};

// The user ended the call ("Der Vorgang wurde abgebrochen.").
class LiveCancelled : public LiveError {
public:
    LiveCancelled();
};

// What a client may do.
struct LiveLimits {
    std::chrono::milliseconds deadline{30000}; // per transfer, from its start
    qint64 maxReplyBytes = 16 * 1024 * 1024;
    // Origins besides the configured address's that the description may name
    // as its endpoint, as "https://soap.example.org:8443" (per-user settings).
    QStringList trustedEndpoints{};
};

// Lets the user end a client's transfer in progress at once; the call then
// throws LiveCancelled, and so does every later transfer until reset().
class LiveCancel {
public:
    void cancel();
    bool isCancelled() const { return m_cancelled; }
    void reset() { m_cancelled = false; }

private:
    friend class LiveClient;
    std::function<void()> m_abort; // ends the transfer in progress
    bool m_cancelled = false;
};

class LiveClient {
public:
    ~LiveClient();
    LiveClient(const LiveClient&) = delete;
    LiveClient& operator=(const LiveClient&) = delete;

    // Fetches and reads the service description. Throws LiveError.
    static std::unique_ptr<LiveClient> bind(const QString& liveServiceURL, const LiveLimits& limits = {},
                                            LiveCancel* cancel = nullptr);

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
    LiveClient(const LiveLimits& limits, LiveCancel* cancel);

    QString call(const QString& operation, const QList<QPair<QString, QString>>& parameters);
    struct Transfer {
        int status = 0; // the HTTP status
        QByteArray body;
        QUrl location; // where a redirect points
    };
    // GET without a body, POST with one. Throws LiveError unless an HTTP reply
    // came in time and within the size cap.
    Transfer transfer(const QNetworkRequest& request, const QByteArray* body);

    LiveLimits m_limits;
    LiveCancel* m_cancel;
    std::unique_ptr<QNetworkAccessManager> m_network;
    ServiceDescription m_description;
};

// Binds a new client for one action (see LiveClient::bind).
std::unique_ptr<LiveClient> GetIServerInfo(const QString& liveServiceURL, const LiveLimits& limits = {},
                                           LiveCancel* cancel = nullptr);

// Scheme, host and port of an address (the port filled in from the scheme),
// e.g. "https://live.example.org:443".
QString urlOrigin(const QUrl& url);

} // namespace bw
