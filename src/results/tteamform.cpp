#include "results/tteamform.h"

#include "controls/uibuttons.h"
#include "platform/prompter.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace bw {

Tteamform::Tteamform(QWidget* parent, Prompter& prompter, std::function<QSqlDatabase()> database)
    : QDialog(parent), m_prompter(prompter), m_database(std::move(database))
{
    setObjectName(QStringLiteral("teamform"));
    setWindowTitle(QStringLiteral("Teamsystem bearbeiten"));
    auto* layout = new QVBoxLayout(this);

    auto* counts = new QGridLayout;
    auto spin = [&](const QString& name, const QString& label, int row) {
        auto* box = new QSpinBox(this);
        box->setObjectName(name);
        // A number above the maximum may be typed; it then shows the maximum
        // (5 players show 4), where a narrow range would refuse the key.
        box->setRange(0, kTypedMax);
        counts->addWidget(new QLabel(label, this), row, 0);
        counts->addWidget(box, row, 1);
        return box;
    };
    spieler = spin(QStringLiteral("spieler"), QStringLiteral("Anzahl der Spieler pro Team"), 0);
    reserve = spin(QStringLiteral("reserve"), QStringLiteral("Anzahl der Reservespieler"), 1);
    layout->addLayout(counts);

    auto* games = new QGridLayout;
    games->addWidget(new QLabel(QStringLiteral("Team A"), this), 0, 1);
    games->addWidget(new QLabel(QStringLiteral("Team B"), this), 0, 2);
    for (int n = 0; n < kGames; ++n) {
        games->addWidget(new QLabel(QStringLiteral("Spiel %1").arg(n + 1), this), n + 1, 0);
        for (auto* lists : {&a, &b}) {
            auto* list = new QComboBox(this);
            list->setObjectName(QStringLiteral("%1%2").arg(lists == &a ? QLatin1Char('a') : QLatin1Char('b')).arg(n + 1));
            list->setEditable(true);
            list->setInsertPolicy(QComboBox::NoInsert);
            list->installEventFilter(this);
            (*lists)[size_t(n)] = list;
            games->addWidget(list, n + 1, lists == &a ? 1 : 2);
        }
    }
    layout->addLayout(games);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    ok = new TuiButton(this, QStringLiteral("ok"), QStringLiteral("Übernehmen"));
    ok->SetDefault(true);
    cancel = new TuiButton(this, QStringLiteral("cancel"), QStringLiteral("Zurück"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(spieler, &QSpinBox::valueChanged, this, &Tteamform::spielerChange);
    connect(reserve, &QSpinBox::valueChanged, this, &Tteamform::reserveChange);
    connect(ok, &TuiButton::OnClick, this, &Tteamform::okClick);
    connect(cancel, &TuiButton::OnClick, this, &Tteamform::cancelClick);
}

void Tteamform::fillGameList(QComboBox* list, bool sideA, int players)
{
    list->clear();
    list->setEditText(QString());
    for (int p = 1; p <= players; ++p)
        list->addItem(teamPositionText(p, sideA), p);
    list->addItem(QStringLiteral("D1"), 11);
    list->addItem(QStringLiteral("D2"), 12);
    list->setCurrentIndex(-1);
}

void Tteamform::spielerChange()
{
    if (spieler->value() > kMaxPlayers) {
        spieler->setValue(kMaxPlayers); // runs this handler again
        return;
    }
    // Another number of players invalidates every game.
    const int players = spieler->value();
    for (int n = 0; n < kGames; ++n) {
        fillGameList(a[size_t(n)], true, players);
        fillGameList(b[size_t(n)], false, players);
    }
}

void Tteamform::reserveChange()
{
    if (reserve->value() > kMaxReserves)
        reserve->setValue(kMaxReserves);
}

void Tteamform::setPlayers(int players)
{
    // The game lists are refilled also when the number stays, so that a list
    // emptied before offers its entries again.
    const bool same = spieler->value() == players;
    spieler->setValue(players);
    if (same)
        spielerChange();
}

void Tteamform::system_laden(int kid)
{
    showFormat(readTeamFormat(m_database(), kid).value_or(TeamFormat{}));
}

void Tteamform::showFormat(const TeamFormat& f)
{
    setPlayers(f.spieler);
    reserve->setValue(f.reserve);
    for (int n = 0; n < kGames; ++n) {
        a[size_t(n)]->setEditText(teamPositionText(f.a[size_t(n)], true));
        b[size_t(n)]->setEditText(teamPositionText(f.b[size_t(n)], false));
    }
}

TeamFormat Tteamform::format() const
{
    auto code = [](const QComboBox* list) -> std::optional<int> {
        const int index = list->findText(list->currentText(), Qt::MatchFixedString | Qt::MatchCaseSensitive);
        if (index < 0)
            return std::nullopt;
        return list->itemData(index).toInt();
    };
    TeamFormat f;
    f.spieler = spieler->value();
    f.reserve = reserve->value();
    for (int n = 0; n < kGames; ++n) {
        f.a[size_t(n)] = code(a[size_t(n)]);
        f.b[size_t(n)] = code(b[size_t(n)]);
    }
    return f.normalized();
}

void Tteamform::clearFormat()
{
    // No texts; the lists offer the doubles, so a doubles-only format can be
    // entered for a new class.
    setPlayers(0);
    reserve->setValue(0);
}

void Tteamform::okClick()
{
    if (klassenchange)
        klassenchange();
    accept();
}

void Tteamform::cancelClick()
{
    reject();
}

void Tteamform::a1Exit(QComboBox* list)
{
    const QString text = list->currentText();
    if (text.trimmed().isEmpty() || list->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive) >= 0)
        return;
    m_prompter.warning(QStringLiteral("Geben Sie einen gültigen Spieler ein"));
    list->setCurrentIndex(-1);
    list->setEditText(QString());
    list->setFocus();
}

bool Tteamform::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Only a move to another control counts as leaving the list, not its own
        // drop-down or another window.
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            QPointer<QComboBox> list = qobject_cast<QComboBox*>(watched);
            if (list)
                QTimer::singleShot(0, this, [this, list] {
                    if (list && isVisible())
                        a1Exit(list);
                });
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace bw
