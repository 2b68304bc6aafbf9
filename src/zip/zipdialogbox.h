// The zip component's own message box for its errors; its caption and button
// texts come from the component's message table.
#pragma once

#include <QDialog>

class QLabel;

namespace bw::zip {

class TZipDialogBox : public QDialog {
    Q_OBJECT

public:
    TZipDialogBox(QWidget* parent, const QString& title, const QString& message);

    QString text() const;

private:
    QLabel* m_text;
};

} // namespace bw::zip
