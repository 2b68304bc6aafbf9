#include "pdf/pdfimages.h"

namespace bw::pdf {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

// The picture as 8-bit palette indexes, rows exactly Width bytes.
PdfBitmap toIndexed8(const PdfBitmap& in)
{
    PdfBitmap out;
    out.Width = in.Width;
    out.Height = in.Height;
    out.BitsPerPixel = 8;
    out.Palette = in.Palette;
    out.Pixels.reserve(qsizetype(in.Width) * in.Height);
    const int bpp = in.BitsPerPixel;
    const int perByte = 8 / bpp;
    const int mask = (1 << bpp) - 1;
    for (int y = 0; y < in.Height; ++y) {
        const char* row = in.Pixels.constData() + qsizetype(y) * in.rowBytes();
        for (int x = 0; x < in.Width; ++x) {
            const auto byte = static_cast<unsigned char>(row[x / perByte]);
            const int shift = 8 - bpp * (x % perByte + 1);
            out.Pixels.append(char((byte >> shift) & mask));
        }
    }
    return out;
}

} // namespace

std::unique_ptr<TPdfImage> TPdfImageCreator::CreateImage(const PdfBitmap&)
{
    return nullptr;
}

std::unique_ptr<TPdfImage> TPdfBitmapImage::CreateImage(const PdfBitmap& picture)
{
    const int bpp = picture.BitsPerPixel;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)
        throw EPdfInvalidImageFormat(QStringLiteral("CreateImage --unsupported pixel format."));
    if (picture.Width < 0 || picture.Height < 0
        || picture.Pixels.size() < qsizetype(picture.rowBytes()) * picture.Height)
        throw EPdfInvalidImageFormat(QStringLiteral("CreateImage --picture data too short."));

    auto image = std::make_unique<TPdfImage>(nullptr);
    TPdfDictionary& attrs = image->Attributes();
    attrs.AddName("Type", "XObject");
    attrs.AddName("Subtype", "Image");
    QByteArray& data = image->Stream();
    if (bpp <= 8) {
        const PdfBitmap indexed = toIndexed8(picture);
        data = indexed.Pixels;
        attrs.AddItem("ColorSpace", CreateIndexedColorArray(indexed));
    } else {
        data.reserve(qsizetype(picture.Width) * picture.Height * 3);
        const int step = bpp / 8;
        for (int y = 0; y < picture.Height; ++y) {
            const char* row = picture.Pixels.constData() + qsizetype(y) * picture.rowBytes();
            for (int x = 0; x < picture.Width; ++x)
                data.append(row + x * step, 3);
        }
        attrs.AddName("ColorSpace", "DeviceRGB");
    }
    attrs.AddNumber("Width", picture.Width);
    attrs.AddNumber("Height", picture.Height);
    attrs.AddNumber("BitsPerComponent", 8);
    return image;
}

std::unique_ptr<TPdfArray> CreateIndexedColorArray(const PdfBitmap& bitmap)
{
    if (bitmap.BitsPerPixel != 8)
        throw EPdfInvalidImageFormat(QStringLiteral("only 8 bit color image is allowed."));
    if (bitmap.Palette.empty())
        throw EPdfInvalidImageFormat(QStringLiteral("failed to get Palette.."));
    auto palette = std::make_unique<TPdfBinary>();
    QByteArray& p = palette->Stream();
    p.reserve(2 + 256 * 7);
    p.append('<');
    for (size_t i = 0; i < 256; ++i) {
        // Entries a short palette lacks are black.
        const std::array<quint8, 3> rgb = i < bitmap.Palette.size() ? bitmap.Palette[i] : std::array<quint8, 3>{};
        for (quint8 c : rgb) {
            p.append(kHex[c >> 4]);
            p.append(kHex[c & 15]);
        }
        p.append(' ');
    }
    p.append('>');

    auto array = TPdfArray::CreateArray(nullptr);
    array->AddItem(std::make_unique<TPdfName>("Indexed"));
    array->AddItem(std::make_unique<TPdfName>("DeviceRGB"));
    array->AddItem(std::make_unique<TPdfNumber>(255));
    array->AddItem(std::move(palette));
    return array;
}

std::unique_ptr<TPdfImageCreator> createRegisteredImageCreator(QByteArrayView alias)
{
    if (alias == "Pdf-Bitmap")
        return std::make_unique<TPdfBitmapImage>();
    return nullptr;
}

} // namespace bw::pdf
