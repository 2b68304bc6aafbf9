// The forms of the program whose work arrives with the draw, the plans, the
// results, the output and the live link. They exist from start-up on, as the
// main window and the other forms address them, with their captions and the
// components already addressed from outside; their content comes with their
// work, each moving to its own area's library then.
#pragma once

#include <QDialog>
#include <QObject>

class QLabel;
class QWidget;

namespace bw {

// A dialog that has its caption and object name and nothing else yet.
class PendingDialog : public QDialog {
public:
    PendingDialog(QWidget* parent, const QString& objectName, const QString& caption);
};

// Draw and plan generation.
class Tgruppe : public QObject {
public:
    explicit Tgruppe(QObject* parent);
};
class Tauslosungsform : public PendingDialog {
public:
    explicit Tauslosungsform(QWidget* parent);
};

// Match plans and match flow.
class Tspielplaene : public QObject {
public:
    explicit Tspielplaene(QObject* parent);
};
class Tspielplan_form : public PendingDialog {
public:
    explicit Tspielplan_form(QWidget* parent);
};
class Tplanung : public PendingDialog {
public:
    explicit Tplanung(QWidget* parent);
};

// Results, standings and team competitions.
class Tergebnis : public PendingDialog {
public:
    explicit Tergebnis(QWidget* parent);
};
class Tvergleich : public PendingDialog {
public:
    explicit Tvergleich(QWidget* parent);
};
class Tergebnis_team : public PendingDialog {
public:
    explicit Tergebnis_team(QWidget* parent);
};

// Printing, export and import.
class Timport_form : public PendingDialog {
public:
    explicit Timport_form(QWidget* parent);
};
class Tdrucken : public QObject {
public:
    explicit Tdrucken(QObject* parent);
};
class Tdruck_form : public PendingDialog {
public:
    explicit Tdruck_form(QWidget* parent);
};
class Texportform : public PendingDialog {
public:
    explicit Texportform(QWidget* parent);
};
class Tpdfform : public PendingDialog {
public:
    explicit Tpdfform(QWidget* parent);
};
class TQuittungPrepareForm : public PendingDialog {
public:
    explicit TQuittungPrepareForm(QWidget* parent);
};
class TUrkundePrepareForm : public PendingDialog {
public:
    explicit TUrkundePrepareForm(QWidget* parent);
};
class TAbrechnungForm : public PendingDialog {
public:
    explicit TAbrechnungForm(QWidget* parent);
};
// The Excel and PDF list export: the caller sets the caption and shows one of
// the two pictures on the white panel.
class TExportNewForm : public PendingDialog {
public:
    explicit TExportNewForm(QWidget* parent);
    QWidget* Panel1;
    QLabel* Images_Excel;
    QLabel* Images_PDF;
};

// Live-results link.
class TCourtcastForm : public PendingDialog {
public:
    explicit TCourtcastForm(QWidget* parent);
};

} // namespace bw
