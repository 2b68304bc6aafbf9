// The draw dialog "Auslosung". Its content arrives with the draw.
#pragma once

#include <QDialog>

namespace bw {

class Tauslosungsform : public QDialog {
public:
    explicit Tauslosungsform(QWidget* parent);

    // The mode the wizard opens in: 1 the first draw of every phase of a class
    // (from the group set-up page), 2 a new draw of one phase.
    int Tag = 0;
};

} // namespace bw
