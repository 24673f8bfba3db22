#pragma once
// Who hears a skin data object's changes. Each TskSkinData keeps its own subscribers; a
// subscriber gets a TskSkinSubscription token and hears the object's changes until the token
// is destroyed or reset (the skin data object may go first: the token then does nothing).
// Each change is three calls in order: Before (the object is already empty), Changed (the new
// skin, or none, is in place) and After. A skinned form subscribes to the skin data objects it
// uses and turns the calls into its skin messages; no window system is involved, so the
// announcement works and is tested without one.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace rt {
class TComponent;
}

namespace sk {

class TskSkinData;

// The three calls of one change; any may be left empty.
struct TskSkinObserver {
    std::function<void(TskSkinData&)> Before;
    std::function<void(TskSkinData&)> Changed;
    std::function<void(TskSkinData&)> After;
};

enum class TskSkinChange { Before, Changed, After };

namespace detail {

struct TskSubscriber {
    std::uint64_t Id;
    // Subscribers for the skin data object's owner hear each call before the others.
    const rt::TComponent* Form;
    TskSkinObserver Observer;
};

// Shared between the skin data object and its tokens, so a token outliving the object finds
// the list closed rather than a dangling pointer.
struct TskSubscriberList {
    std::vector<TskSubscriber> Entries;
    std::uint64_t NextId = 0;
    bool Closed = false;
};

}  // namespace detail

class TskSkinSubscription {
public:
    TskSkinSubscription() = default;
    TskSkinSubscription(std::weak_ptr<detail::TskSubscriberList> list, std::uint64_t id)
        : list_(std::move(list)), id_(id) {}
    ~TskSkinSubscription() { Reset(); }
    TskSkinSubscription(TskSkinSubscription&& other) noexcept;
    TskSkinSubscription& operator=(TskSkinSubscription&& other) noexcept;
    TskSkinSubscription(const TskSkinSubscription&) = delete;
    TskSkinSubscription& operator=(const TskSkinSubscription&) = delete;

    // Stops hearing; safe after the skin data object is gone and when called twice.
    void Reset();
    // Whether the token still stands for a subscriber of a living skin data object.
    bool Active() const;

private:
    std::weak_ptr<detail::TskSubscriberList> list_;
    std::uint64_t id_ = 0;
};

}  // namespace sk
