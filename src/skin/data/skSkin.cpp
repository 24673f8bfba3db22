#include "skin/data/skSkin.h"

#include <set>

namespace sk {

namespace {

// The entry indices 0 .. count-1 that a list section really holds, in order. A huge "count"
// must not mean billions of lookups for keys that are not there (they would be skipped anyway).
std::vector<int> ListIndices(const TskIniFile& ini, const std::string& section) {
    int count = ini.ReadInteger(section, "count", 0);
    std::set<int> found;
    for (const std::string& key : ini.Keys(section)) {
        int i;
        if (!TryStrToInt(key, i) || i < 0 || i >= count || std::to_string(i) != key) continue;
        found.insert(i);
    }
    return {found.begin(), found.end()};
}

// "name:kind" split at the first colon; no colon gives an empty name and kind.
void SplitEntry(const std::string& value, std::string& name, std::string& kind) {
    std::size_t colon = value.find(':');
    if (colon == std::string::npos) {
        name.clear();
        kind.clear();
        return;
    }
    name = value.substr(0, colon);
    kind = value.substr(colon + 1);
}

}  // namespace

int TskSkin::GetIndex(const std::string& name) const {
    for (std::size_t i = 0; i < ObjectList.size(); ++i)
        if (ObjectList[i]->IDName == name) return int(i);
    return -1;
}

int TskSkin::GetControlIndex(const std::string& name) const {
    for (std::size_t i = 0; i < CtrlList.size(); ++i)
        if (CtrlList[i]->IDName == name) return int(i);
    return -1;
}

void LoadSkinObjects(const TskIniFile& ini, TskSkin& skin) {
    std::string name, kind;
    for (int i : ListIndices(ini, "SKINOBJECTS")) {
        SplitEntry(ini.ReadString("SKINOBJECTS", std::to_string(i), ""), name, kind);
        std::unique_ptr<TskDataSkinObject> obj = CreateSkinObject(kind, name);
        if (obj == nullptr) continue;
        obj->LoadFromIni(ini);
        skin.ObjectList.push_back(std::move(obj));
    }
}

void LoadSkinControls(const TskIniFile& ini, TskSkin& skin) {
    std::string name, kind;
    for (int i : ListIndices(ini, "SKINCONTROLS")) {
        SplitEntry(ini.ReadString("SKINCONTROLS", std::to_string(i), ""), name, kind);
        std::unique_ptr<TskDataSkinControl> ctrl = CreateSkinControl(kind, name);
        if (ctrl == nullptr) continue;
        ctrl->LoadFromIni(ini);
        skin.CtrlList.push_back(std::move(ctrl));
    }
}

}  // namespace sk
