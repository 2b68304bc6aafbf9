#include "platform/cp1252.h"

#include <QList>

#include <algorithm>

namespace bw::cp1252 {

namespace {

// Unicode for bytes 0x80..0x9F; the undefined ones keep their own value.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Letters and signs that no decomposition takes to the code page.
struct Like {
    char32_t codePoint;
    const char* text;
};
constexpr Like kLike[] = {
    {U'\u0110', "D"},  {U'\u0111', "d"},  // Đ đ
    {U'\u0126', "H"},  {U'\u0127', "h"},  // Ħ ħ
    {U'\u0131', "i"},                     // ı
    {U'\u0138', "k"},                     // ĸ
    {U'\u0141', "L"},  {U'\u0142', "l"},  // Ł ł
    {U'\u014A', "N"},  {U'\u014B', "n"},  // Ŋ ŋ
    {U'\u0166', "T"},  {U'\u0167', "t"},  // Ŧ ŧ
    {U'\u0180', "b"},                     // ƀ
    {U'\u0237', "j"},                     // ȷ
    {U'\u1E9E', "SS"},                    // ẞ
    {U'\u2010', "-"},  {U'\u2012', "-"},  {U'\u2212', "-"}, // hyphen, figure dash, minus
};

bool isLatin1Byte(char32_t cp) { return cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF); }

const char* likeFor(char32_t cp)
{
    for (const Like& like : kLike)
        if (like.codePoint == cp)
            return like.text;
    return nullptr;
}

} // namespace

QString decode(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.append(QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b)));
    }
    return out;
}

int byteFor(char32_t cp)
{
    if (isLatin1Byte(cp))
        return int(cp);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == cp)
            return 0x80 + i;
    return -1;
}

QByteArray fallbackFor(char32_t cp)
{
    if (QChar::isMark(cp))
        return {}; // an accent left over from a letter the code page lacks
    if (const char* like = likeFor(cp))
        return like;
    // The compatibility decomposition, its accents dropped.
    QByteArray out;
    const QString decomposed = QString::fromUcs4(&cp, 1).normalized(QString::NormalizationForm_KD);
    for (char32_t part : decomposed.toUcs4()) {
        if (QChar::isMark(part))
            continue;
        if (const int b = byteFor(part); b >= 0)
            out.append(char(b));
        else if (const char* like = likeFor(part))
            out.append(like);
        else
            return QByteArrayLiteral("?");
    }
    return out.isEmpty() ? QByteArrayLiteral("?") : out;
}

namespace {

// Any text: characters beyond Latin-1 through the table and the fallback.
QByteArray encodeAny(const QString& text)
{
    // Letters written with separate accents ("e" and U+0301) are joined first,
    // so that "é" keeps its accent.
    const bool separateAccents = std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() >= 0x300 && c.isMark(); });
    const QString composed = separateAccents ? text.normalized(QString::NormalizationForm_C) : text;
    QByteArray out;
    out.reserve(composed.size());
    const QChar* c = composed.constData();
    const QChar* const end = c + composed.size();
    for (; c != end; ++c) {
        char32_t cp = c->unicode();
        if (c->isHighSurrogate() && c + 1 != end && c[1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(*c, c[1]);
            ++c;
        }
        if (const int b = byteFor(cp); b >= 0)
            out.append(char(b));
        else
            out.append(fallbackFor(cp));
    }
    return out;
}

} // namespace

QByteArray encode(const QString& text)
{
    // Most text is Latin-1, whose characters are their own bytes.
    QByteArray out(text.size(), Qt::Uninitialized);
    char* p = out.data();
    for (const QChar c : text) {
        if (!isLatin1Byte(c.unicode()))
            return encodeAny(text);
        *p++ = char(c.unicode());
    }
    return out;
}

} // namespace bw::cp1252
