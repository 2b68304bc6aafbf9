// The report layer: pages of placed text labels, printed into a PDF file.
// A page (TRepPage) holds panels (TRepPanel, TRepLayoutPanel), the panels hold
// items, of which the text label (TRepLabel) is the one kind. One point of a
// page is one PDF point; positions count from the top-left corner of the page.
// A container owns its children; labels may be made and freed between prints.
#pragma once

#include "pdf/pdfdoc.h"

#include <QString>

#include <functional>

namespace bw::pdf {

class TRepCanvas;
class TRepContainer;
class TRepPanel;
class TRepItem;

// A rectangle in page points, y downwards; Right and Bottom lie just outside.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TRect&) const = default;
};

enum class TAlign { alNone, alClient };

class TRepControl {
public:
    virtual ~TRepControl() = default;
    TRepControl(const TRepControl&) = delete;
    TRepControl& operator=(const TRepControl&) = delete;

    TRepContainer* Parent() const { return m_parent; }

    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void SetLeft(int v) { SetBounds(v, m_top, m_width, m_height); }
    void SetTop(int v) { SetBounds(m_left, v, m_width, m_height); }
    void SetWidth(int v) { SetBounds(m_left, m_top, v, m_height); }
    void SetHeight(int v) { SetBounds(m_left, m_top, m_width, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return {m_left, m_top, m_left + m_width, m_top + m_height}; }

    TAlign Align() const { return m_align; }
    void SetAlign(TAlign align);

    // What the control is, for printing and placing (cheaper than a cast).
    virtual TRepPanel* asPanel() { return nullptr; }
    virtual TRepItem* asItem() { return nullptr; }
    const TRepPanel* asPanel() const { return const_cast<TRepControl*>(this)->asPanel(); }

protected:
    TRepControl(int width, int height) : m_width(width), m_height(height) {}
    // Raises when the control may not stand on that parent (nullptr: none).
    virtual void checkParent(const TRepContainer* parent) const;

private:
    friend class TRepContainer;
    TRepContainer* m_parent = nullptr;
    int m_left = 0, m_top = 0, m_width, m_height;
    TAlign m_align = TAlign::alNone;
};

// A control that holds and owns others.
class TRepContainer : public TRepControl {
public:
    // Places the control on this container, which owns it from now on.
    template <class T> T& Insert(std::unique_ptr<T> child)
    {
        T& ref = *child;
        insertControl(std::move(child));
        return ref;
    }
    template <class T> T& Create() { return Insert(std::make_unique<T>()); }
    // Frees every control placed on this container.
    void DestroyComponents();
    int ControlCount() const { return int(m_controls.size()); }
    TRepControl& Controls(int index) const { return *m_controls[size_t(index)]; }

    void SetBounds(int left, int top, int width, int height) override;
    // Gives the children aligned to the client the container's align area.
    void AlignControls();

protected:
    using TRepControl::TRepControl;
    // The area given to children aligned to the client.
    virtual TRect alignArea() const { return {0, 0, Width(), Height()}; }

private:
    void insertControl(std::unique_ptr<TRepControl> child);
    std::vector<std::unique_ptr<TRepControl>> m_controls;
};

// The canvas handed to pages, panels and items while printing.
class TRepCanvas {
public:
    TPdfCanvas* PdfCanvas = nullptr;
    // Rect in page points, y downwards; converted with the page height.
    void TextRect(const TRect& rect, QByteArrayView text, TPdfAlignment alignment, bool clipping);
};

class TRepPage;
using TRepPrintPageEvent = std::function<void(TRepPage& sender, TRepCanvas& canvas)>;

// One PDF page: its Width and Height become the MediaBox.
class TRepPage : public TRepContainer {
public:
    TRepPage();
    ~TRepPage() override;

    int MarginTop() const { return m_margins.Top; }
    int MarginLeft() const { return m_margins.Left; }
    int MarginRight() const { return m_margins.Right; }
    int MarginBottom() const { return m_margins.Bottom; }
    void SetMarginTop(int v) { setMargin(m_margins.Top, v); }
    void SetMarginLeft(int v) { setMargin(m_margins.Left, v); }
    void SetMarginRight(int v) { setMargin(m_margins.Right, v); }
    void SetMarginBottom(int v) { setMargin(m_margins.Bottom, v); }

    TRepPrintPageEvent OnPrintPage;
    bool Visible = true;

    void Print(TRepCanvas& canvas);
    // The canvas that measures text for this page's labels; it writes nothing.
    TPdfCanvas& MeasureCanvas() const { return m_measureDoc->GetCanvas(); }

protected:
    TRect alignArea() const override;

private:
    void setMargin(int& margin, int v);
    TRect m_margins{32, 32, 32, 32};
    std::unique_ptr<TPdfDoc> m_measureDoc;
};

class TRepPanel : public TRepContainer {
public:
    TRepPanel() : TRepContainer(185, 100) {}
    TRepPanel* asPanel() override { return this; }
    using TRepControl::asPanel;
    virtual void Print(TRepCanvas& canvas, const TRect& rect);
};

using TRepPrintPanelEvent = std::function<void(TRepPanel& sender, TRepCanvas& canvas, const TRect& rect)>;

class TRepLayoutPanel : public TRepPanel {
public:
    TRepPrintPanelEvent BeforePrint;
    TRepPrintPanelEvent AfterPrint;
    void Print(TRepCanvas& canvas, const TRect& rect) override;
};

// A printable item on a panel.
class TRepItem : public TRepControl {
public:
    TRepItem() : TRepControl(100, 30) {}
    TRepItem* asItem() override { return this; }
    bool Printable = true;
    virtual void Print(TRepCanvas& canvas, const TRect& rect);

protected:
    void checkParent(const TRepContainer* parent) const override;
};

enum class TRepFontName { fnFixedWidth, fnArial, fnTimesRoman };

class TRepCustomLabel : public TRepItem {
public:
    TRepFontName FontName() const { return m_fontName; }
    float FontSize() const { return m_fontSize; }
    bool FontBold() const { return m_fontBold; }
    bool FontItalic() const { return m_fontItalic; }
    qint32 FontColor() const { return m_fontColor; }
    float CharSpace() const { return m_charSpace; }
    float WordSpace() const { return m_wordSpace; }

