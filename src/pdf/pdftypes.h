// The object model of the PDF writer: the value kinds of a PDF file, who owns
// which object, and the exact bytes each kind writes. A document is held in
// memory as a graph of these objects and written out in one pass; nothing is
// compressed and nothing is ever read back.
//
// Ownership: a container owns its direct items (std::unique_ptr); an indirect
// object is owned by the object manager alone, and containers refer to it by
// its object number through a TPdfVirtualObject.
#pragma once

#include "platform/apperror.h"

#include <QByteArray>
#include <QDateTime>
#include <QIODevice>

#include <memory>
#include <vector>

namespace bw::pdf {

// A value out of range or missing.
class EPdfInvalidValue : public AppError {
public:
    using AppError::AppError;
};

// An operation called in the wrong state.
class EPdfInvalidOperation : public AppError {
public:
    using AppError::AppError;
};

// Buffered output with the byte position that the cross-reference table needs.
// Write errors of the device are raised as AppError with the device's text.
class PdfWriter {
public:
    explicit PdfWriter(QIODevice& device);
    ~PdfWriter();
    PdfWriter(const PdfWriter&) = delete;
    PdfWriter& operator=(const PdfWriter&) = delete;

    void write(const char* data, qsizetype size);
    void write(QByteArrayView bytes) { write(bytes.data(), bytes.size()); }
    void writeInt(qint64 value);
    qint64 pos() const { return m_written + m_used; }
    void flush();

private:
    void writeAll(const char* data, qsizetype size);

    QIODevice& m_device;
    std::unique_ptr<char[]> m_buffer; // kept across flushes
    qsizetype m_used = 0;
    qint64 m_written = 0;
};

// WriteString of the object model: every writer goes through PdfWriter::write.
inline void WriteString(QByteArrayView text, PdfWriter& out) { out.write(text); }

enum class TPdfObjectType { otDirectObject, otIndirectObject, otVirtualObject };

class TPdfObject {
public:
    virtual ~TPdfObject() = default;
    TPdfObject(const TPdfObject&) = delete;
    TPdfObject& operator=(const TPdfObject&) = delete;

    int ObjectNumber() const { return m_objectNumber; }
    int GenerationNumber() const { return m_generationNumber; }
    TPdfObjectType ObjectType() const { return m_objectType; }
    bool isIndirect() const { return m_objectType == TPdfObjectType::otIndirectObject; }

    // Called only by the object manager: above 0 makes the object indirect.
    void SetObjectNumber(int number);

    // Where the object is used: a reference for indirect and virtual objects.
    void WriteToStream(PdfWriter& out);
    // The body of an indirect object: "n 0 obj", the value, "endobj".
    void WriteValueToStream(PdfWriter& out);

protected:
    TPdfObject() = default;
    virtual void InternalWriteStream(PdfWriter& out) = 0;
    void setVirtual(int number);

private:
    int m_objectNumber = -1;
    int m_generationNumber = 0;
    TPdfObjectType m_objectType = TPdfObjectType::otDirectObject;
};

using TPdfObjectPtr = std::unique_ptr<TPdfObject>;

// The object manager: makes objects indirect and owns them.
class TPdfObjectMgr {
public:
    virtual ~TPdfObjectMgr() = default;
    // Registers the object under the next number and keeps it; returns it.
    virtual TPdfObject& AddObject(TPdfObjectPtr object) = 0;
    // The object of a number, or nullptr.
    virtual TPdfObject* GetObject(int number) const = 0;

