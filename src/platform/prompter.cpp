#include "platform/prompter.h"

#include "platform/apperror.h"

namespace bw {

QString defaultPromptTitle(PromptKind kind)
{
    switch (kind) {
    case PromptKind::Error: return QStringLiteral("Fehler");
    case PromptKind::Warning: return QStringLiteral("Warnung");
    case PromptKind::Information: return QStringLiteral("Information");
    case PromptKind::Question: return QStringLiteral("Bestätigen");
    }
    return QString();
}

bool runGuarded(Prompter& prompter, const std::function<void()>& body)
{
    try {
        body();
        return true;
    } catch (const std::exception& e) {
        prompter.error(exceptionText(e));
    }
    return false;
}

} // namespace bw
