// The platform layers: code page 1252, ini files, German numbers and dates,
// case-insensitive program paths, guarded actions and the scripted prompter.
#include "platform/apperror.h"
#include "platform/apppaths.h"
#include "platform/cp1252.h"
#include "platform/germantext.h"
#include "platform/inifile.h"
#include "platform/prompter.h"
#include "support/fakeprompter.h"
#include "support/tempprogramfolder.h"

#include "support/pgfixture.h"

#include <QDir>
#include <QSqlQuery>
#include <QTest>

using namespace bw;

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void cp1252_roundTripsEveryByte();
    void cp1252_mapsGermanLetters();
    void cp1252_writesOtherLettersWithoutAccents_data();
    void cp1252_writesOtherLettersWithoutAccents();
    void ini_updateKeepsOtherLinesAndOrder();
    void ini_cp1252FileRoundTrip();
    void ini_readsDefaultsAndTypes();
    void german_numbers_data();
    void german_numbers();
    void german_sumOfFractionsPrintsShort();
    void german_dates();
    void paths_resolveIgnoresCaseAndBackslashes();
    void guarded_showsErrorAndContinues();
    void pg_fixtureGivesOwnDatabase();
};

void TestPlatform::cp1252_roundTripsEveryByte()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    QCOMPARE(cp1252::encode(cp1252::decode(all)), all);
}

void TestPlatform::cp1252_mapsGermanLetters()
{
    QCOMPARE(cp1252::decode(QByteArray("\xC4\xD6\xDC\xE4\xF6\xFC\xDF\x80")), QStringLiteral("ÄÖÜäöüß€"));
    QCOMPARE(cp1252::encode(QStringLiteral("Müller €")), QByteArray("M\xFCller \x80"));
    QCOMPARE(cp1252::byteFor(U'€'), 0x80);
    QCOMPARE(cp1252::byteFor(U'\u4E00'), -1);
}

// Letters the code page lacks: written as close as it allows, never as "?"
// while a base letter exists.
void TestPlatform::cp1252_writesOtherLettersWithoutAccents_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("Turkish") << QStringLiteral("Şahin Yıldız Doğan") << QByteArray("Sahin Yildiz Dogan");
    QTest::newRow("Polish") << QStringLiteral("Łukasz Wałęsa Żółć") << QByteArray("Lukasz Walesa Z\xF3lc");
    QTest::newRow("Czech keeps what the page has") << QStringLiteral("Dvořák Čapek") << QByteArray("Dvor\xE1k Capek");
    QTest::newRow("Vietnamese, two accents") << QStringLiteral("Nguyễn Đức") << QByteArray("Nguyen Duc");
    QTest::newRow("Croatian, Maltese, Sami") << QStringLiteral("đ ħĦ ŋŊ ŧ") << QByteArray("d hH nN t");
    QTest::newRow("accents written apart are joined") << QStringLiteral("Jose\u0301 R\u030Cimek") << QByteArray("Jos\xE9 Rimek");
    QTest::newRow("compatibility forms") << QStringLiteral("ﬁnal ①") << QByteArray("final 1");
    QTest::newRow("capital sharp s and dashes") << QStringLiteral("STRAẞE 3‐5 −2") << QByteArray("STRASSE 3-5 -2");
    QTest::newRow("Danish and German as they are") << QStringLiteral("Søren Æbelø Weiß") << QByteArray("S\xF8ren \xC6" "bel\xF8 Wei\xDF");
    QTest::newRow("no letter to write") << QStringLiteral("李 Ω😀") << QByteArray("? ??");
}

void TestPlatform::cp1252_writesOtherLettersWithoutAccents()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(cp1252::encode(text), bytes);

    // Files written in the code page take the same form.
    test::TempProgramFolder dir(test::TempProgramFolder::Content::Empty);
    IniFile ini(dir.file(QStringLiteral("a.ini")), IniFile::Encoding::Cp1252);
    ini.writeString(QStringLiteral("S"), QStringLiteral("Name"), text);
    QVERIFY(ini.save());
    QCOMPARE(dir.read(QStringLiteral("a.ini")), "[S]\r\nName=" + bytes + "\r\n");
}

void TestPlatform::ini_updateKeepsOtherLinesAndOrder()
{
    IniFile ini;
    ini.parse("; Kommentar\r\n[Allgemein]\r\nName=Alt\r\nZahl=3\r\n\r\n[Andere]\r\nX=1\r\n");
    ini.writeString(QStringLiteral("allgemein"), QStringLiteral("NAME"), QStringLiteral("Neu"));
    ini.writeInteger(QStringLiteral("Andere"), QStringLiteral("Y"), 2);
    ini.writeBool(QStringLiteral("Dritte"), QStringLiteral("An"), true);
    QCOMPARE(ini.serialize(),
             QByteArray("; Kommentar\r\n[Allgemein]\r\nName=Neu\r\nZahl=3\r\n\r\n[Andere]\r\nX=1\r\nY=2\r\n"
                        "[Dritte]\r\nAn=1\r\n"));
    ini.deleteKey(QStringLiteral("Allgemein"), QStringLiteral("Zahl"));
    ini.eraseSection(QStringLiteral("Andere"));
    QVERIFY(!ini.hasKey(QStringLiteral("Allgemein"), QStringLiteral("Zahl")));
    QVERIFY(!ini.hasSection(QStringLiteral("Andere")));
    QCOMPARE(ini.sections(), (QStringList{QStringLiteral("Allgemein"), QStringLiteral("Dritte")}));
}

