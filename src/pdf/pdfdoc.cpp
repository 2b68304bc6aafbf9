#include "pdf/pdfdoc.h"

#include "pdf/pdffonts.h"

#include <algorithm>
#include <cmath>
#include <exception>

namespace bw::pdf {

// ---------------------------------------------------------------- TPdfXref

TPdfXref::TPdfXref()
{
    TPdfXrefEntry free;
    free.EntryType = 'f';
    free.GenerationNumber = 65535;
    m_entries.push_back(std::move(free));
}

TPdfObject& TPdfXref::AddObject(TPdfObjectPtr object)
{
    if (!object || object->ObjectType() != TPdfObjectType::otDirectObject)
        throw EPdfInvalidOperation(QStringLiteral("AddObject --wrong object type."));
    object->SetObjectNumber(int(m_entries.size()));
    TPdfXrefEntry entry;
    entry.GenerationNumber = object->GenerationNumber();
    entry.Value = std::move(object);
    m_entries.push_back(std::move(entry));
    return *m_entries.back().Value;
}

TPdfObject* TPdfXref::GetObject(int number) const
{
    if (number < 0 || size_t(number) >= m_entries.size())
        return nullptr;
    return m_entries[size_t(number)].Value.get();
}

void TPdfXref::WriteToStream(PdfWriter& out)
{
    out.write("xref\r\n0 ");
    out.writeInt(qint64(m_entries.size()));
    out.write("\r\n");
    char line[21];
    for (const auto& e : m_entries) {
        const qint64 offset = e.ByteOffset < 0 ? 0 : e.ByteOffset;
        if (offset > 9999999999LL)
            throw EPdfInvalidValue(QStringLiteral("SaveToStream --file too large"));
        std::snprintf(line, sizeof line, "%010lld %05d %c\r\n", static_cast<long long>(offset),
                      e.GenerationNumber, e.EntryType);
        out.write(line, 20);
    }
}

// ---------------------------------------------------------------- TPdfTrailer

TPdfTrailer::TPdfTrailer(TPdfObjectMgr* objectMgr) : m_attributes(TPdfDictionary::CreateDictionary(objectMgr))
{
    m_attributes->AddNumber("Size", 0);
}

void TPdfTrailer::WriteToStream(PdfWriter& out)
{
    out.write("trailer\r\n");
    m_attributes->WriteToStream(out);
    out.write("\r\nstartxref\r\n");
    out.writeInt(XrefAddress);
    out.write("\r\n%%EOF\r\n");
}

// ---------------------------------------------------------------- wrappers

void TPdfInfo::setText(QByteArrayView key, const QString& v)
{
    Data()->AddItem(key, std::make_unique<TPdfText>(pdfText(v)));
}

void TPdfInfo::setDate(QByteArrayView key, const QDateTime& v)
{
    Data()->AddItem(key, std::make_unique<TPdfText>(DateToPdfDate(v)));
}

namespace {

QByteArray layoutName(TPdfPageLayout layout)
{
    switch (layout) {
    case TPdfPageLayout::plSinglePage: return "SinglePage";
    case TPdfPageLayout::plOneColumn: return "OneColumn";
    case TPdfPageLayout::plTwoColumnLeft: return "TwoColumnLeft";
    case TPdfPageLayout::plTwoColumnRight: return "TwoColumnRight";
    }
    return "SinglePage";
}

QByteArray modeName(TPdfPageMode mode)
{
    switch (mode) {
    case TPdfPageMode::pmUseNone: return "UseNone";
    case TPdfPageMode::pmUseOutlines: return "UseOutlines";
    case TPdfPageMode::pmUseThumbs: return "UseThumbs";
    case TPdfPageMode::pmFullScreen: return "FullScreen";
    }
    return "UseNone";
}

} // namespace

void TPdfCatalog::SetPages(const TPdfDictionary& pages)
{
    if (pages.TypeOf() == "Pages")
        Data()->AddItem("Pages", pages);
}

void TPdfCatalog::SetPageLayout(TPdfPageLayout layout)
{
    Data()->AddName("PageLayout", layoutName(layout));
}

void TPdfCatalog::SetPageMode(TPdfPageMode mode)
{
    Data()->AddName("PageMode", modeName(mode));
}

void TPdfCatalog::SetNonFullScreenPageMode(TPdfPageMode mode)
{
    TPdfDictionary* prefs = Data()->PdfDictionaryByName("ViewerPreferences");
    if (!prefs) {
        Data()->AddItem("ViewerPreferences", TPdfDictionary::CreateDictionary(Data()->ObjectMgr()));
        prefs = Data()->PdfDictionaryByName("ViewerPreferences");
    }
    if (mode == TPdfPageMode::pmUseOutlines || mode == TPdfPageMode::pmUseThumbs)
        prefs->AddName("NonFullScreenPageMode", modeName(mode));
    else
        prefs->RemoveItem("NonFullScreenPageMode");
}

void TPdfCatalog::SetViewerPreference(TPdfViewerPreferences set)
{
    TPdfDictionary* prefs = Data()->PdfDictionaryByName("ViewerPreferences");
    if (!prefs) {
        if (set.isEmpty())
            return;
        Data()->AddItem("ViewerPreferences", TPdfDictionary::CreateDictionary(Data()->ObjectMgr()));
        prefs = Data()->PdfDictionaryByName("ViewerPreferences");
    }
    static const std::pair<TPdfViewerPreference, const char*> keys[] = {
        {TPdfViewerPreference::vpHideToolbar, "HideToolbar"},
        {TPdfViewerPreference::vpHideMenubar, "HideMenubar"},
        {TPdfViewerPreference::vpHideWindowUI, "HideWindowUI"},
        {TPdfViewerPreference::vpFitWindow, "FitWindow"},
        {TPdfViewerPreference::vpCenterWindow, "CenterWindow"},
    };
    for (const auto& [pref, key] : keys) {
        if (set.contains(pref))
            prefs->AddItem(key, std::make_unique<TPdfBoolean>(true));
        else
            prefs->RemoveItem(key);
    }
}

void TPdfCatalog::SaveOpenAction()
{
    Data()->RemoveItem("OpenAction");
}

void TPdfOutlineRoot::Save()
{
    Data()->AddNumber("Count", 0);
}

// ---------------------------------------------------------------- text state

namespace {

// Also false for NaN.
bool within(float v, float low, float high)
{
    return v >= low && v <= high;
}

} // namespace

void TPdfCanvasAttribute::SetWordSpace(float v)
{
    if (!(v >= 0) || std::isinf(v))
        throw EPdfInvalidValue(QStringLiteral("SetWordSpace --invalid word space"));
    m_wordSpace = v;
}

void TPdfCanvasAttribute::SetCharSpace(float v)
{
    if (!within(v, -30, 300))
        throw EPdfInvalidValue(QStringLiteral("SetCharSpace --invalid char space"));
    m_charSpace = v;
}

void TPdfCanvasAttribute::checkFontSize(float v)
{
    if (!within(v, 0, 300))
        throw EPdfInvalidValue(QStringLiteral("SetCharSpace --invalid font size"));
}

void TPdfCanvasAttribute::SetFontSize(float v)
{
    checkFontSize(v);
    m_fontSize = v;
}

void TPdfCanvasAttribute::SetFont(TPdfFont* font)
{
    m_font = font;
    m_type1 = dynamic_cast<const TPdfType1Font*>(font);
}

void TPdfCanvasAttribute::SetLeading(float v)
{
    if (!within(v, 0, 300))
        throw EPdfInvalidValue(QStringLiteral("SetLeading --invalid font size"));
    m_leading = v;
}

void TPdfCanvasAttribute::SetHorizontalScaling(int v)
{
    if (v < 10 || v > 300)
        throw EPdfInvalidValue(QStringLiteral("SetHorizontalScaling --invalid font size"));
    m_hScaling = quint16(v);
}

double TPdfCanvasAttribute::TextWidth(QByteArrayView text) const
{
    const TPdfType1Font* type1 = m_type1;
    const double scale = double(m_fontSize) / 1000 * (m_hScaling != 100 ? m_hScaling / 100.0 : 1.0);
    double width = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto code = static_cast<unsigned char>(text[i]);
        int units = 0;
        if (type1)
            units = type1->widthOf(code);
        else if (m_font)
            units = m_font->GetCharWidth(text, int(i) + 1);
        const double w = units * scale;
        if (w > 0)
            width += m_charSpace + w;
        if (code == ' ' && i + 1 < text.size() && m_wordSpace > 0)
            width += m_wordSpace;
    }
    return width - m_charSpace;
}

