#include "plans/boardmodel.h"

#include "data/classkind.h"

#include <algorithm>
#include <array>

namespace bw {

namespace {

struct NamedColour {
    const char* name;
    QRgb rgb;
};

constexpr std::array<NamedColour, 20> kColours{{
    {"clBlack", 0x000000},     {"clMaroon", 0x800000}, {"clGreen", 0x008000},    {"clOlive", 0x808000},
    {"clNavy", 0x000080},      {"clPurple", 0x800080}, {"clTeal", 0x008080},     {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},    {"clRed", 0xFF0000},    {"clLime", 0x00FF00},     {"clYellow", 0xFFFF00},
    {"clBlue", 0x0000FF},      {"clFuchsia", 0xFF00FF}, {"clAqua", 0x00FFFF},    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xA6CAF0}, {"clCream", 0xFFFBF0}, {"clMedGray", 0xA0A0A4},
}};

bool isTableCell(int row, int column, int columns)
{
    return row >= 1 && row <= kLastBoardRow && column >= 1 && column < columns;
}

} // namespace

const QStringList& boardColourNames()
{
    static const QStringList names = [] {
        QStringList list;
        for (const NamedColour& c : kColours)
            list.append(QString::fromLatin1(c.name));
        return list;
    }();
    return names;
}

QColor boardColour(const QString& name)
{
    for (const NamedColour& c : kColours)
        if (name == QLatin1String(c.name))
            return QColor::fromRgb(c.rgb);
    return boardColour(kFallbackColour);
}

int boardRow(const QTime& time)
{
    return time.hour() * 6 + time.minute() / 10;
}

QTime rowTime(int row)
{
    return QTime(row / 6, row % 6 * 10);
}

QString rowLabel(int row)
{
    return rowTime(row).toString(QStringLiteral("hh:mm"));
}

QString classDisplayText(const QString& kbezeichnung, int system)
{
    const std::optional<ClassKind> kind = classKindOf(system);
    return kind ? kbezeichnung + QStringLiteral(" (") + kindName(*kind) + QLatin1Char(')') : kbezeichnung;
}

void BoardModel::setTournament(int tid, const QDate& von, const QDate& bis)
{
    m_tid = tid;
    m_von = von;
    m_bis = bis;
    m_day = von;
}

void BoardModel::setTables(const QStringList& tables)
{
    m_tables = tables;
    m_placed.clear();
    rebuildCells();
}

void BoardModel::setClasses(const QList<BoardClassRow>& classes)
{
    m_classes.clear();
    for (const BoardClassRow& c : classes) {
        kitem k;
        k.KID = c.kid;
        k.schiri = classDisplayText(c.kbezeichnung, c.system);
        k.farbe = c.farbe;
        k.teamklasse = c.system == storedKind(ClassKind::Team);
        m_classes.append(k);
    }
    m_chosen = -1;
    m_entries.clear();
}

void BoardModel::chooseClass(int index)
{
    m_chosen = index >= 0 && index < m_classes.size() ? index : -1;
    m_entries.clear();
}

const kitem* BoardModel::chosenClassItem() const
{
    return m_chosen >= 0 ? &m_classes[m_chosen] : nullptr;
}

QString BoardModel::chosenColour() const
{
    const kitem* chosen = chosenClassItem();
    return chosen && boardColourNames().contains(chosen->farbe) ? chosen->farbe : kFallbackColour;
}

void BoardModel::setClassColour(int kid, const QString& farbe)
{
    for (kitem& c : m_classes)
        if (c.KID == kid)
            c.farbe = farbe;
    for (Placed& p : m_placed)
        if (p.item.KID == kid)
            p.item.farbe = farbe;
    if (const kitem* chosen = chosenClassItem(); chosen && chosen->KID == kid)
        for (kitem& e : m_entries)
            e.farbe = chosenColour();
}

void BoardModel::setClassMatches(const QList<BoardMatchRow>& rows)
{
    m_entries.clear();
    const QString farbe = chosenColour();
    for (const BoardMatchRow& r : rows) {
        if (r.geplanteZeit || r.spieler1.isEmpty() || r.spieler2.isEmpty())
            continue;
        kitem k;
        k.nummer = r.nummer;
        k.spielnummer = r.spielnummer;
        k.KID = r.kid;
        k.farbe = farbe;
        k.spieler1 = r.spieler1;
        k.spieler2 = r.spieler2;
        m_entries.append(k);
    }
}

