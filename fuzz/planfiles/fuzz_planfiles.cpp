// The plan-definition file reader on arbitrary bytes: every group size and bracket
// size is looked up; a broken block must end in bw::AppError, never in a crash.
#include "draw/planfiles.h"

#include "platform/apperror.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString name = QStringLiteral("fuzz.txt");
    for (int places = 1; places <= 13; ++places) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        try {
            bw::readGroupOrder(buffer, name, places);
        } catch (const bw::AppError&) {
        }
    }
    for (int bracket = 2; bracket <= 256; bracket *= 2) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        try {
            const bw::DoubleKoPlan plan = bw::readDoubleKoPlan(buffer, name, bracket);
            bw::doubleKoRuleViolations(plan, bracket);
        } catch (const bw::AppError&) {
        }
    }
    return 0;
}
