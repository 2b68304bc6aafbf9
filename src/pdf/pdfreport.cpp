#include "pdf/pdfreport.h"

#include <QSaveFile>

namespace bw::pdf {

// ---------------------------------------------------------------- controls

void TRepControl::checkParent(const TRepContainer*) const {}

void TRepControl::SetBounds(int left, int top, int width, int height)
{
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
}

void TRepControl::SetAlign(TAlign align)
{
    if (align == m_align)
        return;
    m_align = align;
    if (m_parent)
        m_parent->AlignControls();
}

void TRepContainer::insertControl(std::unique_ptr<TRepControl> child)
{
    child->checkParent(this);
    child->m_parent = this;
    m_controls.push_back(std::move(child));
    if (m_controls.back()->Align() != TAlign::alNone)
        AlignControls();
}

void TRepContainer::DestroyComponents()
{
    m_controls.clear();
}

void TRepContainer::SetBounds(int left, int top, int width, int height)
{
    const bool resized = width != Width() || height != Height();
    TRepControl::SetBounds(left, top, width, height);
    if (resized)
        AlignControls();
}

void TRepContainer::AlignControls()
{
    const TRect area = alignArea();
    for (const auto& child : m_controls)
        if (child->Align() == TAlign::alClient)
            child->SetBounds(area.Left, area.Top, area.Right - area.Left, area.Bottom - area.Top);
}

// ---------------------------------------------------------------- canvas

void TRepCanvas::TextRect(const TRect& rect, QByteArrayView text, TPdfAlignment alignment, bool clipping)
{
    const float h = PdfCanvas->GetPageHeight();
    PdfCanvas->TextRect(PdfRect(float(rect.Left), h - float(rect.Top), float(rect.Right), h - float(rect.Bottom)),
                        text, alignment, clipping);
}

// ---------------------------------------------------------------- page and panels

namespace {

// The raised bevel of a page takes one point on each side.
constexpr int kBevel = 1;

} // namespace

TRepPage::TRepPage() : TRepContainer(596, 842), m_measureDoc(std::make_unique<TPdfDoc>())
{
    m_measureDoc->NewMeasureDoc();
}

TRepPage::~TRepPage() = default;

TRect TRepPage::alignArea() const
{
    return {kBevel + m_margins.Left, kBevel + m_margins.Top, Width() - kBevel - m_margins.Right,
            Height() - kBevel - m_margins.Bottom};
}

void TRepPage::setMargin(int& margin, int v)
{
    if (v == margin || v < 0 || v >= Width() / 2.0)
        return;
    margin = v;
    AlignControls();
}

void TRepPage::Print(TRepCanvas& canvas)
{
    canvas.PdfCanvas->SetPageHeight(Height());
    canvas.PdfCanvas->SetPageWidth(Width());
    if (OnPrintPage)
        OnPrintPage(*this, canvas);
    for (int i = 0; i < ControlCount(); ++i)
        if (TRepPanel* panel = Controls(i).asPanel())
            panel->Print(canvas, panel->BoundsRect());
}

void TRepPanel::Print(TRepCanvas& canvas, const TRect& rect)
{
    for (int i = 0; i < ControlCount(); ++i) {
        TRepControl& child = Controls(i);
        TRect r = child.BoundsRect();
        r.Left += rect.Left;
        r.Right += rect.Left;
        r.Top += rect.Top;
        r.Bottom += rect.Top;
        if (TRepPanel* panel = child.asPanel())
            panel->Print(canvas, r);
        else if (TRepItem* item = child.asItem(); item && item->Printable)
            item->Print(canvas, r);
    }
}

void TRepLayoutPanel::Print(TRepCanvas& canvas, const TRect& rect)
{
    if (BeforePrint)
        BeforePrint(*this, canvas, rect);
    TRepPanel::Print(canvas, rect);
    if (AfterPrint)
        AfterPrint(*this, canvas, rect);
}

// ---------------------------------------------------------------- items and labels

void TRepItem::Print(TRepCanvas&, const TRect&) {}

void TRepItem::checkParent(const TRepContainer* parent) const
{
    if (parent && !parent->asPanel())
        throw AppError(QStringLiteral("this component must set on TRepPanel"));
}

void TRepCustomLabel::SetFontSize(float v)
{
    if (v > 0)
        m_fontSize = v;
}

void TRepCustomLabel::SetFontColor(qint32 v)
{
    if (v > 0x0FFFFFFF)
        throw EPdfInvalidValue(QStringLiteral("the color you selected is not allowed."));
    m_fontColor = v;
}

void TRepCustomLabel::SetWordSpace(float v)
{
    if (v >= 0)
        m_wordSpace = v;
}

const char* TRepCustomLabel::FontAlias() const
{
    static const char* const aliases[3][4] = {
        {"FixedWidth", "FixedWidth-Bold", "FixedWidth-Italic", "FixedWidth-BoldItalic"},
        {"Arial", "Arial-Bold", "Arial-Italic", "Arial-BoldItalic"},
        {"Times-Roman", "Times-Bold", "Times-Italic", "Times-BoldItalic"},
    };
    return aliases[int(m_fontName)][(m_fontBold ? 1 : 0) + (m_fontItalic ? 2 : 0)];
}

void TRepLabel::SetCaption(const QString& caption)
{
    m_caption = caption;
    m_text = pdfText(caption);
}

void TRepLabel::ApplyCanvasAttributes(TPdfCanvas& canvas) const
{
    canvas.SetFont(FontAlias(), FontSize());
    canvas.SetRGBFillColor(FontColor());
    canvas.SetWordSpace(WordSpace());
    if (AlignJustified) {
        canvas.SetCharSpace(0);
        const double w = canvas.TextWidth(m_text);
        const int n = CharCount(m_text);
        const double spacing = n < 2 ? 0 : (Width() - w) / (n - 1);
        if (spacing > 0)
            canvas.SetCharSpace(float(spacing));
    } else {
        canvas.SetCharSpace(CharSpace());
    }
}

double TRepLabel::GetTextWidth() const
{
    const TRepContainer* p = Parent();
    while (p && !dynamic_cast<const TRepPage*>(p))
        p = p->Parent();
    if (auto page = static_cast<const TRepPage*>(p)) {
        TPdfCanvas& canvas = page->MeasureCanvas();
        ApplyCanvasAttributes(canvas);
        return canvas.TextWidth(m_text);
    }
    // Not on a page: measure with a document of its own.
    TPdfDoc doc;
    doc.NewMeasureDoc();
    ApplyCanvasAttributes(doc.GetCanvas());
    return doc.GetCanvas().TextWidth(m_text);
}

void TRepLabel::Print(TRepCanvas& canvas, const TRect& rect)
{
    if (m_text.isEmpty())
        return;
    ApplyCanvasAttributes(*canvas.PdfCanvas);
    canvas.TextRect(rect, m_text, Alignment, Clipping);
}

// ---------------------------------------------------------------- TPdfReport

TPdfReport::TPdfReport(const Clock* clock)
    : m_clock(clock),
      m_creationDate(clock ? clock->now() : QDateTime::currentDateTime()),
      // No modification date set: the day that stored date values count from.
      m_modDate(QDate(1899, 12, 30), QTime(0, 0))
{
}

TPdfReport::~TPdfReport() = default;

void TPdfReport::checkClosed(const char* setter) const
{
    if (m_doc)
        throw EPdfInvalidOperation(QString::fromLatin1(setter) + QStringLiteral(" --invalid operation."));
}

void TPdfReport::SetAuthor(const QString& v)
{
    checkClosed("SetAuthor");
    m_author = v;
}

void TPdfReport::SetCreator(const QString& v)
{
    checkClosed("SetCreator");
    m_creator = v;
}

void TPdfReport::SetKeyWords(const QString& v)
{
    checkClosed("SetKeyWords");
    m_keywords = v;
}

void TPdfReport::SetSubject(const QString& v)
{
    checkClosed("SetSubject");
    m_subject = v;
}

void TPdfReport::SetTitle(const QString& v)
{
    checkClosed("SetTitle");
    m_title = v;
}

void TPdfReport::SetCreationDate(const QDateTime& v)
{
    checkClosed("SetCreationDate");
    m_creationDate = v;
}

void TPdfReport::SetModDate(const QDateTime& v)
{
    checkClosed("SetModDate");
    m_modDate = v;
}

void TPdfReport::SetPageLayout(TPdfPageLayout v)
{
    checkClosed("SetPageLayout");
    m_pageLayout = v;
}

void TPdfReport::SetPageMode(TPdfPageMode v)
{
    checkClosed("SetPageMode");
    m_pageMode = v;
}

void TPdfReport::SetNonFullScreenPageMode(TPdfPageMode v)
{
    checkClosed("SetNonFullScreenPageMode");
    m_nonFullScreenPageMode = v == TPdfPageMode::pmFullScreen ? TPdfPageMode::pmUseNone : v;
}

void TPdfReport::SetUseOutlines(bool v)
{
    checkClosed("SetUseOutlines");
    m_useOutlines = v;
}

void TPdfReport::SetViewerPreference(TPdfViewerPreferences v)
{
    checkClosed("SetViewerPreference");
    m_viewerPreference = v;
}

void TPdfReport::BeginDoc()
{
    Abort();
    auto doc = std::make_unique<TPdfDoc>(m_clock);
    doc->UseOutlines = m_useOutlines;
    doc->CompressionMethod = CompressionMethod;
    doc->NewDoc();

    TPdfCatalog& root = doc->GetRoot();
    root.SetPageMode(m_pageMode);
    root.SetPageLayout(m_pageLayout);
    if (m_nonFullScreenPageMode != TPdfPageMode::pmUseNone)
        root.SetNonFullScreenPageMode(m_nonFullScreenPageMode);
    if (!m_viewerPreference.isEmpty())
        root.SetViewerPreference(m_viewerPreference);

    TPdfInfo& info = doc->GetInfo();
    info.SetAuthor(m_author);
    info.SetCreationDate(m_creationDate);
    info.SetCreator(m_creator);
    info.SetKeywords(m_keywords);
    info.SetModDate(m_modDate);
    info.SetSubject(m_subject);
    info.SetTitle(m_title);

    m_doc = std::move(doc);
    m_pageCount = 0;
}

void TPdfReport::Print(TRepPage& page)
{
    if (!m_doc)
        throw EPdfInvalidOperation(QStringLiteral("Print --document is null.."));
    // Checked before the page is added, so a refused size leaves the document as it was.
    TPdfCanvas::CheckPageSize(page.Width(), page.Height());
    m_doc->AddPage();
    ++m_pageCount;
    m_canvas.PdfCanvas = &m_doc->GetCanvas();
    page.Print(m_canvas);
}

void TPdfReport::EndDoc()
{
    if (!m_doc)
        throw AppError(QStringLiteral("document is null.."));
    // Unbuffered: the writer buffers itself, and a write error must surface at
    // the write (a buffered QSaveFile can lose it and commit a cut-off file).
    // The file named before keeps its content until the new one is complete.
    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw AppError(QStringLiteral("Die Datei \"%1\" kann nicht angelegt werden: %2").arg(FileName, file.errorString()));
    const auto writeFailed = [&] {
        return AppError(QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2").arg(FileName, file.errorString()));
    };
    try {
        m_doc->SaveToStream(file);
    } catch (const AppError&) {
        if (file.error() != QFileDevice::NoError)
            throw writeFailed();
        throw;
    }
    if (file.error() != QFileDevice::NoError || !file.commit())
        throw writeFailed();
    Abort();
}

void TPdfReport::Abort()
{
    m_canvas.PdfCanvas = nullptr;
    m_doc.reset();
}

} // namespace bw::pdf