QString BoardModel::entryText(int index) const
{
    const kitem& e = m_entries.at(index);
    return e.spieler1 + QLatin1Char('-') + e.spieler2;
}

int BoardModel::entryIndex(const BoardMatchKey& key) const
{
    for (int i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].key() == key)
            return i;
    return -1;
}

void BoardModel::setDay(const QDate& day)
{
    m_day = day;
    m_placed.clear();
    rebuildCells();
}

QString BoardModel::classColour(int kid) const
{
    for (const kitem& c : m_classes)
        if (c.KID == kid)
            return c.farbe;
    return {};
}

void BoardModel::placeDay(const QList<BoardMatchRow>& rows)
{
    m_placed.clear();
    m_placed.reserve(size_t(rows.size()));
    for (const BoardMatchRow& r : rows) {
        if (!r.geplanteZeit || r.spieler1.isEmpty() || r.spieler2.isEmpty())
            continue;
        const int column = columnOf(r.geplanterTisch);
        const int row = boardRow(*r.geplanteZeit);
        if (column == 0 || row < 1)
            continue;
        Placed p;
        p.item.nummer = r.nummer;
        p.item.spielnummer = r.spielnummer;
        p.item.KID = r.kid;
        p.item.schiri = r.schiri;
        p.item.farbe = classColour(r.kid);
        p.item.spieler1 = r.spieler1;
        p.item.spieler2 = r.spieler2;
        p.column = column;
        p.row = row;
        m_placed.push_back(std::move(p));
    }
    rebuildCells();
}

int BoardModel::columnOf(const QString& table) const
{
    const qsizetype i = m_tables.indexOf(table);
    return i < 0 ? 0 : int(i) + 1;
}

void BoardModel::rebuildCells()
{
    const int columns = columnCount();
    m_cells.assign(size_t(kBoardRows * columns), -1);
    for (size_t i = 0; i < m_placed.size(); ++i) {
        const Placed& p = m_placed[i];
        m_cells[size_t(p.row * columns + p.column)] = int(i);
        if (p.row < kLastBoardRow)
            m_cells[size_t((p.row + 1) * columns + p.column)] = int(i);
    }
}

int BoardModel::placedAt(int row, int column) const
{
    if (!isTableCell(row, column, columnCount()))
        return -1;
    return m_cells[size_t(row * columnCount() + column)];
}

std::optional<kitem> BoardModel::cell(int row, int column) const
{
    const int i = placedAt(row, column);
    if (i < 0)
        return std::nullopt;
    const Placed& p = m_placed[size_t(i)];
    kitem k = p.item;
    k.ersteZeile = row == p.row;
    k.zweiteZeile = row != p.row;
    return k;
}

QString BoardModel::cellText(int row, int column) const
{
    if (row == 0)
        return column == 0 ? QStringLiteral("Uhrzeit") : column < columnCount() ? m_tables[column - 1] : QString();
    if (column == 0)
        return row <= kLastBoardRow ? rowLabel(row) : QString();
    const std::optional<kitem> k = cell(row, column);
    return !k ? QString() : k->ersteZeile ? k->spieler1 : k->spieler2;
}

BoardPlace BoardModel::placeOf(const Placed& p) const
{
    return {m_day, m_tables[p.column - 1], rowTime(p.row)};
}

std::optional<BoardDrop> BoardModel::dropOnto(const kitem& item, const std::optional<BoardPlace>& from, int row,
                                              int column) const
{
    // A match needs two rows: the last row has none below it.
    if (!isTableCell(row, column, columnCount()) || row == kLastBoardRow)
        return std::nullopt;
    BoardDrop drop;
    drop.item = item;
    drop.item.ersteZeile = drop.item.zweiteZeile = false;
    drop.row = row;
    drop.column = column;
    drop.write.tid = m_tid;
    drop.write.match = item.key();
    drop.write.from = from;
    drop.write.to = BoardPlace{m_day, m_tables[column - 1], rowTime(row)};
    // Whatever stands in the target's two cells goes off, and a match starting
    // one row above covers the first of them; the dropped match itself stays.
    for (const Placed& p : m_placed)
        if (p.column == column && std::abs(p.row - row) <= 1 && !(p.item.key() == item.key()))
            drop.write.displaced.append({p.item.key(), placeOf(p)});
    return drop;
}

