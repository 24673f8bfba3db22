#include "skin/data/skSkinListeners.h"

#include <algorithm>
#include <vector>

namespace sk {

namespace {

// Everything runs on the one user-interface thread.
std::vector<const TskSkinListener*>& Listeners() {
    static std::vector<const TskSkinListener*> list;
    return list;
}

}  // namespace

TskSkinListener::TskSkinListener(rt::TComponent* form, std::function<void(rt::TMessage&)> handler)
    : form_(form), handler_(std::move(handler)) {
    static std::uint64_t next = 0;
    serial_ = ++next;
    Listeners().push_back(this);
}

TskSkinListener::~TskSkinListener() {
    auto& list = Listeners();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

bool HasSkinListener(const rt::TComponent* form) {
    const auto& list = Listeners();
    return std::any_of(list.begin(), list.end(),
                       [form](const TskSkinListener* l) { return l->Form() == form; });
}

void AnnounceSkinMessage(rt::TComponent* ownerForm, unsigned msg, const void* sender,
                         std::intptr_t lParam) {
    // Serial numbers, not addresses, identify the listeners of the moment: a handler may free
    // one and another may take its place in memory.
    std::vector<std::uint64_t> snapshot;
    for (const TskSkinListener* l : Listeners()) snapshot.push_back(l->Serial());
    auto find = [](std::uint64_t serial) -> const TskSkinListener* {
        for (const TskSkinListener* l : Listeners())
            if (l->Serial() == serial) return l;
        return nullptr;
    };
    auto send = [&](bool owners) {
        for (std::uint64_t serial : snapshot) {
            const TskSkinListener* l = find(serial);
            if (l == nullptr || (l->Form() == ownerForm) != owners) continue;
            rt::TMessage m{msg, rt::PtrParam(sender), lParam, 0};
            l->Deliver(m);
        }
    };
    send(true);
    send(false);
}

}  // namespace sk
