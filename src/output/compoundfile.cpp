#include "output/compoundfile.h"

#include <QtEndian>

#include <algorithm>
#include <utility>
#include <vector>

namespace bw {

namespace {

constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kNoEntry = 0xFFFFFFFF;
constexpr int kHeaderFatEntries = 109;
constexpr qsizetype kEntrySize = 128;
constexpr quint64 kShortStreamCutoff = 4096;
constexpr int kShortSectorSize = 64;

enum EntryType : quint8 { Unused = 0, Storage = 1, Stream = 2, Root = 5 };

class Damage {
public:
    explicit Damage(QString what) : what(std::move(what)) {}
    QString what;
};

class CompoundFile {
public:
    explicit CompoundFile(const QByteArray& bytes) : m_bytes(bytes) {}

    void check()
    {
        readHeader();
        readAllocationTable();
        readDirectory();
        readShortAllocation();
        checkEntries();
    }

private:
    quint32 u32(qsizetype at) const { return qFromLittleEndian<quint32>(m_bytes.constData() + at); }
    quint16 u16(qsizetype at) const { return qFromLittleEndian<quint16>(m_bytes.constData() + at); }
    quint64 u64(qsizetype at) const { return qFromLittleEndian<quint64>(m_bytes.constData() + at); }

    // A whole sector of the file (a short last one filled up with zeros).
    QByteArray sector(quint32 number) const
    {
        QByteArray data = m_bytes.mid((qsizetype(number) + 1) * m_sectorSize, m_sectorSize);
        data.resize(m_sectorSize, '\0');
        return data;
    }

    void readHeader()
    {
        if (m_bytes.size() < 512)
            throw Damage(QStringLiteral("sie ist kürzer als der Kopf einer Verbunddatei"));
        const int shift = u16(30);
        if (u16(28) != 0xFFFE || (shift != 9 && shift != 12) || u16(32) != 6 || u32(56) != kShortStreamCutoff)
            throw Damage(QStringLiteral("der Kopf der Verbunddatei ist ungültig"));
        m_version3 = shift == 9;
        m_sectorSize = qsizetype(1) << shift;
        if (m_bytes.size() < m_sectorSize)
            throw Damage(QStringLiteral("sie ist kürzer als der Kopf einer Verbunddatei"));
        m_sectors = quint32((m_bytes.size() - m_sectorSize + m_sectorSize - 1) / m_sectorSize);
    }

    // The sectors of the chain that starts at `start` in `table` (whose entries
    // name sectors below `limit`). A sector belongs to one chain only, so no
    // file makes the chains together longer than the table.
    std::vector<quint32> chain(const std::vector<quint32>& table, quint32 limit, quint32 start,
                               std::vector<quint32>& owners)
    {
        ++m_chainNumber;
        std::vector<quint32> sectors;
        for (quint32 s = start; s != kEndOfChain; s = table[s]) {
            if (s >= table.size() || s >= limit)
                throw Damage(QStringLiteral("eine Sektorkette zeigt auf einen Sektor, den es nicht gibt"));
            if (owners[s] == m_chainNumber)
                throw Damage(QStringLiteral("eine Sektorkette läuft im Kreis"));
            if (owners[s] != 0)
                throw Damage(QStringLiteral("zwei Sektorketten teilen sich einen Sektor"));
            owners[s] = m_chainNumber;
            sectors.push_back(s);
        }
        return sectors;
    }

    void readAllocationTable()
    {
        const quint32 fatSectors = u32(44);
        const quint32 difatSectors = u32(72);
        if (fatSectors > m_sectors || difatSectors > m_sectors)
            throw Damage(QStringLiteral("der Kopf nennt mehr Sektoren, als die Datei hat"));
        std::vector<quint32> where;
        for (int i = 0; i < kHeaderFatEntries && where.size() < fatSectors; ++i)
            where.push_back(u32(76 + 4 * i));
        // The rest of the list in its own chain of sectors, the last entry of each
        // naming the next.
        std::vector<bool> seen(m_sectors, false);
        quint32 next = u32(68);
        for (quint32 k = 0; k < difatSectors && where.size() < fatSectors; ++k) {
            if (next >= m_sectors || seen[next])
                throw Damage(QStringLiteral("die Liste der Zuordnungstabellen ist fehlerhaft"));
            seen[next] = true;
            const QByteArray data = sector(next);
            const int perSector = int(m_sectorSize / 4) - 1;
            for (int i = 0; i < perSector && where.size() < fatSectors; ++i)
                where.push_back(qFromLittleEndian<quint32>(data.constData() + 4 * i));
            next = qFromLittleEndian<quint32>(data.constData() + 4 * perSector);
        }
        if (where.size() < fatSectors)
            throw Damage(QStringLiteral("die Liste der Zuordnungstabellen ist unvollständig"));
        // Entries past the file's last sector would name nothing: the table is
        // kept as long as the file is.
        for (const quint32 s : where) {
            if (s >= m_sectors)
                throw Damage(QStringLiteral("eine Zuordnungstabelle liegt außerhalb der Datei"));
            const QByteArray data = sector(s);
            for (qsizetype i = 0; i < m_sectorSize / 4 && m_fat.size() < m_sectors; ++i)
                m_fat.push_back(qFromLittleEndian<quint32>(data.constData() + 4 * i));
        }
        m_owners.assign(m_fat.size(), 0);
    }