// ---------------------------------------------------------------- TPdfCanvas

TPdfDictionary& TPdfCanvas::GetPage() const
{
    if (!m_page)
        throw EPdfInvalidOperation(QStringLiteral("GetPage --the Page is nil"));
    return *m_page;
}

TPdfNumber* TPdfCanvas::mediaBoxNumber(int index) const
{
    GetPage();
    if (m_mediaBox && m_mediaBox->ItemCount() >= 4)
        return dynamic_cast<TPdfNumber*>(m_mediaBox->Items(index));
    return nullptr;
}

float TPdfCanvas::GetPageHeight() const
{
    const TPdfNumber* height = mediaBoxNumber(3);
    return height ? float(height->Value) : float(m_doc.DefaultPageHeight);
}

void TPdfCanvas::CheckPageSize(int width, int height)
{
    if (width <= 0)
        throw EPdfInvalidValue(QStringLiteral("SetPageWidth --invalid page width"));
    if (height <= 0)
        throw EPdfInvalidValue(QStringLiteral("SetPageHeight --invalid page height"));
}

void TPdfCanvas::SetPageWidth(int w)
{
    CheckPageSize(w, 1);
    if (TPdfNumber* width = mediaBoxNumber(2))
        width->Value = w;
}

void TPdfCanvas::SetPageHeight(int h)
{
    CheckPageSize(1, h);
    if (TPdfNumber* height = mediaBoxNumber(3))
        height->Value = h;
}

