#include "skin/controls/skSkinWalk.h"

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

void ForgetSkinObjects(rt::TWinControl& root, const TskSkinData* data) {
    std::vector<TskSkinnable*> list;
    Collect(root, data, list);
    for (TskSkinnable* s : list)
        if (s->ForgetsBeforeSkinChange()) s->ForgetSkinObject();
}

void ApplySkins(rt::TWinControl& root, const TskSkinData* data) {
    std::vector<TskSkinnable*> list;
    Collect(root, data, list);
    for (TskSkinnable* s : list) s->ApplySkin();
}

bool HandleSkinChangeMessage(rt::TWinControl& form, rt::TMessage& m) {
    if (m.Msg == SM_BEFORECHANGESKIN) {
        ForgetSkinObjects(form, Announcer(m));
        return true;
    }
    if (m.Msg == SM_CHANGESKIN) {
        ApplySkins(form, Announcer(m));
        return true;
    }
    return false;
}

}  // namespace sk
