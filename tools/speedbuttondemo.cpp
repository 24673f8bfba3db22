// Speed buttons for looking at them: a sheet of every state (idle, hot, down, disabled, flat,
// transparent, toggle groups, the menu button with its menu open) without a skin and painted
// from a small tool-button skin drawn here in code, and the main window with the same skin
// or without one. Run it under Xvfb and take a screenshot.

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "DemoPaint.h"
#include "app/MainFrm.h"
#include "runtime/Application.h"
#include "runtime/StdCtrls.h"
#include "skin/controls/skSkinSpeedButton.h"
#include "skin/data/skUtils.h"

namespace {

using demo::Fill;
using demo::Mix;

// A rounded face: one-pixel border, a top-to-bottom shade inside, corners blended into `around`.
void Face(rt::TBitmap& p, const rt::TRect& r, rt::TColor border, rt::TColor top, rt::TColor bottom,
          rt::TColor around) {
    Fill(p, r, border);
    const rt::TRect in = rt::Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    for (int y = in.Top; y < in.Bottom; ++y)
        Fill(p, rt::Rect(in.Left, y, in.Right, y + 1),
             Mix(top, bottom, double(y - in.Top) / std::max(1, in.Height() - 1)));
    for (const rt::TPoint c :
         {rt::Point(r.Left, r.Top), rt::Point(r.Right - 1, r.Top), rt::Point(r.Left, r.Bottom - 1),
          rt::Point(r.Right - 1, r.Bottom - 1)})
        p.Canvas().SetPixel(c.X, c.Y, Mix(border, around, 0.7));
}

constexpr rt::TColor kBack = 0xF0F0F0;
constexpr int kH = 25;

struct Look {
    rt::TColor border, top, bottom;
};
// Normal, hot, down, disabled.
const Look kLooks[] = {{0xA89C94, 0xFCFCFC, 0xE6E0DC},
                       {0xC08A4E, 0xFFFBF6, 0xF5DDC2},
                       {0x9A6A34, 0xE9D2B9, 0xF3E7DA},
                       {0xC8C8C8, 0xF6F6F6, 0xF0F0F0}};

// Tool buttons 40 x 25 at y 0; menu tool buttons 46 x 25 at y 30 with a 13-pixel arrow part.
rt::TBitmap PaintPicture() {
    rt::TBitmap p(200, 60);
    Fill(p, rt::Rect(0, 0, 200, 60), kBack);
    for (int i = 0; i < 4; ++i) {
        const Look& l = kLooks[i];
        Face(p, rt::Bounds(40 * i, 0, 40, kH), l.border, l.top, l.bottom, kBack);
    }
    for (int i = 0; i < 3; ++i) {
        const Look& l = kLooks[i];
        const rt::TRect r = rt::Bounds(46 * i, 30, 46, kH);
        Face(p, r, l.border, l.top, l.bottom, kBack);
        // A divider before the arrow part, lighter beside it, and the arrow.
        Fill(p, rt::Rect(r.Right - 14, r.Top + 4, r.Right - 13, r.Bottom - 4),
             Mix(l.border, l.top, 0.3));
        Fill(p, rt::Rect(r.Right - 13, r.Top + 4, r.Right - 12, r.Bottom - 4), 0xFFFFFF);
        sk::DrawTrackArrowImage(p.Canvas(),
                                rt::Rect(r.Right - 13, r.Top + 1, r.Right, r.Bottom + 1), 0x404040);
    }
    return p;
}

std::vector<std::string> Description() {
    std::vector<std::string> d = {"[VERSION]",           "skinname=Tool buttons",
                                  "[PICTURES]",          "activepicturescount=1",
                                  "[FORMINFO]",          "lefttoppoint=0,0",
                                  "[SKINOBJECTS]",       "count=0",
                                  "[SKINCONTROLS]",      "count=2",
                                  "0=toolbutton:button", "1=toolmenubutton:menubutton"};
    const std::vector<std::string> font = {"pictureindex=0",
                                           "fontname=Arial",
                                           "fontheight=12",
                                           "fontcolor=2105376",
                                           "activefontcolor=7025408",
                                           "downfontcolor=7025408",
                                           "disabledfontcolor=10526880",
                                           "morphing=1",
                                           "morphkind=mkdefault"};
    auto add = [&d](std::initializer_list<std::string> lines) {
        d.insert(d.end(), lines.begin(), lines.end());
    };
    add({"[toolbutton]"});
    d.insert(d.end(), font.begin(), font.end());
    add({"skinrect=0,0,40,25", "lefttoppoint=4,0", "righttoppoint=36,0", "clientrect=3,0,37,25",
         "activeskinrect=40,0,80,25", "downskinrect=80,0,120,25", "disabledskinrect=120,0,160,25"});
    add({"[toolmenubutton]"});
    d.insert(d.end(), font.begin(), font.end());
    add({"skinrect=0,30,46,55", "lefttoppoint=4,0", "righttoppoint=28,0", "clientrect=3,0,31,25",
         "activeskinrect=46,30,92,55", "downskinrect=92,30,138,55", "trackbuttonrect=33,0,46,25"});
    return d;
}

std::unique_ptr<sk::TskStoredSkin> MakeSkin() {
    return demo::StoredSkin(PaintPicture(), Description());
}

// A menu that stays open without showing anything, so that the sheet can show the look of a
// menu button with its menu open.
class OpenMenu : public rt::TPopupMenu {
public:
    using rt::TPopupMenu::TPopupMenu;
    void PopupFromControl(rt::TControl*, const rt::TRect&, bool) override {}
};

class SheetForm : public rt::TForm {
public:
    explicit SheetForm(rt::TComponent* owner) : rt::TForm(owner), skin_(MakeSkin()) {
        SetCaption("Speed buttons");
        SetBounds(0, 0, 580, 245);
        auto* data = new sk::TskSkinData(this);
        data->LoadStoredSkin(skin_.get());
        menu_ = new OpenMenu(this);
        Column(10, nullptr, "No skin");
        Column(290, data, "Skinned");
    }
    sk::TskStoredSkin* Skin() const { return skin_.get(); }

private:
    template <class T>
    T* Add(int x, int y, int w, sk::TskSkinData* data, const char* caption) {
        auto* b = new T(this);
        b->SetBounds(x, y, w, 25);
        b->SetParent(this);
        b->SetCaption(caption);
        if (data != nullptr) b->SetSkinData(data);
        return b;
    }
    static void Hot(rt::TControl* c) { c->Perform(rt::CM_MOUSEENTER, 0, 0); }
    static void Press(rt::TControl* c, int x) {
        c->Perform(rt::CM_MOUSEENTER, 0, 0);
        c->Perform(rt::WM_LBUTTONDOWN, rt::MK_LBUTTON, rt::MakeLParam(x, 5));
    }

