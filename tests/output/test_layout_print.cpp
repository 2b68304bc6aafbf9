// Certificates and receipts for the layout program: the print files byte for
// byte (Windows-1252, CRLF, key order, other keys kept), the templates offered,
// the amount of a receipt, and the dialogs starting the layout program -- or
// saying it is missing and writing nothing.
#include "controls/uibuttons.h"
#include "output/layoutprogram.h"
#include "output/printfile.h"
#include "output/tquittungprepareform.h"
#include "output/turkundeprepareform.h"
#include "support/fakeservices.h"
#include "support/tempprogramfolder.h"
#include "support/widgethelpers.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(bw::PrintFileFields)

using namespace bw;
using namespace bw::test;

namespace {

using Content = TempProgramFolder::Content;

// A program folder with templates and the layout program on the PATH.
struct Desk {
    explicit Desk(const QStringList& templates = {QStringLiteral("Standard.urk"), QStringLiteral("Quittung.qui")})
        : fake(folder.path())
    {
        for (const QString& name : templates)
            folder.write(QStringLiteral("Templates/") + name, "layout");
        fake.runner.executablesOnPath << QStringLiteral("Slatewright");
    }
    QByteArray printFile(PrintFileKind kind) const { return folder.read(printFileName(kind)); }

    TempProgramFolder folder{Content::Empty};
    FakeServices fake;
};

} // namespace

