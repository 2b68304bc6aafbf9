// A stand-in for the Courtcast live-results service: an HTTP/1.1 server on
// 127.0.0.1 at a free port that serves service descriptions pointing back at
// itself and answers SOAP calls from a script. It runs in the thread that made
// it, so a client waiting in a local event loop of the same thread is served.
//
// Two descriptions prove that the client follows what it is given:
//   <base>/Webservice/XML/IServerInfo25.xml  rpc/encoded, endpoint /Webservice/soap/IServerInfo,
//                                            SOAPAction "urn:ServerInfoIntf-IServerInfo#<op>"
//   <base>/Literal/XML/IServerInfo25.xml     rpc/literal, endpoint /lit/services/ServerInfo,
//                                            SOAPAction "http://fake.invalid/actions/<op>"
// Every call is checked (path, SOAPAction, content type, the namespace of the
// operation element, the style of the parts) and recorded with its parameters;
// what a request did wrong is listed in problems(). The answer comes from the
// operation's queue, else from the responder, else a Fault (and a problem).
// Besides replies the script holds what a bad network does: silence, a
// connection closed without a reply, a reply that drips in byte by byte, a
// redirect, any bytes at all.
#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>

class QTcpServer;
class QTcpSocket;

namespace bw::test {

class FakeLiveService : public QObject {
    Q_OBJECT
public:
    enum class Binding { Encoded, Literal };

    struct Answer {
        enum class Kind { Text, Fault, Http500, Garbage, TooLarge, Silence, Close, Drip, Redirect, Raw };
        Kind kind = Kind::Text;
        QString text;     // Text: the result; Fault: the faultstring; Redirect: the target; Raw: the body
        qint64 bytes = 0; // TooLarge: how many bytes are sent; Drip: milliseconds per byte; Redirect: the status

        static Answer reply(const QString& text) { return {Kind::Text, text, 0}; }
        static Answer fault(const QString& text) { return {Kind::Fault, text, 0}; }
        static Answer http500() { return {Kind::Http500, {}, 0}; }
        static Answer garbage() { return {Kind::Garbage, {}, 0}; }
        static Answer tooLarge(qint64 bytes) { return {Kind::TooLarge, {}, bytes}; }
        // No answer at all: the connection stays open until the client gives up.
        static Answer silence() { return {Kind::Silence, {}, 0}; }
        // The request read in full, then the connection closed without a byte of reply.
        static Answer close() { return {Kind::Close, {}, 0}; }
        // The reply to `text` with its headers at once and its body one byte
        // every `millis` milliseconds.
        static Answer drip(const QString& text, qint64 millis) { return {Kind::Drip, text, millis}; }
        // An HTTP redirect (301, 302, 307, 308) to `target`.
        static Answer redirect(int status, const QString& target) { return {Kind::Redirect, target, status}; }
        // These bytes as the body of a reply with status 200 (or a description).
        static Answer raw(const QByteArray& body) { return {Kind::Raw, QString::fromLatin1(body), 0}; }
    };

    struct Call {
        QString operation;
        QList<QPair<QString, QString>> parameters;
        Binding binding = Binding::Encoded;
        bool encodingStyle = false; // the body declared the SOAP encoding
        bool typed = false;         // every part carried xsi:type="xsd:string"

        QString value(const QString& name) const;
        QStringList names() const;
    };

    using Responder = std::function<Answer(const Call&)>;

    explicit FakeLiveService(QObject* parent = nullptr);
    ~FakeLiveService() override;

    // Listens on 127.0.0.1 (a free port when 0); false when that fails.
    bool start(quint16 port = 0);
    quint16 port() const;
    // The base address the program is given (its liveServiceURL).
    QString baseUrl(Binding binding = Binding::Encoded) const;

    // Queues the answer to the next call of the operation.
    void script(const QString& operation, const Answer& answer);
    // Answers calls nothing is queued for.
    void setResponder(Responder responder) { m_responder = std::move(responder); }
    // Queues the answer to the next description fetch in place of the description.
    void scriptDescription(const Answer& answer) { m_descriptionScript.append(answer); }

    const QList<Call>& calls() const { return m_calls; }
    QStringList operations() const;
    int descriptionFetches() const { return m_descriptionFetches; }
    const QStringList& problems() const { return m_problems; }
    void clearRecords();

    // Called after every recorded call (the program prints it).
    std::function<void(const Call&)> onCall;

    // A description of the binding whose port names `location` as its
    // endpoint (empty: the service's own).
    QByteArray description(Binding binding, const QString& location = QString()) const;

private:
    void readRequest(QTcpSocket* socket);
    void handle(QTcpSocket* socket, const QByteArray& method, const QByteArray& path,
                const QHash<QByteArray, QByteArray>& headers, const QByteArray& body);
    void handleCall(QTcpSocket* socket, Binding binding, const QHash<QByteArray, QByteArray>& headers,
                    const QByteArray& body);
    void send(QTcpSocket* socket, const Answer& answer, const QString& operation);
    QByteArray responseEnvelope(const QString& operation, const QString& text) const;

    QTcpServer* m_server;
    QHash<QTcpSocket*, QByteArray> m_buffers;
    QHash<QString, QList<Answer>> m_script;
    QList<Answer> m_descriptionScript;
    Responder m_responder;
    QList<Call> m_calls;
    int m_descriptionFetches = 0;
    QStringList m_problems;
};

} // namespace bw::test
