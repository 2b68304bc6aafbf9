// The dialog "Direkter Vergleich": its texts, "Rauf" and "Runter" as a table,
// the hint of an entry, the colours it draws, and closing it by the frame or
// by "Übernehmen" handing the order back.
#include "controls/uibuttons.h"
#include "results/tvergleich.h"

#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace bw;

namespace {

// Entries from "AbcD": a capital is unmarked, a small letter marked; marked
// letters next to each other form one tie unless a "|" parts them.
QList<tabellenitem> entries(const QString& spec)
{
    QList<tabellenitem> items;
    int tie = 0;
    bool inTie = false;
    for (const QChar c : spec) {
        if (c == u'|') {
            ++tie;
            inTie = false;
            continue;
        }
        tabellenitem item;
        item.SID = 100 + (c.toUpper().unicode() - 'A');
        item.bez = QString(c.toUpper());
        if (c.isLower()) {
            item.farbe = kMarkiert;
            item.tie = tie;
            inTie = true;
        } else if (inTie) {
            ++tie;
            inTie = false;
        }
        items << item;
    }
    return items;
}

QString shown(const Tvergleich& dialog)
{
    QString text;
    for (const tabellenitem& item : dialog.order())
        text += item.marked() ? item.bez.toLower() : item.bez;
    return text;
}

} // namespace

class TestVergleich : public QObject {
    Q_OBJECT
private slots:
    void texts()
    {
        Tvergleich dialog(nullptr);
        QCOMPARE(dialog.objectName(), QStringLiteral("vergleich"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Direkter Vergleich"));
        QCOMPARE(dialog.StaticText1->text(), QStringLiteral("Die rotmarkierten Einträge sind nicht eindeutige"));
        QCOMPARE(dialog.StaticText2->text(), QStringLiteral("Tabellenplätze und müssen von Hand bestimmt werden"));
        QCOMPARE(dialog.Button1->text(), QStringLiteral("Rauf"));
        QCOMPARE(dialog.Button2->text(), QStringLiteral("Runter"));
        QCOMPARE(dialog.uiButton1->Caption(), QStringLiteral("Übernehmen"));
        QVERIFY(dialog.isModal());
        dialog.fill(entries(QStringLiteral("Abc")));
        QCOMPARE(dialog.ListBox2->currentRow(), 0);
        QCOMPARE(dialog.ListBox1->count(), 2);
        QVERIFY(dialog.ListBox1->isHidden());
        QCOMPARE(dialog.ListBox2->visualItemRect(dialog.ListBox2->item(0)).height(), 16);
    }

    void moves_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("after");
        QTest::newRow("red under black: nothing") << "Abc" << 1 << true << "Abc";
        QTest::newRow("red under red: swap") << "Abc" << 2 << true << "Acb";
        QTest::newRow("Rauf on the first entry: nothing") << "abC" << 0 << true << "abC";
        QTest::newRow("Runter on red above red: swap") << "abC" << 0 << false << "baC";
        QTest::newRow("Runter on red above black: nothing") << "abC" << 1 << false << "abC";
        QTest::newRow("Runter on the last entry: nothing") << "Abc" << 2 << false << "Abc";
        QTest::newRow("black entry: nothing") << "aBc" << 1 << true << "aBc";
        QTest::newRow("red of another tie: nothing") << "ab|cd" << 2 << true << "abcd";
        QTest::newRow("within the second tie") << "ab|cd" << 3 << true << "abdc";
    }
    void moves()
    {
        QFETCH(QString, list);
        QFETCH(int, selected);
        QFETCH(bool, up);
        QFETCH(QString, after);
        Tvergleich dialog(nullptr);
        dialog.fill(entries(list));
        dialog.ListBox2->setCurrentRow(selected);
        QTest::mouseClick(up ? dialog.Button1 : dialog.Button2, Qt::LeftButton);
        QCOMPARE(shown(dialog), after);
        QCOMPARE(dialog.ListBox2->currentRow(), selected);
    }

    void hint()
    {
        tabellenitem item;
        item.spielegewonnen = 2;
        item.spieleverloren = 1;
        item.saetzegewonnen = 6;
        item.saetzeverloren = 4;
        item.punktegewonnen = 98;
        item.punkteverloren = 90;
        QCOMPARE(Tvergleich::hintText(item), QStringLiteral("Spiele: 2:1 Sätze: 6:4 Punkte: 98:90"));

        Tvergleich dialog(nullptr);
        QList<tabellenitem> list = entries(QStringLiteral("ab"));
        list[1].spielegewonnen = 2;
        list[1].spieleverloren = 1;
        dialog.fill(list);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QRect second = dialog.ListBox2->visualItemRect(dialog.ListBox2->item(1));
        QTest::mouseMove(dialog.ListBox2->viewport(), second.center());
        QTRY_COMPARE(dialog.ListBox2->toolTip(), QStringLiteral("Spiele: 2:1 Sätze: 0:0 Punkte: 0:0"));
    }

    // Marked entries are drawn red, the others black, the selected one white
    // on the highlight, all on white otherwise.
    void colours()
    {
        Tvergleich dialog(nullptr);
        dialog.fill(entries(QStringLiteral("Abc")));
        dialog.ListBox2->setCurrentRow(2);
        dialog.resize(dialog.sizeHint());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QImage image = dialog.ListBox2->viewport()->grab().toImage();
        const auto inks = [&](int row) {
            const QRect r = dialog.ListBox2->visualItemRect(dialog.ListBox2->item(row));
            QSet<QRgb> colours;
            for (int x = r.left(); x <= r.right(); ++x)
                for (int y = r.top(); y <= r.bottom(); ++y)
                    colours.insert(image.pixel(x, y));
            return colours;
        };
        const QSet<QRgb> black = inks(0);
        const QSet<QRgb> red = inks(1);
        QVERIFY(black.contains(qRgb(0, 0, 0)));
        QVERIFY(!black.contains(qRgb(255, 0, 0)));
        QVERIFY(red.contains(qRgb(255, 0, 0)));
        QVERIFY(red.contains(qRgb(255, 255, 255)));
        const QPalette palette = dialog.ListBox2->palette();
        QVERIFY(inks(2).contains(palette.color(QPalette::Active, QPalette::Highlight).rgb()) ||
                inks(2).contains(palette.color(QPalette::Inactive, QPalette::Highlight).rgb()));
        QVERIFY(inks(2).contains(qRgb(255, 255, 255)));
    }

    // Asked for an order, the dialog returns the order it is closed with,
    // by "Übernehmen" as by the frame (there is no cancelling).
    void closing_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("Übernehmen") << 0;
        QTest::newRow("frame") << 1;
        QTest::newRow("Escape") << 2;
    }
    void closing()
    {
        QFETCH(int, way);
        Tvergleich dialog(nullptr);
        QTimer::singleShot(0, &dialog, [&] {
            dialog.ListBox2->setCurrentRow(2);
            dialog.Button1Click();
            if (way == 0)
                QTest::mouseClick(dialog.uiButton1, Qt::LeftButton);
            else if (way == 1)
                dialog.close();
            else
                QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        const QList<tabellenitem> answer = dialog.resolveTies(entries(QStringLiteral("Abc")));
        QCOMPARE(answer.size(), 3);
        QCOMPARE(answer[1].bez, QStringLiteral("C"));
        QCOMPARE(answer[2].bez, QStringLiteral("B"));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestVergleich)
#include "test_vergleich.moc"
