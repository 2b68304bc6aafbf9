// The dialog "Doppelpartner": choosing the partner of the player on the player
// page for one doubles or mixed class. The choice only changes the page's line;
// partnercheck() stores all of the player's pair and team rows when the player
// is saved.
#pragma once

#include "data/partnerrecords.h"

#include <QDialog>
#include <QHash>
#include <QSqlDatabase>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class TuiButton;

namespace bw {

class Prompter;

class TDoppelauswahl : public QDialog {
    Q_OBJECT
public:
    TDoppelauswahl(QWidget* parent, Prompter& prompter, std::function<QSqlDatabase()> database);

    QLabel* doppelklasse; // the line's class text up to and including its ":"
    QComboBox* doppelcombo;
    TuiButton* OK;        // "Übernehmen"
    TuiButton* uiButton1; // "Zurück"
    QLineEdit* mannschaftsname;

    // What the player page tells the dialog before showing it.
    struct Request {
        int kid = 0;
        int sid = 0; // 0: the player is not saved yet
        bool mann = true;
        bool frau = false;
        QHash<int, QString> names; // the tournament's players by key
        bool mixed = false;        // a mixed class: partners of the other sex
    };
    Request request;

    // Asks for every partner of the lines who plays with someone else
    // ("<partner> spielt schon mit <other> .Tauschen?", by their names) and returns the
    // (class, partner) pairs the user lets the player take over.
    QSet<std::pair<int, int>> askTakeOvers(const QSqlDatabase& db, int sid, const QList<PartnerLine>& lines);
    // Stores the player's partner lines after his record was saved: the
    // questions, then storePartners() in one transaction.
    void partnercheck(const QSqlDatabase& db, int sid, const QList<PartnerLine>& lines);

signals:
    // "Übernehmen": the line of the class now reads `text` and names the partner (0: none).
    void partnerChosen(int kid, int partnerSid, const QString& text);

public slots:
    void FormActivate();
    void OKClick();
    void uiButton1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Prompter& m_prompter;
    std::function<QSqlDatabase()> m_database;
};

} // namespace bw
