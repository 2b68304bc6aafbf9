// The draw dialog "Auslosung". Its content arrives with the draw.
#pragma once

#include <QDialog>

namespace bw {

class Tauslosungsform : public QDialog {
public:
    explicit Tauslosungsform(QWidget* parent);
};

} // namespace bw
