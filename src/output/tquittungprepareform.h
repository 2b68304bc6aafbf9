// The receipt dialog "Quittung drucken". Its content arrives with the receipts.
#pragma once

#include <QDialog>

namespace bw {

class TQuittungPrepareForm : public QDialog {
public:
    explicit TQuittungPrepareForm(QWidget* parent);
};

} // namespace bw
