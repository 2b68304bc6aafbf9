// The one pattern of the program's pages and dialogs (docs/architecture.md,
// "Pages and dialogs"):
//
// - Handlers are guarded where they are connected: connectGuarded() and
//   PageState::handle() run them under runGuarded(), so an exception escaping a
//   handler shows the error box and ends that action. Handler bodies throw
//   freely and catch nothing themselves.
// - A page fills its controls under one RAII guard, PageState::fill(); the
//   handlers connected through handle() do not run while it lives, so filling
//   is never taken for the user's edit. No flags, no signal blockers.
// - The mode of a page that edits one record (nothing to save, a new record, a
//   changed stored record) and the key of the record it shows are members of
//   the page's PageState, set by loading, saving and the user's edits. They are
//   never read back from a widget: a button of a page whose work area a dialog
//   has disabled says isEnabled() false while the page still has changes.
// - A write goes through PageState::write(): on failure the error box (the
//   records call has rolled its transaction back), then the shown rows the
//   write touched are read anew from the database (its `reload`); the mode
//   stays, so what the user typed is kept and can be saved again. When the
//   record was changed or deleted at another desk meanwhile (StaleRecord), the
//   page loads it anew instead (its `reloadStale`): the typing was made over
//   values that are no longer stored.
#pragma once

#include "platform/prompter.h"

#include <QObject>

#include <functional>
#include <type_traits>

namespace bw {

namespace detail {

// Calls a handler with the signal's arguments when it takes them, else without.
// A function template of its own: inside the nested generic lambdas below clang
// checks the branch that `if constexpr` discards and refuses a handler without
// parameters.
template <typename Handler, typename... Args>
void callHandler(const Handler& handler, const Args&... args)
{
    if constexpr (std::is_invocable_v<const Handler&, const Args&...>)
        handler(args...);
    else
        handler();
}

} // namespace detail

// Connects a handler that runs under runGuarded(). The handler takes the
// signal's arguments or none.
template <typename Sender, typename Signal, typename Handler>
QMetaObject::Connection connectGuarded(const Sender* sender, Signal signal, const QObject* context, Prompter& prompter,
                                       Handler handler)
{
    return QObject::connect(sender, signal, context, [&prompter, handler](const auto&... args) {
        runGuarded(prompter, [&] { detail::callHandler(handler, args...); });
    });
}

class PageState {
public:
    enum class Mode {
        Unchanged, // nothing to save
        New,       // the page holds a record that is not stored yet
        Changed,   // the page holds changes of the stored record key()
    };

    PageState(const QObject* page, Prompter& prompter) : m_page(page), m_prompter(prompter) {}
    PageState(const PageState&) = delete;
    PageState& operator=(const PageState&) = delete;

    Prompter& prompter() const { return m_prompter; }
    Mode mode() const { return m_mode; }
    bool hasChanges() const { return m_mode != Mode::Unchanged; }
    // The key of the stored record the page shows; 0 when it shows none.
    int key() const { return m_key; }

    // Called after every change of key or mode, so the page can show them
    // (its save button's caption and enabled state).
    void onChange(std::function<void()> show) { m_show = std::move(show); }
    void set(int key, Mode mode);
    void setMode(Mode mode) { set(m_key, mode); }
    // The user changed the page: an unchanged page now holds changes of its
    // stored record, or a new record when it shows none. Ignored while filling.
    void edited();

    class Filling {
    public:
        explicit Filling(PageState& state) : m_state(state) { ++m_state.m_filling; }
        ~Filling() { --m_state.m_filling; }
        Filling(const Filling&) = delete;
        Filling& operator=(const Filling&) = delete;

    private:
        PageState& m_state;
    };
    // While the returned guard lives the page is filling its controls.
    [[nodiscard]] Filling fill() { return Filling(*this); }
    bool isFilling() const { return m_filling > 0; }

    // Connects a handler of the page: guarded, and not run while the page fills.
    template <typename Sender, typename Signal, typename Handler>
    QMetaObject::Connection handle(const Sender* sender, Signal signal, Handler handler)
    {
        return connectGuarded(sender, signal, m_page, m_prompter, [this, handler](const auto&... args) {
            if (!isFilling())
                detail::callHandler(handler, args...);
        });
    }
    // Connects a signal that only marks the page edited.
    template <typename Sender, typename Signal>
    QMetaObject::Connection edits(const Sender* sender, Signal signal)
    {
        return handle(sender, signal, [this] { edited(); });
    }

    // Runs a write. On failure shows the error, fills `reload` (the shown rows
    // the write touched, read anew) and returns false; the mode stays. A
    // StaleRecord runs `reloadStale` instead, when given, which loads the page's
    // record anew and sets the mode.
    bool write(const std::function<void()>& body, const std::function<void()>& reload = {},
               const std::function<void()>& reloadStale = {});

private:
    const QObject* m_page;
    Prompter& m_prompter;
    Mode m_mode = Mode::Unchanged;
    int m_key = 0;
    int m_filling = 0;
    std::function<void()> m_show;
};

} // namespace bw
