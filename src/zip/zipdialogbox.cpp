#include "zip/zipdialogbox.h"

#include "zip/zipmessages.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace bw::zip {

TZipDialogBox::TZipDialogBox(QWidget* parent, const QString& title, const QString& message)
    : QDialog(parent), m_text(new QLabel(message, this))
{
    setObjectName(QStringLiteral("ZipDialogBox"));
    setWindowTitle(title);
    auto* icon = new QLabel(this);
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(size, size));
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);

    auto* ok = new QPushButton(QString::fromStdString(messageText(ZipMessage::BoxOk)), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(m_text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
}

QString TZipDialogBox::text() const
{
    return m_text->text();
}

} // namespace bw::zip
