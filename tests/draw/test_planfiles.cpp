// The reader of the plan-definition files: splitting lines, numbers, finding a
// block by its key, the group order and the double knock-out blocks, and what it
// reports for missing and broken content.
#include "draw/planfiles.h"

#include "platform/apperror.h"
#include "support/tempprogramfolder.h"

#include <QBuffer>
#include <QTest>

using namespace bw;

Q_DECLARE_METATYPE(bw::PlanLookup)

namespace {

GroupOrder groupOrderOf(const QByteArray& text, int size)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    return readGroupOrder(buffer, QStringLiteral("system.txt"), size);
}

DoubleKoPlan doubleKoOf(const QByteArray& text, int size)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    return readDoubleKoPlan(buffer, QStringLiteral("ko_system.txt"), size);
}

QString pairingsText(const QList<Pairing>& pairings)
{
    QStringList items;
    for (const Pairing& p : pairings)
        items << QStringLiteral("%1-%2").arg(p.first).arg(p.second);
    return items.join(QLatin1Char(';'));
}

// A consistent plan for 4 slots: first round 1-2, losers' match 3, winners' final
// 4, losers' final 5 and the final 6.
const QByteArray kFourSlots = "4:\n"
                              "6,3,18\n"
                              "1,-1,-1,-3,-3,0,0,1,0,2\n"
                              "2,-1,-1,-3,-3,0,0,1,6,8\n"
                              "3,1,2,0,0,0,0,1,14,16\n"
                              "4,1,2,1,1,0,1,2,1,7\n"
                              "5,3,4,1,0,0,1,2,15,17\n"
                              "6,4,5,1,1,0,2,3,4,16\n";

} // namespace

class TestPlanFiles : public QObject {
    Q_OBJECT
private slots:
    void splitLine_data();
    void splitLine();
    void numbers_data();
    void numbers();
    void groupOrder_data();
    void groupOrder();
    void groupOrderErrors_data();
    void groupOrderErrors();
    void doubleKoReadsFields();
    void doubleKoLabelAndFirstRoundLines();
    void doubleKoErrors_data();
    void doubleKoErrors();
    void doubleKoRules_data();
    void doubleKoRules();
    void filesOnDisk();
};

