// Saved printer set-ups: the bytes of the file, reading files of ours and of
// other programs, damaged files, and the application's printer that loads and
// saves them.
#include "platform/apperror.h"
#include "platform/printersetupfile.h"
#include "platformui/printercontext.h"
#include "support/readonly.h"

#include <QFile>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

using namespace bw;

Q_DECLARE_METATYPE(bw::PrinterSettings)

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

QByteArray field(const QByteArray& name)
{
    return name + QByteArray(33 - name.size(), '\0');
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A file of another program: the record and a block without our tag.
QByteArray foreignFile(const QByteArray& device)
{
    QByteArray block(220, '\x5A');
    block.replace(0, 8, QByteArray("HP LJ 4\0", 8));
    QByteArray bytes = field(device) + field("winspool") + field("LPT1:") + QByteArray(1, '\0');
    bytes += QByteArray("\xDC\0\0\0", 4) + block;
    return bytes;
}

PrinterSettings sample()
{
    PrinterSettings s;
    s.printerName = QString::fromUtf8("Büro Laser");
    s.pageSizeId = 0;
    s.pageWidthMm = 210;
    s.pageHeightMm = 297;
    s.marginLeftMm = s.marginTopMm = s.marginRightMm = s.marginBottomMm = 10;
    s.resolution = 600;
    return s;
}

} // namespace

class TestPrinterSetup : public QObject {
    Q_OBJECT
private slots:
    // The record and our block, byte for byte.
    void fileBytes()
    {
        QByteArray expected = field("B\xFCro Laser") + field("CUPS") + field("") + QByteArray(1, '\0');
        expected += QByteArray("\x92\0\0\0", 4);
        expected += QByteArray("BRKQ\x01\0\0\0", 8);
        expected += s("printer=Büro Laser\npagesize=0\npagemm=210x297\norientation=portrait\nmargins=10,10,10,10\n"
                      "duplex=0\ncopies=1\ncolour=1\nsource=0\nresolution=600\n")
                        .toUtf8();
        QCOMPARE(PrinterSetupFile::encode(sample()), expected);

        QTemporaryDir dir;
        const QString path = dir.filePath(s("printerstandard.ini"));
        PrinterSetupFile::save(path, sample());
        QCOMPARE(readAll(path), expected);
    }

    // Every setting of the block comes back as written.
    void roundTrip_data()
    {
        QTest::addColumn<PrinterSettings>("settings");
        PrinterSettings s = sample();
        QTest::newRow("sample") << s;
        s.landscape = true;
        QTest::newRow("landscape") << s;
        s.pageSizeId = -1;
        s.pageWidthMm = 100.5;
        s.pageHeightMm = 148.25;
        QTest::newRow("custom page") << s;
        s.marginLeftMm = 3.5;
        s.marginTopMm = 4;
        s.marginRightMm = 0;
        s.marginBottomMm = 12.7;
        QTest::newRow("margins") << s;
        s.duplex = 2;
        s.copies = 7;
        s.colour = false;
        s.paperSource = 4;
        s.resolution = 1200;
        QTest::newRow("duplex, copies, grey, tray, resolution") << s;
        s.printerName.clear();
        QTest::newRow("no printer") << s;
        s.printerName = QString::fromUtf8("Drucker = Ärger; \"1\"");
        QTest::newRow("equals sign in name") << s;
    }
    void roundTrip()
    {
        QFETCH(PrinterSettings, settings);
        const PrinterSetup setup = PrinterSetupFile::decode(PrinterSetupFile::encode(settings), s("x.ini"));
        QVERIFY(setup.complete);
        QCOMPARE(setup.settings, settings);
        QCOMPARE(setup.driver, s("CUPS"));
        QCOMPARE(setup.port, QString());
    }

