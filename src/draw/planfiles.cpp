#include "draw/planfiles.h"

#include "platform/apperror.h"
#include "platform/cp1252.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <limits>

namespace bw {

namespace {

bool isSeparator(QChar c)
{
    return c.unicode() <= 0x20; // blanks and control characters
}

// Lines of one device, read on demand, with their numbers for messages.
class LineReader {
public:
    LineReader(QIODevice& device, QString name) : m_device(device), m_name(std::move(name)) {}

    std::optional<QString> next()
    {
        if (m_device.atEnd())
            return std::nullopt;
        QByteArray bytes = m_device.readLine();
        if (bytes.endsWith('\n'))
            bytes.chop(1);
        if (bytes.endsWith('\r'))
            bytes.chop(1);
        ++m_number;
        return cp1252::decode(bytes);
    }

    // Reads up to and including the block's key line; false when there is none.
    bool seekKey(int size)
    {
        const QString key = QString::number(size) + QLatin1Char(':');
        while (const auto line = next()) {
            if (line->contains(key))
                return true;
        }
        return false;
    }

    QString nextRequired(const QString& what)
    {
        if (auto line = next())
            return *line;
        fail(QStringLiteral("Die Datei endet vor %1.").arg(what), m_number + 1);
    }

    [[noreturn]] void fail(const QString& detail, int lineNumber = -1) const
    {
        throw AppError(QStringLiteral("Fehler in der Datei \"%1\", Zeile %2: %3")
                           .arg(m_name)
                           .arg(lineNumber < 0 ? m_number : lineNumber)
                           .arg(detail));
    }

