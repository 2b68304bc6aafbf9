// The result dialog of a team match ("Spielverwaltung"). Its content arrives
// with team result entry.
#pragma once

#include <QDialog>

namespace bw {

class Tergebnis_team : public QDialog {
public:
    explicit Tergebnis_team(QWidget* parent);
};

} // namespace bw
