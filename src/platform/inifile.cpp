#include "platform/inifile.h"

#include "platform/cp1252.h"

#include <QFile>
#include <QSaveFile>

namespace bw {

IniFile::IniFile(QString path, Encoding encoding) : m_path(std::move(path)), m_encoding(encoding) {}

bool IniFile::load(QString* error)
{
    m_lines.clear();
    m_bom = false;
    QFile file(m_path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    parse(file.readAll());
    return true;
}

void IniFile::parse(const QByteArray& input)
{
    m_lines.clear();
    QByteArray bytes = input;
    m_bom = bytes.startsWith("\xEF\xBB\xBF");
    if (m_bom)
        bytes.remove(0, 3);
    const QString text = (m_encoding == Encoding::Cp1252 && !m_bom) ? cp1252::decode(bytes) : QString::fromUtf8(bytes);
    QStringList rows = text.split(QLatin1Char('\n'));
    if (!rows.isEmpty() && rows.last().isEmpty())
        rows.removeLast();
    for (QString row : rows) {
        if (row.endsWith(QLatin1Char('\r')))
            row.chop(1);
        Line line;
        line.raw = row;
        const QString trimmed = row.trimmed();
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            line.type = Line::Type::Section;
            line.name = trimmed.mid(1, trimmed.size() - 2).trimmed();
        } else if (!trimmed.startsWith(QLatin1Char(';')) && trimmed.contains(QLatin1Char('='))) {
            const int eq = trimmed.indexOf(QLatin1Char('='));
            line.type = Line::Type::Entry;
            line.name = trimmed.left(eq).trimmed();
            line.value = trimmed.mid(eq + 1).trimmed();
            // A value in one pair of enclosing quotes is read without them, so a
            // value can keep its leading and trailing blanks.
            if (line.value.size() >= 2
                && ((line.value.startsWith(QLatin1Char('"')) && line.value.endsWith(QLatin1Char('"')))
                    || (line.value.startsWith(QLatin1Char('\'')) && line.value.endsWith(QLatin1Char('\'')))))
                line.value = line.value.mid(1, line.value.size() - 2);
        }
        m_lines.push_back(std::move(line));
    }
}

QByteArray IniFile::serialize() const
{
    QString text;
    for (const Line& line : m_lines) {
        text += line.raw;
        text += QLatin1String("\r\n");
    }
    if (m_encoding == Encoding::Cp1252 && !m_bom)
        return cp1252::encode(text);
    QByteArray out = m_bom ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    return out + text.toUtf8();
}

bool IniFile::save(QString* error) const
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(serialize()) < 0 || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

int IniFile::findSection(const QString& section) const
{
    for (size_t i = 0; i < m_lines.size(); ++i)
        if (m_lines[i].type == Line::Type::Section && m_lines[i].name.compare(section, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

int IniFile::sectionEnd(int sectionLine) const
{
    size_t i = size_t(sectionLine) + 1;
    while (i < m_lines.size() && m_lines[i].type != Line::Type::Section)
        ++i;
    return int(i);
}

int IniFile::findEntry(const QString& section, const QString& key) const
{
    const int s = findSection(section);
    if (s < 0)
        return -1;
    const int end = sectionEnd(s);
    for (int i = s + 1; i < end; ++i)
        if (m_lines[size_t(i)].type == Line::Type::Entry && m_lines[size_t(i)].name.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const
{
    const int i = findEntry(section, key);
    return i < 0 ? def : m_lines[size_t(i)].value;
}

int IniFile::readInteger(const QString& section, const QString& key, int def) const
{
    bool ok = false;
    const QString text = readString(section, key);
    const int value = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? text.mid(2).toInt(&ok, 16) : text.toInt(&ok);
    return ok ? value : def;
}

bool IniFile::readBool(const QString& section, const QString& key, bool def) const
{
    return readInteger(section, key, def ? 1 : 0) != 0;
}

bool IniFile::hasSection(const QString& section) const
{
    return findSection(section) >= 0;
}

bool IniFile::hasKey(const QString& section, const QString& key) const
{
    return findEntry(section, key) >= 0;
}

QStringList IniFile::sections() const
{
    QStringList out;
    for (const Line& line : m_lines)
        if (line.type == Line::Type::Section)
            out << line.name;
    return out;
}

QStringList IniFile::keys(const QString& section) const
{
    QStringList out;
    const int s = findSection(section);
    if (s < 0)
        return out;
    const int end = sectionEnd(s);
    for (int i = s + 1; i < end; ++i)
        if (m_lines[size_t(i)].type == Line::Type::Entry)
            out << m_lines[size_t(i)].name;
    return out;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    const int i = findEntry(section, key);
    if (i >= 0) {
        Line& line = m_lines[size_t(i)];
        line.value = value;
        line.raw = line.name + QLatin1Char('=') + value;
        return;
    }
    Line entry;
    entry.type = Line::Type::Entry;
    entry.name = key;
    entry.value = value;
    entry.raw = key + QLatin1Char('=') + value;

    int s = findSection(section);
    if (s < 0) {
        Line header;
        header.type = Line::Type::Section;
        header.name = section;
        header.raw = QLatin1Char('[') + section + QLatin1Char(']');
        m_lines.push_back(std::move(header));
        m_lines.push_back(std::move(entry));
        return;
    }
    // After the section's last entry, so that trailing blank lines stay between sections.
    int insertAt = s + 1;
    const int end = sectionEnd(s);
    for (int j = s + 1; j < end; ++j)
        if (m_lines[size_t(j)].type == Line::Type::Entry)
            insertAt = j + 1;
    m_lines.insert(m_lines.begin() + insertAt, std::move(entry));
}

void IniFile::writeInteger(const QString& section, const QString& key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::deleteKey(const QString& section, const QString& key)
{
    const int i = findEntry(section, key);
    if (i >= 0)
        m_lines.erase(m_lines.begin() + i);
}

void IniFile::eraseSection(const QString& section)
{
    const int s = findSection(section);
    if (s >= 0)
        m_lines.erase(m_lines.begin() + s, m_lines.begin() + sectionEnd(s));
}

} // namespace bw
