// The text records of the live-results service: the checks of the login reply,
// the class list and the registrations as tables of replies, and the records
// the desk sends, written alike under a German and a C locale.
#include "live/liverecords.h"
#include "platform/apperror.h"

#include <QLocale>
#include <QTest>

using namespace bw;

Q_DECLARE_METATYPE(std::optional<QList<bw::OnlineTournament>>)

namespace {

// n fields joined by "#-#".
QString joined(const QStringList& fields)
{
    return fields.join(kFieldSeparator);
}

QStringList registration(int i)
{
    return {QStringLiteral("Vor%1").arg(i), QStringLiteral("Nach%1").arg(i), QStringLiteral("v%1@example.org").arg(i),
            QStringLiteral("TTC Eichental"), QString::number(100 + i), QStringLiteral("03.04.2001"),
            QStringLiteral("Kreis Nord"), QStringLiteral("Bezirk Mitte"), QStringLiteral("Landesverband"),
            QStringLiteral("Deutschland"), QStringLiteral("7,9"), QStringLiteral("w"), QStringLiteral("Damen"),
            QStringLiteral("1540")};
}

// "#-#" and every registration's 14 fields each followed by "#-#".
QString registrationReply(int count)
{
    QString reply = kFieldSeparator;
    for (int i = 1; i <= count; ++i)
        reply += joined(registration(i)) + kFieldSeparator;
    return reply;
}

LiveClassRow herren()
{
    LiveClassRow row;
    row.kbezeichnung = QStringLiteral("Herren A");
    row.system = 0;
    row.mann = true;
    row.frau = false;
    row.saetze = 3;
    row.altersklasseID = QStringLiteral("U18");
    row.atag = QDateTime(QDate(2026, 12, 12), QTime(0, 0));
    row.uhrzeit = QDateTime(QDate(2026, 12, 12), QTime(14, 30));
    return row;
}

LiveMatch finishedMatch()
{
    LiveMatch m;
    m.phase = 1;
    m.loserSide = true;
    m.groupOrRound = 2;
    m.spielnummer = 5;
    m.sid1 = 11;
    m.spieler1 = QStringLiteral("Abel, Anna");
    m.sid2 = 12;
    m.spieler2 = QStringLiteral("Berg, Bea");
    m.inPlanung = true;
    m.begonnen = true;
    m.beendet = true;
    m.saetze = {5, -8, 11, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt};
    m.geplanterTag = QDateTime(QDate(2026, 12, 12), QTime(0, 0));
    m.spielstart = QDateTime(QDate(2026, 12, 12), QTime(9, 5, 30));
    m.ergebnis = QStringLiteral("2:1");
    return m;
}

} // namespace

