// The printer set-up file reader on arbitrary bytes: a damaged file must end in
// bw::AppError, never in a crash, and a set-up it reads must write and read again.
#include "platform/apperror.h"
#include "platform/printersetupfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const bw::PrinterSetup setup = bw::PrinterSetupFile::decode(bytes, QStringLiteral("printerzettel.ini"));
        const bw::PrinterSetup again =
            bw::PrinterSetupFile::decode(bw::PrinterSetupFile::encode(setup.settings), QStringLiteral("x.ini"));
        if (!again.complete)
            std::abort();
    } catch (const bw::AppError&) {
    }
    return 0;
}
