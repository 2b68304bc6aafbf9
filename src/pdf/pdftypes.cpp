#include "pdf/pdftypes.h"

#include "platform/cp1252.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace bw::pdf {

namespace {

constexpr qsizetype kFlushSize = 1 << 16;
constexpr char kHex[] = "0123456789ABCDEF";

} // namespace

// ---------------------------------------------------------------- PdfWriter

PdfWriter::PdfWriter(QIODevice& device) : m_device(device), m_buffer(new char[kFlushSize]) {}

PdfWriter::~PdfWriter() = default;

void PdfWriter::write(const char* data, qsizetype size)
{
    if (size > kFlushSize - m_used) {
        flush();
        if (size >= kFlushSize) {
            writeAll(data, size);
            return;
        }
    }
    std::copy_n(data, size, m_buffer.get() + m_used);
    m_used += size;
}

void PdfWriter::writeInt(qint64 value)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    write(buf, r.ptr - buf);
}

void PdfWriter::flush()
{
    if (m_used == 0)
        return;
    writeAll(m_buffer.get(), m_used);
    m_used = 0;
}

// A disk that fills up takes part of a write without a word; the next write then
// fails with the reason, which is what the caller gets to see.
void PdfWriter::writeAll(const char* data, qsizetype size)
{
    while (size > 0) {
        const qint64 n = m_device.write(data, size);
        if (n <= 0)
            throw AppError(m_device.errorString());
        data += n;
        size -= n;
        m_written += n;
    }
}

// ---------------------------------------------------------------- numbers

// Readers hold numbers in 32-bit integers at most; a number at 2^31 or beyond
// would be read as something else, so it is refused like one that is no number.
constexpr double kLargestNumber = 2147483648.0;

qsizetype formatRealTo(char* buffer, double value)
{
    if (!std::isfinite(value) || std::fabs(value) >= kLargestNumber)
        throw EPdfInvalidValue(QStringLiteral("FormatPdfReal --invalid real number"));
    char* p = buffer;
    if (value == 0) {
        *p++ = '0';
        return p - buffer;
    }
    // Fifteen significant digits, then written out without an exponent.
    char sci[40];
    const auto r = std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific, 14);
    const std::string_view s(sci, size_t(r.ptr - sci));
    const size_t ePos = s.find('e');
    char digits[16];
    int count = 0;
    for (size_t i = s.front() == '-' ? 1 : 0; i < ePos; ++i)
        if (s[i] != '.')
            digits[count++] = s[i];
    int exponent = 0;
    std::from_chars(s.data() + ePos + 1 + (s[ePos + 1] == '+' ? 1 : 0), s.data() + s.size(), exponent);
    while (count > 1 && digits[count - 1] == '0')
        --count;

    if (value < 0)
        *p++ = '-';
    const int intDigits = exponent + 1; // digits before the decimal point
    if (intDigits <= 0) {
        *p++ = '0';
        *p++ = '.';
        p = std::fill_n(p, -intDigits, '0');
        p = std::copy_n(digits, count, p);
    } else if (intDigits >= count) {
        p = std::copy_n(digits, count, p);
        p = std::fill_n(p, intDigits - count, '0');
    } else {
        p = std::copy_n(digits, intDigits, p);
        *p++ = '.';
        p = std::copy_n(digits + intDigits, count - intDigits, p);
    }
    return p - buffer;
}

