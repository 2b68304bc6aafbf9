// A PDF document in memory and its file structure: the cross-reference table
// that numbers and owns the indirect objects, header, trailer, catalog, document
// information, page tree, fonts, and the canvas that writes the current page.
#pragma once

#include "pdf/pdftypes.h"

#include "platform/clock.h"

#include <QString>

#include <cstdint>

namespace bw::pdf {

class TPdfFont;
class TPdfType1Font;
class TPdfDoc;

// ---------------------------------------------------------------- file structure

struct TPdfXrefEntry {
    char EntryType = 'n'; // 'n' in use, 'f' free
    qint64 ByteOffset = -1;
    int GenerationNumber = 0;
    TPdfObjectPtr Value;
};

class TPdfXref : public TPdfObjectMgr {
public:
    TPdfXref();
    TPdfObject& AddObject(TPdfObjectPtr object) override;
    TPdfObject* GetObject(int number) const override;
    int ItemCount() const { return int(m_entries.size()); }
    TPdfXrefEntry& Items(int index) { return m_entries[size_t(index)]; }
    void WriteToStream(PdfWriter& out);

private:
    std::vector<TPdfXrefEntry> m_entries;
};

class TPdfTrailer {
public:
    explicit TPdfTrailer(TPdfObjectMgr* objectMgr);
    TPdfDictionary& Attributes() { return *m_attributes; }
    qint64 XrefAddress = 0;
    void WriteToStream(PdfWriter& out);

private:
    std::unique_ptr<TPdfDictionary> m_attributes;
};

// ---------------------------------------------------------------- dictionary wrappers

class TPdfDictionaryWrapper {
public:
    virtual ~TPdfDictionaryWrapper() = default;
    TPdfDictionary* Data() const { return m_data; }
    virtual void SetData(TPdfDictionary* data) { m_data = data; }

private:
    TPdfDictionary* m_data = nullptr; // owned by the cross-reference table
};

enum class TPdfPageLayout { plSinglePage, plOneColumn, plTwoColumnLeft, plTwoColumnRight };
enum class TPdfPageMode { pmUseNone, pmUseOutlines, pmUseThumbs, pmFullScreen };
enum class TPdfViewerPreference : std::uint8_t { vpHideToolbar = 1, vpHideMenubar = 2, vpHideWindowUI = 4, vpFitWindow = 8, vpCenterWindow = 16 };
enum class TPdfCompressionMethod { cmNone };

// A set of viewer preferences.
class TPdfViewerPreferences {
public:
    TPdfViewerPreferences() = default;
    TPdfViewerPreferences(std::initializer_list<TPdfViewerPreference> prefs)
    {
        for (auto p : prefs)
            m_bits |= std::uint8_t(p);
    }
    bool contains(TPdfViewerPreference p) const { return m_bits & std::uint8_t(p); }
    bool isEmpty() const { return m_bits == 0; }
    bool operator==(const TPdfViewerPreferences&) const = default;

private:
    std::uint8_t m_bits = 0;
};

class TPdfInfo : public TPdfDictionaryWrapper {
public:
    void SetAuthor(const QString& v) { setText("Author", v); }
    void SetCreator(const QString& v) { setText("Creator", v); }
    void SetKeywords(const QString& v) { setText("Keywords", v); }
    void SetSubject(const QString& v) { setText("Subject", v); }
    void SetTitle(const QString& v) { setText("Title", v); }
    void SetCreationDate(const QDateTime& v) { setDate("CreationDate", v); }
    void SetModDate(const QDateTime& v) { setDate("ModDate", v); }

private:
    void setText(QByteArrayView key, const QString& v);
    void setDate(QByteArrayView key, const QDateTime& v);
};

class TPdfCatalog : public TPdfDictionaryWrapper {
public:
    void SetPages(const TPdfDictionary& pages);
    void SetPageLayout(TPdfPageLayout layout);
    void SetPageMode(TPdfPageMode mode);
    void SetNonFullScreenPageMode(TPdfPageMode mode);
    void SetViewerPreference(TPdfViewerPreferences prefs);
    void SaveOpenAction();
};

class TPdfOutlineRoot : public TPdfDictionaryWrapper {
public:
    void Save();
};

// ---------------------------------------------------------------- canvas

struct TPdfRect {
    float Left = 0, Top = 0, Right = 0, Bottom = 0;
};
inline TPdfRect PdfRect(float left, float top, float right, float bottom) { return {left, top, right, bottom}; }

enum class TPdfAlignment { taLeftJustify, taRightJustify, taCenter };

// The text state of a canvas.
class TPdfCanvasAttribute {
public:
    float WordSpace() const { return m_wordSpace; }
    float CharSpace() const { return m_charSpace; }
    float FontSize() const { return m_fontSize; }
    TPdfFont* Font() const { return m_font; }
    float Leading() const { return m_leading; }
    quint16 HorizontalScaling() const { return m_hScaling; }

    // Each setter checks its range (EPdfInvalidValue) and stores the value.
    void SetWordSpace(float v);
    void SetCharSpace(float v);
    void SetFontSize(float v);
    void SetFont(TPdfFont* font);
    void SetLeading(float v);
    void SetHorizontalScaling(int v);

    // Checks a font size without storing it.
    static void checkFontSize(float v);