void TPdfCanvas::SetPage(TPdfDictionary& page)
{
    if (m_page) {
        // Saved beside the page, never written, for a return to it.
        if (m_attr.Font())
            m_page->AddInternalItem("_Font", std::make_unique<TPdfName>(m_attr.Font()->Name()));
        m_page->AddInternalItem("_Font_Size", std::make_unique<TPdfReal>(m_attr.FontSize()));
        m_page->AddInternalItem("_Word_Space", std::make_unique<TPdfReal>(m_attr.WordSpace()));
        m_page->AddInternalItem("_Char_Space", std::make_unique<TPdfReal>(m_attr.CharSpace()));
        m_page->AddInternalItem("_Leading", std::make_unique<TPdfReal>(m_attr.Leading()));
        m_page->AddInternalItem("_HScalling", std::make_unique<TPdfNumber>(m_attr.HorizontalScaling()));
    }
    m_page = &page;
    m_contents = dynamic_cast<TPdfStream*>(page.ValueByName("Contents"));
    m_mediaBox = page.PdfArrayByName("MediaBox");

    if (const TPdfName* font = page.PdfNameByName("_Font")) {
        auto real = [&page](const char* key) {
            const TPdfReal* r = page.PdfRealByName(key);
            return r ? float(r->Value) : 0.0f;
        };
        m_attr.SetFont(&m_doc.GetFont(font->Value));
        m_attr.SetFontSize(real("_Font_Size"));
        m_attr.SetWordSpace(real("_Word_Space"));
        m_attr.SetCharSpace(real("_Char_Space"));
        const TPdfNumber* scaling = page.PdfNumberByName("_HScalling");
        m_attr.SetHorizontalScaling(scaling ? scaling->Value : 100);
        m_attr.SetLeading(real("_Leading"));
        return;
    }
    m_attr.SetFont(nullptr);
    SetFont("Arial", 10);
    m_attr.SetCharSpace(0);
    m_attr.SetWordSpace(0);
    m_attr.SetHorizontalScaling(100);
    m_attr.SetLeading(0);
}

void TPdfCanvas::dropPage()
{
    m_page = nullptr;
    m_contents = nullptr;
    m_mediaBox = nullptr;
    m_attr.SetFont(nullptr);
}

namespace {

// Gathers the bytes of one operator, or of a few, and appends them to the
// content stream in one go. Numbers are formatted before anything is appended,
// so that a refused number leaves the stream as it was.
class Content {
public:
    explicit Content(QByteArray& out) : m_out(out) {}
    ~Content()
    {
        if (std::uncaught_exceptions() == m_exceptions)
            m_out.append(m_buffer, m_size);
    }
    Content(const Content&) = delete;
    Content& operator=(const Content&) = delete;