void TestPlatform::ini_cp1252FileRoundTrip()
{
    test::TempProgramFolder dir(test::TempProgramFolder::Content::Empty);
    QVERIFY(dir.write(QStringLiteral("a.ini"), "[S]\r\nOrt=Kr\xF6llbach\r\n"));
    IniFile ini(dir.file(QStringLiteral("a.ini")), IniFile::Encoding::Cp1252);
    QVERIFY(ini.load());
    QCOMPARE(ini.readString(QStringLiteral("S"), QStringLiteral("Ort")), QStringLiteral("Kröllbach"));
    ini.writeString(QStringLiteral("S"), QStringLiteral("Ort"), QStringLiteral("Lüttgenau"));
    QVERIFY(ini.save());
    QCOMPARE(dir.read(QStringLiteral("a.ini")), QByteArray("[S]\r\nOrt=L\xFCttgenau\r\n"));
}

void TestPlatform::ini_readsDefaultsAndTypes()
{
    IniFile ini;
    ini.parse("[S]\nN=12\nB=0\nT=x\n");
    QCOMPARE(ini.readInteger(QStringLiteral("S"), QStringLiteral("N"), -1), 12);
    QCOMPARE(ini.readInteger(QStringLiteral("S"), QStringLiteral("T"), -1), -1);
    QCOMPARE(ini.readInteger(QStringLiteral("S"), QStringLiteral("fehlt"), 7), 7);
    QCOMPARE(ini.readBool(QStringLiteral("S"), QStringLiteral("B"), true), false);
    QCOMPARE(ini.readString(QStringLiteral("X"), QStringLiteral("N"), QStringLiteral("d")), QStringLiteral("d"));
}

void TestPlatform::german_numbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    QTest::newRow("comma") << "3,5" << true << 3.5;
    QTest::newRow("integer") << "42" << true << 42.0;
    QTest::newRow("negative") << "-1,25" << true << -1.25;
    QTest::newRow("spaces") << " 7 " << true << 7.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("two commas") << "1,2,3" << false << 0.0;
}

void TestPlatform::german_numbers()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    const auto parsed = german::parseNumber(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

void TestPlatform::german_sumOfFractionsPrintsShort()
{
    QCOMPARE(german::formatNumber(1.1 + 2.2), QStringLiteral("3,3"));
    QCOMPARE(german::formatNumber(2.0), QStringLiteral("2"));
    QCOMPARE(german::formatNumber(1234567.0), QStringLiteral("1234567"));
    QCOMPARE(german::formatFixed(2.5, 2), QStringLiteral("2,50"));
}

void TestPlatform::german_dates()
{
    QCOMPARE(german::formatDate(QDate(2026, 3, 7)), QStringLiteral("07.03.2026"));
    QCOMPARE(german::parseDate(QStringLiteral("07.03.2026")), std::optional<QDate>(QDate(2026, 3, 7)));
    QVERIFY(!german::parseDate(QStringLiteral("31.02.2026")).has_value());
    QCOMPARE(german::formatTime(QTime(9, 5)), QStringLiteral("09:05"));
    QVERIFY(german::lessThan(QStringLiteral("Äpfel"), QStringLiteral("Birnen")));
}

void TestPlatform::paths_resolveIgnoresCaseAndBackslashes()
{
    test::TempProgramFolder dir(test::TempProgramFolder::Content::Empty);
    QVERIFY(dir.write(QStringLiteral("images/greydot.gif"), "GIF89a"));
    const AppPaths paths = dir.paths();
    QCOMPARE(paths.programFile(QStringLiteral("Images\\GreyDot.gif")), dir.file(QStringLiteral("images/greydot.gif")));
    QCOMPARE(paths.programFile(QStringLiteral("Neu\\Datei.txt")), dir.file(QStringLiteral("Neu/Datei.txt")));
}

void TestPlatform::guarded_showsErrorAndContinues()
{
    test::FakePrompter prompter;
    prompter.expect(PromptKind::Error, QStringLiteral("Datei fehlt"));
    QVERIFY(!runGuarded(prompter, [] { throw AppError(QStringLiteral("Datei fehlt")); }));
    QVERIFY(runGuarded(prompter, [] {}));
    QVERIFY(prompter.verify());
}

void TestPlatform::pg_fixtureGivesOwnDatabase()
{
    test::PgFixture pg;
    if (!pg.ready())
        return;
    QSqlDatabase db = pg.open(QStringLiteral("fixture"));
    QVERIFY(db.isOpen());
    QSqlQuery q(db);
    QVERIFY(q.exec(QStringLiteral("SELECT current_database()")) && q.next());
    QCOMPARE(q.value(0).toString(), pg.databaseName());
    QVERIFY(q.exec(QStringLiteral("CREATE TABLE t (a INTEGER)")));
}

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
