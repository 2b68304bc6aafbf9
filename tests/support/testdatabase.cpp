#include "support/testdatabase.h"

#include "data/connection.h"
#include "data/faultinjection.h"
#include "data/preparation.h"
#include "data/sql.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <QTest>

namespace bw::test {

TestDatabase::TestDatabase(Backend backend, int version, Content content) : m_backend(backend)
{
    if (backend == Backend::PostgreSQL) {
        m_pg = std::make_unique<PgFixture>();
        if (!m_pg->ready())
            return;
    } else {
        if (!m_dir.isValid()) {
            QTest::qFail("Cannot make a temporary folder", __FILE__, __LINE__);
            return;
        }
        m_sqlitePath = m_dir.filePath(QStringLiteral("turnier_db.sqlite"));
    }
    try {
        if (backend == Backend::SQLite && content == Content::Prepared)
            prepareSqliteFile(m_sqlitePath, version);
        if (backend == Backend::SQLite && content == Content::Empty) {
            ScopedConnection create(openSqlite(m_sqlitePath, uniqueConnectionName(QStringLiteral("tdb-create")), true));
        }
        QSqlDatabase first = open();
        if (backend == Backend::PostgreSQL && content == Content::Prepared)
            prepareDatabase(first, version);
    } catch (const std::exception& e) {
        QTest::qFail(qPrintable(QStringLiteral("Cannot prepare the test database: ") + QString::fromUtf8(e.what())),
                     __FILE__, __LINE__);
        return;
    }
    m_ready = true;
}

TestDatabase::~TestDatabase()
{
    for (const QString& name : m_connections)
        closeConnection(name);
}

QSqlDatabase TestDatabase::db() const
{
    return m_connections.isEmpty() ? QSqlDatabase() : QSqlDatabase::database(m_connections.first(), false);
}

QSqlDatabase TestDatabase::open()
{
    const QString name = uniqueConnectionName(QStringLiteral("tdb"));
    QSqlDatabase db = m_backend == Backend::SQLite ? openSqlite(m_sqlitePath, name) : m_pg->open(name);
    if (!db.isOpen())
        throw std::runtime_error("Cannot open the test database");
    m_connections << name;
    return db;
}

QSqlDatabase TestDatabase::openDesk(const QString& name) const
{
    return m_backend == Backend::SQLite ? openSqlite(m_sqlitePath, name) : m_pg->open(name);
}

QStringList queryRows(const QSqlDatabase& db, const QString& sql, const QString& null, QChar separator)
{
    QStringList out;
    QSqlQuery q = execute(db, sql);
    while (q.next()) {
        QStringList values;
        for (int i = 0; i < q.record().count(); ++i)
            values << (q.isNull(i) ? null : q.value(i).toString());
        out << values.join(separator);
    }
    return out;
}

void insertRow(const QSqlDatabase& db, const QString& tableName, const QVariantMap& values)
{
    const TableDef& t = table(tableName);
    SqlParams params;
    for (const ColumnDef& c : t.columnsOf(kCurrentStructureVersion)) {
        QVariant value;
        switch (c.type) {
        case ColumnType::Integer: value = 1; break;
        case ColumnType::Text:
        case ColumnType::Memo: value = QStringLiteral("x"); break;
        case ColumnType::DateTime: value = QDateTime(QDate(2026, 5, 1), QTime(10, 0)); break;
        case ColumnType::YesNo: value = false; break;
        case ColumnType::Floating: value = 1.5; break;
        }
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            if (it.key().compare(c.name, Qt::CaseInsensitive) == 0)
                value = it.value();
        }
        params.insert(c.name.toLower(), value);
    }
    execute(db, positionalInsert(t.name), params);
}

QStringList dumpTables(const QSqlDatabase& db, const QStringList& tables)
{
    QStringList names = tables;
    if (names.isEmpty()) {
        for (const TableDef& t : schemaTables())
            names << t.name;
    }
    QStringList lines;
    for (const QString& name : names) {
        QSqlQuery q = execute(db, QStringLiteral("SELECT * FROM %1").arg(name));
        while (q.next()) {
            QStringList fields;
            for (int i = 0; i < q.record().count(); ++i)
                fields << (q.isNull(i) ? QStringLiteral("<null>") : q.value(i).toString());
            lines << name + QLatin1Char('|') + fields.join(QLatin1Char('|'));
        }
    }
    lines.sort();
    return lines;
}

namespace {

QStringList snapshot(const QSqlDatabase& db, const QStringList& tables)
{
    QStringList lines = dumpTables(db, tables);
    for (const TableDef& t : schemaTables())
        lines << t.name + QStringLiteral(" columns: ") + liveColumns(db, t.name).join(QLatin1Char(','));
    if (backendOf(db) == Backend::SQLite)
        lines << QStringLiteral("integrity: ") + scalar(db, QStringLiteral("PRAGMA integrity_check")).toString();
    return lines;
}

} // namespace

QString checkAtomic(const QSqlDatabase& db, const std::function<void()>& action, const QStringList& tables,
                    const std::function<void(int)>& beforeRun, int* runs)
{
    const QStringList before = snapshot(db, tables);
    for (int n = 1; n < 100000; ++n) {
        if (runs)
            *runs = n;
        if (beforeRun)
            beforeRun(n);
        FaultInjection::failStatement(db, n);
        bool threw = false;
        try {
            action();
        } catch (const std::exception&) {
            threw = true;
        }
        const bool fired = FaultInjection::fired(db);
        FaultInjection::clear(db);
        if (!fired)
            return threw ? QStringLiteral("the action failed without an injected fault") : QString();
        if (!threw)
            return QStringLiteral("statement %1 failed, but the action reported success").arg(n);
        const QStringList after = snapshot(db, tables);
        if (after != before) {
            for (const QString& line : after) {
                if (!before.contains(line))
                    return QStringLiteral("statement %1 failed and left: %2").arg(n).arg(line);
            }
            for (const QString& line : before) {
                if (!after.contains(line))
                    return QStringLiteral("statement %1 failed and lost: %2").arg(n).arg(line);
            }
            return QStringLiteral("statement %1 failed and changed the database").arg(n);
        }
    }
    return QStringLiteral("the action never completed");
}

void addBackendColumn()
{
    QTest::addColumn<Backend>("backend");
}

void addBackendRows(const QString& prefix)
{
    QTest::newRow(qPrintable(prefix + QStringLiteral("sqlite"))) << Backend::SQLite;
    QTest::newRow(qPrintable(prefix + QStringLiteral("postgresql"))) << Backend::PostgreSQL;
}

} // namespace bw::test
