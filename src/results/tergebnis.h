// The result dialog of a single or doubles match ("Spielverwaltung"). Its
// content arrives with result entry.
#pragma once

#include <QDialog>

namespace bw {

class Tergebnis : public QDialog {
public:
    explicit Tergebnis(QWidget* parent);
};

} // namespace bw