    Content& put(QByteArrayView s)
    {
        if (s.size() > kSize - m_size)
            flush();
        if (s.size() > kSize) {
            m_out.append(s);
            return *this;
        }
        std::copy_n(s.data(), s.size(), m_buffer + m_size);
        m_size += s.size();
        return *this;
    }
    Content& put(char c)
    {
        if (m_size == kSize)
            flush();
        m_buffer[m_size++] = c;
        return *this;
    }
    Content& real(double v)
    {
        char b[kRealBufferSize];
        return put(QByteArrayView(b, formatPdfRealTo(b, v)));
    }
    // A literal string's body: ( ) \ CR LF TAB BS FF escaped, all else unchanged.
    Content& escaped(QByteArrayView text)
    {
        for (char c : text) {
            if (kSize - m_size < 2)
                flush();
            if (const char e = textEscape(c)) {
                m_buffer[m_size++] = '\\';
                m_buffer[m_size++] = e;
            } else {
                m_buffer[m_size++] = c;
            }
        }
        return *this;
    }

private:
    void flush()
    {
        m_out.append(m_buffer, m_size);
        m_size = 0;
    }
    static constexpr qsizetype kSize = 1024;
    QByteArray& m_out;
    const int m_exceptions = std::uncaught_exceptions();
    char m_buffer[kSize];
    qsizetype m_size = 0;
};

void checkFinite(double v)
{
    if (!std::isfinite(v))
        throw EPdfInvalidValue(QStringLiteral("FormatPdfReal --invalid real number"));
}

} // namespace

void TPdfCanvas::write(QByteArrayView bytes)
{
    if (writing())
        m_contents->Stream().append(bytes);
}

void TPdfCanvas::writePoint(float x, float y, QByteArrayView op)
{
    if (!writing())
        return;
    checkFinite(x);
    checkFinite(y);
    Content(m_contents->Stream()).real(x).put(' ').real(y).put(op);
}

void TPdfCanvas::ShowText(QByteArrayView text)
{
    if (writing())
        Content(m_contents->Stream()).put('(').escaped(text).put(") Tj\n");
}

void TPdfCanvas::SetFontAndSize(QByteArrayView fontName, float size)
{
    if (!writing())
        return;
    checkFinite(size);
    Content(m_contents->Stream()).put(fontName).put(' ').real(size).put(" Tf\n");
}

void TPdfCanvas::SetCharSpace(float v)
{
    if (v == m_attr.CharSpace())
        return;
    m_attr.SetCharSpace(v);
    if (writing())
        Content(m_contents->Stream()).real(v).put(" Tc\n");
}

void TPdfCanvas::SetWordSpace(float v)
{
    if (v == m_attr.WordSpace())
        return;
    m_attr.SetWordSpace(v);
    if (writing())
        Content(m_contents->Stream()).real(v).put(" Tw\n");
}

void TPdfCanvas::SetHorizontalScaling(int v)
{
    if (v != m_attr.HorizontalScaling())
        m_attr.SetHorizontalScaling(v);
}

void TPdfCanvas::SetLeading(float v)
{
    if (v != m_attr.Leading())
        m_attr.SetLeading(v);
}

void TPdfCanvas::SetRGBFillColor(qint32 colour)
{
    if (!writing())
        return;
    const quint32 c = colour < 0 ? 0 : quint32(colour);
    // Every label writes its colour; the line of the last colour is kept.
    if (c != m_colour || m_colourLine.isEmpty()) {
        m_colourLine.clear();
        Content(m_colourLine)
            .real((c & 0xFF) / 255.0)
            .put(' ')
            .real(((c >> 8) & 0xFF) / 255.0)
            .put(' ')
            .real(((c >> 16) & 0xFF) / 255.0)
            .put(" rg\n");
        m_colour = c;
    }
    m_contents->Stream().append(m_colourLine);
}

void TPdfCanvas::SetFont(QByteArrayView alias, float size)
{
    // The size is checked before anything is written.
    TPdfCanvasAttribute::checkFontSize(size);
    TPdfFont& font = m_doc.GetFont(alias);
    if (&font == m_attr.Font() && size == m_attr.FontSize())
        return;
    const TPdfName* name = font.Data()->PdfNameByName("Name");
    TPdfDictionary* fonts = m_doc.PageResource(GetPage(), "Font");
    if (name && fonts && !fonts->ValueByName(name->Value))
        fonts->AddItem(name->Value, *font.Data());
    if (m_contents && name)
        SetFontAndSize("/" + EscapeName(name->Value), size);
    m_attr.SetFont(&font);
    m_attr.SetFontSize(size);
}

