// The import dialog "Importieren". Its content arrives with the import.
#pragma once

#include <QDialog>

namespace bw {

class Timport_form : public QDialog {
public:
    explicit Timport_form(QWidget* parent);
};

} // namespace bw