qsizetype formatPdfRealTo(char* buffer, double value)
{
    if (!std::isfinite(value))
        throw EPdfInvalidValue(QStringLiteral("FormatPdfReal --invalid real number"));
    // Rounded in floating point, so that no value can overflow an integer.
    const double hundredths = std::trunc(value * 100 + 0.5);
    if (std::fabs(hundredths) >= kLargestNumber * 100)
        throw EPdfInvalidValue(QStringLiteral("FormatPdfReal --invalid real number"));
    // Exact in 64-bit integers.
    const qint64 h = qint64(hundredths);
    char* p = buffer;
    if (h == 0) {
        *p++ = '0';
        return p - buffer;
    }
    if (h < 0)
        *p++ = '-';
    const quint64 a = quint64(h < 0 ? -h : h);
    p = std::to_chars(p, buffer + kRealBufferSize, a / 100).ptr;
    const unsigned frac = unsigned(a % 100);
    if (frac != 0) {
        *p++ = '.';
        *p++ = char('0' + frac / 10);
        if (frac % 10 != 0)
            *p++ = char('0' + frac % 10);
    }
    return p - buffer;
}

QByteArray formatReal(double value)
{
    char buffer[kRealBufferSize];
    return QByteArray(buffer, formatRealTo(buffer, value));
}

QByteArray FormatPdfReal(double value)
{
    char buffer[kRealBufferSize];
    return QByteArray(buffer, formatPdfRealTo(buffer, value));
}

// ---------------------------------------------------------------- text helpers

QByteArray EscapeText(QByteArrayView text)
{
    QByteArray out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (const char e = textEscape(c)) {
            out.append('\\');
            out.append(e);
        } else {
            out.append(c);
        }
    }
    return out;
}

QByteArray EscapeName(QByteArrayView name)
{
    QByteArray out;
    out.reserve(name.size() + 4);
    for (char c : name) {
        const auto b = static_cast<unsigned char>(c);
        const bool special = b < 33 || b > 126 || QByteArrayView("#%()/<>[]{}").contains(c);
        if (special) {
            out.append('#');
            out.append(kHex[b >> 4]);
            out.append(kHex[b & 15]);
        } else {
            out.append(c);
        }
    }
    return out;
}

QByteArray DateToPdfDate(const QDateTime& date)
{
    return "D:" + date.toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
}

QByteArray pdfText(const QString& text)
{
    return cp1252::encode(text);
}

// ---------------------------------------------------------------- TPdfObject

void TPdfObject::SetObjectNumber(int number)
{
    m_objectNumber = number;
    m_objectType = number > 0 ? TPdfObjectType::otIndirectObject : TPdfObjectType::otDirectObject;
}

void TPdfObject::setVirtual(int number)
{
    m_objectNumber = number;
    m_objectType = TPdfObjectType::otVirtualObject;
}

void TPdfObject::WriteToStream(PdfWriter& out)
{
    if (m_objectType == TPdfObjectType::otDirectObject) {
        InternalWriteStream(out);
        return;
    }
    out.writeInt(m_objectNumber);
    out.write(" ", 1);
    out.writeInt(m_generationNumber);
    out.write(" R", 2);
}

void TPdfObject::WriteValueToStream(PdfWriter& out)
{
    if (m_objectType != TPdfObjectType::otIndirectObject)
        throw EPdfInvalidOperation(QStringLiteral("internal error wrong object type"));
    out.writeInt(m_objectNumber);
    out.write(" ", 1);
    out.writeInt(m_generationNumber);
    out.write(" obj\r\n", 6);
    InternalWriteStream(out);
    out.write("\r\nendobj\r\n", 10);
}

std::unique_ptr<TPdfVirtualObject> TPdfVirtualObject::CreateVirtual(int objectNumber)
{
    if (objectNumber <= 0)
        throw AppError(QStringLiteral("virtualObject must be create by CreateVirtual method."));
    std::unique_ptr<TPdfVirtualObject> v(new TPdfVirtualObject);
    v->setVirtual(objectNumber);
    return v;
}

void TPdfVirtualObject::InternalWriteStream(PdfWriter&)
{
    // Always written as a reference by WriteToStream.
}

void TPdfNull::InternalWriteStream(PdfWriter& out)
{
    out.write("null", 4);
}

void TPdfBoolean::InternalWriteStream(PdfWriter& out)
{
    if (Value)
        out.write("true", 4);
    else
        out.write("false", 5);
}