    int number(const QStringList& items, int index, const QString& what) const
    {
        if (index >= items.size())
            fail(QStringLiteral("Es fehlt %1.").arg(what));
        const auto value = parsePlanNumber(items[index]);
        if (!value)
            fail(QStringLiteral("\"%1\" (%2) ist keine ganze Zahl.").arg(items[index], what));
        return *value;
    }

private:
    QIODevice& m_device;
    QString m_name;
    int m_number = 0;
};

template <typename Result, typename Read>
Result readFile(const QString& path, int size, Read read)
{
    QFile file(path);
    if (!file.exists()) {
        Result missing;
        missing.lookup = PlanLookup::FileMissing;
        return missing;
    }
    const QString name = QFileInfo(path).fileName();
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2").arg(name, file.errorString()));
    return read(file, name, size);
}

QString field(int index)
{
    return QStringLiteral("Feld %1").arg(index);
}

} // namespace

QStringList splitPlanLine(QStringView line, QChar delimiter)
{
    QStringList items;
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (i < n && isSeparator(line[i]))
        ++i;
    while (i < n) {
        QString item;
        if (line[i] == QLatin1Char('"')) {
            // A quoted item may hold delimiters and blanks; "" stands for one quote.
            ++i;
            while (i < n) {
                if (line[i] == QLatin1Char('"')) {
                    if (i + 1 < n && line[i + 1] == QLatin1Char('"')) {
                        item += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += line[i++];
            }
        } else {
            const qsizetype start = i;
            while (i < n && !isSeparator(line[i]) && line[i] != delimiter)
                ++i;
            item = line.sliced(start, i - start).toString();
        }
        items.append(item);
        while (i < n && isSeparator(line[i]))
            ++i;
        if (i < n && line[i] == delimiter) {
            ++i;
            while (i < n && isSeparator(line[i]))
                ++i;
            if (i == n) // a delimiter at the end of the line (blanks after it or not)
                items.append(QString());
        }
    }
    return items;
}

std::optional<int> parsePlanNumber(QStringView text)
{
    const bool negative = text.startsWith(QLatin1Char('-'));
    const QStringView digits = negative ? text.sliced(1) : text;
    if (digits.isEmpty() || digits.size() > 10)
        return std::nullopt;
    for (QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    if (digits[0] == QLatin1Char('0') && (digits.size() > 1 || negative))
        return std::nullopt;
    const qint64 value = digits.toLongLong() * (negative ? -1 : 1);
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

GroupOrder readGroupOrder(const QString& path, int size)
{
    return readFile<GroupOrder>(path, size, [](QIODevice& d, const QString& name, int n) {
        return readGroupOrder(d, name, n);
    });
}

GroupOrder readGroupOrder(QIODevice& device, const QString& name, int size)
{
    LineReader reader(device, name);
    GroupOrder order;
    if (!reader.seekKey(size))
        return order;
    order.lookup = PlanLookup::Found;
    const QString line = reader.nextRequired(QStringLiteral("der Spielfolge für %1 Teilnehmer").arg(size));
    const QStringList items = splitPlanLine(line, QLatin1Char(';'));
    // An empty order would leave a group without matches, as a missing block would.
    if (items.isEmpty() && size >= 2)
        reader.fail(QStringLiteral("Die Spielfolge für %1 Teilnehmer ist leer.").arg(size));
    for (const QString& item : items) {
        // "a-b": a is the text before the first "-", b everything after it.
        const qsizetype dash = item.indexOf(QLatin1Char('-'));
        const auto first = dash < 0 ? std::nullopt : parsePlanNumber(QStringView(item).first(dash));
        const auto second = dash < 0 ? std::nullopt : parsePlanNumber(QStringView(item).sliced(dash + 1));
        if (!first || !second)
            reader.fail(QStringLiteral("\"%1\" ist keine Paarung zweier Plätze.").arg(item));
        // A place beyond the group would name a player the group does not have.
        if (*first < 1 || *first > size || *second < 1 || *second > size || *first == *second)
            reader.fail(QStringLiteral("Die Paarung \"%1\" passt nicht zu einer Gruppe mit %2 Teilnehmern.")
                            .arg(item)
                            .arg(size));
        order.pairings.append({*first, *second});
    }
    return order;
}

DoubleKoPlan readDoubleKoPlan(const QString& path, int size)
{
    return readFile<DoubleKoPlan>(path, size, [](QIODevice& d, const QString& name, int n) {
        return readDoubleKoPlan(d, name, n);
    });
}

DoubleKoPlan readDoubleKoPlan(QIODevice& device, const QString& name, int size)
{
    LineReader reader(device, name);
    DoubleKoPlan plan;
    if (!reader.seekKey(size))
        return plan;
    plan.lookup = PlanLookup::Found;

    const QStringList header = splitPlanLine(reader.nextRequired(QStringLiteral("der Kopfzeile")), QLatin1Char(','));
    const int count = reader.number(header, 0, QStringLiteral("die Anzahl der Zeilen"));
    plan.columns = reader.number(header, 1, QStringLiteral("die Spaltenzahl"));
    plan.rows = reader.number(header, 2, QStringLiteral("die Anzahl der Rasterzeilen"));
    if (count < 0 || plan.columns < 0 || plan.rows < 0)
        reader.fail(QStringLiteral("Die Kopfzeile enthält eine negative Zahl."));

    for (int i = 0; i < count; ++i) {
        const QStringList items =
            splitPlanLine(reader.nextRequired(QStringLiteral("der %1. von %2 Zeilen").arg(i + 1).arg(count)),
                          QLatin1Char(','));
        DoubleKoLine line;
        line.f0 = reader.number(items, 0, field(0));
        line.f1 = reader.number(items, 1, field(1));
        if (line.isLabel()) {
            // The caption names the winner only when f3 is written "1".
            if (items.size() <= 3)
                reader.fail(QStringLiteral("Es fehlt %1.").arg(field(3)));
            line.f3 = items[3] == QLatin1String("1") ? 1 : 0;
        } else {
            line.f2 = reader.number(items, 2, field(2));
            line.f3 = reader.number(items, 3, field(3));
            if (!line.isFirstRound())
                line.f4 = reader.number(items, 4, field(4));
        }
        line.f6 = reader.number(items, 6, field(6));
        line.f7 = reader.number(items, 7, field(7));
        line.f8 = reader.number(items, 8, field(8));
        if (!line.isLabel())
            line.f9 = reader.number(items, 9, field(9));
        plan.lines.append(line);
    }
    return plan;
}

QStringList doubleKoRuleViolations(const DoubleKoPlan& plan, int size)
{
    QStringList faults;
    QSet<int> matches;
    qint64 expected = 1; // beyond int after a match numbered 2147483647
    for (const DoubleKoLine& line : plan.lines) {
        if (line.isLabel())
            continue;
        if (line.f0 != expected)
            faults << QStringLiteral("Spiel %1 steht, wo Spiel %2 stehen müsste.").arg(line.f0).arg(expected);
        expected = qint64(line.f0) + 1;
        matches.insert(line.f0);
        const bool firstRound = line.f0 >= 1 && line.f0 <= size / 2;
        if (firstRound && !(line.isFirstRound() && line.f1 == -1 && line.f2 == -1))
            faults << QStringLiteral("Spiel %1 ist kein Spiel der ersten Runde.").arg(line.f0);
        if (!firstRound && line.isFirstRound())
            faults << QStringLiteral("Spiel %1 ist als Spiel der ersten Runde bezeichnet.").arg(line.f0);
        if (!firstRound && line.f1 == -1 && line.f2 == -1)
            faults << QStringLiteral("Spiel %1 hat keine Herkunft.").arg(line.f0);
    }
    for (int f0 = 1; f0 <= size / 2; ++f0) {
        if (!matches.contains(f0))
            faults << QStringLiteral("Das Spiel %1 der ersten Runde fehlt.").arg(f0);
    }
    for (const DoubleKoLine& line : plan.lines) {
        if (line.isLabel() || line.isFirstRound() || (line.f1 == -1 && line.f2 == -1))
            continue;
        for (int source : {line.f1, line.f2}) {
            if (!matches.contains(source))
                faults << QStringLiteral("Spiel %1 bezieht sich auf das fehlende Spiel %2.").arg(line.f0).arg(source);
        }
    }
    for (const DoubleKoLine& line : plan.lines) {
        if (line.isLabel() && !matches.contains(line.f1))
            faults << QStringLiteral("Eine Beschriftung bezieht sich auf das fehlende Spiel %1.").arg(line.f1);
    }
    return faults;
}

} // namespace bw
