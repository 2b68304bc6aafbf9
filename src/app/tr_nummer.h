// The dialog "Rückennummern": the tournament's start numbers as a scrollable
// picture, and their printout on the program's printer.
#pragma once

#include "app/startnumberlist.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPrinter;
class TuiButton;
class QScrollArea;

namespace bw {

struct AppContext;
struct Services;
class Tdb_procedures;
class TMainform;

class TR_Nummer : public QDialog {
    Q_OBJECT
public:
    TR_Nummer(TMainform& main, AppContext& context, Services& services, Tdb_procedures& database);

    QScrollArea* ScrollBox1;
    TuiButton* uiButton1; // "Drucken"
    TuiButton* uiButton2; // "Zurück"
    // The picture of the last activation.
    QLabel* image = nullptr;
    // The print dialog on the program's printer; true when confirmed. Tests answer it.
    std::function<bool(QPrinter&, QWidget*)> PrintDialog1;

public slots:
    void FormActivate();
    void uiButton1Click();
    void uiButton2Click();
    // The mouse wheel moves the list by 5 pixels a notch.
    void ScrollBox1MouseWheelDown();
    void ScrollBox1MouseWheelUp();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TMainform& m_main;
    AppContext& m_context;
    Services& m_services;
    Tdb_procedures& m_database;
};

} // namespace bw