    // Width of the text at the current font, size and spacing.
    double TextWidth(QByteArrayView text) const;

private:
    float m_wordSpace = 0;
    float m_charSpace = 0;
    float m_fontSize = 0;
    TPdfFont* m_font = nullptr;
    const TPdfType1Font* m_type1 = nullptr; // m_font when it has a width table
    float m_leading = 0;
    quint16 m_hScaling = 100;
};

class TPdfCanvas {
public:
    explicit TPdfCanvas(TPdfDoc& doc) : m_doc(doc) {}

    TPdfDictionary& GetPage() const;
    float GetPageHeight() const;
    // A page is at least 1 wide and high: anything else is refused
    // (EPdfInvalidValue "SetPageWidth --invalid page width", likewise height).
    void SetPageWidth(int w);
    void SetPageHeight(int h);
    static void CheckPageSize(int width, int height);
    void SetPage(TPdfDictionary& page);
    // Leaves the page (the document is freed); the text state is kept.
    void dropPage();

    const TPdfCanvasAttribute& Attribute() const { return m_attr; }
    bool MeasureOnly() const { return m_measureOnly; }
    void setMeasureOnly() { m_measureOnly = true; }
    const TPdfStream* Contents() const { return m_contents; }

    // Operators.
    void GSave() { write("q\n"); }
    void GRestore() { write("Q\n"); }
    void MoveTo(float x, float y) { writePoint(x, y, " m\n"); }
    void LineTo(float x, float y) { writePoint(x, y, " l\n"); }
    void ClosePath() { write("h\n"); }
    void NewPath() { write("n\n"); }
    void Clip() { write("W\n"); }
    void BeginText() { write("BT\n"); }
    void EndText() { write("ET\n"); }
    void MoveTextPoint(float x, float y) { writePoint(x, y, " Td\n"); }
    void ShowText(QByteArrayView text);
    void SetFontAndSize(QByteArrayView fontName, float size);
    void SetCharSpace(float v);
    void SetWordSpace(float v);
    void SetHorizontalScaling(int v);
    void SetLeading(float v);
    // 0x00BBGGRR; a negative value (a system colour) is black.
    void SetRGBFillColor(qint32 colour);

    void SetFont(QByteArrayView alias, float size);
    double TextWidth(QByteArrayView text) const { return m_attr.TextWidth(text); }
    void TextRect(const TPdfRect& rect, QByteArrayView text, TPdfAlignment alignment, bool clipping);

private:
    void write(QByteArrayView bytes);
    void writePoint(float x, float y, QByteArrayView op);
    bool writing() const { return m_contents && !m_measureOnly; }
    TPdfNumber* mediaBoxNumber(int index) const;

    TPdfDoc& m_doc;
    TPdfDictionary* m_page = nullptr;  // owned by the document's cross-reference table
    TPdfStream* m_contents = nullptr;  // likewise
    TPdfArray* m_mediaBox = nullptr;   // the page's "MediaBox", likewise
    TPdfCanvasAttribute m_attr;
    bool m_measureOnly = false;
    quint32 m_colour = 0;
    QByteArray m_colourLine; // the rg line of m_colour
};

// ---------------------------------------------------------------- document

class TPdfDoc {
public:
    // The clock gives CreationDate and ModDate; nullptr is the system clock.
    explicit TPdfDoc(const Clock* clock = nullptr);
    ~TPdfDoc();
    TPdfDoc(const TPdfDoc&) = delete;
    TPdfDoc& operator=(const TPdfDoc&) = delete;

    void NewDoc();
    void NewMeasureDoc();
    void FreeDoc();
    bool HasDoc() const { return m_hasDoc; }

    TPdfDictionary& AddPage();
    void SaveToStream(QIODevice& device);

    TPdfCanvas& GetCanvas();
    TPdfInfo& GetInfo();
    TPdfCatalog& GetRoot();
    TPdfOutlineRoot& GetOutlineRoot();
    TPdfFont& GetFont(QByteArrayView alias);
    TPdfFont& CreateFont(QByteArrayView alias);

    TPdfDictionary& CreatePages(TPdfDictionary* parent);
    void AddKid(TPdfDictionary& parent, const TPdfDictionary& kid);
    TPdfDictionary* PageResource(const TPdfDictionary& page, QByteArrayView name) const;

    TPdfXref& Xref() { return *m_xref; }
    const std::vector<std::unique_ptr<TPdfFont>>& FontList() const { return m_fontList; }

    bool UseOutlines = false;
    TPdfCompressionMethod CompressionMethod = TPdfCompressionMethod::cmNone;
    quint16 DefaultPageWidth = 596;
    quint16 DefaultPageHeight = 842;

private:
    const Clock& clock() const;

    const Clock* m_clock;
    bool m_hasDoc = false;
    std::unique_ptr<TPdfXref> m_xref;
    std::unique_ptr<TPdfTrailer> m_trailer;
    std::unique_ptr<TPdfCatalog> m_root;
    std::unique_ptr<TPdfInfo> m_info;
    std::unique_ptr<TPdfOutlineRoot> m_outlineRoot;
    TPdfDictionary* m_currentPages = nullptr;
    std::vector<std::unique_ptr<TPdfFont>> m_fontList;
    TPdfCanvas m_canvas{*this};
};

} // namespace bw::pdf
