// Reads an xlsx file back with openpyxl (read_xlsx.py under Debian's own
// /usr/bin/python3, which sees the python3-openpyxl package even when another
// python3 comes first on the PATH) and returns what it printed.
#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>

#include <optional>

namespace bw::test {

// The first sheet of the file as read_xlsx.py describes it; nothing (with the
// reason) when the reader failed.
inline std::optional<QJsonObject> readXlsxSheet(const QString& path, QString* error)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {qEnvironmentVariable("BRACKWELL_SOURCE_DIR") + QStringLiteral("/tests/output/read_xlsx.py"), path});
    if (!python.waitForFinished(60000) || python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0) {
        *error = python.errorString() + QLatin1Char(' ') + QString::fromUtf8(python.readAllStandardError());
        return std::nullopt;
    }
    const QJsonArray sheets = QJsonDocument::fromJson(python.readAllStandardOutput()).object().value(QStringLiteral("sheets")).toArray();
    if (sheets.isEmpty()) {
        *error = QStringLiteral("no sheet");
        return std::nullopt;
    }
    return sheets.first().toObject();
}

} // namespace bw::test