    // A name longer than the device field: the field holds its first 32 bytes
    // (never half a character), the block the whole name.
    void longName()
    {
        PrinterSettings settings = sample();
        settings.printerName = s("Kyocera ECOSYS P2135dn Etage 3 Raum 12"); // 38 characters
        settings.printerName += s("AB");
        QCOMPARE(settings.printerName.size(), 40);
        QByteArray bytes = PrinterSetupFile::encode(settings);
        QCOMPARE(bytes.left(33), QByteArray("Kyocera ECOSYS P2135dn Etage 3 R") + QByteArray(1, '\0'));
        PrinterSetup setup = PrinterSetupFile::decode(bytes, s("x.ini"));
        QCOMPARE(setup.device, s("Kyocera ECOSYS P2135dn Etage 3 R"));
        QCOMPARE(setup.settings.printerName, settings.printerName);

        // "ﬁ" takes two bytes ("fi") and would end after byte 32: it is left out whole.
        settings.printerName = QString(31, QLatin1Char('x')) + QString::fromUtf8("ﬁ");
        bytes = PrinterSetupFile::encode(settings);
        QCOMPARE(bytes.left(33), QByteArray(31, 'x') + QByteArray(2, '\0'));
    }

    // A block this program did not write gives the device name only.
    void foreignBlock()
    {
        const PrinterSetup setup = PrinterSetupFile::decode(foreignFile("HP LaserJet 4"), s("x.ini"));
        QVERIFY(!setup.complete);
        QCOMPARE(setup.device, s("HP LaserJet 4"));
        QCOMPARE(setup.driver, s("winspool"));
        QCOMPARE(setup.port, s("LPT1:"));
        PrinterSettings expected;
        expected.printerName = s("HP LaserJet 4");
        QCOMPARE(setup.settings, expected);
    }

    // The reserved byte may hold anything; bytes after a name's zero carry nothing.
    void reservedByteAndFieldRestIgnored()
    {
        QByteArray bytes = PrinterSetupFile::encode(sample());
        bytes[99] = char(0xAB);
        bytes[40] = 'Z'; // behind "CUPS\0"
        const PrinterSetup setup = PrinterSetupFile::decode(bytes, s("x.ini"));
        QCOMPARE(setup.settings, sample());
        QCOMPARE(setup.driver, s("CUPS"));
    }

