#include "pdf/pdffonts.h"

#include <map>

namespace bw::pdf {

TPdfFont::TPdfFont(TPdfObjectMgr& objectMgr, QByteArrayView alias) : m_name(alias.toByteArray())
{
    SetData(&objectMgr.add(TPdfDictionary::CreateDictionary(&objectMgr)));
}

int TPdfFont::GetCharWidth(QByteArrayView, int) const
{
    return 0;
}

TPdfType1Font::TPdfType1Font(TPdfObjectMgr& objectMgr, QByteArrayView alias, QByteArrayView baseFont,
                             const FontWidths& widths)
    : TPdfFont(objectMgr, alias)
{
    TPdfDictionary& d = *Data();
    d.AddName("Type", "Font");
    d.AddName("Subtype", "Type1");
    d.AddName("Encoding", "WinAnsiEncoding");
    d.AddNumber("FirstChar", 32);
    d.AddNumber("LastChar", 255);
    d.AddName("BaseFont", baseFont.toByteArray());
    d.AddInternalItem("Widths", TPdfArray::CreateNumArray(&objectMgr, std::vector<int>(widths.begin(), widths.end())));
    SetData(&d);
}

void TPdfType1Font::SetData(TPdfDictionary* data)
{
    TPdfFont::SetData(data);
    const TPdfNumber* missing = data->PdfNumberByName("MissingWidth");
    m_widthTable.fill(missing ? quint16(missing->Value) : 0);
    const TPdfNumber* first = data->PdfNumberByName("FirstChar");
    const TPdfNumber* last = data->PdfNumberByName("LastChar");
    m_firstChar = first ? quint8(first->Value) : 0;
    m_lastChar = last ? quint8(last->Value) : 0;
    if (const TPdfArray* widths = data->PdfArrayByName("Widths")) {
        for (int i = 0; i < widths->ItemCount() && m_firstChar + i < 256; ++i)
            if (auto n = dynamic_cast<const TPdfNumber*>(widths->RawItem(i)))
                m_widthTable[size_t(m_firstChar + i)] = quint16(n->Value);
    }
}

int TPdfType1Font::GetCharWidth(QByteArrayView text, int position) const
{
    return m_widthTable[static_cast<unsigned char>(text[position - 1])];
}

#define BW_PDF_DEFINE_FONT(Class, Base, Widths)                                         \
    Class::Class(TPdfObjectMgr& objectMgr, QByteArrayView alias)                        \
        : TPdfType1Font(objectMgr, alias, Base, Widths) {}

BW_PDF_DEFINE_FONT(TPdfFixedWidth, "Courier", kCourier)
BW_PDF_DEFINE_FONT(TPdfFixedWidthBold, "Courier-Bold", kCourierBold)
BW_PDF_DEFINE_FONT(TPdfFixedWidthItalic, "Courier-Oblique", kCourierOblique)
BW_PDF_DEFINE_FONT(TPdfFixedWidthBoldItalic, "Courier-BoldOblique", kCourierBoldOblique)
BW_PDF_DEFINE_FONT(TPdfArial, "Helvetica", kHelvetica)
BW_PDF_DEFINE_FONT(TPdfArialBold, "Helvetica-Bold", kHelveticaBold)
BW_PDF_DEFINE_FONT(TPdfArialItalic, "Helvetica-Oblique", kHelveticaOblique)
BW_PDF_DEFINE_FONT(TPdfArialBoldItalic, "Helvetica-BoldOblique", kHelveticaBoldOblique)
BW_PDF_DEFINE_FONT(TPdfTimesRoman, "Times-Roman", kTimesRoman)
BW_PDF_DEFINE_FONT(TPdfTimesBold, "Times-Bold", kTimesBold)
BW_PDF_DEFINE_FONT(TPdfTimesItalic, "Times-Italic", kTimesItalic)
BW_PDF_DEFINE_FONT(TPdfTimesBoldItalic, "Times-BoldItalic", kTimesBoldItalic)

#undef BW_PDF_DEFINE_FONT

namespace {

using FontFactory = std::unique_ptr<TPdfFont> (*)(TPdfObjectMgr&, QByteArrayView);

template <class T> std::unique_ptr<TPdfFont> make(TPdfObjectMgr& mgr, QByteArrayView alias)
{
    return std::make_unique<T>(mgr, alias);
}

// The font classes by alias, registered for the whole run.
const std::map<QByteArray, FontFactory>& registry()
{
    static const std::map<QByteArray, FontFactory> fonts = {
        {"FixedWidth", &make<TPdfFixedWidth>},
        {"FixedWidth-Bold", &make<TPdfFixedWidthBold>},
        {"FixedWidth-Italic", &make<TPdfFixedWidthItalic>},
        {"FixedWidth-BoldItalic", &make<TPdfFixedWidthBoldItalic>},
        {"Arial", &make<TPdfArial>},
        {"Arial-Bold", &make<TPdfArialBold>},
        {"Arial-Italic", &make<TPdfArialItalic>},
        {"Arial-BoldItalic", &make<TPdfArialBoldItalic>},
        {"Times-Roman", &make<TPdfTimesRoman>},
        {"Times-Bold", &make<TPdfTimesBold>},
        {"Times-Italic", &make<TPdfTimesItalic>},
        {"Times-BoldItalic", &make<TPdfTimesBoldItalic>},
    };
    return fonts;
}

} // namespace

std::unique_ptr<TPdfFont> createRegisteredFont(QByteArrayView alias, TPdfObjectMgr& objectMgr)
{
    const auto& fonts = registry();
    const auto it = fonts.find(alias.toByteArray());
    if (it == fonts.end())
        throw AppError(QStringLiteral("Klasse %1 nicht gefunden").arg(QString::fromLatin1(alias)));
    return it->second(objectMgr, alias);
}

} // namespace bw::pdf
