#include "zip/zipsfx.h"

namespace bw::zip {

void TZipSFX::setMessage(const QString& text)
{
    m_messageKind = TSFXMessageKind::Plain;
    m_message = text;
    if (!text.isEmpty() && (text.front() == QChar(1) || text.front() == QChar(2))) {
        m_messageKind = text.front() == QChar(1) ? TSFXMessageKind::OkCancel : TSFXMessageKind::YesNo;
        m_message.remove(0, 1);
    }
}

} // namespace bw::zip
