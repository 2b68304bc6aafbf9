#include "platform/apperror.h"

namespace bw {

StaleRecord StaleRecord::gone(const QString& record)
{
    return StaleRecord(record + QStringLiteral(" ist nicht mehr in der Datenbank vorhanden."));
}

StaleRecord StaleRecord::changed(const QString& record)
{
    return StaleRecord(record
                       + QStringLiteral(" wurde inzwischen an einem anderen Arbeitsplatz geändert. Die Seite wird neu "
                                        "geladen."));
}

QString exceptionText(const std::exception& e)
{
    if (auto app = dynamic_cast<const AppError*>(&e))
        return app->message();
    return QString::fromUtf8(e.what());
}

} // namespace bw
