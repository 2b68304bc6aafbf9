// The self-extractor settings a zip component carries. This system never makes
// a self-extractor; the settings are kept as the form gives them.
#pragma once

#include "zip/ziptypes.h"

#include <QIcon>
#include <QString>

namespace bw::zip {

// The message box a self-extractor shows its message in, chosen by a leading
// character code 1 or 2 of SFXMessage.
enum class TSFXMessageKind {
    Plain,              // OK with an information icon
    OkCancel,           // code 1: OK and Cancel with an information icon
    YesNo,              // code 2: Yes and No with a question icon
};

class TZipSFX {
public:
    static QString version() { return QStringLiteral("09-19-2005"); }
    static QString defaultLanguage() { return QStringLiteral("US"); }

    QString Caption;
    QString CommandLine;
    QString DefaultDir;
    QIcon Icon;
    TSFXOptions Options;
    OvrOpts OverWriteMode = OvrOpts::OvrConfirm;
    QString Path = QStringLiteral("ZLSFX") + defaultLanguage() + QStringLiteral(".bin");

    const QString& message() const { return m_message; }
    TSFXMessageKind messageKind() const { return m_messageKind; }
    void setMessage(const QString& text);

private:
    QString m_message;
    TSFXMessageKind m_messageKind = TSFXMessageKind::Plain;
};

} // namespace bw::zip