std::optional<BoardDrop> BoardModel::planFromList(const BoardMatchKey& entry, int row, int column) const
{
    const int index = entryIndex(entry);
    if (index < 0 || !chosenClassItem())
        return std::nullopt;
    kitem item = m_entries[index];
    item.KID = chosenClassItem()->KID;
    item.farbe = chosenColour();
    std::optional<BoardDrop> drop = dropOnto(item, std::nullopt, row, column);
    if (drop)
        drop->fromList = true;
    return drop;
}

std::optional<BoardDrop> BoardModel::move(int fromRow, int fromColumn, int toRow, int toColumn) const
{
    const int source = placedAt(fromRow, fromColumn);
    if (source < 0)
        return std::nullopt;
    const Placed& p = m_placed[size_t(source)];
    if (p.row == toRow && p.column == toColumn)
        return std::nullopt;
    return dropOnto(p.item, placeOf(p), toRow, toColumn);
}

std::optional<BoardDrop> BoardModel::takeOff(int row, int column) const
{
    const int source = placedAt(row, column);
    if (source < 0)
        return std::nullopt;
    const Placed& p = m_placed[size_t(source)];
    BoardDrop drop;
    drop.item = p.item;
    drop.write.tid = m_tid;
    drop.write.match = p.item.key();
    drop.write.from = placeOf(p);
    return drop;
}

BoardChange BoardModel::apply(const BoardDrop& drop)
{
    BoardChange change;
    const auto touch = [&](int column) {
        if (!change.columns.contains(column))
            change.columns.append(column);
    };
    const auto goes = [&](const Placed& p) {
        const bool displaced = std::any_of(drop.write.displaced.begin(), drop.write.displaced.end(),
                                           [&](const auto& d) { return d.first == p.item.key(); });
        const bool dropped = p.item.key() == drop.write.match;
        if (displaced || dropped)
            touch(p.column);
        return displaced || (dropped && !drop.write.to);
    };
    auto moved = std::find_if(m_placed.begin(), m_placed.end(),
                              [&](const Placed& p) { return p.item.key() == drop.write.match; });
    if (drop.write.to && moved != m_placed.end()) {
        touch(moved->column);
        moved->column = drop.column;
        moved->row = drop.row;
    }
    m_placed.erase(std::remove_if(m_placed.begin(), m_placed.end(), goes), m_placed.end());
    if (drop.write.to) {
        if (drop.fromList) {
            m_placed.push_back({drop.item, drop.column, drop.row});
            const int index = entryIndex(drop.write.match);
            if (index >= 0) {
                m_entries.removeAt(index);
                change.listEntryRemoved = true;
            }
        }
        touch(drop.column);
    } else {
        const kitem* chosen = chosenClassItem();
        change.relist = chosen && chosen->KID == drop.write.match.kid;
    }
    rebuildCells();
    return change;
}

void showBoard(BoardModel& board, const QSqlDatabase& db, int tid)
{
    const BoardDays days = readBoardDays(db, tid);
    board.setTournament(tid, days.tvon, days.tbis);
    board.setClasses(readBoardClasses(db, tid));
    board.setTables(readBoardTables(db, tid));
    if (!board.classes().isEmpty())
        chooseBoardClass(board, db, 0);
    showBoardDay(board, db, days.tvon);
}

void chooseBoardClass(BoardModel& board, const QSqlDatabase& db, int index)
{
    board.chooseClass(index);
    if (const kitem* chosen = board.chosenClassItem())
        board.setClassMatches(readBoardClassMatches(db, chosen->KID, chosen->teamklasse));
}

void showBoardDay(BoardModel& board, const QSqlDatabase& db, const QDate& day)
{
    board.setDay(day);
    if (day.isValid())
        board.placeDay(readBoardDayMatches(db, board.tid(), day));
}

void storeBoardColour(BoardModel& board, const QSqlDatabase& db, const QString& farbe)
{
    const kitem* chosen = board.chosenClassItem();
    if (!chosen)
        return;
    const int kid = chosen->KID;
    storeClassColour(db, kid, farbe);
    board.setClassColour(kid, farbe);
}

BoardChange dropOnBoard(BoardModel& board, const QSqlDatabase& db, const BoardDrop& drop)
{
    try {
        storeBoardWrite(db, drop.write);
    } catch (const BoardConflict&) {
        chooseBoardClass(board, db, board.chosenClass());
        showBoardDay(board, db, board.day());
        throw;
    }
    BoardChange change = board.apply(drop);
    if (change.relist)
        chooseBoardClass(board, db, board.chosenClass());
    return change;
}

} // namespace bw
