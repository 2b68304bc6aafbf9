// Where the live-results web service lives. The base address ends in the
// service's folder "/Webservice"; the live link appends its paths to it. A desk
// may point it elsewhere (a test service, a proxy) through the environment
// variable BRACKWELL_LIVE_URL or the key [Live] URL of the per-user settings file.
#pragma once

#include <QString>
#include <QStringList>

namespace bw {

// The address used when nothing overrides it.
QString defaultLiveServiceUrl();

// The environment variable wins over the settings file, which wins over the
// default. An override without a path gets "/Webservice"; a trailing "/" is
// dropped, so the live link can append "/XML/...".
QString liveServiceUrl(const QString& settingsFile);

// The servers besides the service's own that its description may send the
// live link's calls to: the key [Live] Endpunkte of the per-user settings file,
// addresses such as "https://soap.example.org:8443" separated by commas or
// blanks. Nothing else may widen the list: the calls carry the login.
QStringList liveTrustedEndpoints(const QString& settingsFile);

} // namespace bw
