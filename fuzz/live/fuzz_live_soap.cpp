// The readers of what the live service sends on arbitrary bytes: a reply
// envelope and a service description. Neither may crash; a description they
// accept must name an http(s) endpoint.
#include "live/soapmessages.h"

#include <QByteArray>
#include <QUrl>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const bw::SoapReply reply = bw::readSoapReply(bytes);
    if (reply.kind == bw::SoapReply::Kind::Broken && !reply.text.isEmpty())
        std::abort();

    QString error;
    const QUrl url(QStringLiteral("https://live.example.org/Webservice/XML/IServerInfo25.xml"));
    const std::optional<bw::ServiceDescription> description = bw::readServiceDescription(bytes, url, &error);
    if (description && description->endpoint.scheme() != QLatin1String("https"))
        std::abort();
    if (!description && error.isEmpty())
        std::abort();
    return 0;
}
