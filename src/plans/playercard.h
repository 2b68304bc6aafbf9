// The player card: while a mouse button is held on an entrant's name on a plan,
// a small note shows the player's name, club, birth date and the classes he is
// entered in; outside singles classes a second card right of it shows the
// doubles partner. The cards belong to the plan panel and show over every page.
#pragma once

#include "data/planviewrecords.h"

#include <QPixmap>
#include <QWidget>

#include <optional>

namespace bw {

namespace plan {

// The card's background, white transparent.
inline const QString kCardPicture = QStringLiteral("images\\notizblock.bmp");
// The size of a card without its picture.
inline constexpr QSize kPlainCardSize{250, 340};
// Where the lines stand: x 20; name 40, club 65, birth date 90, "Gemeldet für:"
// 115, then one class every 25 pixels.
inline constexpr int kCardTextLeft = 20;
inline constexpr int kCardLineStep = 25;

struct CardLine {
    int y = 0;
    QString text;
    bool operator==(const CardLine&) const = default;
};

// The lines of a card `height` pixels high: as many classes as it holds. A
// player who is not there gives empty lines.
QList<CardLine> playerCardLines(const std::optional<PlayerCardRow>& player, int height);

// The top-left corner of the first of `cards` cards side by side, at the pointer
// (in the panel's coordinates; the card's top 100 above it) and kept inside the
// panel as far as it is large enough.
QPoint cardPosition(QPoint pointer, QSize card, int cards, QSize panel);

// An entrant's name as a certificate names him: the label's caption without
// the seed number the draw puts after a seeded entrant ("Weber, Jürgen (2)").
QString withoutSeed(const QString& caption);

} // namespace plan

// One card ("spielernotiz", "spielernotiz2"): its background picture (a plain
// white card without one) and its lines in Liberation Serif 16.
class PlayerCard : public QWidget {
    Q_OBJECT
public:
    PlayerCard(const QString& name, QWidget* parent);

    // Takes the picture's size (kPlainCardSize without one) and shows the lines.
    void fill(const QPixmap& background, const QList<plan::CardLine>& lines);
    const QList<plan::CardLine>& lines() const { return m_lines; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_background;
    QList<plan::CardLine> m_lines;
};

} // namespace bw
