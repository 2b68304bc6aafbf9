// SOAP 1.1 as the live-results client speaks it, without any networking: reading
// the service description (WSDL 1.1 with the SOAP binding), writing a request
// envelope in the binding's style, and reading a reply envelope.
//
// Only the rpc style is spoken, in both of its uses: "encoded" (the body carries
// the SOAP encoding style and every part its xsi:type) and "literal" (plain
// elements). The operation element is qualified with the namespace the binding
// gives for the operation's input.
//
// Both readers take bytes from the network and never trust them: the document
// must be well-formed XML without a document type declaration (which SOAP
// forbids and which could declare entities), the parts they look for must stand
// where SOAP puts them, and any failure is one German message. The sizes are
// bounded by the client before the bytes get here.
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QUrl>

#include <optional>

namespace bw {

inline const QString kServiceName = QStringLiteral("IServerInfoservice");
inline const QString kPortName = QStringLiteral("IServerInfoPort");
inline const QString kInterfaceNamespace = QStringLiteral("urn:ServerInfoIntf-IServerInfo");

// How one operation is called, as the binding says.
struct SoapOperation {
    QString name;
    QString soapAction;
    bool encoded = false;   // use="encoded"
    QString inputNamespace; // namespace of the operation element
    bool operator==(const SoapOperation&) const = default;
};

struct ServiceDescription {
    QUrl endpoint;
    QMap<QString, SoapOperation> operations; // by name

    const SoapOperation* operation(const QString& name) const;
};

// Reads the service description fetched from `wsdlUrl`: the port kPortName of
// the service kServiceName, its address and the operations of its binding. The
// address may be relative to `wsdlUrl`; it must be http or https, and https
// when the description itself came over https. Returns the description, or
// nothing with the reason in `error`.
std::optional<ServiceDescription> readServiceDescription(const QByteArray& bytes, const QUrl& wsdlUrl,
                                                         QString* error);

// The endpoint an address of the description names, or an invalid QUrl with the
// reason: resolved against the description's own address, http(s) only, never
// from https down to http.
QUrl resolveEndpoint(const QUrl& wsdlUrl, const QString& location, QString* error);

// A request envelope (UTF-8) calling `operation` with the parameters in order.
QByteArray soapRequest(const SoapOperation& operation, const QList<QPair<QString, QString>>& parameters);

struct SoapReply {
    enum class Kind { Result, Fault, Broken };
    Kind kind = Kind::Broken;
    QString text; // the result, or the fault's faultstring
};

// Reads a reply envelope: the text of the first child of the response element
// (the first element in the body), or a Fault's faultstring; Broken for
// anything that is not such an envelope, and for markup nested deeper than a
// few levels inside the result or the faultstring.
SoapReply readSoapReply(const QByteArray& bytes);

} // namespace bw
