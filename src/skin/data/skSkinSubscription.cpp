#include "skin/data/skSkinSubscription.h"

#include <algorithm>

namespace sk {

TskSkinSubscription::TskSkinSubscription(TskSkinSubscription&& other) noexcept
    : list_(std::move(other.list_)), id_(other.id_) {
    other.list_.reset();
}

TskSkinSubscription& TskSkinSubscription::operator=(TskSkinSubscription&& other) noexcept {
    if (this != &other) {
        Reset();
        list_ = std::move(other.list_);
        id_ = other.id_;
        other.list_.reset();
    }
    return *this;
}

void TskSkinSubscription::Reset() {
    if (auto list = list_.lock()) {
        auto& e = list->Entries;
        e.erase(std::remove_if(e.begin(), e.end(),
                               [this](const detail::TskSubscriber& s) { return s.Id == id_; }),
                e.end());
    }
    list_.reset();
}

bool TskSkinSubscription::Active() const {
    auto list = list_.lock();
    if (list == nullptr || list->Closed) return false;
    return std::any_of(list->Entries.begin(), list->Entries.end(),
                       [this](const detail::TskSubscriber& s) { return s.Id == id_; });
}

}  // namespace sk
