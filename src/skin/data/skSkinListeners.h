#pragma once
// Who hears the skin data objects' change announcements. Each form that shows skinned elements
// registers once (its skinned frame does; the main window does until it has one); the skin
// data object then sends SM_BEFORECHANGESKIN, SM_CHANGESKIN and SM_AFTERCHANGESKIN to the
// listener of its owner form first and to every other listener after it, in the order they
// registered. No window system is involved, so the announcement works and is tested without
// one.

#include <cstdint>
#include <functional>

#include "runtime/Classes.h"
#include "runtime/Messages.h"

namespace sk {

class TskSkinListener {
public:
    // Registers `handler` for `form` (the form whose skin messages it handles, usually by
    // passing them to the form's window procedure) until this object is destroyed.
    TskSkinListener(rt::TComponent* form, std::function<void(rt::TMessage&)> handler);
    ~TskSkinListener();
    TskSkinListener(const TskSkinListener&) = delete;
    TskSkinListener& operator=(const TskSkinListener&) = delete;

    rt::TComponent* Form() const { return form_; }
    void Deliver(rt::TMessage& message) const { handler_(message); }
    std::uint64_t Serial() const { return serial_; }

private:
    std::uint64_t serial_ = 0;
    rt::TComponent* form_;
    std::function<void(rt::TMessage&)> handler_;
};

// Sends one skin message from `sender` (wParam = sender, lParam = lParam) to the listeners of
// `ownerForm` first, then to every other listener. A listener removed by an earlier handler
// (a form closed on the way) is skipped; one added meanwhile waits for the next message.
void AnnounceSkinMessage(rt::TComponent* ownerForm, unsigned msg, const void* sender,
                         std::intptr_t lParam);
// Whether a listener stands for this component.
bool HasSkinListener(const rt::TComponent* form);

}  // namespace sk
