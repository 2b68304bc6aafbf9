// The certificate dialog. Its content arrives with the certificates.
#pragma once

#include <QDialog>

namespace bw {

class TUrkundePrepareForm : public QDialog {
public:
    explicit TUrkundePrepareForm(QWidget* parent);
};

} // namespace bw
