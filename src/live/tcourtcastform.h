// The live-results dialog "Courtcast Anbindung". Its content arrives with the
// live link.
#pragma once

#include <QDialog>

namespace bw {

class TCourtcastForm : public QDialog {
public:
    explicit TCourtcastForm(QWidget* parent);
};

} // namespace bw
