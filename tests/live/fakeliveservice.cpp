#include "fakeliveservice.h"

#include <memory>

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace bw::test {

namespace {

const QString kEnvelopeNs = QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/");
const QString kEncodingNs = QStringLiteral("http://schemas.xmlsoap.org/soap/encoding/");
const QString kXsiNs = QStringLiteral("http://www.w3.org/2001/XMLSchema-instance");
const QString kInterfaceNs = QStringLiteral("urn:ServerInfoIntf-IServerInfo");

const QByteArray kEncodedDescription = "/Webservice/XML/IServerInfo25.xml";
const QByteArray kLiteralDescription = "/Literal/XML/IServerInfo25.xml";
const QByteArray kEncodedEndpoint = "/Webservice/soap/IServerInfo";
const QByteArray kLiteralEndpoint = "/lit/services/ServerInfo";

// The operations of IServerInfo with their parameters, in order.
const QList<QPair<QString, QStringList>>& operationList()
{
    static const QList<QPair<QString, QStringList>> list{
        {QStringLiteral("CheckLogIn"), {QStringLiteral("Group"), QStringLiteral("Email"), QStringLiteral("Password")}},
        {QStringLiteral("GetAllGroups"), {}},
        {QStringLiteral("GetAnmeldung"), {QStringLiteral("TurnierID"), QStringLiteral("Code")}},
        {QStringLiteral("GetKlassen"), {QStringLiteral("TurnierID")}},
        {QStringLiteral("SetLokalPlayer"), {QStringLiteral("PlayerString")}},
        {QStringLiteral("SetKlasse"), {QStringLiteral("KlassenString")}},
        {QStringLiteral("ResultPublish"), {QStringLiteral("PublishString")}},
    };
    return list;
}

QString soapAction(FakeLiveService::Binding binding, const QString& operation)
{
    return binding == FakeLiveService::Binding::Encoded ? QStringLiteral("urn:ServerInfoIntf-IServerInfo#") + operation
                                                        : QStringLiteral("http://fake.invalid/actions/") + operation;
}

QByteArray httpResponse(int status, const QByteArray& reason, const QByteArray& type, const QByteArray& body)
{
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\nContent-Type: " + type +
           "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

QByteArray envelope(const std::function<void(QXmlStreamWriter&)>& body)
{
    QByteArray bytes;
    QXmlStreamWriter w(&bytes);
    w.writeStartDocument();
    w.writeNamespace(kEnvelopeNs, QStringLiteral("SOAP-ENV"));
    w.writeNamespace(kXsiNs, QStringLiteral("xsi"));
    w.writeNamespace(QStringLiteral("http://www.w3.org/2001/XMLSchema"), QStringLiteral("xsd"));
    w.writeStartElement(kEnvelopeNs, QStringLiteral("Envelope"));
    w.writeStartElement(kEnvelopeNs, QStringLiteral("Body"));
    body(w);
    w.writeEndDocument();
    return bytes;
}

} // namespace

QString FakeLiveService::Call::value(const QString& name) const
{
    for (const auto& [n, v] : parameters)
        if (n == name)
            return v;
    return QString();
}

QStringList FakeLiveService::Call::names() const
{
    QStringList list;
    for (const auto& p : parameters)
        list << p.first;
    return list;
}

FakeLiveService::FakeLiveService(QObject* parent) : QObject(parent), m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server->nextPendingConnection()) {
            m_buffers.insert(socket, {});
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                m_buffers.remove(socket);
                socket->deleteLater();
            });
        }
    });
}

FakeLiveService::~FakeLiveService() = default;

bool FakeLiveService::start(quint16 port)
{
    return m_server->listen(QHostAddress::LocalHost, port);
}

quint16 FakeLiveService::port() const
{
    return m_server->serverPort();
}

QString FakeLiveService::baseUrl(Binding binding) const
{
    return QStringLiteral("http://127.0.0.1:%1/%2")
        .arg(port())
        .arg(binding == Binding::Encoded ? QStringLiteral("Webservice") : QStringLiteral("Literal"));
}

void FakeLiveService::script(const QString& operation, const Answer& answer)
{
    m_script[operation].append(answer);
}

QStringList FakeLiveService::operations() const
{
    QStringList list;
    for (const Call& c : m_calls)
        list << c.operation;
    return list;
}

void FakeLiveService::clearRecords()
{
    m_calls.clear();
    m_problems.clear();
    m_descriptionFetches = 0;
}

