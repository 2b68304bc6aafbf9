#include "platform/apperror.h"

namespace bw {

QString exceptionText(const std::exception& e)
{
    if (auto app = dynamic_cast<const AppError*>(&e))
        return app->message();
    return QString::fromUtf8(e.what());
}

} // namespace bw
