// The twelve standard Type 1 fonts of PDF (Courier, Helvetica and Times
// families). Nothing is embedded; each font is a dictionary naming its base
// font, and the writer measures text with the font's width table.
#pragma once

#include "pdf/pdfdoc.h"
#include "pdf/pdffontwidths.h"

#include <array>
#include <functional>

namespace bw::pdf {

class TPdfFont : public TPdfDictionaryWrapper {
public:
    // The font dictionary is registered with the object manager.
    TPdfFont(TPdfObjectMgr& objectMgr, QByteArrayView alias);
    const QByteArray& Name() const { return m_name; }
    // Width of the character at a 1-based position of the text, in 1/1000 of
    // the font size.
    virtual int GetCharWidth(QByteArrayView text, int position) const;

private:
    QByteArray m_name;
};

class TPdfType1Font : public TPdfFont {
public:
    TPdfType1Font(TPdfObjectMgr& objectMgr, QByteArrayView alias, QByteArrayView baseFont, const FontWidths& widths);
    void SetData(TPdfDictionary* data) override;
    int GetCharWidth(QByteArrayView text, int position) const override;
    int widthOf(unsigned char code) const { return m_widthTable[code]; }
    quint8 FirstChar() const { return m_firstChar; }
    quint8 LastChar() const { return m_lastChar; }

private:
    quint8 m_firstChar = 0;
    quint8 m_lastChar = 0;
    std::array<quint16, 256> m_widthTable{};
};

#define BW_PDF_STANDARD_FONT(Class)                                                   \
    class Class : public TPdfType1Font {                                                \
    public:                                                                             \
        Class(TPdfObjectMgr& objectMgr, QByteArrayView alias);                          \
    };

BW_PDF_STANDARD_FONT(TPdfFixedWidth)
BW_PDF_STANDARD_FONT(TPdfFixedWidthBold)
BW_PDF_STANDARD_FONT(TPdfFixedWidthItalic)
BW_PDF_STANDARD_FONT(TPdfFixedWidthBoldItalic)
BW_PDF_STANDARD_FONT(TPdfArial)
BW_PDF_STANDARD_FONT(TPdfArialBold)
BW_PDF_STANDARD_FONT(TPdfArialItalic)
BW_PDF_STANDARD_FONT(TPdfArialBoldItalic)
BW_PDF_STANDARD_FONT(TPdfTimesRoman)
BW_PDF_STANDARD_FONT(TPdfTimesBold)
BW_PDF_STANDARD_FONT(TPdfTimesItalic)
BW_PDF_STANDARD_FONT(TPdfTimesBoldItalic)

#undef BW_PDF_STANDARD_FONT

// Makes the font class registered under the alias; an unknown alias raises
// AppError "Klasse <alias> nicht gefunden".
std::unique_ptr<TPdfFont> createRegisteredFont(QByteArrayView alias, TPdfObjectMgr& objectMgr);

} // namespace bw::pdf
