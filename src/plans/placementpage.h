// The page "Plazierungsspiele" of the plan panel: the count of places, one row
// per placement match with its two slot labels and its status icon on
// sp_ScrollBox4, and the candidate list `platz`. A candidate is dragged onto a
// slot (the drag carries it); a slot dragged back onto the list is emptied.
// The slots of a called, running or finished match, and in a knock-out class
// those of the final, do not change; no match gets one entrant on both sides.
#pragma once

#include "plans/placement.h"
#include "plans/plansession.h"

#include <QObject>
#include <QSqlDatabase>

#include <functional>

class QComboBox;
class QMimeData;
class QWidget;

namespace bw {

class PlanPanel;
class Prompter;

// "Es können mehrere Spiele betroffen sein. Fortsetzten?"
extern const QString kPlacementMatchesAffected;

class PlacementPage : public QObject {
    Q_OBJECT
public:
    PlacementPage(PlanPanel* panel, Prompter* prompter, std::function<QSqlDatabase()> database, QObject* parent);

    // Builds the page of the class anew (its page and the list were emptied);
    // creates the pools "allespieler" and "alleplatten" when missing.
    void platzierungsspiele(int kid, const gruppeninfos& infos, ResourcePools& pools);
    // The count combo's change.
    void anzahlchange();
    // Writes the stored entrants and placeholders into the slot labels.
    void platzierungsspielefuellen();
    // A candidate dropped onto the slot label of that name.
    void feldDragDrop(const QString& slot, const plan::Candidate& candidate);
    // The slot label of that name dropped onto the candidate list.
    void platzDragDrop(const QString& slot);

    // The count combo box of the page (nullptr before the page is built).
    QComboBox* countBox() const;
    const plan::PlacementClass& placementClass() const { return m_class; }

    // The candidate a drag from the list carries; nothing for other data.
    static std::optional<plan::Candidate> candidateOf(const QMimeData* data);

signals:
    // A status icon of the page was clicked, or a mouse button pressed on it.
    void statusClicked(const QString& name, int tag);
    void statusMouseDown(const QString& name, int tag, Qt::MouseButton button, QPoint globalPos);
    // The rows were built (with the page, or after a change of the count):
    // their status icons are to show the states of their matches.
    void rowsBuilt();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSqlDatabase db() const { return m_database(); }
    QWidget* pageWidget() const;
    void buildRows(int rows, int top);
    void removeRows();
    // The row's match, or nothing when its slots may not change now.
    std::optional<int> changeableMatch(const QString& slot, int* side) const;
    // False (after the warning) when the other side holds the same entrant.
    bool writeSlot(int spielnummer, int side, const plan::SlotValue& value);

    PlanPanel* m_panel;
    Prompter* m_prompter;
    std::function<QSqlDatabase()> m_database;
    int m_kid = 0;
    plan::PlacementClass m_class;
    QString m_shownCount;
};

} // namespace bw
