// A saved printer set-up ("printerstandard.ini", "printerzettel.ini"): which
// printer to use and its settings. The file is binary despite its name, little-
// endian: a fixed record of 104 bytes and a block of settings after it.
//
//   offset   0  33 bytes  device name, Windows-1252, zero-terminated (at most 32 bytes)
//   offset  33  33 bytes  driver name, the same way ("CUPS")
//   offset  66  33 bytes  port name, the same way (empty)
//   offset  99   1 byte   reserved, 0 when written, ignored when read
//   offset 100   4 bytes  signed length N of the block
//   offset 104   N bytes  the block
//
// Our block starts with the tag "BRKQ" and a 32-bit version, followed by UTF-8
// lines "key=value": the printer's full name (the device field holds at most 32
// bytes of it), the page size, orientation, margins, duplex, copies, colour
// mode, paper source and resolution. A block without our tag was written by
// another program for another printing system; of such a file only the device
// name is used.
//
// The format knows nothing of a printer object: the settings are plain values,
// which the printer context (platformui/printercontext.h) reads from and hands
// to the printer.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace bw {

// The settings of a printer as a set-up records them.
struct PrinterSettings {
    QString printerName;
    int pageSizeId = -1; // the platform's page size id (A4, Letter ...); -1 custom or unknown
    double pageWidthMm = 0; // the page in portrait, millimetres
    double pageHeightMm = 0;
    bool landscape = false;
    double marginLeftMm = 0;
    double marginTopMm = 0;
    double marginRightMm = 0;
    double marginBottomMm = 0;
    int duplex = 0; // 0 none, 1 automatic, 2 long side, 3 short side
    int copies = 1;
    bool colour = true;
    int paperSource = 0; // the platform's paper source id
    int resolution = 0;  // dots per inch; 0 the printer's default
    bool operator==(const PrinterSettings&) const = default;
};

// A set-up as read from a file.
struct PrinterSetup {
    QString device; // the device field
    QString driver;
    QString port;
    // True for our own block: every setting is known. False for a block of
    // another program: settings holds the device name and defaults only.
    bool complete = false;
    PrinterSettings settings;
    bool operator==(const PrinterSetup&) const = default;
};

namespace PrinterSetupFile {

// The two set-ups of the data folder: the standard printer and the printer of
// the umpire sheets.
inline const QString kStandard = QStringLiteral("printerstandard.ini");
inline const QString kUmpireSheets = QStringLiteral("printerzettel.ini");

inline constexpr int kRecordSize = 104;
inline constexpr int kNameField = 33;
// A block larger than this is taken for a damaged file.
inline constexpr qint32 kMaxBlock = 1024 * 1024;

// The bytes of a file holding the settings.
QByteArray encode(const PrinterSettings& settings);
// The set-up in the bytes of a file; `fileName` names the file in the error.
// Throws AppError ("Die Druckereinstellungen in <Datei> sind beschädigt.") for
// a file shorter than its record and block, or a block length below 0 or
// above kMaxBlock.
PrinterSetup decode(const QByteArray& bytes, const QString& fileName);

// Writes the file, replacing it only once it is complete (a failure keeps the
// old file). Throws AppError.
void save(const QString& path, const PrinterSettings& settings);
// Reads the file; nothing when it does not exist. Throws AppError when it is
// damaged or cannot be read.
std::optional<PrinterSetup> load(const QString& path);

// The message for a damaged file.
QString damagedMessage(const QString& path);

} // namespace PrinterSetupFile

} // namespace bw