void TPdfNumber::InternalWriteStream(PdfWriter& out)
{
    out.writeInt(Value);
}

void TPdfReal::InternalWriteStream(PdfWriter& out)
{
    char buffer[kRealBufferSize];
    out.write(buffer, formatRealTo(buffer, Value));
}

void TPdfText::InternalWriteStream(PdfWriter& out)
{
    out.write("(", 1);
    out.write(EscapeText(Value));
    out.write(")", 1);
}

void TPdfName::InternalWriteStream(PdfWriter& out)
{
    out.write("/", 1);
    out.write(EscapeName(Value));
}

// ---------------------------------------------------------------- TPdfArray

std::unique_ptr<TPdfArray> TPdfArray::CreateArray(TPdfObjectMgr* objectMgr)
{
    return std::make_unique<TPdfArray>(objectMgr);
}

std::unique_ptr<TPdfArray> TPdfArray::CreateNumArray(TPdfObjectMgr* objectMgr, const std::vector<int>& values)
{
    auto a = CreateArray(objectMgr);
    a->m_items.reserve(values.size());
    for (int v : values)
        a->AddItem(std::make_unique<TPdfNumber>(v));
    return a;
}

void TPdfArray::AddItem(TPdfObjectPtr object)
{
    if (!object)
        throw EPdfInvalidValue(QStringLiteral("internal error. wrong object."));
    if (object->isIndirect())
        throw EPdfInvalidOperation(QStringLiteral("AddItem --wrong object type."));
    m_items.push_back(std::move(object));
}

void TPdfArray::AddItem(const TPdfObject& indirect)
{
    m_items.push_back(TPdfVirtualObject::CreateVirtual(indirect.ObjectNumber()));
}

TPdfObject* TPdfArray::Items(int index) const
{
    TPdfObject* item = m_items.at(size_t(index)).get();
    if (item->ObjectType() != TPdfObjectType::otVirtualObject)
        return item;
    return m_objectMgr ? m_objectMgr->GetObject(item->ObjectNumber()) : nullptr;
}

TPdfName* TPdfArray::FindName(QByteArrayView name) const
{
    for (const auto& item : m_items)
        if (auto n = dynamic_cast<TPdfName*>(item.get()); n && n->Value == name)
            return n;
    return nullptr;
}

bool TPdfArray::RemoveName(QByteArrayView name)
{
    for (auto it = m_items.begin(); it != m_items.end(); ++it) {
        if (auto n = dynamic_cast<TPdfName*>(it->get()); n && n->Value == name) {
            m_items.erase(it);
            return true;
        }
    }
    return false;
}

void TPdfArray::InternalWriteStream(PdfWriter& out)
{
    out.write("[", 1);
    for (auto& item : m_items) {
        item->WriteToStream(out);
        out.write(" ", 1);
    }
    out.write("]", 1);
}

// ---------------------------------------------------------------- TPdfDictionary

TPdfDictionaryElement::TPdfDictionaryElement(QByteArray key, TPdfObjectPtr value, bool isInternal)
    : m_key(std::move(key)), m_value(std::move(value)), m_isInternal(isInternal)
{
}

std::unique_ptr<TPdfDictionary> TPdfDictionary::CreateDictionary(TPdfObjectMgr* objectMgr)
{
    return std::make_unique<TPdfDictionary>(objectMgr);
}

void TPdfDictionary::put(QByteArrayView key, TPdfObjectPtr value, bool internal)
{
    if (!value)
        throw EPdfInvalidValue(QStringLiteral("internal error. wrong object."));
    if (value->isIndirect())
        throw EPdfInvalidOperation(QStringLiteral("AddItem --wrong object type."));
    RemoveItem(key);
    m_elements.emplace_back(key.toByteArray(), std::move(value), internal);
}

void TPdfDictionary::AddItem(QByteArrayView key, TPdfObjectPtr value)
{
    put(key, std::move(value), false);
}