    void Column(int x0, sk::TskSkinData* data, const char* title) {
        auto* heading = new rt::TLabel(this);
        heading->SetBounds(x0, 6, 200, 16);
        heading->SetParent(this);
        heading->Font().Style = rt::fsBold;
        heading->SetCaption(title);
        using SB = sk::TskSkinSpeedButton;
        using MB = sk::TskSkinMenuSpeedButton;
        Add<SB>(x0, 30, 60, data, "Idle");
        Hot(Add<SB>(x0 + 65, 30, 60, data, "Hot"));
        Press(Add<SB>(x0 + 130, 30, 60, data, "Down"), 5);
        Add<SB>(x0 + 195, 30, 60, data, "Off")->SetEnabled(false);

        auto* flat = Add<SB>(x0, 65, 60, data, "Flat");
        flat->SetFlat(true);
        auto* flatHot = Add<SB>(x0 + 65, 65, 60, data, "Flat");
        flatHot->SetFlat(true);
        Hot(flatHot);
        // Transparent buttons over a coloured strip.
        auto* strip = new rt::TShape(this);
        strip->BrushColor = 0xE8D8C8;
        strip->PenColor = 0xE8D8C8;
        strip->SetBounds(x0 + 130, 62, 125, 31);
        strip->SetParent(this);
        Add<SB>(x0 + 133, 65, 58, data, "Clear")->SetTransparent(true);
        auto* clearHot = Add<SB>(x0 + 195, 65, 58, data, "Clear");
        clearHot->SetTransparent(true);
        Hot(clearHot);

        const int group = data != nullptr ? 2 : 1;
        const char* views[] = {"List", "Details", "Icons"};
        for (int i = 0; i < 3; ++i) {
            auto* t = Add<SB>(x0 + 65 * i, 100, 60, data, views[i]);
            t->SetGroupIndex(group);
            if (i == 1) t->SetDown(true);
        }

        auto glyph = MakeGlyph();
        auto* withGlyph = Add<SB>(x0, 135, 120, data, "Mark Start");
        withGlyph->SetGlyph(glyph);
        withGlyph->SetNumGlyphs(2);
        auto* withGlyphOff = Add<SB>(x0 + 125, 135, 120, data, "Mark Start");
        withGlyphOff->SetGlyph(glyph);
        withGlyphOff->SetNumGlyphs(2);
        withGlyphOff->SetEnabled(false);
        auto* alone = Add<SB>(x0 + 250, 135, 25, data, "");
        alone->SetGlyph(glyph);
        alone->SetNumGlyphs(2);
        auto* right = Add<SB>(x0, 170, 60, data, "Next");
        right->SetGlyph(glyph);
        right->SetNumGlyphs(2);
        right->SetLayout(sk::blGlyphRight);

        auto* menuIdle = Add<MB>(x0 + 65, 170, 60, data, "Skin");
        menuIdle->SetSkinPopupMenu(menu_);
        auto* menuOpen = Add<MB>(x0 + 130, 170, 60, data, "Skin");
        menuOpen->SetSkinPopupMenu(menu_);
        Press(menuOpen, 5);
        auto* track = Add<MB>(x0 + 195, 170, 60, data, "Skin");
        track->SetSkinPopupMenu(menu_);
        track->SetTrackButtonMode(true);
        Press(track, 55);
        auto* trackIdle = Add<MB>(x0 + 65, 205, 60, data, "Open");
        trackIdle->SetSkinPopupMenu(menu_);
        trackIdle->SetTrackButtonMode(true);
        auto* trackHot = Add<MB>(x0 + 130, 205, 60, data, "Open");
        trackHot->SetSkinPopupMenu(menu_);
        trackHot->SetTrackButtonMode(true);
        Hot(trackHot);
        auto* trackDown = Add<MB>(x0 + 195, 205, 60, data, "Open");
        trackDown->SetSkinPopupMenu(menu_);
        trackDown->SetTrackButtonMode(true);
        Press(trackDown, 5);
    }