void FakeLiveService::readRequest(QTcpSocket* socket)
{
    QByteArray& buffer = m_buffers[socket];
    buffer += socket->readAll();
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.first().trimmed().split(' ');
    QHash<QByteArray, QByteArray> headers;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines.at(i).indexOf(':');
        if (colon > 0)
            headers.insert(lines.at(i).left(colon).trimmed().toLower(), lines.at(i).mid(colon + 1).trimmed());
    }
    const qsizetype length = headers.value("content-length", "0").toLongLong();
    if (buffer.size() < headerEnd + 4 + length)
        return;
    const QByteArray body = buffer.mid(headerEnd + 4, length);
    buffer.clear();
    if (requestLine.size() < 2) {
        m_problems << QStringLiteral("unlesbare Anfragezeile");
        socket->disconnectFromHost();
        return;
    }
    handle(socket, requestLine.at(0), requestLine.at(1), headers, body);
}

void FakeLiveService::handle(QTcpSocket* socket, const QByteArray& method, const QByteArray& path,
                             const QHash<QByteArray, QByteArray>& headers, const QByteArray& body)
{
    if (method == "GET" && (path == kEncodedDescription || path == kLiteralDescription)) {
        ++m_descriptionFetches;
        if (!m_descriptionScript.isEmpty()) {
            send(socket, m_descriptionScript.takeFirst(), QString());
            return;
        }
        const Binding binding = path == kEncodedDescription ? Binding::Encoded : Binding::Literal;
        socket->write(httpResponse(200, "OK", "text/xml; charset=utf-8", description(binding)));
        socket->disconnectFromHost();
        return;
    }
    if (method == "POST" && (path == kEncodedEndpoint || path == kLiteralEndpoint)) {
        handleCall(socket, path == kEncodedEndpoint ? Binding::Encoded : Binding::Literal, headers, body);
        return;
    }
    m_problems << QStringLiteral("%1 %2: unbekannte Adresse").arg(QString::fromLatin1(method), QString::fromLatin1(path));
    socket->write(httpResponse(404, "Not Found", "text/plain", "not found"));
    socket->disconnectFromHost();
}

void FakeLiveService::handleCall(QTcpSocket* socket, Binding binding, const QHash<QByteArray, QByteArray>& headers,
                                 const QByteArray& body)
{
    Call call;
    call.binding = binding;
    QXmlStreamReader r(body);
    QString problem;
    bool allTyped = true;
    if (!r.readNextStartElement() || r.name() != QLatin1String("Envelope") || r.namespaceUri() != kEnvelopeNs ||
        !r.readNextStartElement() || r.name() != QLatin1String("Body")) {
        problem = QStringLiteral("kein SOAP-Umschlag");
    } else {
        call.encodingStyle = r.attributes().value(kEnvelopeNs, QLatin1String("encodingStyle")) == kEncodingNs;
        if (r.readNextStartElement()) {
            call.operation = r.name().toString();
            if (r.namespaceUri() != kInterfaceNs)
                problem = QStringLiteral("Namensraum %1").arg(r.namespaceUri().toString());
            while (r.readNextStartElement()) {
                allTyped = allTyped && r.attributes().value(kXsiNs, QLatin1String("type")) == QLatin1String("xsd:string");
                const QString name = r.name().toString();
                call.parameters.append({name, r.readElementText()});
            }
        }
    }
    if (r.hasError())
        problem = QStringLiteral("XML-Fehler: ") + r.errorString();
    call.typed = allTyped && !call.parameters.isEmpty();

    const QString expectedAction = QLatin1Char('"') + soapAction(binding, call.operation) + QLatin1Char('"');
    if (QString::fromUtf8(headers.value("soapaction")) != expectedAction)
        problem = QStringLiteral("SOAPAction %1 statt %2").arg(QString::fromUtf8(headers.value("soapaction")), expectedAction);
    if (headers.value("content-type").toLower() != "text/xml; charset=utf-8")
        problem = QStringLiteral("Content-Type %1").arg(QString::fromUtf8(headers.value("content-type")));
    if (!problem.isEmpty()) {
        m_problems << call.operation + QStringLiteral(": ") + problem;
        send(socket, Answer::fault(problem), call.operation);
        return;
    }

    m_calls.append(call);
    if (onCall)
        onCall(call);
    QList<Answer>& queue = m_script[call.operation];
    if (!queue.isEmpty()) {
        send(socket, queue.takeFirst(), call.operation);
    } else if (m_responder) {
        send(socket, m_responder(call), call.operation);
    } else {
        m_problems << call.operation + QStringLiteral(": unerwarteter Aufruf");
        send(socket, Answer::fault(QStringLiteral("unerwarteter Aufruf")), call.operation);
    }
}

