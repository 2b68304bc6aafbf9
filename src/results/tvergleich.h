// The dialog "Direkter Vergleich" for places tied in a group. Its content
// arrives with the standings.
#pragma once

#include <QDialog>

namespace bw {

class Tvergleich : public QDialog {
public:
    explicit Tvergleich(QWidget* parent);
};

} // namespace bw