class TestLiveRecords : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void split_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("empty") << QString() << QStringList{QString()};
        QTest::newRow("leading") << QStringLiteral("#-#a") << QStringList{QString(), QStringLiteral("a")};
        QTest::newRow("empty items count") << QStringLiteral("a#-##-#b#-#")
                                           << QStringList{QStringLiteral("a"), QString(), QStringLiteral("b"), QString()};
        QTest::newRow("overlapping") << QStringLiteral("#-#-#") << QStringList{QString(), QStringLiteral("-#")};
    }
    void split()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, items);
        QCOMPARE(splitRecord(text, kFieldSeparator), items);
    }

    void integers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<int>>("value");
        QTest::newRow("17") << QStringLiteral("17") << std::optional<int>(17);
        QTest::newRow("negative") << QStringLiteral("-4") << std::optional<int>(-4);
        QTest::newRow("largest") << QStringLiteral("2147483647") << std::optional<int>(2147483647);
        QTest::newRow("too large") << QStringLiteral("2147483648") << std::optional<int>();
        QTest::newRow("empty") << QString() << std::optional<int>();
        QTest::newRow("minus alone") << QStringLiteral("-") << std::optional<int>();
        QTest::newRow("blank") << QStringLiteral(" 17") << std::optional<int>();
        QTest::newRow("plus") << QStringLiteral("+17") << std::optional<int>();
        QTest::newRow("letters") << QStringLiteral("17a") << std::optional<int>();
        QTest::newRow("arabic digits") << QStringLiteral("\u0661\u0667") << std::optional<int>();
    }
    void integers()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<int>, value);
        QCOMPARE(decimalInteger(text), value);
    }

    void login_data()
    {
        using List = std::optional<QList<OnlineTournament>>;
        QTest::addColumn<QString>("reply");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("userId");
        QTest::addColumn<List>("tournaments");
        QTest::addColumn<QString>("error");
        const QString errorLine = QStringLiteral("Achtung es trat folgender Fehler auf:\r");
        const QString badId = errorLine + QStringLiteral("Der Server lieferte keine gültige Benutzerkennung: ");

        QTest::newRow("user id 17 alone") << QStringLiteral("#*#17") << true << 17 << List(QList<OnlineTournament>{})
                                          << QString();
        QTest::newRow("two tournaments")
            << QStringLiteral("#*#17#*#4711#*#Stadtmeisterschaft#*#12.12.2026#*#4712#*#Pokal#*#")
            << true << 17
            << List(QList<OnlineTournament>{{QStringLiteral("4711"), QStringLiteral("Stadtmeisterschaft"),
                                             QStringLiteral("12.12.2026")},
                                            {QStringLiteral("4712"), QStringLiteral("Pokal"), QString()}})
            << QString();
        QTest::newRow("one item short keeps the list")
            << QStringLiteral("#*#17#*#4711#*#Stadtmeisterschaft") << true << 17 << List() << QString();
        QTest::newRow("error text") << QStringLiteral("Benutzer unbekannt") << false << 0 << List()
                                    << errorLine + QStringLiteral("Benutzer unbekannt");
        QTest::newRow("empty reply") << QString() << false << 0 << List() << errorLine;
        QTest::newRow("user id no number") << QStringLiteral("#*#abc") << false << 0 << List()
                                           << badId + QStringLiteral("abc");
        QTest::newRow("user id 0") << QStringLiteral("#*#0#*#1#*#a#*#b") << false << 0 << List() << badId + QStringLiteral("0");
        QTest::newRow("user id negative") << QStringLiteral("#*#-3") << false << 0 << List() << badId + QStringLiteral("-3");
        QTest::newRow("user id empty") << QStringLiteral("#*#") << false << 0 << List() << badId;
    }
    void login()
    {
        QFETCH(QString, reply);
        const LoginCheck check = checkLoginReply(reply);
        QTEST(check.ok, "ok");
        QTEST(check.userId, "userId");
        QTEST(check.tournaments, "tournaments");
        QTEST(check.error, "error");
    }

    void loginManyTournaments()
    {
        QString reply = QStringLiteral("#*#9");
        for (int i = 1; i <= 300; ++i)
            reply += QStringLiteral("#*#%1#*#Turnier %1#*#").arg(i);
        const LoginCheck check = checkLoginReply(reply);
        QVERIFY(check.ok);
        QCOMPARE(check.tournaments->size(), 300);
        QCOMPARE(check.tournaments->last().caption(), QStringLiteral("300 - Turnier 300 - "));
    }

    void classList_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QList<int>>("ids");
        QTest::addColumn<QString>("error");
        const QString broken =
            QStringLiteral("Achtung es trat folgender Fehler auf:\rDie Liste der Klassen wurde nicht korrekt geladen!");

        QTest::newRow("two classes")
            << QStringLiteral("#-#7#-#0#-#Herren A#-#0#-#x#-#8#-#1#-#Doppel#-#12#-#")
            << true << QStringList{QStringLiteral("Herren A (Ez)"), QStringLiteral("Doppel (Dp)")} << QList<int>{7, 8}
            << QString();
        QTest::newRow("unknown kind bare") << QStringLiteral("#-#9#-#5#-#Sonder#-##-#") << true
                                           << QStringList{QStringLiteral("Sonder")} << QList<int>{9} << QString();
        QTest::newRow("ends with a separator") << QStringLiteral("#-#7#-#0#-#Herren A#-#0#-#x#-#") << false
                                               << QStringList{} << QList<int>{} << broken;
        QTest::newRow("id no number") << QStringLiteral("#-#7#-#0#-#A#-#0#-#x#-#acht#-#0#-#B#-#0#-#x") << false
                                      << QStringList{} << QList<int>{} << broken;
        QTest::newRow("separator alone") << QStringLiteral("#-#") << false << QStringList{} << QList<int>{} << broken;
        QTest::newRow("error text") << QStringLiteral("Turnier unbekannt") << false << QStringList{} << QList<int>{}
                                    << QStringLiteral("Achtung es trat folgender Fehler auf :\rTurnier unbekannt");
    }
    void classList()
    {
        QFETCH(QString, reply);
        const ClassListCheck check = checkClassList(reply);
        QTEST(check.ok, "ok");
        QStringList captions;
        QList<int> ids;
        for (const OnlineClass& c : check.classes) {
            captions << c.caption();
            ids << c.id;
        }
        QTEST(captions, "captions");
        QTEST(ids, "ids");
        QTEST(check.error, "error");
    }

    void countHints_data()
    {
        QTest::addColumn<QString>("count");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QString>("hint");
        QTest::newRow("0") << QStringLiteral("0") << false << QString();
        QTest::newRow("empty") << QString() << false << QString();
        QTest::newRow("1") << QStringLiteral("1") << true << QStringLiteral("Es hat sich bereits 1 Spieler angemeldet.");
        QTest::newRow("12") << QStringLiteral("12") << true
                            << QStringLiteral("Es haben sich bereits 12 Spieler angemeldet.");
    }
    void countHints()
    {
        QFETCH(QString, count);
        const ClassListCheck check = checkClassList(QStringLiteral("#-#7#-#0#-#Herren#-#%1#-#").arg(count));
        QVERIFY(check.ok);
        QTEST(check.classes.first().hasRegistrations(), "bold");
        QTEST(check.classes.first().hint(), "hint");
    }

    void manyClasses()
    {
        QString reply;
        for (int i = 1; i <= 60; ++i)
            reply += QStringLiteral("#-#%1#-#3#-#Team %1#-#0#-#").arg(i);
        const ClassListCheck check = checkClassList(reply);
        QVERIFY(check.ok);
        QCOMPARE(check.classes.size(), 60);
        QCOMPARE(check.classes.last().caption(), QStringLiteral("Team 60 (Te)"));
    }

    void registrations_data()
    {
        using Outcome = RegistrationCheck::Outcome;
        QTest::addColumn<QString>("reply");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("message");

        QTest::newRow("0 alone") << QStringLiteral("0") << Outcome::NoRegistrations << 0
                                 << QStringLiteral("Es liegen keine Anmeldungen vor");
        QTest::newRow("starting with 0") << QStringLiteral("0 Anmeldungen") << Outcome::NoRegistrations << 0
                                         << QStringLiteral("Es liegen keine Anmeldungen vor");
        QTest::newRow("error text") << QStringLiteral("Falscher Code") << Outcome::ErrorReply << 0
                                    << QStringLiteral("Achtung es trat folgender Fehler auf :\rFalscher Code");
        QTest::newRow("one") << registrationReply(1) << Outcome::Ok << 1 << QString();
        QTest::newRow("text after the last separator")
            << registrationReply(2) + QStringLiteral("Ende") << Outcome::Ok << 2 << QString();
        QTest::newRow("14 fields without a trailing separator")
            << kFieldSeparator + joined(registration(1)) << Outcome::WrongCount << 0
            << QStringLiteral("Die Anmeldungen konnten nicht korrekt abgefragt werden. (14)");
        QTest::newRow("more than 255") << registrationReply(300) << Outcome::Ok << 300 << QString();
        QTest::newRow("separator alone") << kFieldSeparator << Outcome::Ok << 0 << QString();
    }
    void registrations()
    {
        QFETCH(QString, reply);
        const RegistrationCheck check = checkRegistrations(reply);
        QTEST(check.outcome, "outcome");
        QTEST(int(check.records.size()), "records");
        QTEST(check.message, "message");
    }

    void registrationFields()
    {
        QStringList second = registration(2);
        second[5] = QStringLiteral("31.02.2001"); // no such day
        const RegistrationCheck check =
            checkRegistrations(kFieldSeparator + joined(registration(1)) + kFieldSeparator + joined(second) + kFieldSeparator);
        QCOMPARE(check.outcome, RegistrationCheck::Outcome::Ok);
        AnmeldungRecord expected;
        expected.LiveSpielerID = QStringLiteral("101");
        expected.vorname = QStringLiteral("Vor1");
        expected.nachname = QStringLiteral("Nach1");
        expected.email = QStringLiteral("v1@example.org");
        expected.verein = QStringLiteral("TTC Eichental");
        expected.geb = QStringLiteral("03.04.2001");
        expected.klassenIDs = QStringLiteral("7,9");
        expected.kverband = QStringLiteral("Kreis Nord");
        expected.bverband = QStringLiteral("Bezirk Mitte");
        expected.lverband = QStringLiteral("Landesverband");
        expected.land = QStringLiteral("Deutschland");
        expected.SID = QStringLiteral("0");
        expected.geschlecht = QStringLiteral("w");
        expected.spklasse = QStringLiteral("Damen");
        expected.LPZ = QStringLiteral("1540");
        QCOMPARE(check.records.at(0), expected);
        QCOMPARE(check.records.at(1).geb, QString());
        QCOMPARE(check.records.at(1).LiveSpielerID, QStringLiteral("102"));
    }

    void values_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("German") << QStringLiteral("de_DE");
        QTest::newRow("C") << QStringLiteral("C");
    }
    void values()
    {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(recordValue(std::optional<bool>(true)), QStringLiteral("Wahr"));
        QCOMPARE(recordValue(std::optional<bool>(false)), QStringLiteral("Falsch"));
        QCOMPARE(recordValue(std::optional<bool>()), QString());
        QCOMPARE(recordValue(std::optional<int>(-1234567)), QStringLiteral("-1234567"));
        QCOMPARE(recordValue(std::optional<int>()), QString());
        QCOMPARE(recordValue(std::optional<QDateTime>(QDateTime(QDate(2026, 1, 2), QTime(0, 0)))),
                 QStringLiteral("02.01.2026"));
        QCOMPARE(recordValue(std::optional<QDateTime>(QDateTime(QDate(1899, 12, 30), QTime(8, 5, 9)))),
                 QStringLiteral("30.12.1899 08:05:09"));
        QCOMPARE(recordValue(std::optional<QDateTime>()), QString());

        QCOMPARE(klassenString(4711, 7, herren(), LivePhases{0, 1, std::nullopt}),
                 QStringLiteral("#-#4711#-#7#-#Herren A#-#0#-#Wahr#-#Falsch#-#3#-#U18#-#12.12.2026"
                                "#-#12.12.2026 14:30:00#-#0#-#1#-#"));
        QCOMPARE(publishString(4711, 7, {finishedMatch()}),
                 QStringLiteral("#-#4711#-#7#-#1#-#1#-#2#-#5#-#11#-#Abel, Anna#-#12#-#Berg, Bea#-#3"
                                "#-#5#-#-8#-#11#-##-##-##-##-##-##-#12.12.2026 09:05:30#-#2:1"));
    }

    void classRecord()
    {
        // Without group settings the class sends "0" for each phase.
        const QString record = klassenString(4711, 0, herren(), std::nullopt);
        QVERIFY(record.endsWith(QStringLiteral("#-#0#-#0#-#0")));
        QCOMPARE(splitRecord(record, kFieldSeparator).size(), 14);

        LiveClassRow nulls;
        QCOMPARE(klassenString(1, 2, nulls, LivePhases{}), QStringLiteral("#-#1#-#2#-##-##-##-##-##-##-##-##-##-##-#"));

        LiveClassRow bad = herren();
        bad.altersklasseID = QStringLiteral("U18#*#");
        QVERIFY_THROWS_EXCEPTION(AppError, klassenString(1, 2, bad, std::nullopt));
    }

    void playerRecord()
    {
        QCOMPARE(playerString(4711, {}), QStringLiteral("#-#4711"));
        const QList<LivePlayer> players{
            {3, QStringLiteral("Anna"), QStringLiteral("Abel"), QStringLiteral("TTC Eichental"), std::nullopt},
            {4, QStringLiteral("Bea"), QStringLiteral("Berg"), QString(), 880}};
        QCOMPARE(playerString(4711, players),
                 QStringLiteral("#-#4711#-#3#-#Anna#-#Abel#-#TTC Eichental#-#0#-#4#-#Bea#-#Berg#-##-#880"));

        // A separator in a name or club would shift every later field: refused, naming the player.
        for (const auto& [field, text] : {std::pair{0, QStringLiteral("An#-#na")}, std::pair{1, QStringLiteral("#*#")},
                                          std::pair{2, QStringLiteral("TTC #-# Nord")}}) {
            QList<LivePlayer> bad = players;
            (field == 0 ? bad[1].vorname : field == 1 ? bad[1].nachname : bad[1].verein) = text;
            try {
                playerString(4711, bad);
                QFAIL("a separator was sent");
            } catch (const AppError& e) {
                QVERIFY2(e.message().startsWith(QStringLiteral("Der Spieler \"")), qPrintable(e.message()));
                QVERIFY(e.message().contains(QStringLiteral("kann nicht übertragen werden")));
            }
        }
    }

    void matchStatuses_data()
    {
        QTest::addColumn<bool>("inPlanung");
        QTest::addColumn<bool>("begonnen");
        QTest::addColumn<bool>("beendet");
        QTest::addColumn<QString>("status");
        QTest::newRow("open") << false << false << false << QStringLiteral("0");
        QTest::newRow("planned") << true << false << false << QStringLiteral("1");
        QTest::newRow("started") << true << true << false << QStringLiteral("2");
        QTest::newRow("started unplanned") << false << true << false << QStringLiteral("2");
        QTest::newRow("finished wins") << true << true << true << QStringLiteral("3");
        QTest::newRow("finished alone") << false << false << true << QStringLiteral("3");
    }
    void matchStatuses()
    {
        QFETCH(bool, inPlanung);
        QFETCH(bool, begonnen);
        QFETCH(bool, beendet);
        QTEST(matchStatus(inPlanung, begonnen, beendet), "status");
    }

    void matchRecord()
    {
        QCOMPARE(publishString(4711, 7, {}), QStringLiteral("#-#4711#-#7"));

        LiveMatch planned = finishedMatch();
        planned.spielstart.reset();
        planned.beendet = planned.begonnen = false;
        planned.loserSide = false;
        const QStringList fields = splitRecord(publishString(1, 2, {planned, finishedMatch()}), kFieldSeparator);
        QCOMPARE(fields.size(), 3 + 2 * 20);
        QCOMPARE(fields.at(3 + 1), QStringLiteral("0"));           // loser flag
        QCOMPARE(fields.at(3 + 8), QStringLiteral("1"));           // status
        QCOMPARE(fields.at(3 + 18), QStringLiteral("12.12.2026")); // no start: the planned day
        QCOMPARE(fields.at(23 + 18), QStringLiteral("12.12.2026 09:05:30"));

        LiveMatch bad = finishedMatch();
        bad.spieler2 = QStringLiteral("Sieger Spiel #-#3");
        try {
            publishString(1, 2, {bad});
            QFAIL("a separator was sent");
        } catch (const AppError& e) {
            QVERIFY2(e.message().startsWith(QStringLiteral("Das Spiel 5 ")), qPrintable(e.message()));
        }
    }
};

QTEST_GUILESS_MAIN(TestLiveRecords)
#include "test_liverecords.moc"