    // A small 16 x 16 glyph strip: a navy triangle, and its engraved disabled look.
    static rt::TBitmap MakeGlyph() {
        rt::TBitmap g(32, 16);
        Fill(g, rt::Rect(0, 0, 32, 16), rt::clFuchsia);
        for (int i = 0; i < 6; ++i) {
            Fill(g, rt::Rect(5 + i, 3 + i, 6 + i, 13 - i), 0x800000);
            Fill(g, rt::Rect(22 + i, 4 + i, 23 + i, 14 - i), 0xFFFFFF);
            Fill(g, rt::Rect(21 + i, 3 + i, 22 + i, 13 - i), 0x808080);
        }
        return g;
    }

    std::unique_ptr<sk::TskStoredSkin> skin_;
    OpenMenu* menu_;
};

}  // namespace

// Without arguments the sheet; "--main" the main window without a skin, "--main --skin" with it.
int main(int argc, char** argv) {
    rt::TApplication app(argc, argv);
    auto has = [&](const char* flag) {
        for (int i = 1; i < argc; ++i)
            if (std::strcmp(argv[i], flag) == 0) return true;
        return false;
    };
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "framora-speeddemo";
    std::filesystem::create_directories(dir);
    auto* sheet = app.CreateForm<SheetForm>();
    std::unique_ptr<app::TMainForm> window;
    if (has("--main")) {
        window = std::make_unique<app::TMainForm>(nullptr, dir.string() + "/");
        if (has("--skin")) window->skSkinData1->LoadStoredSkin(sheet->Skin());
        window->Show();
    } else {
        sheet->Show();
    }
    app.Run();
    return 0;
}
