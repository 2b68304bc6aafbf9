// The remembered login of the live link: "Data.ini" in the per-user settings
// folder, section "Brackwell", keys "Benutzer" and "Passwort". The password is
// kept as typed, so the file is written readable by its owner only (0600), and
// never for a moment with wider rights: the permissions are set on the new file
// before it replaces the old one.
#pragma once

#include <QString>

namespace bw {

struct SavedLogin {
    QString benutzer;
    QString passwort;

    // Whether anything is remembered.
    bool any() const { return !benutzer.isEmpty() || !passwort.isEmpty(); }
};

// "Data.ini" in the given folder.
QString savedLoginFile(const QString& settingsFolder);

// The remembered login; empty when the file or a key is missing. Throws
// AppError when the file exists but cannot be read.
SavedLogin readSavedLogin(const QString& path);

// Writes both keys (other lines of the file stay), creating the folder when
// needed. Throws AppError when that fails.
void writeSavedLogin(const QString& path, const SavedLogin& login);

} // namespace bw
