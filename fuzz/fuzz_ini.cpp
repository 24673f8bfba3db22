// The skin description parser and every description class on arbitrary text. Loading may fail
// only with the integer converter's error; what loads must save and load back to the same
// values (checked for one description per input).
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <typeindex>
#include <typeinfo>

#include "skin/data/skSkinData.h"

namespace {

std::string Dump(const sk::TskIniFile& ini) {
    rt::TStringList lines;
    ini.GetStrings(lines);
    return lines.Text();
}

using KindMap = std::map<std::type_index, std::string>;

// The kind word of each description class, learnt once by making one of each.
const KindMap& ObjectKinds() {
    static const KindMap kinds = [] {
        KindMap m;
        for (const std::string& k : sk::SkinObjectKinds()) {
            auto d = sk::CreateSkinObject(k, "");
            const sk::TskDataSkinObject& ref = *d;
            m.emplace(typeid(ref), k);
        }
        return m;
    }();
    return kinds;
}

const KindMap& ControlKinds() {
    static const KindMap kinds = [] {
        KindMap m;
        for (const std::string& k : sk::SkinControlKinds()) {
            auto d = sk::CreateSkinControl(k, "");
            const sk::TskDataSkinControl& ref = *d;
            m.emplace(typeid(ref), k);
        }
        return m;
    }();
    return kinds;
}

const std::string& KindOf(const KindMap& kinds, const std::type_info& type) {
    auto it = kinds.find(std::type_index(type));
    if (it == kinds.end()) std::abort();
    return it->second;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sk::TskIniFile ini;
    ini.SetText(std::string_view(reinterpret_cast<const char*>(data), size));
    sk::TskSkinData skinData(nullptr);
    sk::TskSkin skin;
    try {
        skinData.LoadFormInfo(ini);
        skin.PopupWindow.LoadFromIni(ini, "POPUPWINDOW");
        skin.HintWindow.LoadFromIni(ini, "HINTWINDOW");
        sk::LoadSkinObjects(ini, skin);
        sk::LoadSkinControls(ini, skin);
    } catch (const rt::EConvertError&) {
        return 0;
    }
    // Each description written out and read into a fresh one of the same kind writes the same.
    auto same = [](const auto& loaded, auto fresh) {
        sk::TskIniFile out1, out2;
        loaded.SaveToIni(out1);
        fresh->LoadFromIni(out1);
        fresh->SaveToIni(out2);
        if (Dump(out1) != Dump(out2)) std::abort();
    };
    // One description per input, chosen by the input: over a run every kind is checked, and
    // checking all of a few hundred made each input a hundred times slower.
    const std::size_t objects = skin.ObjectList.size(), total = objects + skin.CtrlList.size();
    if (total == 0) return 0;
    const std::size_t pick = (size + data[0]) % total;
    if (pick < objects) {
        const sk::TskDataSkinObject& o = *skin.ObjectList[pick];
        same(o, sk::CreateSkinObject(KindOf(ObjectKinds(), typeid(o)), o.IDName));
    } else {
        const sk::TskDataSkinControl& c = *skin.CtrlList[pick - objects];
        same(c, sk::CreateSkinControl(KindOf(ControlKinds(), typeid(c)), c.IDName));
    }
    return 0;
}