void TPdfDictionary::AddItem(QByteArrayView key, const TPdfObject& indirect)
{
    put(key, TPdfVirtualObject::CreateVirtual(indirect.ObjectNumber()), false);
}

void TPdfDictionary::AddInternalItem(QByteArrayView key, TPdfObjectPtr value)
{
    put(key, std::move(value), true);
}

void TPdfDictionary::RemoveItem(QByteArrayView key)
{
    for (auto it = m_elements.begin(); it != m_elements.end(); ++it) {
        if (it->m_key == key) {
            m_elements.erase(it);
            return;
        }
    }
}

TPdfObject* TPdfDictionary::resolve(TPdfObject* value) const
{
    if (!value || value->ObjectType() != TPdfObjectType::otVirtualObject)
        return value;
    return m_objectMgr ? m_objectMgr->GetObject(value->ObjectNumber()) : nullptr;
}

TPdfObject* TPdfDictionary::ValueByName(QByteArrayView key) const
{
    for (const auto& e : m_elements)
        if (e.m_key == key)
            return resolve(e.m_value.get());
    return nullptr;
}

TPdfNumber* TPdfDictionary::PdfNumberByName(QByteArrayView key) const
{
    return dynamic_cast<TPdfNumber*>(ValueByName(key));
}

TPdfReal* TPdfDictionary::PdfRealByName(QByteArrayView key) const
{
    return dynamic_cast<TPdfReal*>(ValueByName(key));
}

TPdfName* TPdfDictionary::PdfNameByName(QByteArrayView key) const
{
    return dynamic_cast<TPdfName*>(ValueByName(key));
}

TPdfDictionary* TPdfDictionary::PdfDictionaryByName(QByteArrayView key) const
{
    return dynamic_cast<TPdfDictionary*>(ValueByName(key));
}

TPdfArray* TPdfDictionary::PdfArrayByName(QByteArrayView key) const
{
    return dynamic_cast<TPdfArray*>(ValueByName(key));
}

QByteArray TPdfDictionary::TypeOf() const
{
    const TPdfName* type = PdfNameByName("Type");
    return type ? type->Value : QByteArray();
}

void TPdfDictionary::InternalWriteStream(PdfWriter& out)
{
    out.write("<<\r\n", 4);
    for (auto& e : m_elements) {
        if (e.m_isInternal)
            continue;
        out.write("/", 1);
        out.write(EscapeName(e.m_key));
        out.write(" ", 1);
        e.m_value->WriteToStream(out);
        out.write("\r\n", 2);
    }
    out.write(">>", 2);
}

// ---------------------------------------------------------------- streams

TPdfStream::TPdfStream(TPdfObjectMgr* objectMgr) : m_attributes(TPdfDictionary::CreateDictionary(objectMgr))
{
    m_attributes->AddNumber("Length", 0);
    m_attributes->AddItem("Filter", TPdfArray::CreateArray(objectMgr));
}

std::unique_ptr<TPdfStream> TPdfStream::CreateStream(TPdfObjectMgr* objectMgr)
{
    return std::make_unique<TPdfStream>(objectMgr);
}

void TPdfStream::InternalWriteStream(PdfWriter& out)
{
    if (TPdfArray* filter = m_attributes->PdfArrayByName("Filter"))
        filter->RemoveName("FlateDecode");
    if (TPdfNumber* length = m_attributes->PdfNumberByName("Length"))
        length->Value = qint32(m_stream.size());
    else
        m_attributes->AddNumber("Length", qint32(m_stream.size()));
    m_attributes->WriteToStream(out);
    out.write("\r\nstream\r\n", 10);
    out.write(m_stream);
    out.write("\nendstream", 10);
}

void TPdfBinary::InternalWriteStream(PdfWriter& out)
{
    out.write(m_stream);
}

} // namespace bw::pdf