class TestLayoutPrint : public QObject {
    Q_OBJECT
private slots:
    void printFile_bytes_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("before");
        QTest::addColumn<PrintFileFields>("fields");
        QTest::addColumn<QByteArray>("bytes");
        const PrintFileFields place{QStringLiteral("Müller, Jörg"), QStringLiteral("TTC Süd"),
                                    QStringLiteral("Herren A (Einzel)"), QStringLiteral("??"),
                                    QStringLiteral("Standard.urk")};
        QTest::newRow("certificate, new file, place ?? kept")
            << int(PrintFileKind::Urkunde) << QString() << place
            << QByteArray("[Daten]\r\nName=M\xfcller, J\xf6rg\r\nVerein=TTC S\xfc"
                          "d\r\nKlasse=Herren A (Einzel)\r\nPlatz=??\r\nLayout=Templates\\Standard.urk\r\n");
        QTest::newRow("receipt, euro sign and letters outside the code page")
            << int(PrintFileKind::Quittung) << QString()
            << PrintFileFields{QStringLiteral("Łukasz 李, Zoë"), QStringLiteral("€uro-Club"), QString(),
                               QStringLiteral("12,50"), QStringLiteral("Quittung.qui")}
            << QByteArray("[Daten]\r\nName=Lukasz ?, Zo\xeb\r\nVerein=\x80uro-Club\r\nKlasse=\r\nGebuhr=12,50\r\n"
                          "Layout=Templates\\Quittung.qui\r\n");
        QTest::newRow("an older file: its keys updated in place, other lines kept")
            << int(PrintFileKind::Urkunde)
            << QStringLiteral("; vom Slatewright\r\n[Drucker]\r\nName=Laser\r\n[Daten]\r\nLayout=Templates\\Alt.urk\r\n"
                              "Platz=3\r\nKopien=2\r\n")
            << place
            << QByteArray("; vom Slatewright\r\n[Drucker]\r\nName=Laser\r\n[Daten]\r\nLayout=Templates\\Standard.urk\r\n"
                          "Platz=??\r\nKopien=2\r\nName=M\xfcller, J\xf6rg\r\nVerein=TTC S\xfc"
                          "d\r\nKlasse=Herren A (Einzel)\r\n");
        QTest::newRow("a line break cannot add a key")
            << int(PrintFileKind::Urkunde) << QString()
            << PrintFileFields{QStringLiteral("A\r\nLayout=x"), QString(), QString(), QStringLiteral("1"),
                               QStringLiteral("Standard.urk")}
            << QByteArray("[Daten]\r\nName=A  Layout=x\r\nVerein=\r\nKlasse=\r\nPlatz=1\r\n"
                          "Layout=Templates\\Standard.urk\r\n");
    }
    void printFile_bytes()
    {
        QFETCH(int, kind);
        QFETCH(QString, before);
        QFETCH(PrintFileFields, fields);
        QFETCH(QByteArray, bytes);
        TempProgramFolder folder(Content::Empty);
        const auto printKind = PrintFileKind(kind);
        if (!before.isEmpty())
            QVERIFY(folder.write(printFileName(printKind), before.toLatin1()));
        writePrintFile(folder.paths(), printKind, fields);
        QCOMPARE(folder.read(printFileName(printKind)), bytes);
    }

    // Files of the kind only, whatever the case of their ending, sorted by name.
    void templates()
    {
        TempProgramFolder folder(Content::Empty);
        for (const char* name : {"b.urk", "A.URK", "c.qui", "x.urk/inner.txt", "notes.txt"})
            folder.write(QStringLiteral("Templates/") + QLatin1String(name), "t");
        QCOMPARE(layoutTemplates(folder.paths(), PrintFileKind::Urkunde),
                 (QStringList{QStringLiteral("A.URK"), QStringLiteral("b.urk")}));
        QCOMPARE(layoutTemplates(folder.paths(), PrintFileKind::Quittung), QStringList{QStringLiteral("c.qui")});
        TempProgramFolder empty(Content::Empty);
        QCOMPARE(layoutTemplates(empty.paths(), PrintFileKind::Urkunde), QStringList());
    }

    void noTemplateDisablesPrinting()
    {
        Desk desk(QStringList{});
        TUrkundePrepareForm form(nullptr, desk.fake.services);
        QVERIFY(!form.uiButton1->isEnabled());
        QVERIFY(!form.Label6->isHidden());
        QCOMPARE(form.Label6->text(), QStringLiteral("Es wurde kein Layout-Template gefunden!!!!"));
        QCOMPARE(form.LayoutBox->count(), 0);

        Desk withTemplate;
        TUrkundePrepareForm ready(nullptr, withTemplate.fake.services);
        QVERIFY(ready.uiButton1->isEnabled());
        QVERIFY(ready.Label6->isHidden());
        QCOMPARE(ready.LayoutBox->currentText(), QStringLiteral("Standard.urk"));
    }

    // A plan fills the certificate; printing writes the file and starts the
    // layout program with its bare name in the program folder; the dialog stays.
    void certificateFromPlan()
    {
        Desk desk;
        TUrkundePrepareForm form(nullptr, desk.fake.services);
        QCOMPARE(form.windowTitle(), QStringLiteral("UrkundePrepareForm"));
        QCOMPARE(form.PlatzEdit->text(), QStringLiteral("1"));
        QCOMPARE(form.PlatzEdit->maxLength(), 3);
        form.fillFromPlan(QStringLiteral("Brandt, Jonas"), QStringLiteral("TTC Musterstadt"),
                          QStringLiteral("Spielplan für Herren A (Einzel)"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.KlasseEdit->text(), QStringLiteral("Herren A (Einzel)"));
        QCOMPARE(form.PlatzEdit->text(), QStringLiteral("??"));
        QCOMPARE(QApplication::focusWidget(), form.PlatzEdit);

        click(form.uiButton1);
        QCOMPARE(desk.printFile(PrintFileKind::Urkunde),
                 QByteArray("[Daten]\r\nName=Brandt, Jonas\r\nVerein=TTC Musterstadt\r\nKlasse=Herren A (Einzel)\r\n"
                            "Platz=??\r\nLayout=Templates\\Standard.urk\r\n"));
        QCOMPARE(desk.fake.runner.started.size(), 1);
        const auto& started = desk.fake.runner.started.first();
        QCOMPARE(started.program, QStringLiteral("/usr/bin/Slatewright"));
        QCOMPARE(started.arguments, QStringList{QStringLiteral("UrkundePrint.txt")});
        QCOMPARE(started.workingDirectory, desk.folder.path());
        QVERIFY(form.isVisible());

        QSignalSpy finished(&form, &QDialog::finished);
        click(form.uiButton2);
        QCOMPARE(finished.size(), 1);
        QVERIFY(!form.isVisible());
    }

    void receiptAmount_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("shown");
        QTest::newRow("twelve and a half") << QStringLiteral("12,5") << QStringLiteral("12,50");
        QTest::newRow("five digits") << QStringLiteral("123,45") << QStringLiteral("123,45");
        QTest::newRow("plain notation") << QStringLiteral("123.45") << QStringLiteral("123,45");
        QTest::newRow("no number") << QStringLiteral("abc") << QStringLiteral("0,00");
        QTest::newRow("empty") << QString() << QStringLiteral("0,00");
    }
    void receiptAmount()
    {
        QFETCH(QString, page);
        QFETCH(QString, shown);
        Desk desk;
        TQuittungPrepareForm form(nullptr, desk.fake.services);
        form.fill(QStringLiteral("Müller"), QStringLiteral("Lukas"), QStringLiteral("TTC"), page);
        QCOMPARE(form.BetragEdit->text(), shown);
        QCOMPARE(form.NameEdit->text(), QStringLiteral("Müller, Lukas"));
        QCOMPARE(form.VereinEdit->text(), QStringLiteral("TTC"));
        QCOMPARE(form.KlasseEdit->text(), QString());
    }

    // The user types an amount of five characters and more; it goes into the file as typed.
    void receiptTypedAmount()
    {
        Desk desk;
        TQuittungPrepareForm form(nullptr, desk.fake.services);
        QCOMPARE(form.windowTitle(), QStringLiteral("Quittung drucken"));
        form.fill(QStringLiteral("Weber"), QStringLiteral("Tim"), QStringLiteral("TSV"), QStringLiteral("8"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(QApplication::focusWidget(), form.BetragEdit);
        form.BetragEdit->clear();
        typeText(form.BetragEdit, QStringLiteral("1234,50"));
        QCOMPARE(form.BetragEdit->text(), QStringLiteral("1234,50"));
        click(form.uiButton1);
        QCOMPARE(desk.printFile(PrintFileKind::Quittung),
                 QByteArray("[Daten]\r\nName=Weber, Tim\r\nVerein=TSV\r\nKlasse=\r\nGebuhr=1234,50\r\n"
                            "Layout=Templates\\Quittung.qui\r\n"));
        QCOMPARE(desk.fake.runner.started.size(), 1);
        QCOMPARE(desk.fake.runner.started.first().arguments, QStringList{QStringLiteral("QuittungPrint.txt")});
    }

    // Where the launcher finds the layout program: the program folder, the PATH,
    // or the Windows program through wine; the print file's bare name follows.
    void launcher_data()
    {
        QTest::addColumn<QString>("installed");
        QTest::addColumn<QString>("program"); // relative: in the program folder
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("program folder") << QStringLiteral("folder") << QStringLiteral("Slatewright")
                                        << QStringList{QStringLiteral("QuittungPrint.txt")};
        QTest::newRow("path") << QStringLiteral("path") << QStringLiteral("/usr/bin/Slatewright")
                              << QStringList{QStringLiteral("QuittungPrint.txt")};
        QTest::newRow("wine") << QStringLiteral("wine") << QStringLiteral("/usr/bin/wine")
                              << QStringList{QStringLiteral("Slatewright.exe"), QStringLiteral("QuittungPrint.txt")};
    }
    void launcher()
    {
        QFETCH(QString, installed);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        TempProgramFolder folder(Content::Empty);
        FakeServices fake(folder.path());
        if (installed == QLatin1String("folder")) {
            folder.write(QStringLiteral("Slatewright"), "#!/bin/sh\n");
            QFile(folder.file(QStringLiteral("Slatewright"))).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        } else if (installed == QLatin1String("path")) {
            fake.runner.executablesOnPath << QStringLiteral("Slatewright");
        } else {
            folder.write(QStringLiteral("Slatewright.exe"), "MZ");
            fake.runner.executablesOnPath << QStringLiteral("wine");
        }
        const AppPaths paths = folder.paths();
        LayoutProgram layout(paths, fake.runner);
        const auto call = layout.find({QStringLiteral("QuittungPrint.txt")});
        QVERIFY(call);
        QCOMPARE(call->program, program.startsWith(QLatin1Char('/')) ? program : folder.file(program));
        if (installed == QLatin1String("wine"))
            arguments[0] = folder.file(arguments[0]);
        QCOMPARE(call->arguments, arguments);
        QCOMPARE(call->workingDirectory, folder.path());
    }

    // No layout program: the message with the download address, no print file.
    void layoutProgramMissing()
    {
        Desk desk;
        desk.fake.runner.executablesOnPath.clear();
        TQuittungPrepareForm form(nullptr, desk.fake.services);
        desk.fake.prompter.expect(PromptKind::Information,
                                  QStringLiteral("Der Slatewright wurde leider nicht gefunden.\r"
                                                 "Sie können das Programm unter %1 herunterladen.")
                                      .arg(kDownloadAddress));
        click(form.uiButton1);
        QVERIFY(desk.fake.prompter.verify());
        QVERIFY(!QFile::exists(desk.folder.file(QStringLiteral("QuittungPrint.txt"))));
        QVERIFY(desk.fake.runner.started.isEmpty());
    }

    // A print file that cannot be written, a layout program that does not start:
    // an error box with the reason; the dialog stays usable.
    void failures()
    {
        Desk desk;
        TUrkundePrepareForm form(nullptr, desk.fake.services);
        QDir(desk.folder.path()).mkdir(QStringLiteral("UrkundePrint.txt"));
        desk.fake.prompter.expectPrefix(PromptKind::Error,
                                        QStringLiteral("Die Druckdatei \"%1\" konnte nicht")
                                            .arg(desk.folder.file(QStringLiteral("UrkundePrint.txt"))));
        click(form.uiButton1);
        QVERIFY(desk.fake.prompter.verify());
        QVERIFY(desk.fake.runner.started.isEmpty());

        QDir(desk.folder.path()).rmdir(QStringLiteral("UrkundePrint.txt"));
        desk.fake.runner.succeed = false;
        desk.fake.prompter.expect(PromptKind::Error, QStringLiteral("Der Slatewright konnte nicht gestartet werden.\r"
                                                                    "execv: No such file or directory"));
        click(form.uiButton1);
        QVERIFY(desk.fake.prompter.verify());
        QVERIFY(form.uiButton1->isEnabled());
    }
};

QTEST_MAIN(TestLayoutPrint)
#include "test_layout_print.moc"