void TPdfCanvas::TextRect(const TPdfRect& rect, QByteArrayView text, TPdfAlignment alignment, bool clipping)
{
    // Left-aligned text needs no measuring.
    const double free = double(rect.Right) - rect.Left;
    double h = 0;
    if (alignment == TPdfAlignment::taRightJustify)
        h = std::nearbyint(free - TextWidth(text));
    else if (alignment == TPdfAlignment::taCenter)
        h = std::nearbyint((free - TextWidth(text)) / 2);
    const double x = rect.Left + h;
    const double y = rect.Top - 0.85 * m_attr.FontSize();
    if (!writing())
        return;
    // Checked before the first byte, so that a bad rectangle writes nothing.
    for (double v : {double(rect.Left), double(rect.Top), double(rect.Right), double(rect.Bottom), x, y})
        checkFinite(v);
    if (clipping) {
        GSave();
        MoveTo(rect.Left, rect.Top);
        LineTo(rect.Left, rect.Bottom);
        LineTo(rect.Right, rect.Bottom);
        LineTo(rect.Right, rect.Top);
        ClosePath();
        Clip();
        NewPath();
    }
    // BeginText, MoveTextPoint, ShowText and EndText in one piece.
    Content(m_contents->Stream()).put("BT\n").real(x).put(' ').real(y).put(" Td\n(").escaped(text).put(") Tj\nET\n");
    if (clipping)
        GRestore();
}

// ---------------------------------------------------------------- TPdfDoc

TPdfDoc::TPdfDoc(const Clock* clock) : m_clock(clock) {}

TPdfDoc::~TPdfDoc()
{
    FreeDoc();
}

const Clock& TPdfDoc::clock() const
{
    static const SystemClock system;
    return m_clock ? *m_clock : system;
}

void TPdfDoc::NewDoc()
{
    FreeDoc();
    m_xref = std::make_unique<TPdfXref>();
    m_trailer = std::make_unique<TPdfTrailer>(m_xref.get());

    auto& catalog = m_xref->add(TPdfDictionary::CreateDictionary(m_xref.get()));
    catalog.AddName("Type", "Catalog");
    m_root = std::make_unique<TPdfCatalog>();
    m_root->SetData(&catalog);
    m_trailer->Attributes().AddItem("Root", catalog);

    if (UseOutlines) {
        auto& outlines = m_xref->add(TPdfDictionary::CreateDictionary(m_xref.get()));
        outlines.AddName("Type", "Outlines");
        m_outlineRoot = std::make_unique<TPdfOutlineRoot>();
        m_outlineRoot->SetData(&outlines);
        catalog.AddItem("Outlines", outlines);
    }

    auto& info = m_xref->add(TPdfDictionary::CreateDictionary(m_xref.get()));
    info.AddItem("Producer", std::make_unique<TPdfText>("Brackwell PDF 0.9"));
    m_info = std::make_unique<TPdfInfo>();
    m_info->SetData(&info);
    m_trailer->Attributes().AddItem("Info", info);
    m_info->SetCreationDate(clock().now());

    m_hasDoc = true;
    m_currentPages = &CreatePages(nullptr);
}

void TPdfDoc::NewMeasureDoc()
{
    NewDoc();
    AddPage();
    m_canvas.setMeasureOnly();
}

void TPdfDoc::FreeDoc()
{
    // The canvas stays, but without a page of the freed document.
    m_canvas.dropPage();
    m_fontList.clear();
    m_outlineRoot.reset();
    m_info.reset();
    m_root.reset();
    m_trailer.reset();
    m_xref.reset();
    m_currentPages = nullptr;
    m_hasDoc = false;
}

TPdfDictionary& TPdfDoc::CreatePages(TPdfDictionary* parent)
{
    auto& pages = m_xref->add(TPdfDictionary::CreateDictionary(m_xref.get()));
    pages.AddName("Type", "Pages");
    pages.AddItem("Kids", TPdfArray::CreateArray(m_xref.get()));
    pages.AddNumber("Count", 0);
    if (parent && parent->TypeOf() == "Pages")
        AddKid(*parent, pages);
    else
        GetRoot().SetPages(pages);
    return pages;
}

void TPdfDoc::AddKid(TPdfDictionary& parent, const TPdfDictionary& kid)
{
    TPdfArray* kids = parent.PdfArrayByName("Kids");
    kids->AddItem(kid);
    parent.AddNumber("Count", kids->ItemCount());
}