    template <class T> T& add(std::unique_ptr<T> object)
    {
        T& ref = *object;
        AddObject(std::move(object));
        return ref;
    }
};

// A reference to an indirect object by its number; only made by CreateVirtual.
class TPdfVirtualObject : public TPdfObject {
public:
    static std::unique_ptr<TPdfVirtualObject> CreateVirtual(int objectNumber);

protected:
    void InternalWriteStream(PdfWriter& out) override;

private:
    TPdfVirtualObject() = default;
};

class TPdfNull : public TPdfObject {
public:
    TPdfNull() = default;

protected:
    void InternalWriteStream(PdfWriter& out) override;
};

class TPdfBoolean : public TPdfObject {
public:
    explicit TPdfBoolean(bool value = false) : Value(value) {}
    bool Value;

protected:
    void InternalWriteStream(PdfWriter& out) override;
};

class TPdfNumber : public TPdfObject {
public:
    explicit TPdfNumber(qint32 value = 0) : Value(value) {}
    qint32 Value;

protected:
    void InternalWriteStream(PdfWriter& out) override;
};

class TPdfReal : public TPdfObject {
public:
    explicit TPdfReal(double value = 0) : Value(value) {}
    double Value;

protected:
    void InternalWriteStream(PdfWriter& out) override;
};

// A text string; the bytes are Windows-1252 (see pdfText()).
class TPdfText : public TPdfObject {
public:
    explicit TPdfText(QByteArray value = {}) : Value(std::move(value)) {}
    QByteArray Value;

protected:
    void InternalWriteStream(PdfWriter& out) override;
};

// A name; Value is without the leading slash.
class TPdfName : public TPdfObject {
public:
    explicit TPdfName(QByteArray value = {}) : Value(std::move(value)) {}
    QByteArray Value;

protected:
    void InternalWriteStream(PdfWriter& out) override;
};

class TPdfArray : public TPdfObject {
public:
    explicit TPdfArray(TPdfObjectMgr* objectMgr = nullptr) : m_objectMgr(objectMgr) {}
    static std::unique_ptr<TPdfArray> CreateArray(TPdfObjectMgr* objectMgr);
    static std::unique_ptr<TPdfArray> CreateNumArray(TPdfObjectMgr* objectMgr, const std::vector<int>& values);

    // Appends a direct object, owned by the array from now on.
    void AddItem(TPdfObjectPtr object);
    // Appends a reference to an indirect object (a new virtual item each time).
    void AddItem(const TPdfObject& indirect);

    // The item; a virtual item is resolved through the object manager
    // (nullptr when the array has none).
    TPdfObject* Items(int index) const;
    // The item as stored (a virtual item stays virtual).
    TPdfObject* RawItem(int index) const { return m_items[size_t(index)].get(); }
    int ItemCount() const { return int(m_items.size()); }
    TPdfName* FindName(QByteArrayView name) const;
    bool RemoveName(QByteArrayView name);
    TPdfObjectMgr* ObjectMgr() const { return m_objectMgr; }

protected:
    void InternalWriteStream(PdfWriter& out) override;

private:
    TPdfObjectMgr* m_objectMgr;
    std::vector<TPdfObjectPtr> m_items;
};

class TPdfDictionary;

class TPdfDictionaryElement {
public:
    TPdfDictionaryElement(QByteArray key, TPdfObjectPtr value, bool isInternal);
    // The key's name, without the slash.
    const QByteArray& Key() const { return m_key; }
    TPdfObject* Value() const { return m_value.get(); }
    bool IsInternal() const { return m_isInternal; }

private:
    friend class TPdfDictionary;
    QByteArray m_key;
    TPdfObjectPtr m_value;
    bool m_isInternal;
};

class TPdfDictionary : public TPdfObject {
public:
    explicit TPdfDictionary(TPdfObjectMgr* objectMgr = nullptr) : m_objectMgr(objectMgr) {}
    static std::unique_ptr<TPdfDictionary> CreateDictionary(TPdfObjectMgr* objectMgr);

    // Replaces an element of that key (it moves to the end) or appends one.
    void AddItem(QByteArrayView key, TPdfObjectPtr value);
    void AddItem(QByteArrayView key, const TPdfObject& indirect);
    // The same for an element that is kept but never written.
    void AddInternalItem(QByteArrayView key, TPdfObjectPtr value);
    void RemoveItem(QByteArrayView key);

