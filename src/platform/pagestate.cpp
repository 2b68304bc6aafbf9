#include "platform/pagestate.h"

#include "platform/apperror.h"

namespace bw {

void PageState::set(int key, Mode mode)
{
    m_key = key;
    m_mode = mode;
    if (m_show)
        m_show();
}

void PageState::edited()
{
    if (isFilling() || m_mode != Mode::Unchanged)
        return;
    setMode(m_key != 0 ? Mode::Changed : Mode::New);
}

bool PageState::write(const std::function<void()>& body, const std::function<void()>& reload,
                      const std::function<void()>& reloadStale)
{
    bool stale = false;
    if (runGuarded(m_prompter, [&] {
            try {
                body();
            } catch (const StaleRecord&) {
                stale = true;
                throw;
            }
        }))
        return true;
    if (stale && reloadStale) {
        runGuarded(m_prompter, reloadStale);
        return false;
    }
    if (reload) {
        const Filling filling = fill();
        runGuarded(m_prompter, reload);
    }
    return false;
}

} // namespace bw