    void SetFontName(TRepFontName v) { m_fontName = v; }
    // Only sizes above 0 are taken.
    void SetFontSize(float v);
    void SetFontBold(bool v) { m_fontBold = v; }
    void SetFontItalic(bool v) { m_fontItalic = v; }
    // 0x00BBGGRR; above 0x0FFFFFFF raises EPdfInvalidValue, a negative value
    // (a system colour) prints black.
    void SetFontColor(qint32 v);
    void SetCharSpace(float v) { m_charSpace = v; }
    // Only values of 0 or more are taken.
    void SetWordSpace(float v);

    // The alias of the font: "Arial", "Arial-Bold", "Times-Italic", ...
    const char* FontAlias() const;

private:
    TRepFontName m_fontName = TRepFontName::fnArial;
    float m_fontSize = 12;
    bool m_fontBold = false;
    bool m_fontItalic = false;
    qint32 m_fontColor = 0;
    float m_charSpace = 0;
    float m_wordSpace = 0;
};

class TRepLabel : public TRepCustomLabel {
public:

    const QString& Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    TPdfAlignment Alignment = TPdfAlignment::taLeftJustify;
    bool AlignJustified = false;
    bool Clipping = false;

    // The caption's width measured with the page's font metrics.
    double GetTextWidth() const;
    void Print(TRepCanvas& canvas, const TRect& rect) override;

private:
    void ApplyCanvasAttributes(TPdfCanvas& canvas) const;
    QString m_caption;
    QByteArray m_text; // the caption in Windows-1252
};

class TPdfReport {
public:
    // The clock gives CreationDate's default and the saving time; nullptr is
    // the system clock.
    explicit TPdfReport(const Clock* clock = nullptr);
    ~TPdfReport();
    TPdfReport(const TPdfReport&) = delete;
    TPdfReport& operator=(const TPdfReport&) = delete;

    QString FileName = QStringLiteral("default.pdf");
    TPdfCompressionMethod CompressionMethod = TPdfCompressionMethod::cmNone;

    const QString& Author() const { return m_author; }
    const QString& Creator() const { return m_creator; }
    const QString& Keywords() const { return m_keywords; }
    const QString& Subject() const { return m_subject; }
    const QString& Title() const { return m_title; }
    const QDateTime& CreationDate() const { return m_creationDate; }
    const QDateTime& ModDate() const { return m_modDate; }
    TPdfPageLayout PageLayout() const { return m_pageLayout; }
    TPdfPageMode PageMode() const { return m_pageMode; }
    TPdfPageMode NonFullScreenPageMode() const { return m_nonFullScreenPageMode; }
    bool UseOutlines() const { return m_useOutlines; }
    TPdfViewerPreferences ViewerPreference() const { return m_viewerPreference; }

    // These raise EPdfInvalidOperation while a document is open.
    void SetAuthor(const QString& v);
    void SetCreator(const QString& v);
    void SetKeyWords(const QString& v);
    void SetSubject(const QString& v);
    void SetTitle(const QString& v);
    void SetCreationDate(const QDateTime& v);
    void SetModDate(const QDateTime& v);
    void SetPageLayout(TPdfPageLayout v);
    void SetPageMode(TPdfPageMode v);
    void SetNonFullScreenPageMode(TPdfPageMode v);
    void SetUseOutlines(bool v);
    void SetViewerPreference(TPdfViewerPreferences v);

    void BeginDoc();
    void Print(TRepPage& page);
    // Writes the document to FileName through a temporary file, so that a
    // failed write leaves an existing file as it was; then closes the document.
    void EndDoc();
    void Abort();

    bool HasDoc() const { return m_doc != nullptr; }
    int PageCount() const { return m_pageCount; }

private:
    void checkClosed(const char* setter) const;

    const Clock* m_clock;
    QString m_author, m_creator, m_keywords, m_subject, m_title;
    QDateTime m_creationDate;
    QDateTime m_modDate;
    TPdfPageLayout m_pageLayout = TPdfPageLayout::plSinglePage;
    TPdfPageMode m_pageMode = TPdfPageMode::pmUseNone;
    TPdfPageMode m_nonFullScreenPageMode = TPdfPageMode::pmUseNone;
    bool m_useOutlines = false;
    TPdfViewerPreferences m_viewerPreference;

    std::unique_ptr<TPdfDoc> m_doc;
    TRepCanvas m_canvas;
    int m_pageCount = 0;
};

} // namespace bw::pdf
