#include "platform/pagestate.h"

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

bool PageState::write(const std::function<void()>& body, const std::function<void()>& reload)
{
    if (runGuarded(m_prompter, body))
        return true;
    if (reload) {
        const Filling filling = fill();
        runGuarded(m_prompter, reload);
    }
    return false;
}

} // namespace bw
