#include "app/jpegpicture.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace bw {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr info)
{
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

void onMessage(j_common_ptr, int) {}

// Pictures larger than this are refused rather than decoded.
constexpr quint64 kMaxPixels = quint64(1) << 26;

} // namespace

QImage decodeJpeg(const QByteArray& bytes, QString* error)
{
    if (bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("empty file");
        return QImage();
    }
    jpeg_decompress_struct info{};
    ErrorManager manager{};
    info.err = jpeg_std_error(&manager.base);
    manager.base.error_exit = onError;
    manager.base.emit_message = onMessage;
    // Everything that must survive a longjmp lives outside this frame's locals
    // that change after setjmp, or is volatile.
    QImage* volatile image = new QImage;
    if (setjmp(manager.jump)) {
        jpeg_destroy_decompress(&info);
        if (error)
            *error = QString::fromLocal8Bit(manager.message);
        delete image;
        return QImage();
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (quint64(info.output_width) * info.output_height > kMaxPixels || info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        if (error)
            *error = QStringLiteral("unsupported picture size");
        delete image;
        return QImage();
    }
    *image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image->scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    QImage result = image->convertToFormat(QImage::Format_RGB32);
    delete image;
    return result;
}

QImage loadJpeg(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return QImage();
    }
    return decodeJpeg(file.readAll(), error);
}

} // namespace bw
