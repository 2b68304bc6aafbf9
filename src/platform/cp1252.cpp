#include "platform/cp1252.h"

#include <QList>

namespace bw::cp1252 {

namespace {

// Unicode for bytes 0x80..0x9F; the undefined ones keep their own value.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

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
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return int(cp);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == cp)
            return 0x80 + i;
    return -1;
}

QByteArray encode(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (char32_t cp : text.toUcs4()) {
        const int b = byteFor(cp);
        out.append(b < 0 ? '?' : char(b));
    }
    return out;
}

} // namespace bw::cp1252
