// The per-user settings file of the desk ("brackwell.ini" in the user's
// configuration folder, or the file named by BRACKWELL_SETTINGS). It keeps what
// belongs to the person at the desk rather than to a tournament: the database
// servers chosen before and the live-service address.
#pragma once

#include <QString>

namespace bw {

QString userSettingsFile();
// The folder of that file, which also keeps the live link's "Data.ini".
QString userSettingsFolder();

} // namespace bw
