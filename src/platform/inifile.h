// Ini files: "[Section]" lines, "Key=Value" lines, CRLF line ends. Section and
// key names compare case-insensitively, so a file edited by hand still reads.
// Updating a key rewrites only that line; comments, blank lines, unknown lines
// and the order of keys stay as they were. Files that other programs exchange
// with us are written in Windows-1252, the program's own ones in UTF-8.
#pragma once

#include <QString>
#include <QStringList>
#include <QByteArray>
#include <vector>

namespace bw {

class IniFile {
public:
    enum class Encoding { Utf8, Cp1252 };

    explicit IniFile(QString path = QString(), Encoding encoding = Encoding::Utf8);

    // Reads the file; a missing file gives an empty ini and true. False (with the
    // reason) only when an existing file cannot be read.
    bool load(QString* error = nullptr);
    // Writes the whole file atomically (a failed write leaves the old file).
    bool save(QString* error = nullptr) const;

    void parse(const QByteArray& bytes);
    QByteArray serialize() const;

    const QString& path() const { return m_path; }

    QString readString(const QString& section, const QString& key, const QString& def = QString()) const;
    int readInteger(const QString& section, const QString& key, int def) const;
    bool readBool(const QString& section, const QString& key, bool def) const;
    bool hasSection(const QString& section) const;
    bool hasKey(const QString& section, const QString& key) const;
    QStringList sections() const;
    QStringList keys(const QString& section) const;

    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value);
    void deleteKey(const QString& section, const QString& key);
    void eraseSection(const QString& section);

private:
    struct Line {
        enum class Type { Other, Section, Entry } type = Type::Other;
        QString raw;     // the line as read or written, without line end
        QString name;    // section name, or key of an entry
        QString value;   // value of an entry
    };

    // Index of the section line, or -1; the section's lines run to the next section line.
    int findSection(const QString& section) const;
    int sectionEnd(int sectionLine) const;
    int findEntry(const QString& section, const QString& key) const;

    QString m_path;
    Encoding m_encoding;
    bool m_bom = false;
    std::vector<Line> m_lines;
};

} // namespace bw
