#pragma once
// What the demo windows share: blending and filling for the small skins they paint in code,
// and the stored skin made of such a picture and its description.

#include <memory>
#include <string>
#include <vector>

#include "runtime/Classes.h"
#include "runtime/Graphics.h"
#include "skin/data/skStoredSkin.h"

namespace demo {

// a blended toward b by t (0 a, 1 b), channel by channel.
inline rt::TColor Mix(rt::TColor a, rt::TColor b, double t) {
    auto ch = [&](int shift) {
        const int x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
        return int(x + (y - x) * t + 0.5) << shift;
    };
    return ch(0) | ch(8) | ch(16);
}

inline void Fill(rt::TBitmap& p, const rt::TRect& r, rt::TColor c) {
    p.Canvas().Brush.Style = rt::TBrushStyle::bsSolid;
    p.Canvas().Brush.Color = c;
    p.Canvas().FillRect(r);
}

inline std::unique_ptr<sk::TskStoredSkin> StoredSkin(const rt::TBitmap& picture,
                                                     const std::vector<std::string>& lines) {
    auto s = std::make_unique<sk::TskStoredSkin>(nullptr);
    s->ActivePictures.push_back(std::make_unique<rt::TBitmap>(picture));
    rt::TStringList list;
    for (const std::string& l : lines) list.Add(l);
    s->SetIniStrings(list);
    return s;
}

}  // namespace demo
