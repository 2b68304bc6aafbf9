// The planning board "Spieleplaner". Its content arrives with the match flow.
#pragma once

#include <QDialog>

namespace bw {

class Tplanung : public QDialog {
public:
    explicit Tplanung(QWidget* parent);
};

} // namespace bw