void FakeLiveService::send(QTcpSocket* socket, const Answer& answer, const QString& operation)
{
    switch (answer.kind) {
    case Answer::Kind::Text:
        // A description scripted as text is served as it is.
        socket->write(httpResponse(200, "OK", "text/xml; charset=utf-8",
                                   operation.isEmpty() ? answer.text.toUtf8() : responseEnvelope(operation, answer.text)));
        break;
    case Answer::Kind::Raw:
        socket->write(httpResponse(200, "OK", "text/xml; charset=utf-8", answer.text.toLatin1()));
        break;
    case Answer::Kind::Close:
        socket->abort();
        return;
    case Answer::Kind::Drip: {
        const QByteArray response = httpResponse(200, "OK", "text/xml; charset=utf-8",
                                                 responseEnvelope(operation, answer.text));
        const qsizetype bodyStart = response.indexOf("\r\n\r\n") + 4;
        socket->write(response.left(bodyStart));
        auto* timer = new QTimer(socket);
        auto sent = std::make_shared<qsizetype>(bodyStart);
        connect(timer, &QTimer::timeout, socket, [socket, timer, response, sent] {
            socket->write(response.mid((*sent)++, 1));
            if (*sent >= response.size()) {
                timer->stop();
                socket->disconnectFromHost();
            }
        });
        timer->start(int(answer.bytes));
        return;
    }
    case Answer::Kind::Redirect:
        socket->write("HTTP/1.1 " + QByteArray::number(answer.bytes) + " Moved\r\nLocation: " + answer.text.toUtf8() +
                      "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        break;
    case Answer::Kind::Fault: {
        const QByteArray body = envelope([&](QXmlStreamWriter& w) {
            w.writeStartElement(kEnvelopeNs, QStringLiteral("Fault"));
            w.writeTextElement(QStringLiteral("faultcode"), QStringLiteral("SOAP-ENV:Server"));
            w.writeTextElement(QStringLiteral("faultstring"), answer.text);
        });
        socket->write(httpResponse(500, "Internal Server Error", "text/xml; charset=utf-8", body));
        break;
    }
    case Answer::Kind::Http500:
        socket->write(httpResponse(500, "Internal Server Error", "text/html",
                                   "<html><body><h1>Internal Server Error</h1></body></html>"));
        break;
    case Answer::Kind::Garbage:
        socket->write(httpResponse(200, "OK", "text/xml; charset=utf-8", "Das ist kein XML <<< &&&"));
        break;
    case Answer::Kind::TooLarge:
        // Without a length: the client learns the size only while it reads.
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=utf-8\r\nConnection: close\r\n\r\n");
        socket->write(QByteArray(answer.bytes, 'x'));
        break;
    case Answer::Kind::Silence:
        return;
    }
    socket->disconnectFromHost();
}

QByteArray FakeLiveService::responseEnvelope(const QString& operation, const QString& text) const
{
    return envelope([&](QXmlStreamWriter& w) {
        w.writeNamespace(kInterfaceNs, QStringLiteral("NS1"));
        w.writeStartElement(kInterfaceNs, operation + QStringLiteral("Response"));
        w.writeStartElement(QStringLiteral("return"));
        w.writeAttribute(kXsiNs, QStringLiteral("type"), QStringLiteral("xsd:string"));
        w.writeCharacters(text);
    });
}

QByteArray FakeLiveService::description(Binding binding, const QString& location) const
{
    const bool encoded = binding == Binding::Encoded;
    QByteArray bytes;
    QXmlStreamWriter w(&bytes);
    w.setAutoFormatting(true);
    const QString wsdl = QStringLiteral("http://schemas.xmlsoap.org/wsdl/");
    const QString soap = QStringLiteral("http://schemas.xmlsoap.org/wsdl/soap/");
    const QString tns = QStringLiteral("http://tempuri.org/");
    w.writeStartDocument();
    w.writeNamespace(wsdl, QStringLiteral("wsdl"));
    w.writeNamespace(soap, QStringLiteral("soap"));
    w.writeNamespace(tns, QStringLiteral("tns"));
    w.writeNamespace(QStringLiteral("http://www.w3.org/2001/XMLSchema"), QStringLiteral("xs"));
    w.writeStartElement(wsdl, QStringLiteral("definitions"));
    w.writeAttribute(QStringLiteral("name"), QStringLiteral("IServerInfoservice"));
    w.writeAttribute(QStringLiteral("targetNamespace"), tns);
    for (const auto& [op, params] : operationList()) {
        w.writeStartElement(wsdl, QStringLiteral("message"));
        w.writeAttribute(QStringLiteral("name"), op + QStringLiteral("Request"));
        for (const QString& p : params) {
            w.writeEmptyElement(wsdl, QStringLiteral("part"));
            w.writeAttribute(QStringLiteral("name"), p);
            w.writeAttribute(QStringLiteral("type"), QStringLiteral("xs:string"));
        }
        w.writeEndElement();
        w.writeStartElement(wsdl, QStringLiteral("message"));
        w.writeAttribute(QStringLiteral("name"), op + QStringLiteral("Response"));
        w.writeEmptyElement(wsdl, QStringLiteral("part"));
        w.writeAttribute(QStringLiteral("name"), QStringLiteral("return"));
        w.writeAttribute(QStringLiteral("type"), QStringLiteral("xs:string"));
        w.writeEndElement();
    }
    w.writeStartElement(wsdl, QStringLiteral("portType"));
    w.writeAttribute(QStringLiteral("name"), QStringLiteral("IServerInfo"));
    for (const auto& [op, params] : operationList()) {
        w.writeStartElement(wsdl, QStringLiteral("operation"));
        w.writeAttribute(QStringLiteral("name"), op);
        w.writeEmptyElement(wsdl, QStringLiteral("input"));
        w.writeAttribute(QStringLiteral("message"), QStringLiteral("tns:") + op + QStringLiteral("Request"));
        w.writeEmptyElement(wsdl, QStringLiteral("output"));
        w.writeAttribute(QStringLiteral("message"), QStringLiteral("tns:") + op + QStringLiteral("Response"));
        w.writeEndElement();
    }
    w.writeEndElement();
    // A binding the service does not use comes first: the port names its own.
    for (const QString& name : {QStringLiteral("Unused"), QStringLiteral("IServerInfobinding")}) {
        const bool used = name != QLatin1String("Unused");
        w.writeStartElement(wsdl, QStringLiteral("binding"));
        w.writeAttribute(QStringLiteral("name"), name);
        w.writeAttribute(QStringLiteral("type"), QStringLiteral("tns:IServerInfo"));
        w.writeEmptyElement(soap, QStringLiteral("binding"));
        w.writeAttribute(QStringLiteral("style"), QStringLiteral("rpc"));
        w.writeAttribute(QStringLiteral("transport"), QStringLiteral("http://schemas.xmlsoap.org/soap/http"));
        for (const auto& [op, params] : operationList()) {
            w.writeStartElement(wsdl, QStringLiteral("operation"));
            w.writeAttribute(QStringLiteral("name"), op);
            w.writeEmptyElement(soap, QStringLiteral("operation"));
            w.writeAttribute(QStringLiteral("soapAction"),
                             used ? soapAction(binding, op) : QStringLiteral("urn:unused#") + op);
            if (encoded) // the literal binding leaves the style to the binding
                w.writeAttribute(QStringLiteral("style"), QStringLiteral("rpc"));
            for (const QString& direction : {QStringLiteral("input"), QStringLiteral("output")}) {
                w.writeStartElement(wsdl, direction);
                w.writeEmptyElement(soap, QStringLiteral("body"));
                w.writeAttribute(QStringLiteral("use"), encoded ? QStringLiteral("encoded") : QStringLiteral("literal"));
                if (encoded)
                    w.writeAttribute(QStringLiteral("encodingStyle"), kEncodingNs);
                w.writeAttribute(QStringLiteral("namespace"), kInterfaceNs);
                w.writeEndElement();
            }
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeStartElement(wsdl, QStringLiteral("service"));
    w.writeAttribute(QStringLiteral("name"), QStringLiteral("IServerInfoservice"));
    w.writeStartElement(wsdl, QStringLiteral("port"));
    w.writeAttribute(QStringLiteral("name"), QStringLiteral("IServerInfoPort"));
    w.writeAttribute(QStringLiteral("binding"), QStringLiteral("tns:IServerInfobinding"));
    w.writeEmptyElement(soap, QStringLiteral("address"));
    // The encoded description names its endpoint in full, the literal one relative to itself.
    w.writeAttribute(QStringLiteral("location"),
                     !location.isEmpty() ? location
                     : encoded ? QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(QString::fromLatin1(kEncodedEndpoint))
                               : QStringLiteral("../../lit/services/ServerInfo"));
    w.writeEndDocument();
    return bytes;
}

} // namespace bw::test
