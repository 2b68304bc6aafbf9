// The dialog "Finanzielle Turnierabrechnung". Its content arrives with the
// accounts.
#pragma once

#include <QDialog>

namespace bw {

class TAbrechnungForm : public QDialog {
public:
    explicit TAbrechnungForm(QWidget* parent);
};

} // namespace bw
