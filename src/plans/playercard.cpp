#include "plans/playercard.h"

#include <QPainter>
#include <QRegularExpression>

namespace bw {

namespace plan {

QList<CardLine> playerCardLines(const std::optional<PlayerCardRow>& player, int height)
{
    QList<CardLine> lines;
    lines.append({40, player ? player->nachname + QStringLiteral(", ") + player->vorname : QString()});
    lines.append({65, player ? player->verein : QString()});
    lines.append({90, player && player->geb.isValid() ? player->geb.toString(QStringLiteral("dd.MM.yyyy")) : QString()});
    lines.append({115, QStringLiteral("Gemeldet für:")});
    if (!player)
        return lines;
    int y = 115 + kCardLineStep;
    for (const QString& klasse : player->klassen) {
        if (y + kCardLineStep > height)
            break;
        lines.append({y, klasse});
        y += kCardLineStep;
    }
    return lines;
}

QString withoutSeed(const QString& caption)
{
    static const QRegularExpression seed(QStringLiteral(" \\(\\d+\\)$"));
    QString name = caption;
    name.remove(seed);
    return name;
}

QPoint cardPosition(QPoint pointer, QSize card, int cards, QSize panel)
{
    const int width = card.width() * std::max(1, cards);
    const int left = std::max(0, std::min(pointer.x(), panel.width() - width));
    const int top = std::max(0, std::min(pointer.y() - 100, panel.height() - card.height()));
    return QPoint(left, top);
}

} // namespace plan

PlayerCard::PlayerCard(const QString& name, QWidget* parent) : QWidget(parent)
{
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(plan::kPlainCardSize);
    hide();
}

void PlayerCard::fill(const QPixmap& background, const QList<plan::CardLine>& lines)
{
    m_background = background;
    m_lines = lines;
    resize(background.isNull() ? plan::kPlainCardSize : background.size());
    update();
}

void PlayerCard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_background.isNull()) {
        painter.fillRect(rect(), Qt::white);
        painter.setPen(Qt::gray);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    } else {
        painter.drawPixmap(0, 0, m_background);
    }
    QFont serif(QStringLiteral("Liberation Serif"));
    serif.setPointSize(16);
    painter.setFont(serif);
    painter.setPen(Qt::black);
    const QFontMetrics metrics(serif);
    const int width = this->width() - plan::kCardTextLeft - 8;
    for (const plan::CardLine& line : m_lines)
        painter.drawText(QRect(plan::kCardTextLeft, line.y, width, metrics.height()), Qt::AlignLeft | Qt::AlignTop,
                         metrics.elidedText(line.text, Qt::ElideRight, width));
}

} // namespace bw
