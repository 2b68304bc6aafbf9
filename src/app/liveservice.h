// Where the live-results web service lives. The base address ends in the
// service's folder "/Webservice"; the live link appends its paths to it. A desk
// may point it elsewhere (a test service, a proxy) through the environment
// variable BRACKWELL_LIVE_URL or the key [Live] URL of the per-user settings file.
#pragma once

#include <QString>

namespace bw {

// The address used when nothing overrides it.
QString defaultLiveServiceUrl();

// The environment variable wins over the settings file, which wins over the
// default. An override without a path gets "/Webservice"; a trailing "/" is
// dropped, so the live link can append "/XML/...".
QString liveServiceUrl(const QString& settingsFile);

} // namespace bw
