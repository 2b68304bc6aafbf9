// The print dialog "Drucken". Its content arrives with printing.
#pragma once

#include <QDialog>

namespace bw {

class Tdruck_form : public QDialog {
public:
    explicit Tdruck_form(QWidget* parent);
};

} // namespace bw
