#include "live/soapmessages.h"

#include "platform/xmltext.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace bw {

namespace {

const QString kWsdlNs = QStringLiteral("http://schemas.xmlsoap.org/wsdl/");
const QString kWsdlSoapNs = QStringLiteral("http://schemas.xmlsoap.org/wsdl/soap/");
const QString kEnvelopeNs = QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/");
const QString kEncodingNs = QStringLiteral("http://schemas.xmlsoap.org/soap/encoding/");
const QString kXsdNs = QStringLiteral("http://www.w3.org/2001/XMLSchema");
const QString kXsiNs = QStringLiteral("http://www.w3.org/2001/XMLSchema-instance");

// How deep markup may nest inside a result or a faultstring, which are texts.
constexpr int kMaxTextDepth = 32;

bool is(const QXmlStreamReader& r, const QString& ns, QLatin1StringView name)
{
    return r.namespaceUri() == ns && r.name() == name;
}

// Moves to the root element; false for a document type declaration, a broken
// prolog or no element at all.
bool enterRoot(QXmlStreamReader& r)
{
    while (!r.atEnd()) {
        r.readNext();
        if (r.isDTD())
            return false;
        if (r.isStartElement())
            return true;
    }
    return false;
}

// Reads the rest of the document, so that a reply counts only when all of it is
// well-formed.
bool finish(QXmlStreamReader& r)
{
    while (!r.atEnd())
        r.readNext();
    return !r.hasError();
}

// "tns:name" -> "name".
QString localPart(const QString& qualified)
{
    const qsizetype colon = qualified.lastIndexOf(QLatin1Char(':'));
    return colon < 0 ? qualified : qualified.mid(colon + 1);
}

struct BindingOperation {
    SoapOperation operation;
    QString style; // empty: the binding's
};

struct Binding {
    QString style = QStringLiteral("document");
    bool soap = false;
    QList<BindingOperation> operations;
};

struct Port {
    QString binding;
    QString location;
    bool found = false;
};

void readBindingOperation(QXmlStreamReader& r, Binding& binding)
{
    BindingOperation op;
    op.operation.name = r.attributes().value(QLatin1String("name")).toString();
    while (r.readNextStartElement()) {
        if (is(r, kWsdlSoapNs, QLatin1String("operation"))) {
            op.operation.soapAction = r.attributes().value(QLatin1String("soapAction")).toString();
            op.style = r.attributes().value(QLatin1String("style")).toString();
            r.skipCurrentElement();
        } else if (is(r, kWsdlNs, QLatin1String("input"))) {
            while (r.readNextStartElement()) {
                if (is(r, kWsdlSoapNs, QLatin1String("body"))) {
                    op.operation.encoded = r.attributes().value(QLatin1String("use")) == QLatin1String("encoded");
                    op.operation.inputNamespace = r.attributes().value(QLatin1String("namespace")).toString();
                }
                r.skipCurrentElement();
            }
        } else {
            r.skipCurrentElement();
        }
    }
    binding.operations.append(op);
}

void readBinding(QXmlStreamReader& r, Binding& binding)
{
    while (r.readNextStartElement()) {
        if (is(r, kWsdlSoapNs, QLatin1String("binding"))) {
            binding.soap = true;
            const QString style = r.attributes().value(QLatin1String("style")).toString();
            if (!style.isEmpty())
                binding.style = style;
            r.skipCurrentElement();
        } else if (is(r, kWsdlNs, QLatin1String("operation"))) {
            readBindingOperation(r, binding);
        } else {
            r.skipCurrentElement();
        }
    }
}

void readService(QXmlStreamReader& r, Port& port)
{
    while (r.readNextStartElement()) {
        if (is(r, kWsdlNs, QLatin1String("port")) && r.attributes().value(QLatin1String("name")) == kPortName &&
            !port.found) {
            port.found = true;
            port.binding = localPart(r.attributes().value(QLatin1String("binding")).toString());
            while (r.readNextStartElement()) {
                if (is(r, kWsdlSoapNs, QLatin1String("address")))
                    port.location = r.attributes().value(QLatin1String("location")).toString();
                r.skipCurrentElement();
            }
        } else {
            r.skipCurrentElement();
        }
    }
}

} // namespace

const SoapOperation* ServiceDescription::operation(const QString& name) const
{
    const auto it = operations.constFind(name);
    return it == operations.constEnd() ? nullptr : &it.value();
}

QUrl resolveEndpoint(const QUrl& wsdlUrl, const QString& location, QString* error)
{
    const QUrl given(location.trimmed(), QUrl::StrictMode);
    const QUrl endpoint = wsdlUrl.resolved(given);
    const QString scheme = endpoint.scheme().toLower();
    if (location.trimmed().isEmpty() || !given.isValid() || !endpoint.isValid() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")) || endpoint.host().isEmpty()) {
        *error = QStringLiteral("Die Adresse \"%1\" ist keine http- oder https-Adresse.").arg(location);
        return QUrl();
    }
    if (wsdlUrl.scheme().toLower() == QLatin1String("https") && scheme != QLatin1String("https")) {
        *error = QStringLiteral("Die Adresse \"%1\" ist unverschlüsselt, die Dienstbeschreibung kam verschlüsselt.")
                     .arg(location);
        return QUrl();
    }
    return endpoint;
}