    void readDirectory()
    {
        for (const quint32 s : chain(m_fat, m_sectors, u32(48), m_owners))
            m_directory += sector(s);
        m_entries = quint32(m_directory.size() / kEntrySize);
        if (m_entries == 0 || quint8(m_directory[66]) != Root)
            throw Damage(QStringLiteral("der erste Verzeichniseintrag ist nicht die Wurzel"));
        for (quint32 i = 0; i < m_entries; ++i) {
            const char* entry = m_directory.constData() + qsizetype(i) * kEntrySize;
            const quint16 nameBytes = qFromLittleEndian<quint16>(entry + 64);
            const quint8 type = quint8(entry[66]);
            if (nameBytes > 64 || nameBytes % 2 != 0)
                throw Damage(QStringLiteral("ein Verzeichniseintrag nennt einen Namen von %1 Bytes").arg(nameBytes));
            if (type != Unused && type != Storage && type != Stream && type != Root)
                throw Damage(QStringLiteral("ein Verzeichniseintrag hat den unbekannten Typ %1").arg(type));
            if (type == Unused)
                continue;
            for (const int at : {68, 72, 76}) {
                const quint32 other = qFromLittleEndian<quint32>(entry + at);
                if (other != kNoEntry && other >= m_entries)
                    throw Damage(QStringLiteral("ein Verzeichniseintrag verweist auf einen Eintrag, den es nicht gibt"));
            }
        }
    }

    quint32 entryStart(quint32 i) const { return qFromLittleEndian<quint32>(m_directory.constData() + i * kEntrySize + 116); }
    quint64 entrySize(quint32 i) const
    {
        const quint64 size = qFromLittleEndian<quint64>(m_directory.constData() + i * kEntrySize + 120);
        // Version 3 files may hold anything in the upper half.
        return m_version3 ? size & 0xFFFFFFFFu : size;
    }

    static void checkLength(std::size_t sectors, qsizetype sectorSize, quint64 size)
    {
        if (quint64(sectors) * quint64(sectorSize) < size)
            throw Damage(QStringLiteral("ein Datenstrom ist länger als seine Sektorkette"));
    }

    void readShortAllocation()
    {
        // The short streams live in the root's stream, allocated by the short table.
        const std::vector<quint32> shortStream = chain(m_fat, m_sectors, entryStart(0), m_owners);
        checkLength(shortStream.size(), m_sectorSize, entrySize(0));
        m_shortSectors = quint32(std::min<quint64>(quint64(shortStream.size()) * (m_sectorSize / kShortSectorSize),
                                                   0xFFFFFFFFu));
        const quint32 start = u32(60);
        if (u32(64) == 0 && (start == kEndOfChain || start == kNoEntry))
            return;
        for (const quint32 s : chain(m_fat, m_sectors, start, m_owners)) {
            const QByteArray data = sector(s);
            for (qsizetype i = 0; i < m_sectorSize / 4; ++i)
                m_shortFat.push_back(qFromLittleEndian<quint32>(data.constData() + 4 * i));
        }
        m_shortOwners.assign(m_shortFat.size(), 0);
    }

    void checkEntries()
    {
        for (quint32 i = 1; i < m_entries; ++i) {
            if (quint8(m_directory[qsizetype(i) * kEntrySize + 66]) != Stream)
                continue;
            const quint64 size = entrySize(i);
            if (size == 0)
                continue;
            if (size < kShortStreamCutoff)
                checkLength(chain(m_shortFat, m_shortSectors, entryStart(i), m_shortOwners).size(), kShortSectorSize,
                            size);
            else
                checkLength(chain(m_fat, m_sectors, entryStart(i), m_owners).size(), m_sectorSize, size);
        }
    }

    const QByteArray& m_bytes;
    bool m_version3 = true;
    qsizetype m_sectorSize = 512;
    quint32 m_sectors = 0;
    std::vector<quint32> m_fat;
    std::vector<quint32> m_owners;
    QByteArray m_directory;
    quint32 m_entries = 0;
    std::vector<quint32> m_shortFat;
    std::vector<quint32> m_shortOwners;
    quint32 m_shortSectors = 0;
    quint32 m_chainNumber = 0;
};

} // namespace

std::optional<QString> compoundFileDamage(const QByteArray& bytes)
{
    try {
        CompoundFile(bytes).check();
    } catch (const Damage& damage) {
        return damage.what;
    }
    return std::nullopt;
}

} // namespace bw
