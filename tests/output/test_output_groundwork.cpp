// What the exports share: the text of stored values whatever the machine's
// locale, new output files that never overwrite and leave nothing behind when
// the write fails, and the xlsx book's errors and looks read back by openpyxl.
#include "output/outputfile.h"
#include "output/storedtext.h"
#include "output/xlsxbook.h"
#include "platform/apperror.h"
#include "support/readonly.h"
#include "xlsxreader.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

const QDateTime kTime(QDate(2026, 12, 10), QTime(9, 5, 7));

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestOutputGroundwork : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // The texts must not follow the machine's locale.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void storedText_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("date") << QVariant(QDate(2026, 3, 7)) << QStringLiteral("07.03.2026");
        QTest::newRow("date-time at midnight") << QVariant(QDateTime(QDate(2026, 3, 7), QTime(0, 0)))
                                               << QStringLiteral("07.03.2026");
        QTest::newRow("date-time") << QVariant(QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9)))
                                   << QStringLiteral("07.03.2026 14:05:09");
        QTest::newRow("fraction") << QVariant(12.5) << QStringLiteral("12,5");
        QTest::newRow("large, no grouping") << QVariant(1234567.25) << QStringLiteral("1234567,25");
        QTest::newRow("whole double") << QVariant(8.0) << QStringLiteral("8");
        QTest::newRow("integer") << QVariant(7) << QStringLiteral("7");
        QTest::newRow("yes") << QVariant(true) << QStringLiteral("Ja");
        QTest::newRow("no") << QVariant(false) << QStringLiteral("Nein");
        QTest::newRow("null") << QVariant(QMetaType::fromType<double>()) << QString();
        QTest::newRow("text") << QVariant(QStringLiteral("Müller")) << QStringLiteral("Müller");
    }
    void storedText()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, text);
        QCOMPARE(bw::storedText(value), text);
    }

    void amountText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("12.5") << 12.5 << QStringLiteral("12,50");
        QTest::newRow("123.45, five digits") << 123.45 << QStringLiteral("123,45");
        QTest::newRow("thousands, no grouping") << 1234.5 << QStringLiteral("1234,50");
        QTest::newRow("zero") << 0.0 << QStringLiteral("0,00");
        QTest::newRow("rounds to zero") << -0.001 << QStringLiteral("0,00");
        QTest::newRow("rounds half up") << 2.675 << QStringLiteral("2,68");
    }
    void amountText()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(bw::amountText(value), text);
    }

    // Every run gets a name of its own in a folder made on demand; older files stay.
    void outputFile_newNameEveryRun()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("data/ExportExcel"));
        QStringList made;
        for (int run = 1; run <= 3; ++run) {
            OutputFile file(folder, QStringLiteral("Liste"), kTime, QStringLiteral("xlsx"));
            QVERIFY(QFileInfo(file.temporaryPath()).dir() == QDir(folder));
            writeFile(file.temporaryPath(), QByteArray::number(run));
            made << QFileInfo(file.commit()).fileName();
        }
        QCOMPARE(made, (QStringList{QStringLiteral("Liste_20261210-090507.xlsx"),
                                    QStringLiteral("Liste_20261210-090507-2.xlsx"),
                                    QStringLiteral("Liste_20261210-090507-3.xlsx")}));
        QStringList sorted = made;
        sorted.sort();
        QCOMPARE(entries(folder), sorted);
        QCOMPARE(readAll(QDir(folder).filePath(made[0])), QByteArray("1"));
        QCOMPARE(readAll(QDir(folder).filePath(made[2])), QByteArray("3"));
    }

    // A run that ends before commit() (an error on the way) leaves nothing.
    void outputFile_uncommittedLeavesNothing()
    {
        QTemporaryDir dir;
        {
            OutputFile file(dir.path(), QStringLiteral("Liste"), kTime, QStringLiteral("xlsx"));
            writeFile(file.temporaryPath(), "halb");
        }
        QCOMPARE(entries(dir.path()), QStringList());
    }

    void outputFile_readOnlyFolderFails()
    {
        QTemporaryDir dir;
        ReadOnly readOnly(dir.path());
        if (!readOnly.ready())
            QSKIP("no way to make a folder read-only here");
        try {
            OutputFile file(dir.path(), QStringLiteral("Liste"), kTime, QStringLiteral("xlsx"));
            QFAIL("a read-only folder took a file");
        } catch (const AppError& e) {
            QVERIFY2(e.message().startsWith(QStringLiteral("Im Ordner \"%1\" kann keine Datei angelegt werden: ")
                                                .arg(QDir::toNativeSeparators(dir.path()))),
                     qPrintable(e.message()));
        }
        QCOMPARE(entries(dir.path()), QStringList());
    }

    // Each library error arrives as an AppError with the library's text; a book
    // given up without close() writes nothing.
    void xlsxBook_errorsCarryTheLibraryText()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("book.xlsx"));
        auto failure = [](const std::function<void()>& action) {
            try {
                action();
            } catch (const AppError& e) {
                return e.message();
            }
            return QString();
        };
        {
            XlsxBook book(path);
            QCOMPARE(failure([&] { book.addSheet(QStringLiteral("A[1]")); }),
                     QStringLiteral("Worksheet name cannot contain invalid characters: '[ ] : * ? / \\'"));
            XlsxSheet sheet = book.addSheet(QStringLiteral("Blatt"));
            QCOMPARE(failure([&] { sheet.writeText(0, 0, QString(40000, QLatin1Char('x'))); }),
                     QStringLiteral("String exceeds Excel's limit of 32,767 characters."));
            QCOMPARE(failure([&] { sheet.writeNumber(0, 16384, 1); }),
                     QStringLiteral("Worksheet row or column index out of range."));
        }
        QVERIFY(!QFile::exists(path));

        // A file that cannot be made: the error comes with close().
        XlsxBook book(dir.filePath(QStringLiteral("missing/book.xlsx")));
        book.addSheet(QStringLiteral("Blatt")).writeText(0, 0, QStringLiteral("x"));
        QVERIFY(failure([&] { book.close(); }).startsWith(QStringLiteral("Error creating output xlsx file")));
    }

    // Looks as openpyxl reads them: fill, borders, bold, number format, widths.
    void xlsxBook_looksReadBack()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("book.xlsx"));
        {
            XlsxBook book(path);
            XlsxSheet sheet = book.addSheet(QStringLiteral("Blatt"));
            CellLook header;
            header.fill = kHeaderYellow;
            header.thinBorder = true;
            CellLook title;
            title.bold = true;
            title.fontSize = 16;
            CellLook euro;
            euro.numberFormat = kEuroFormat;
            sheet.writeText(0, 0, QStringLiteral("Kopf"), header);
            sheet.writeText(0, 1, QStringLiteral("Größe"), header);
            sheet.writeText(1, 0, QStringLiteral("Titel"), title);
            sheet.writeNumber(1, 1, 12.5, euro);
            sheet.writeBlank(2, 1, euro);
            sheet.setColumnWidth(1, 25);
            book.close();
        }
        QString error;
        const auto read = readXlsxSheet(path, &error);
        QVERIFY2(read, qPrintable(error));
        const QJsonObject looks = read->value(QStringLiteral("looks")).toObject();
        for (const char* cell : {"A1", "B1"}) {
            const QJsonObject look = looks.value(QLatin1String(cell)).toObject();
            QCOMPARE(look.value(QStringLiteral("fill")).toString(), QStringLiteral("solid"));
            QCOMPARE(look.value(QStringLiteral("colour")).toString(), QStringLiteral("FFFFFF99"));
            QCOMPARE(look.value(QStringLiteral("borders")).toArray(),
                     (QJsonArray{QStringLiteral("thin"), QStringLiteral("thin"), QStringLiteral("thin"),
                                 QStringLiteral("thin")}));
        }
        QVERIFY(looks.value(QStringLiteral("A2")).toObject().value(QStringLiteral("bold")).toBool());
        QCOMPARE(looks.value(QStringLiteral("B2")).toObject().value(QStringLiteral("format")).toString(), kEuroFormat);
        QCOMPARE(looks.value(QStringLiteral("B3")).toObject().value(QStringLiteral("format")).toString(), kEuroFormat);
        const QJsonArray rows = read->value(QStringLiteral("rows")).toArray();
        QCOMPARE(rows[0].toArray()[1].toString(), QStringLiteral("Größe"));
        QCOMPARE(rows[1].toArray()[1].toDouble(), 12.5);
        QCOMPARE(read->value(QStringLiteral("widths")).toObject().value(QStringLiteral("B")).toDouble(), 25.7109375);
    }
};

QTEST_GUILESS_MAIN(TestOutputGroundwork)
#include "test_output_groundwork.moc"
