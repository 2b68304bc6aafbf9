// The PDF export dialog ("PDF-Export"). Its content arrives with the PDF export.
#pragma once

#include <QDialog>

namespace bw {

class Tpdfform : public QDialog {
public:
    explicit Tpdfform(QWidget* parent);
};

} // namespace bw
