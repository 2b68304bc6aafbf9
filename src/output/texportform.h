// The HTML export dialog ("HTML-Export"). Its content arrives with the HTML
// export.
#pragma once

#include <QDialog>

namespace bw {

class Texportform : public QDialog {
public:
    explicit Texportform(QWidget* parent);
};

} // namespace bw