    // Short files, impossible lengths and unreadable settings are damaged.
    void damaged_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = PrinterSetupFile::encode(sample());
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("short record") << good.left(103);
        QTest::newRow("short block") << good.left(good.size() - 1);
        QByteArray negative = good;
        negative.replace(100, 4, QByteArray("\xFF\xFF\xFF\xFF", 4));
        QTest::newRow("negative length") << negative;
        QByteArray huge = good.left(104) + QByteArray(1024 * 1024 + 1, 'x');
        huge.replace(100, 4, QByteArray("\x01\x00\x10\x00", 4)); // 1 MiB + 1
        QTest::newRow("over 1 MiB") << huge;
        QByteArray copies = good;
        copies.replace(QByteArray("copies=1"), QByteArray("copies=x"));
        QTest::newRow("setting not a number") << copies;
    }
    void damaged()
    {
        QFETCH(QByteArray, bytes);
        try {
            PrinterSetupFile::decode(bytes, s("/irgendwo/printerzettel.ini"));
            QFAIL("no error");
        } catch (const AppError& e) {
            QCOMPARE(e.message(), s("Die Druckereinstellungen in printerzettel.ini sind beschädigt."));
        }
    }

    // Saving into a folder that takes no file fails and keeps the old file;
    // a missing file reads as nothing.
    void saveFailureKeepsOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(s("printerstandard.ini"));
        QVERIFY(!PrinterSetupFile::load(path));
        PrinterSetupFile::save(path, sample());
        const QByteArray before = readAll(path);
        PrinterSettings other = sample();
        other.copies = 5;
        {
            test::ReadOnly readOnly(dir.path());
            if (!readOnly.ready())
                QSKIP("no way to make a folder read-only here");
            QVERIFY_THROWS_EXCEPTION(AppError, PrinterSetupFile::save(path, other));
        }
        QCOMPARE(readAll(path), before);
        QCOMPARE(PrinterSetupFile::load(path)->settings, sample());
    }

    // The application's printer: a set-up of an installed printer becomes
    // current with its settings, saved and loaded again it is the same; a
    // printer not installed changes nothing, a foreign file selects the printer
    // only, a damaged one leaves everything as it was.
    void contextLoadsAndSaves()
    {
        QStringList installed{s("Zettel"), s("Büro Laser")};
        PrinterContext printers([&] { return installed; });
        QCOMPARE(printers.installedPrinters(), installed);
        QTemporaryDir dir;

        PrinterSettings wanted = sample();
        wanted.landscape = true;
        wanted.pageSizeId = int(QPageSize::A5);
        wanted.marginLeftMm = 7;
        wanted.copies = 2;
        QVERIFY(printers.apply(wanted));
        QCOMPARE(printers.printerName(), s("Büro Laser"));
        QCOMPARE(printers.printer().pageLayout().orientation(), QPageLayout::Landscape);
        QCOMPARE(printers.printer().pageLayout().pageSize().id(), QPageSize::A5);
        QCOMPARE(printers.printer().copyCount(), 2);
        const QString path = dir.filePath(s("printerzettel.ini"));
        printers.saveSetup(path);
        const PrinterSettings saved = printers.settings();
        QCOMPARE(PrinterSetupFile::load(path)->settings, saved);
        QCOMPARE(saved.printerName, s("Büro Laser"));
        QCOMPARE(saved.marginLeftMm, 7.0);

        PrinterContext again([&] { return installed; });
        QCOMPARE(again.loadSetup(path), PrinterContext::Loaded::Applied);
        QCOMPARE(again.settings(), saved);

        installed = {s("Zettel")};
        PrinterContext elsewhere([&] { return installed; });
        const PrinterSettings untouched = elsewhere.settings();
        QCOMPARE(elsewhere.loadSetup(path), PrinterContext::Loaded::NotInstalled);
        QCOMPARE(elsewhere.settings(), untouched);
        QCOMPARE(elsewhere.loadSetup(dir.filePath(s("fehlt.ini"))), PrinterContext::Loaded::Missing);

        const QString foreign = dir.filePath(s("fremd.ini"));
        writeAll(foreign, foreignFile("Zettel"));
        QCOMPARE(elsewhere.loadSetup(foreign), PrinterContext::Loaded::Applied);
        PrinterSettings nameOnly = untouched;
        nameOnly.printerName = s("Zettel");
        QCOMPARE(elsewhere.settings(), nameOnly);

        const QString damaged = dir.filePath(s("kaputt.ini"));
        writeAll(damaged, PrinterSetupFile::encode(wanted).left(120));
        QVERIFY_THROWS_EXCEPTION(AppError, elsewhere.loadSetup(damaged));
        QCOMPARE(elsewhere.settings(), nameOnly);
    }

    // A set-up dialog that is cancelled leaves the printer as it was.
    void contextSetUpDialog()
    {
        PrinterContext printers([] { return QStringList{s("Zettel")}; });
        const PrinterSettings before = printers.settings();
        const auto dialog = [](bool confirm) {
            return [confirm](QPrinter& printer, QWidget*) {
                printer.setPageOrientation(QPageLayout::Landscape);
                printer.setCopyCount(3);
                return confirm;
            };
        };
        QVERIFY(!printers.setUp(dialog(false), nullptr));
        QCOMPARE(printers.settings(), before);
        QVERIFY(printers.setUp(dialog(true), nullptr));
        QCOMPARE(printers.printer().pageLayout().orientation(), QPageLayout::Landscape);
        QCOMPARE(printers.printer().copyCount(), 3);
    }
};

QTEST_MAIN(TestPrinterSetup)
#include "test_printersetup.moc"