std::optional<ServiceDescription> readServiceDescription(const QByteArray& bytes, const QUrl& wsdlUrl,
                                                         QString* error)
{
    QXmlStreamReader r(bytes);
    QMap<QString, Binding> bindings;
    Port port;
    if (!enterRoot(r) || !is(r, kWsdlNs, QLatin1String("definitions"))) {
        *error = QStringLiteral("Sie ist keine WSDL-Dienstbeschreibung.");
        return std::nullopt;
    }
    while (r.readNextStartElement()) {
        if (is(r, kWsdlNs, QLatin1String("binding"))) {
            const QString name = r.attributes().value(QLatin1String("name")).toString();
            Binding binding;
            readBinding(r, binding);
            if (!bindings.contains(name))
                bindings.insert(name, binding);
        } else if (is(r, kWsdlNs, QLatin1String("service")) &&
                   r.attributes().value(QLatin1String("name")) == kServiceName) {
            readService(r, port);
        } else {
            r.skipCurrentElement();
        }
    }
    if (!finish(r)) {
        *error = QStringLiteral("Sie ist kein gültiges XML.");
        return std::nullopt;
    }
    if (!port.found) {
        *error = QStringLiteral("Der Dienst \"%1\" mit dem Port \"%2\" fehlt.").arg(kServiceName, kPortName);
        return std::nullopt;
    }
    const auto binding = bindings.constFind(port.binding);
    if (binding == bindings.constEnd() || !binding->soap) {
        *error = QStringLiteral("Die SOAP-Bindung \"%1\" des Ports fehlt.").arg(port.binding);
        return std::nullopt;
    }
    ServiceDescription description;
    description.endpoint = resolveEndpoint(wsdlUrl, port.location, error);
    if (!description.endpoint.isValid())
        return std::nullopt;
    for (const BindingOperation& op : binding->operations) {
        const QString style = op.style.isEmpty() ? binding->style : op.style;
        if (style != QLatin1String("rpc")) {
            *error = QStringLiteral("Die Operation \"%1\" verlangt den Stil \"%2\"; unterstützt wird \"rpc\".")
                         .arg(op.operation.name, style);
            return std::nullopt;
        }
        if (!description.operations.contains(op.operation.name))
            description.operations.insert(op.operation.name, op.operation);
    }
    return description;
}

QByteArray soapRequest(const SoapOperation& operation, const QList<QPair<QString, QString>>& parameters)
{
    QByteArray bytes;
    QXmlStreamWriter w(&bytes);
    w.writeStartDocument();
    w.writeNamespace(kEnvelopeNs, QStringLiteral("SOAP-ENV"));
    w.writeNamespace(kXsdNs, QStringLiteral("xsd"));
    w.writeNamespace(kXsiNs, QStringLiteral("xsi"));
    if (operation.encoded)
        w.writeNamespace(kEncodingNs, QStringLiteral("SOAP-ENC"));
    w.writeStartElement(kEnvelopeNs, QStringLiteral("Envelope"));
    w.writeStartElement(kEnvelopeNs, QStringLiteral("Body"));
    if (operation.encoded)
        w.writeAttribute(kEnvelopeNs, QStringLiteral("encodingStyle"), kEncodingNs);
    const QString ns = operation.inputNamespace.isEmpty() ? kInterfaceNamespace : operation.inputNamespace;
    w.writeNamespace(ns, QStringLiteral("NS1"));
    w.writeStartElement(ns, operation.name);
    for (const auto& [name, value] : parameters) {
        w.writeStartElement(name);
        if (operation.encoded)
            w.writeAttribute(kXsiNs, QStringLiteral("type"), QStringLiteral("xsd:string"));
        // Characters XML cannot carry are left out rather than making the
        // envelope unreadable.
        QString text;
        text.reserve(value.size());
        for (const QChar c : value) {
            const char16_t u = c.unicode();
            if (u >= 0x20 || u == u'\t' || u == u'\n' || u == u'\r')
                if (u != 0xFFFE && u != 0xFFFF)
                    text.append(c);
        }
        w.writeCharacters(text);
        w.writeEndElement();
    }
    w.writeEndDocument();
    return bytes;
}

SoapReply readSoapReply(const QByteArray& bytes)
{
    QXmlStreamReader r(bytes);
    if (!enterRoot(r) || !is(r, kEnvelopeNs, QLatin1String("Envelope")))
        return {};
    SoapReply found;
    bool answered = false;
    bool bodySeen = false;
    while (r.readNextStartElement()) {
        if (bodySeen || !is(r, kEnvelopeNs, QLatin1String("Body"))) {
            r.skipCurrentElement();
            continue;
        }
        bodySeen = true;
        if (r.readNextStartElement()) {
            if (is(r, kEnvelopeNs, QLatin1String("Fault"))) {
                found.kind = SoapReply::Kind::Fault;
                answered = true;
                bool textTaken = false;
                while (r.readNextStartElement()) {
                    if (!textTaken && r.name() == QLatin1String("faultstring")) {
                        const ElementText text = readElementTextBounded(r, kMaxTextDepth);
                        if (text.tooDeep)
                            return {};
                        found.text = text.text;
                        textTaken = true;
                    } else {
                        r.skipCurrentElement();
                    }
                }
            } else if (r.readNextStartElement()) {
                // The response element's first child holds the result.
                found.kind = SoapReply::Kind::Result;
                const ElementText text = readElementTextBounded(r, kMaxTextDepth);
                if (text.tooDeep)
                    return {};
                found.text = text.text;
                answered = true;
                while (r.readNextStartElement())
                    r.skipCurrentElement();
            }
            // The rest of the body.
            while (r.readNextStartElement())
                r.skipCurrentElement();
        }
    }
    if (!finish(r) || !answered)
        return {};
    return found;
}

} // namespace bw
