#include "skin/controls/skSkinWalk.h"

#include <algorithm>
#include <vector>

#include "skin/controls/skSkinCtrls.h"
#include "skin/data/skSkinMessages.h"

namespace sk {

namespace {

// Collected first: applying a skin resizes controls, which may realign the tree we walk.
void Collect(rt::TWinControl& root, const TskSkinData* data, std::vector<TskSkinnable*>& out) {
    for (int i = 0; i < root.ControlCount(); ++i) {
        rt::TControl* c = root.Controls(i);
        if (auto* s = dynamic_cast<TskSkinnable*>(c);
            s != nullptr && (data == nullptr || s->SkinData() == data))
            out.push_back(s);
        if (auto* wc = dynamic_cast<rt::TWinControl*>(c)) Collect(*wc, data, out);
    }
}

const TskSkinData* Announcer(const rt::TMessage& m) {
    return reinterpret_cast<const TskSkinData*>(static_cast<std::uintptr_t>(m.WParam));
}

}  // namespace

void ApplySkins(rt::TWinControl& root, const TskSkinData* data) {
    std::vector<TskSkinnable*> list;
    Collect(root, data, list);
    for (TskSkinnable* s : list) s->ApplySkin();
}

std::vector<TskSkinData*> UsedSkinData(rt::TWinControl& root) {
    std::vector<TskSkinnable*> list;
    Collect(root, nullptr, list);
    std::vector<TskSkinData*> used;
    for (TskSkinnable* s : list)
        if (TskSkinData* d = s->SkinData();
            d != nullptr && std::find(used.begin(), used.end(), d) == used.end())
            used.push_back(d);
    return used;
}

bool HandleSkinChangeMessage(rt::TWinControl& form, rt::TMessage& m) {
    // Before a change there is nothing to do: every control keeps the skin it holds.
    if (m.Msg == SM_BEFORECHANGESKIN) return true;
    if (m.Msg == SM_CHANGESKIN) {
        ApplySkins(form, Announcer(m));
        return true;
    }
    return false;
}

}  // namespace sk