TPdfDictionary* TPdfDoc::PageResource(const TPdfDictionary& page, QByteArrayView name) const
{
    const TPdfDictionary* resources = page.PdfDictionaryByName("Resources");
    return resources ? resources->PdfDictionaryByName(name) : nullptr;
}

TPdfDictionary& TPdfDoc::AddPage()
{
    if (!m_currentPages)
        throw EPdfInvalidOperation(QStringLiteral("AddPage --current pages null."));
    TPdfCanvas::CheckPageSize(DefaultPageWidth, DefaultPageHeight);
    auto& page = m_xref->add(TPdfDictionary::CreateDictionary(m_xref.get()));
    AddKid(*m_currentPages, page);
    page.AddName("Type", "Page");
    page.AddItem("Parent", *m_currentPages);
    page.AddItem("MediaBox", TPdfArray::CreateNumArray(m_xref.get(), {0, 0, DefaultPageWidth, DefaultPageHeight}));

    auto resources = TPdfDictionary::CreateDictionary(m_xref.get());
    resources->AddItem("Font", TPdfDictionary::CreateDictionary(m_xref.get()));
    resources->AddItem("XObject", TPdfDictionary::CreateDictionary(m_xref.get()));
    auto procSet = TPdfArray::CreateArray(m_xref.get());
    for (const char* name : {"PDF", "Text", "ImageC"})
        procSet->AddItem(std::make_unique<TPdfName>(name));
    resources->AddItem("ProcSet", std::move(procSet));
    page.AddItem("Resources", std::move(resources));

    auto& contents = m_xref->add(TPdfStream::CreateStream(m_xref.get()));
    page.AddItem("Contents", contents);

    m_canvas.SetPage(page);
    return page;
}

void TPdfDoc::SaveToStream(QIODevice& device)
{
    if (!m_hasDoc)
        throw EPdfInvalidOperation(QStringLiteral("SaveToStream --there is no document to save."));
    m_canvas.GetPage(); // a document without a page cannot be saved

    m_info->SetModDate(clock().now());
    m_root->SaveOpenAction();
    if (m_outlineRoot)
        m_outlineRoot->Save();

    if (!device.isSequential() && !device.seek(0))
        throw AppError(device.errorString());
    PdfWriter out(device);
    out.write("%PDF-1.2 \r\n");
    for (int i = 1; i < m_xref->ItemCount(); ++i) {
        TPdfXrefEntry& entry = m_xref->Items(i);
        entry.ByteOffset = out.pos();
        entry.Value->WriteValueToStream(out);
    }
    m_trailer->XrefAddress = out.pos();
    m_xref->WriteToStream(out);
    m_trailer->Attributes().PdfNumberByName("Size")->Value = m_xref->ItemCount();
    m_trailer->WriteToStream(out);
    out.flush();
}

TPdfCanvas& TPdfDoc::GetCanvas()
{
    if (!m_hasDoc)
        throw EPdfInvalidOperation(QStringLiteral("GetCanvas --Document is null"));
    return m_canvas;
}

TPdfInfo& TPdfDoc::GetInfo()
{
    if (!m_hasDoc)
        throw EPdfInvalidOperation(QStringLiteral("GetInfo --this method can not use this state.."));
    return *m_info;
}

TPdfCatalog& TPdfDoc::GetRoot()
{
    if (!m_hasDoc)
        throw EPdfInvalidOperation(QStringLiteral("GetRoot --this method can not use this state.."));
    return *m_root;
}

TPdfOutlineRoot& TPdfDoc::GetOutlineRoot()
{
    if (!m_hasDoc)
        throw EPdfInvalidOperation(QStringLiteral("GetOutlineRoot --document is null.."));
    if (!m_outlineRoot)
        throw EPdfInvalidOperation(QStringLiteral("GetOutlineRoot --not use outline mode.."));
    return *m_outlineRoot;
}

TPdfFont& TPdfDoc::GetFont(QByteArrayView alias)
{
    if (!m_hasDoc)
        throw EPdfInvalidOperation(QStringLiteral("GetFont --document is null."));
    for (const auto& font : m_fontList)
        if (font->Name() == alias)
            return *font;
    return CreateFont(alias);
}

TPdfFont& TPdfDoc::CreateFont(QByteArrayView alias)
{
    auto font = createRegisteredFont(alias, *m_xref);
    font->Data()->AddName("Name", "F" + QByteArray::number(qsizetype(m_fontList.size())));
    m_fontList.push_back(std::move(font));
    return *m_fontList.back();
}

} // namespace bw::pdf