void TestPlanFiles::splitLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QChar>("delimiter");
    QTest::addColumn<QStringList>("items");

    const QChar semi(';'), comma(',');
    QTest::newRow("plain") << "1-2;3-4" << semi << QStringList{"1-2", "3-4"};
    QTest::newRow("blanks after delimiters") << "1-2; 3-4;  5-6" << semi << QStringList{"1-2", "3-4", "5-6"};
    QTest::newRow("blanks around delimiter") << "1-2 ;\t3-4" << semi << QStringList{"1-2", "3-4"};
    QTest::newRow("blank separates items") << "1-2 3-4" << semi << QStringList{"1-2", "3-4"};
    QTest::newRow("leading and trailing blanks") << "  1,2  " << comma << QStringList{"1", "2"};
    QTest::newRow("control character separates") << QString("1\x01" "2") << comma << QStringList{"1", "2"};
    QTest::newRow("two delimiters") << "1-2;;3-4" << semi << QStringList{"1-2", "", "3-4"};
    QTest::newRow("two delimiters with blank") << "1-2; ;3-4" << semi << QStringList{"1-2", "", "3-4"};
    QTest::newRow("trailing delimiter") << "1-2;3-4;" << semi << QStringList{"1-2", "3-4", ""};
    QTest::newRow("trailing delimiter and blank") << "1-2;3-4; " << semi << QStringList{"1-2", "3-4", ""};
    QTest::newRow("delimiter alone") << ";" << semi << QStringList{"", ""};
    QTest::newRow("leading delimiter") << ",1" << comma << QStringList{"", "1"};
    QTest::newRow("empty line") << "" << semi << QStringList{};
    QTest::newRow("blank line") << " \t " << semi << QStringList{};
    QTest::newRow("quoted blank and delimiter") << R"("a b;c";d)" << semi << QStringList{"a b;c", "d"};
    QTest::newRow("quoted quote") << R"("say ""1""",2)" << comma << QStringList{R"(say "1")", "2"};
    QTest::newRow("empty quotes") << R"("",1)" << comma << QStringList{"", "1"};
    QTest::newRow("text after closing quote") << R"("ab"cd,e)" << comma << QStringList{"ab", "cd", "e"};
    QTest::newRow("unterminated quote") << R"(1,"open, end)" << comma << QStringList{"1", "open, end"};
    QTest::newRow("other delimiter is text") << "1;2,3" << comma << QStringList{"1;2", "3"};
}

void TestPlanFiles::splitLine()
{
    QFETCH(QString, line);
    QFETCH(QChar, delimiter);
    QFETCH(QStringList, items);
    QCOMPARE(splitPlanLine(line, delimiter), items);
}

void TestPlanFiles::numbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");

    QTest::newRow("zero") << "0" << true << 0;
    QTest::newRow("positive") << "128" << true << 128;
    QTest::newRow("negative") << "-3" << true << -3;
    QTest::newRow("largest") << "2147483647" << true << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << true << int(-2147483648LL);
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("minus alone") << "-" << false << 0;
    QTest::newRow("plus sign") << "+1" << false << 0;
    QTest::newRow("leading zero") << "07" << false << 0;
    QTest::newRow("negative zero") << "-0" << false << 0;
    QTest::newRow("negative leading zero") << "-01" << false << 0;
    QTest::newRow("decimal") << "1.5" << false << 0;
    QTest::newRow("blank inside") << "1 2" << false << 0;
    QTest::newRow("letters") << "x1" << false << 0;
    QTest::newRow("too large") << "2147483648" << false << 0;
    QTest::newRow("far too large") << "99999999999999999999" << false << 0;
}

void TestPlanFiles::numbers()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    const auto parsed = parsePlanNumber(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

void TestPlanFiles::groupOrder_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("size");
    QTest::addColumn<PlanLookup>("lookup");
    QTest::addColumn<QString>("pairings");

    const QByteArray ascending = "1:\n\n2:\n1-2\n3:\n2-3;1-3;1-2\n4:\n1-4;2-3;1-3;2-4;3-4;1-2\n"
                                 "13:\n1-2\n";
    QTest::newRow("block of 4 in its order") << ascending << 4 << PlanLookup::Found << "1-4;2-3;1-3;2-4;3-4;1-2";
    QTest::newRow("block of 3") << ascending << 3 << PlanLookup::Found << "2-3;1-3;1-2";
    QTest::newRow("group of one plays nothing") << ascending << 1 << PlanLookup::Found << "";
    QTest::newRow("13 found after 3") << ascending << 13 << PlanLookup::Found << "1-2";
    QTest::newRow("13: before 3: takes the block of 13")
        << QByteArray("13:\n1-2;2-3\n3:\n2-3;1-3;1-2\n") << 3 << PlanLookup::Found << "1-2;2-3";
    QTest::newRow("missing block is reported") << ascending << 5 << PlanLookup::BlockMissing << "";
    QTest::newRow("other lines skipped, text after key")
        << QByteArray("Spielfolgen\n\n4: vier Spieler\n1-4; 2-3; 1-3; 2-4; 3-4; 1-2\n") << 4 << PlanLookup::Found
        << "1-4;2-3;1-3;2-4;3-4;1-2";
    QTest::newRow("reversed pairing kept as written") << QByteArray("2:\n2-1\n") << 2 << PlanLookup::Found << "2-1";
    QTest::newRow("CRLF line ends") << QByteArray("3:\r\n2-3;1-3;1-2\r\n") << 3 << PlanLookup::Found << "2-3;1-3;1-2";
    QTest::newRow("last line without line end") << QByteArray("2:\n1-2") << 2 << PlanLookup::Found << "1-2";
    QTest::newRow("empty file") << QByteArray() << 2 << PlanLookup::BlockMissing << "";
}

void TestPlanFiles::groupOrder()
{
    QFETCH(QByteArray, file);
    QFETCH(int, size);
    QFETCH(PlanLookup, lookup);
    QFETCH(QString, pairings);
    const GroupOrder order = groupOrderOf(file, size);
    QCOMPARE(order.lookup, lookup);
    QCOMPARE(pairingsText(order.pairings), pairings);
}

void TestPlanFiles::groupOrderErrors_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("message");

    QTest::newRow("trailing semicolon")
        << QByteArray("3:\n2-3;1-3;1-2;\n") << 3
        << R"(Fehler in der Datei "system.txt", Zeile 2: "" ist keine Paarung zweier Plätze.)";
    QTest::newRow("two semicolons") << QByteArray("3:\n2-3;;1-2\n") << 3
                                    << R"(Fehler in der Datei "system.txt", Zeile 2: "" ist keine Paarung zweier Plätze.)";
    QTest::newRow("no dash") << QByteArray("2:\n12\n") << 2
                             << R"(Fehler in der Datei "system.txt", Zeile 2: "12" ist keine Paarung zweier Plätze.)";
    QTest::newRow("not numbers") << QByteArray("2:\na-b\n") << 2
                                 << R"(Fehler in der Datei "system.txt", Zeile 2: "a-b" ist keine Paarung zweier Plätze.)";
    QTest::newRow("leading zero") << QByteArray("2:\n01-2\n") << 2
                                  << R"(Fehler in der Datei "system.txt", Zeile 2: "01-2" ist keine Paarung zweier Plätze.)";
    QTest::newRow("place beyond the group")
        << QByteArray("3:\n1-4\n") << 3
        << R"(Fehler in der Datei "system.txt", Zeile 2: Die Paarung "1-4" passt nicht zu einer Gruppe mit 3 Teilnehmern.)";
    QTest::newRow("place 0") << QByteArray("3:\n0-1\n") << 3
                             << R"(Fehler in der Datei "system.txt", Zeile 2: Die Paarung "0-1" passt nicht zu einer Gruppe mit 3 Teilnehmern.)";
    QTest::newRow("negative second place")
        << QByteArray("3:\n1--2\n") << 3
        << R"(Fehler in der Datei "system.txt", Zeile 2: Die Paarung "1--2" passt nicht zu einer Gruppe mit 3 Teilnehmern.)";
    QTest::newRow("place against itself")
        << QByteArray("3:\n2-2\n") << 3
        << R"(Fehler in der Datei "system.txt", Zeile 2: Die Paarung "2-2" passt nicht zu einer Gruppe mit 3 Teilnehmern.)";
    QTest::newRow("empty order for two places")
        << QByteArray("1:\n\n2:\n  \n") << 2
        << R"(Fehler in der Datei "system.txt", Zeile 4: Die Spielfolge für 2 Teilnehmer ist leer.)";
    QTest::newRow("key on the last line") << QByteArray("1:\n\n3:") << 3
                                          << "Fehler in der Datei \"system.txt\", Zeile 4: Die Datei endet vor der "
                                             "Spielfolge für 3 Teilnehmer.";
}

void TestPlanFiles::groupOrderErrors()
{
    QFETCH(QByteArray, file);
    QFETCH(int, size);
    QFETCH(QString, message);
    try {
        groupOrderOf(file, size);
        QFAIL("no error raised");
    } catch (const AppError& e) {
        QCOMPARE(e.message(), message);
    }
}

void TestPlanFiles::doubleKoReadsFields()
{
    const DoubleKoPlan plan = doubleKoOf("2:\n2,2,4\n1,-1,-1,-3,-3,0,0,1,0,2\n2,1,1,1,0,0,1,2,1,3\n" + kFourSlots, 4);
    QVERIFY(plan.found());
    QCOMPARE(plan.columns, 3);
    QCOMPARE(plan.rows, 18);
    QCOMPARE(plan.lines.size(), 6);
    const DoubleKoLine& first = plan.lines[1];
    QVERIFY(first.isFirstRound());
    QCOMPARE(first.f0, 2);
    QCOMPARE(first.f1, -1);
    QCOMPARE(first.f2, -1);
    QCOMPARE(first.f8, 6);
    QCOMPARE(first.f9, 8);
    // Match 5 meets the winner of 3 and the loser of 4.
    const DoubleKoLine& losersFinal = plan.lines[4];
    QVERIFY(!losersFinal.isFirstRound() && !losersFinal.isLabel());
    QCOMPARE(losersFinal.f0, 5);
    QCOMPARE(losersFinal.f1, 3);
    QCOMPARE(losersFinal.f2, 4);
    QVERIFY(losersFinal.slot1IsWinner());
    QVERIFY(!losersFinal.slot2IsWinner());
    QCOMPARE(losersFinal.f6, 1);
    QCOMPARE(losersFinal.f7, 2);
    QCOMPARE(losersFinal.f8, 15);
    QCOMPARE(losersFinal.f9, 17);
    QVERIFY(doubleKoRuleViolations(plan, 4).isEmpty());

    // A block for 8 slots: match 5 meets the winners of matches 1 and 2.
    const DoubleKoPlan eight = doubleKoOf("8:\n5,4,20\n"
                                          "1,-1,-1,-3,-3,0,0,1,0,2\n2,-1,-1,-3,-3,0,0,1,6,8\n"
                                          "3,-1,-1,-3,-3,0,0,1,12,14\n4,-1,-1,-3,-3,0,0,1,18,20\n"
                                          "5 , 1 , 2 , 1 , 1 , 0 , 1 , 2 , \"1\" , 7\n",
                                          8);
    const DoubleKoLine& fifth = eight.lines.last();
    QCOMPARE(fifth.f0, 5);
    QCOMPARE(fifth.f1, 1);
    QCOMPARE(fifth.f2, 2);
    QVERIFY(fifth.slot1IsWinner() && fifth.slot2IsWinner());
    QCOMPARE(fifth.f8, 1);
}

void TestPlanFiles::doubleKoLabelAndFirstRoundLines()
{
    // A label line needs no f2, f4 or f9, and f3 names the winner only as "1"; a
    // first-round line needs no f4. f5 is never read.
    const DoubleKoPlan plan = doubleKoOf("2:\n5,3,6,ignored\n"
                                         "1,-1,-1,-3,,x,0,1,0,2\n"
                                         "2,1,1,1,0,,1,2,1,3\n"
                                         "-1,2,,1,,,2,3,2\n"
                                         "-1,1,,0\t,,,1,3,5\n"
                                         "-1,1,,winner,,,1,3,7\n",
                                         2);
    QVERIFY(plan.found());
    QCOMPARE(plan.lines.size(), 5);
    QVERIFY(plan.lines[0].isFirstRound());
    const DoubleKoLine& winner = plan.lines[2];
    QVERIFY(winner.isLabel());
    QCOMPARE(winner.f1, 2);
    QCOMPARE(winner.f3, 1);
    QCOMPARE(winner.f6, 2);
    QCOMPARE(winner.f7, 3);
    QCOMPARE(winner.f8, 2);
    QCOMPARE(plan.lines[3].f3, 0);
    QCOMPARE(plan.lines[4].f3, 0);
    QVERIFY(doubleKoRuleViolations(plan, 2).isEmpty());
}

void TestPlanFiles::doubleKoErrors_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");

    const QString at = QStringLiteral("Fehler in der Datei \"ko_system.txt\", Zeile %1: %2");
    QTest::newRow("empty item read as number")
        << QByteArray("2:\n2,2,4\n1,-1,-1,-3,-3,0,0,1,0,2\n2,1,,1,0,0,1,2,1,3\n")
        << at.arg(4).arg(R"("" (Feld 2) ist keine ganze Zahl.)");
    QTest::newRow("letters in a grid field")
        << QByteArray("2:\n1,2,4\n1,-1,-1,-3,-3,0,zero,1,0,2\n") << at.arg(3).arg(R"("zero" (Feld 6) ist keine ganze Zahl.)");
    QTest::newRow("short match line")
        << QByteArray("2:\n1,2,4\n1,-1,-1,-3,-3,0,0,1,0\n") << at.arg(3).arg("Es fehlt Feld 9.");
    QTest::newRow("label line without f3") << QByteArray("2:\n1,2,4\n-1,1,2\n") << at.arg(3).arg("Es fehlt Feld 3.");
    QTest::newRow("fewer lines than the count")
        << QByteArray("2:\n3,2,4\n1,-1,-1,-3,-3,0,0,1,0,2\n") << at.arg(4).arg("Die Datei endet vor der 2. von 3 Zeilen.");
    QTest::newRow("no header") << QByteArray("2:\n") << at.arg(2).arg("Die Datei endet vor der Kopfzeile.");
    QTest::newRow("short header") << QByteArray("2:\n2,2\n") << at.arg(2).arg("Es fehlt die Anzahl der Rasterzeilen.");
    QTest::newRow("negative count") << QByteArray("2:\n-1,2,4\n") << at.arg(2).arg("Die Kopfzeile enthält eine negative Zahl.");
    QTest::newRow("header with leading zero")
        << QByteArray("2:\n02,2,4\n") << at.arg(2).arg(R"("02" (die Anzahl der Zeilen) ist keine ganze Zahl.)");
}

void TestPlanFiles::doubleKoErrors()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    try {
        doubleKoOf(file, 2);
        QFAIL("no error raised");
    } catch (const AppError& e) {
        QCOMPARE(e.message(), message);
    }
}

void TestPlanFiles::doubleKoRules_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QStringList>("faults");

    QTest::newRow("sound") << kFourSlots << QStringList{};
    QTest::newRow("gap in the numbers")
        << QByteArray(kFourSlots).replace("5,3,4,", "7,3,4,").replace("6,4,5,", "8,4,7,")
        << QStringList{"Spiel 7 steht, wo Spiel 5 stehen müsste."};
    QTest::newRow("label lines anywhere")
        << QByteArray(kFourSlots).replace("6,3,18\n", "7,3,18\n-1,1,0,1,0,0,0,1,3,0\n") << QStringList{};
    QTest::newRow("first round is not matches 1 and 2")
        << QByteArray(kFourSlots).replace("2,-1,-1,-3,-3,", "2,1,1,1,1,").replace("3,1,2,0,0,", "3,-1,-1,-3,-3,")
        << QStringList{"Spiel 2 ist kein Spiel der ersten Runde.", "Spiel 3 ist als Spiel der ersten Runde bezeichnet.",
                       "Spiel 3 hat keine Herkunft."};
    QTest::newRow("later match without sources")
        << QByteArray(kFourSlots).replace("4,1,2,1,1,", "4,-1,-1,1,1,")
        << QStringList{"Spiel 4 hat keine Herkunft."};
    QTest::newRow("source is no match")
        << QByteArray(kFourSlots).replace("6,4,5,", "6,4,9,") << QStringList{"Spiel 6 bezieht sich auf das fehlende Spiel 9."};
    // The largest number the reader takes; the next one expected lies beyond int.
    QTest::newRow("match number at the largest value")
        << QByteArray(kFourSlots).replace("5,3,4,", "2147483647,3,4,")
        << QStringList{"Spiel 2147483647 steht, wo Spiel 5 stehen müsste.",
                       "Spiel 6 steht, wo Spiel 2147483648 stehen müsste.",
                       "Spiel 6 bezieht sich auf das fehlende Spiel 5."};
    QTest::newRow("label names no match")
        << QByteArray(kFourSlots).replace("6,3,18\n", "7,3,18\n-1,12,0,1,0,0,0,1,3,0\n")
        << QStringList{"Eine Beschriftung bezieht sich auf das fehlende Spiel 12."};
}

void TestPlanFiles::doubleKoRules()
{
    QFETCH(QByteArray, lines);
    QFETCH(QStringList, faults);
    const DoubleKoPlan plan = doubleKoOf(lines, 4);
    QVERIFY(plan.found());
    QCOMPARE(doubleKoRuleViolations(plan, 4), faults);
}

void TestPlanFiles::filesOnDisk()
{
    test::TempProgramFolder folder(test::TempProgramFolder::Content::Empty);
    const AppPaths paths = folder.paths();
    const QString groups = paths.programFile(kGroupOrderFile);
    const QString brackets = paths.programFile(kDoubleKoFile);
    QCOMPARE(readGroupOrder(groups, 3).lookup, PlanLookup::FileMissing);
    QCOMPARE(readDoubleKoPlan(brackets, 4).lookup, PlanLookup::FileMissing);

    QVERIFY(folder.write(QStringLiteral("Files/system.txt"), "3:\n2-3;1-3;1-2\n"));
    QVERIFY(folder.write(QStringLiteral("Files/ko_system.txt"), kFourSlots));
    QCOMPARE(pairingsText(readGroupOrder(paths.programFile(kGroupOrderFile), 3).pairings),
             QStringLiteral("2-3;1-3;1-2"));
    QCOMPARE(readGroupOrder(paths.programFile(kGroupOrderFile), 4).lookup, PlanLookup::BlockMissing);
    QCOMPARE(readDoubleKoPlan(paths.programFile(kDoubleKoFile), 4).lines.size(), 6);
    QCOMPARE(readDoubleKoPlan(paths.programFile(kDoubleKoFile), 8).lookup, PlanLookup::BlockMissing);

    // Each reader opens the file anew: a changed file is read as it is now.
    QVERIFY(folder.write(QStringLiteral("Files/system.txt"), "3:\n1-2;1-3;2-3\n"));
    QCOMPARE(pairingsText(readGroupOrder(paths.programFile(kGroupOrderFile), 3).pairings),
             QStringLiteral("1-2;1-3;2-3"));
}

QTEST_GUILESS_MAIN(TestPlanFiles)
#include "test_planfiles.moc"
