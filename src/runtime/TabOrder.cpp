// Tab order: each windowed control's place among its parent's windowed children, and the walk
// through a form that Tab and Shift+Tab take.
#include <algorithm>

#include "runtime/Controls.h"

namespace rt {

int TWinControl::TabOrder() const {
    if (parent_ == nullptr) return -1;
    const auto& list = parent_->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : int(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
    if (parent_ == nullptr) return;
    auto& list = parent_->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    const auto at = std::size_t(std::clamp(value, 0, int(list.size())));
    list.insert(list.begin() + std::ptrdiff_t(at), this);
}

namespace {

// Every windowed control below parent, each before its children, children in tab order.
void CollectTabOrder(const TWinControl& parent, std::vector<TWinControl*>& out) {
    std::vector<TWinControl*> children;
    for (int i = 0; i < parent.ControlCount(); ++i)
        if (auto* wc = dynamic_cast<TWinControl*>(parent.Controls(i))) children.push_back(wc);
    std::stable_sort(
        children.begin(), children.end(),
        [](const TWinControl* a, const TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
    for (TWinControl* c : children) {
        out.push_back(c);
        CollectTabOrder(*c, out);
    }
}

}  // namespace

std::vector<TWinControl*> TForm::TabOrderList() const {
    std::vector<TWinControl*> all;
    CollectTabOrder(*this, all);
    std::vector<TWinControl*> stops;
    for (TWinControl* c : all)
        if (c->TabStop && c->CanFocus()) stops.push_back(c);
    return stops;
}

TWinControl* TForm::FindNextControl(TWinControl* current, bool forward) const {
    std::vector<TWinControl*> all;
    CollectTabOrder(*this, all);
    if (all.empty()) return nullptr;
    const auto n = std::ptrdiff_t(all.size());
    // Start at current's place, whether or not it is a stop itself; without one, before the
    // first (forward) or after the last.
    const auto found = std::find(all.begin(), all.end(), current);
    std::ptrdiff_t at = found == all.end() ? (forward ? -1 : n) : found - all.begin();
    for (std::ptrdiff_t step = 1; step <= n; ++step) {
        std::ptrdiff_t i = forward ? at + step : at - step;
        i = ((i % n) + n) % n;
        TWinControl* c = all[std::size_t(i)];
        if (c != current && c->TabStop && c->CanFocus()) return c;
    }
    return nullptr;
}

void TForm::SelectNext(TWinControl* current, bool forward) {
    if (TWinControl* next = FindNextControl(current, forward)) next->SetFocus();
}

}  // namespace rt