    // The value of the key (internal elements included); a virtual value is
    // resolved through the object manager. nullptr when absent.
    TPdfObject* ValueByName(QByteArrayView key) const;
    TPdfNumber* PdfNumberByName(QByteArrayView key) const;
    TPdfReal* PdfRealByName(QByteArrayView key) const;
    TPdfName* PdfNameByName(QByteArrayView key) const;
    TPdfDictionary* PdfDictionaryByName(QByteArrayView key) const;
    TPdfArray* PdfArrayByName(QByteArrayView key) const;

    const TPdfDictionaryElement& Items(int index) const { return m_elements[size_t(index)]; }
    int ItemCount() const { return int(m_elements.size()); }
    // The Value of the "Type" name, or empty.
    QByteArray TypeOf() const;
    TPdfObjectMgr* ObjectMgr() const { return m_objectMgr; }

    // Shorthands for the common value kinds.
    void AddName(QByteArrayView key, QByteArray name) { AddItem(key, std::make_unique<TPdfName>(std::move(name))); }
    void AddNumber(QByteArrayView key, qint32 n) { AddItem(key, std::make_unique<TPdfNumber>(n)); }

protected:
    void InternalWriteStream(PdfWriter& out) override;

private:
    void put(QByteArrayView key, TPdfObjectPtr value, bool internal);
    TPdfObject* resolve(TPdfObject* value) const;
    TPdfObjectMgr* m_objectMgr;
    std::vector<TPdfDictionaryElement> m_elements;
};

class TPdfStream : public TPdfObject {
public:
    explicit TPdfStream(TPdfObjectMgr* objectMgr = nullptr);
    static std::unique_ptr<TPdfStream> CreateStream(TPdfObjectMgr* objectMgr);

    TPdfDictionary& Attributes() { return *m_attributes; }
    QByteArray& Stream() { return m_stream; }

protected:
    void InternalWriteStream(PdfWriter& out) override;

private:
    std::unique_ptr<TPdfDictionary> m_attributes;
    QByteArray m_stream;
};

// Raw bytes written unchanged.
class TPdfBinary : public TPdfObject {
public:
    TPdfBinary() = default;
    QByteArray& Stream() { return m_stream; }

protected:
    void InternalWriteStream(PdfWriter& out) override;

private:
    QByteArray m_stream;
};

class TPdfXObject : public TPdfStream {
public:
    using TPdfStream::TPdfStream;
};

class TPdfImage : public TPdfXObject {
public:
    using TPdfXObject::TPdfXObject;
};

// Text helpers.
// The letter after the backslash for the eight bytes a literal string escapes
// ( ) \ CR LF TAB BS FF, else 0.
constexpr char textEscape(char c)
{
    switch (c) {
    case '(': return '(';
    case ')': return ')';
    case '\\': return '\\';
    case '\r': return 'r';
    case '\n': return 'n';
    case '\t': return 't';
    case '\b': return 'b';
    case '\f': return 'f';
    default: return 0;
    }
}
QByteArray EscapeText(QByteArrayView text);
QByteArray EscapeName(QByteArrayView name);
// Windows-1252 is a single-byte code page: no double-byte characters, and a
// text has as many characters as bytes.
inline bool HasMultiByteChar(QByteArrayView) { return false; }
inline int CharCount(QByteArrayView text) { return int(text.size()); }
// "D:" and fourteen digits yyyyMMddHHmmss, no time zone.
QByteArray DateToPdfDate(const QDateTime& date);
// Text for the file: Windows-1252, characters it cannot hold written as close
// as it allows ("Ş" -> "S", see cp1252::encode).
QByteArray pdfText(const QString& text);

// A real in decimal notation with "." whatever the locale: at most 15
// significant digits, no exponent, never "-0". NaN, infinity and values of 2^31
// or more in size (beyond what readers hold) raise EPdfInvalidValue.
QByteArray formatReal(double value);
// The canvas form: rounded to two decimals (x * 100 + 0.5 truncated toward zero).
QByteArray FormatPdfReal(double value);

// The same into a buffer of kRealBufferSize bytes; they return the length.
constexpr qsizetype kRealBufferSize = 352;
qsizetype formatRealTo(char* buffer, double value);
qsizetype formatPdfRealTo(char* buffer, double value);

} // namespace bw::pdf
