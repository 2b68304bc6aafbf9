// Renders one block of a ko_system.txt as the plan page draws it at the middle
// zoom (columns 180 px, rows 12 px, top 48, left 30), so the layout can be judged
// without a tournament. Bracket slots read "Platz n", later slots carry the
// placeholders the plan generation writes, and each match's status icon shows its
// number.
//
//   plandiagram <ko_system.txt> <bracket size> <picture.png>
#include "draw/planfiles.h"

#include "platform/apperror.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace {

constexpr int kColumn = 180, kRow = 12, kTop = 48, kLeft = 30, kLift = 13, kIndent = 24;

QString slotText(const bw::DoubleKoLine& line, int slot)
{
    if (line.isFirstRound())
        return QStringLiteral("Platz %1").arg(2 * line.f0 - 1 + slot);
    const bool winner = slot == 0 ? line.slot1IsWinner() : line.slot2IsWinner();
    return (winner ? QStringLiteral("Sieger Spiel %1") : QStringLiteral("Verlierer Spiel %1"))
        .arg(slot == 0 ? line.f1 : line.f2);
}

QImage render(const bw::DoubleKoPlan& plan)
{
    QImage image((plan.columns + 1) * kColumn, (plan.rows + 1) * kRow + kTop, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    p.setFont(font);
    auto x = [](int column) { return column * kColumn + kLeft; };
    auto y = [](int row) { return row * kRow + kTop; };
    auto label = [&](int left, int row, const QString& text) {
        p.drawText(QRect(left, y(row) - kLift, kColumn - 2, 2 * kRow - 2), Qt::AlignLeft | Qt::AlignTop, text);
    };

    for (const bw::DoubleKoLine& line : plan.lines) {
        const int indent = line.f6 == 0 ? 0 : kIndent;
        if (line.isLabel()) {
            p.drawLine(x(line.f6) + kIndent, y(line.f8), x(line.f7), y(line.f8));
            label(x(line.f6) + kIndent + 3,
                  line.f8,
                  (line.f3 == 1 ? QStringLiteral("Sieger Spiel %1") : QStringLiteral("Verlierer Spiel %1")).arg(line.f1));
            continue;
        }
        p.drawLine(x(line.f6) + indent, y(line.f8), x(line.f7), y(line.f8));
        p.drawLine(x(line.f6) + indent, y(line.f9), x(line.f7), y(line.f9));
        p.drawLine(x(line.f7), y(line.f8), x(line.f7), y(line.f9));
        label(x(line.f6) + indent + 3, line.f8, slotText(line, 0));
        label(x(line.f6) + indent + 3, line.f9, slotText(line, 1));
        const QRect icon(x(line.f7) + 1, ((line.f8 + line.f9) * kRow + 2 * kTop - 2 * kLift) / 2, 25, 16);
        p.fillRect(icon, QColor(0xe8, 0xee, 0xf8));
        p.drawRect(icon.adjusted(0, 0, -1, -1));
        p.drawText(icon, Qt::AlignCenter, QString::number(line.f0));
    }
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool sizeOk = false;
    const int size = args.size() == 4 ? args[2].toInt(&sizeOk) : 0;
    if (!sizeOk) {
        std::fprintf(stderr, "usage: plandiagram <ko_system.txt> <bracket size> <picture.png>\n");
        return 2;
    }
    try {
        const bw::DoubleKoPlan plan = bw::readDoubleKoPlan(args[1], size);
        if (!plan.found()) {
            std::fprintf(stderr, "plandiagram: %s holds no plan for %d slots\n", qPrintable(args[1]), size);
            return 1;
        }
        if (!render(plan).save(args[3])) {
            std::fprintf(stderr, "plandiagram: cannot write %s\n", qPrintable(args[3]));
            return 1;
        }
    } catch (const bw::AppError& e) {
        std::fprintf(stderr, "plandiagram: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
