// framora-skinsheet: a contact sheet of one skin, every object in every state on one PNG.
//
//   framora-skinsheet <skin folder or skin.ini> <out.png>
//
// The skin is packed and loaded through the same container path as the program's built-in
// skins. Objects whose painters are part of the program are painted by them ("painter"); the
// others are rendered from the skin's pictures by the rules their painters will follow ("cut").
// Each row of the sheet is one entry of the table in BuildSheet: when a painter lands, its row
// switches from a Cut(...) to a Painter(...) entry.

#include <unistd.h>

#include <QFont>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Cuts.h"
#include "app/MainFrm.h"
#include "app/Resources.h"
#include "runtime/Application.h"
#include "runtime/Menus.h"
#include "skin/controls/skSkinButton.h"
#include "skin/controls/skSkinExPanel.h"
#include "skin/controls/skSkinGauge.h"
#include "skin/controls/skSkinPanels.h"
#include "skin/controls/skSkinScrollBar.h"
#include "skin/controls/skSkinSplitter.h"
#include "skin/controls/skSkinTrackBar.h"
#include "skin/controls/skSkinViews.h"
#include "skin/data/skStoredSkin.h"
#include "skin/form/skFormWindow.h"
#include "skin/form/skFrameObjects.h"
#include "skin/form/skSkinForm.h"
#include "skin/form/skSkinHint.h"

namespace {

namespace fs = std::filesystem;
using rt::TBitmap;

struct Cell {
    std::string label;
    TBitmap image;
};

enum class Source { Painter, Cut };

struct Entry {
    std::string object;
    Source source;
    std::function<std::vector<Cell>()> cells;
};

Entry Painter(std::string object, std::function<std::vector<Cell>()> cells) {
    return {std::move(object), Source::Painter, std::move(cells)};
}
Entry Cut(std::string object, std::function<std::vector<Cell>()> cells) {
    return {std::move(object), Source::Cut, std::move(cells)};
}
// A section heading.
Entry Heading(std::string text) { return {std::move(text), Source::Painter, nullptr}; }

QImage ToImage(const TBitmap& b) {
    QImage img(b.Width(), b.Height(), QImage::Format_RGB32);
    for (int y = 0; y < b.Height(); ++y)
        std::copy_n(b.ScanLine(y), b.Width(), reinterpret_cast<std::uint32_t*>(img.scanLine(y)));
    return img;
}

void Paste(TBitmap& dst, int x, int y, const TBitmap& src) {
    if (src.Empty()) return;
    dst.Canvas().CopyRect(rt::Bounds(x, y, src.Width(), src.Height()), src,
                          rt::Rect(0, 0, src.Width(), src.Height()));
}

constexpr rt::TColor kDesk = 0xD6D1CD;  // the sheet's background, and the desktop behind shapes

// Paints a control and its children onto dst with the control's top-left at (x, y).
void PaintTree(TBitmap& dst, int x, int y, rt::TControl* c,
               const std::function<bool(TBitmap&, int, int, rt::TControl*)>& special) {
    if (!c->Visible()) return;
    if (special(dst, x, y, c)) return;
    Paste(dst, x, y, c->PaintToBitmap());
    if (auto* w = dynamic_cast<rt::TWinControl*>(c))
        for (int i = 0; i < w->ControlCount(); ++i)
            PaintTree(dst, x + w->Controls(i)->Left(), y + w->Controls(i)->Top(), w->Controls(i),
                      special);
}

// A window for the skinned form to draw the frame of: it only has a place and a caption.
class SheetWindow : public sk::TskFormWindow {
public:
    rt::TRect bounds = rt::Bounds(0, 0, 400, 300);
    std::string caption;
    rt::TRegion region;

    rt::TRect BoundsRect() const override { return bounds; }
    void SetBounds(const rt::TRect& b) override { bounds = b; }
    std::string Caption() const override { return caption; }
    bool Visible() const override { return true; }
    bool HasBorder() const override { return true; }
    bool Sizeable() const override { return false; }
    bool IsMainForm() const override { return false; }
    void Close() override {}
    void MinimizeApplication() override {}
    rt::TRect WorkArea() const override { return rt::Rect(0, 0, 1280, 800); }
    rt::TRect ScreenRect() const override { return rt::Rect(0, 0, 1280, 800); }
    rt::TPoint CursorPos() const override { return {-1, -1}; }
    bool UnderCursor() const override { return false; }
    void InvalidateFrame() override {}
    // The sheet paints whole frames on demand, so a piece painted in between is not kept.
    void PaintFrameNow(const rt::TRect&, const std::function<void(rt::TCanvas&)>&) override {}
    void InvalidateClient() override {}
    void FrameChanged() override {}
    void SetWindowRegion(const rt::TRegion* r) override { region = r ? *r : rt::TRegion{}; }
    void SetMouseCapture(bool) override {}
    void SetOpacity(int) override {}
    void ProcessMessages() override {}
    // Nothing on a sheet moves, so no timer ever needs to tick.
    void SetTimer(std::uintptr_t, int) override {}
    void KillTimer(std::uintptr_t) override {}
    const rt::TBitmap* Icon() const override { return nullptr; }
    rt::TWinControl* ControlRoot() override { return nullptr; }
};

// A window frame painted by the program's skinned form, for a client area of cw x ch.
class Frame {
public:
    Frame(sk::TskSkinData* data, int cw, int ch, const std::string& caption,
          sk::TskBorderIcons icons)
        : form_(nullptr) {
        auto w = std::make_unique<SheetWindow>();
        window_ = w.get();
        w->caption = caption;
        form_.SetWindow(std::move(w));
        form_.SetBorderIcons(icons);
        form_.SetSkinData(data);
        const rt::TRect probe = form_.CalcClientRect(rt::Bounds(0, 0, 1000, 1000));
        window_->bounds = rt::Bounds(0, 0, cw + 1000 - probe.Width(), ch + 1000 - probe.Height());
        form_.Resized(window_->bounds.Width(), window_->bounds.Height());
        form_.NcActivate(true);
    }
    sk::TskSkinForm& Form() { return form_; }
    rt::TRect Client() const { return form_.CalcClientRect(window_->bounds); }
    // The whole window: frame, client background, then `client` paints into the client area;
    // what lies outside the window's shape shows the desk.
    TBitmap Paint(const std::function<void(TBitmap&, const rt::TRect&)>& client = nullptr) {
        const rt::TRect b = window_->bounds;
        TBitmap w(b.Width(), b.Height());
        form_.PaintFrame(w.Canvas());
        const rt::TRect c = Client();
        TBitmap inner(c.Width(), c.Height());
        form_.PaintClient(inner.Canvas(), rt::Rect(0, 0, c.Width(), c.Height()));
        Paste(w, c.Left, c.Top, inner);
        if (client) client(w, c);
        const rt::TRegion& shape = window_->region;
        if (!shape.IsEmpty()) {
            const std::uint32_t desk = rt::ColorToPixel(kDesk);
            for (int y = 0; y < w.Height(); ++y)
                for (int x = 0; x < w.Width(); ++x)
                    if (!shape.Contains(x, y)) w.ScanLine(y)[x] = desk;
        }
        return w;
    }
    // One frame object, cut from the painted frame at its place.
    TBitmap Object(const std::string& id) {
        TBitmap w = Paint();
        const sk::TskActiveSkinObject* o = form_.FindObject(id);
        if (o == nullptr) return TBitmap(8, 8);
        const rt::TRect r = o->ObjectRect;
        TBitmap out(r.Width(), r.Height());
        out.Canvas().CopyRect(rt::Rect(0, 0, r.Width(), r.Height()), w, r);
        return out;
    }

private:
    sk::TskSkinForm form_;
    SheetWindow* window_ = nullptr;
};

// A caption button through the frame: 0 normal, 1 hot, 2 down, 3 disabled; with `restore` in
// the window state that gives it its restore look.
TBitmap CaptionButtonLook(sk::TskSkinData* data, const std::string& id, int state, bool restore) {
    Frame f(data, 200, 40, "Framora", sk::kDefaultBorderIcons);
    if (restore) {
        if (id == "maxbutton") f.Form().SetWindowState(sk::TskWindowState::wsMaximized);
        if (id == "minbutton") f.Form().SetWindowState(sk::TskWindowState::wsMinimized);
        if (id == "rollupbutton") f.Form().SetRollUpState(true);
    }
    f.Form().Geometry();
    auto* o = dynamic_cast<sk::TskSkinButtonObject*>(f.Form().FindObject(id));
    if (o == nullptr) return TBitmap(8, 8);
    o->Visible = true;
    if (state == 1 || state == 2) {
        o->Active = o->CursorInside = true;
        o->MorphLevel = 1;
    }
    if (state == 2) o->Down = true;
    if (state == 3) o->Enabled = false;
    return f.Object(id);
}

class Sheet {
public:
    Sheet(const std::string& skinIni, const std::string& appDir) {
        container_ = std::make_unique<sk::TskCompressedStoredSkin>(nullptr);
        container_->LoadFromIniFile(skinIni);
        if (container_->IsEmpty()) throw std::runtime_error(skinIni + " is not a complete skin");
        // The application's main form: the hint window looks for its component there.
        form_ = rt::Application()->CreateForm<app::TMainForm>(appDir);
        data_ = form_->skSkinData1;
        data_->LoadCompressedStoredSkin(container_.get());
        host_ = std::make_unique<rt::TForm>(nullptr);
        host_->SetBounds(0, 0, 800, 600);
    }

    QImage Render();

private:
    std::vector<Entry> BuildSheet();
    TBitmap MainWindow(bool active);
    std::vector<Cell> PushButtons();
    // A tool button in the states normal, hot, down and disabled (the first `states` of them).
    template <class T>
    std::vector<Cell> ToolButtons(int width, const std::string& caption, int states,
                                  const std::string& label = {});
    std::vector<Cell> ScrollBars(const std::string& name);
    std::vector<Cell> RollingPanels();
    std::vector<Cell> Splitters();
    std::vector<Cell> Bevels();
    // The list view (report style, with its vertical bar beside it) or the tree view.
    std::vector<Cell> Views(bool list);
    TBitmap Hint(const std::string& text);
    template <class T>
    T* Make(int w, int h) {
        auto* c = new T(host_.get());
        c->SetBounds(0, 0, w, h);
        c->SetParent(host_.get());
        c->SetSkinData(data_);
        return c;
    }

    std::unique_ptr<sk::TskCompressedStoredSkin> container_;
    app::TMainForm* form_ = nullptr;
    sk::TskSkinData* data_ = nullptr;
    std::unique_ptr<rt::TForm> host_;
};

// The main window as the program lays it out: its skinned controls and its frame paint
// themselves; the menu bar is cut from the pictures until its painter lands.
TBitmap Sheet::MainWindow(bool active) {
    const sk::TskSkinData& d = *data_;
    app::TMainForm& f = *form_;
    Frame frame(data_, f.ClientWidth(), f.ClientHeight(), "Framora",
                sk::biSystemMenu | sk::biMinimize | sk::biRollUp);
    if (active) {
        // The mouse over the close button, its hover look faded in.
        frame.Form().Geometry();
        const sk::TskActiveSkinObject* close = frame.Form().FindObject("closebutton");
        if (close != nullptr) {
            const rt::TRect r = close->ObjectRect;
            frame.Form().TrackHover({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}, true);
            for (int i = 0; i < 12; ++i) frame.Form().MorphTimerTick();
        }
    } else {
        frame.Form().NcActivate(false);
    }
    f.TrackBar1->SetMaxValue(100);
    f.TrackBar1->SetValue(active ? 30 : 70);
    auto mark = [&](rt::TShape* s, int v) {
        s->SetLeft(app::MarkerLeft(f.TrackBar1->Width(), f.TrackBar1->MaxValue(), v));
        s->Show();
    };
    mark(f.shpStart, 30);
    mark(f.shpEnd, 70);
    f.shpProcess->SetBounds(f.shpStart->Left(), f.shpProcess->Top(),
                            f.shpEnd->Left() - f.shpStart->Left(), f.shpProcess->Height());
    f.shpProcess->Show();
    f.ProgressBar1->SetValue(active ? 40 : 100);
    f.ProgressBar1->SetProgressText(active ? "Cutting ... Please wait ..." : "Succeeded!");
    // Inactive: "Cut" under the mouse, faded in, and "Skin" down with its menu open.
    sk::TskSkinSpeedButton* cutButton = f.skSkinSpeedButton4;
    cutButton->Perform(active ? rt::CM_MOUSELEAVE : rt::CM_MOUSEENTER, 0, 0);
    for (int i = 0; i < 12 && cutButton->MorphTicker() != nullptr; ++i)
        cutButton->MorphTicker()->OnTimer(cutButton->MorphTicker());
    f.skSkinMenuSpeedButton1->Perform(active ? rt::CM_MOUSELEAVE : rt::CM_MOUSEENTER, 0, 0);
    f.skSkinMenuSpeedButton1->SetDown(!active);
    const std::vector<std::string> menu = {"&File", "&Help"};
    auto special = [&](TBitmap& dst, int x, int y, rt::TControl* c) {
        if (dynamic_cast<rt::TMenuBar*>(c) != nullptr) {
            Paste(dst, x, y, sheet::MenuBar(d, c->Width(), menu, active ? -1 : 0, !active));
            return true;
        }
        return false;
    };
    return frame.Paint([&](TBitmap& b, const rt::TRect& client) {
        for (int i = 0; i < f.ControlCount(); ++i) {
            rt::TControl* c = f.Controls(i);
            PaintTree(b, client.Left + c->Left(), client.Top + c->Top(), c, special);
        }
        if (!active) {
            // The File menu drops from its bar item; the skin menu from the Skin button.
            TBitmap file = sheet::PopupMenu(d, {"Open", "Close", "-", "Exit"}, 1, kDesk);
            Paste(b, client.Left + 2, client.Top + f.skSkinMainMenuBar1->Height(), file);
            TBitmap skins =
                sheet::PopupMenu(d, {"*WinAqua", "Winxpblue", "Wistler", "-", "No Skin"}, 2, kDesk);
            sk::TskSkinSpeedButton* s = f.skSkinMenuSpeedButton1;
            Paste(b, client.Left + s->Left(), client.Top + s->Top() + s->Height(), skins);
        }
    });
}

const char* const kStates[] = {"normal", "hot", "down", "disabled"};

void Press(rt::TControl* c, int x, int y) {
    c->Perform(rt::WM_LBUTTONDOWN, rt::MK_LBUTTON, rt::MakeLParam(x, y));
}
void MoveTo(rt::TControl* c, int x, int y) {
    c->Perform(rt::WM_MOUSEMOVE, 0, rt::MakeLParam(x, y));
}
rt::TPoint Centre(const rt::TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
// Runs a control's cross-fade to its end, as its 20 ms timer would.
template <class T>
void FadeIn(T* c) {
    for (int i = 0; i < 10 && c->MorphTicker() != nullptr; ++i)
        c->MorphTicker()->OnTimer(c->MorphTicker());
}

std::vector<Cell> Sheet::PushButtons() {
    std::vector<Cell> cells;
    for (int s = 0; s < 4; ++s) {
        auto* b = Make<sk::TskSkinButton>(75, 25);
        b->SetCaption("&Open");
        if (s == 1 || s == 2) {
            b->Perform(rt::CM_MOUSEENTER, 0, 0);
            FadeIn(b);
        }
        if (s == 2) Press(b, 10, 10);
        if (s == 3) b->SetEnabled(false);
        cells.push_back({kStates[s], b->PaintToBitmap()});
    }
    return cells;
}

template <class T>
std::vector<Cell> Sheet::ToolButtons(int width, const std::string& caption, int states,
                                     const std::string& label) {
    std::vector<Cell> cells;
    for (int s = 0; s < states; ++s) {
        auto* b = Make<T>(width, 25);
        b->SetCaption(caption);
        if (caption == "Mark Start Point" || caption == "Cut") {
            b->SetGlyph(
                app::MakeGlyph(caption == "Cut" ? app::GlyphKind::Cut : app::GlyphKind::MarkStart));
            b->SetNumGlyphs(app::kGlyphImages);
            b->SetSpacing(2);
        }
        if (s == 1 || s == 2) {
            b->Perform(rt::CM_MOUSEENTER, 0, 0);
            FadeIn(b);
        }
        if (s == 2) Press(b, 5, 5);
        if (s == 3) b->SetEnabled(false);
        cells.push_back({label + kStates[s], b->PaintToBitmap()});
    }
    return cells;
}

std::vector<Cell> Sheet::ScrollBars(const std::string& name) {
    const bool vertical = name == "vscrollbar";
    // The kind and the skin object first: the bar takes its thickness from the object.
    auto make = [&](int position) {
        auto* b = new sk::TskSkinScrollBar(host_.get());
        b->SetParent(host_.get());
        if (vertical) b->SetKind(sk::sbVertical);
        b->SetSkinDataName(vertical ? "vscrollbar" : "hscrollbar");
        if (name == "bothhscrollbar") b->SetBoth(true);
        b->SetSkinData(data_);
        b->SetBounds(0, 0, vertical ? 17 : 200, vertical ? 120 : 17);
        b->SetPosition(position);
        b->LayoutParts();
        return b;
    };
    std::vector<Cell> cells;
    cells.push_back({"normal", make(30)->PaintToBitmap()});
    struct S {
        const char* label;
        int part;
        bool press;
        int position;
    };
    for (S st :
         {S{"thumb hot", 0, false, 50}, S{"thumb down", 0, true, 70}, S{"up hot", 1, false, 0},
          S{"up down", 1, true, 0}, S{"down hot", 2, false, 100}, S{"down down", 2, true, 100}}) {
        auto* b = make(st.position);
        const rt::TPoint at = Centre(b->Part(st.part).Rect);
        MoveTo(b, at.X, at.Y);
        if (st.press) Press(b, at.X, at.Y);
        cells.push_back({st.label, b->PaintToBitmap()});
    }
    return cells;
}

std::vector<Cell> Sheet::RollingPanels() {
    std::vector<Cell> cells;
    const char* labels[] = {"buttons normal", "close hot", "roll down"};
    for (int s = 0; s < 3; ++s) {
        auto* p = Make<sk::TskSkinExPanel>(200, 120);
        p->SetRollKind(sk::rkRollHorizontal);
        p->SetCaption("Folders");
        p->LayoutCaption();
        const int button =
            s == 2 ? sk::TskSkinExPanel::kRollButton : sk::TskSkinExPanel::kCloseButton;
        const rt::TPoint at = Centre(p->Button(button).Rect);
        if (s > 0) MoveTo(p, at.X, at.Y);
        if (s == 2) Press(p, at.X, at.Y);
        cells.push_back({labels[s], p->PaintToBitmap()});
    }
    auto* v = Make<sk::TskSkinExPanel>(200, 120);
    v->SetRollKind(sk::rkRollVertical);
    v->SetCaption("Folders");
    v->SetRollState(true);
    cells.push_back({"rolled up", v->PaintToBitmap()});
    auto* h = Make<sk::TskSkinExPanel>(200, 120);
    h->SetRollKind(sk::rkRollHorizontal);
    h->SetShowCloseButton(false);
    h->SetCaption("Folders");
    h->SetRollState(true);
    cells.push_back({"rolled sideways, no close button", h->PaintToBitmap()});
    return cells;
}

std::vector<Cell> Sheet::Splitters() {
    auto* holder = new rt::TCustomControl(host_.get());
    holder->SetParent(host_.get());
    holder->SetBounds(0, 0, 200, 100);
    std::vector<Cell> cells;
    for (bool left : {true, false}) {
        auto* s = new sk::TskSkinSplitter(host_.get());
        s->SetParent(holder);
        s->SetAlign(left ? rt::TAlign::alLeft : rt::TAlign::alTop);
        s->SetSkinDataName(left ? "vsplitter" : "hsplitter");
        s->SetSkinData(data_);
        s->SetBounds(0, 0, left ? 10 : 120, left ? 80 : 10);
        cells.push_back(
            {left ? "vsplitter, aligned left" : "hsplitter, aligned top", s->PaintToBitmap()});
    }
    return cells;
}

std::vector<Cell> Sheet::Bevels() {
    std::vector<Cell> cells;
    for (bool divider : {false, true}) {
        auto* b = new sk::TskSkinBevel(host_.get());
        b->SetParent(host_.get());
        b->SetBounds(0, 0, divider ? 26 : 60, divider ? 25 : 30);
        b->SetShape(divider ? rt::TBevelShape::bsLeftLine : rt::TBevelShape::bsBox);
        b->SetDividerMode(divider);
        b->SetSkinData(data_);
        cells.push_back({divider ? "tool bar divider" : "lowered box", b->PaintToBitmap()});
    }
    return cells;
}

std::vector<Cell> Sheet::Views(bool list) {
    auto* bar = new sk::TskSkinScrollBar(host_.get());
    bar->SetKind(sk::sbVertical);
    bar->SetSkinDataName("vscrollbar");
    bar->SetParent(host_.get());
    bar->SetSkinData(data_);
    TBitmap shot;
    if (list) {
        auto* v = Make<sk::TskSkinListView>(300, 120);
        v->SetVScrollBar(bar);
        v->AddColumn("Name", 130);
        v->AddColumn("Size", 70, rt::TAlignment::taRightJustify);
        v->AddColumn("Type", 80);
        v->SetViewStyle(rt::TViewStyle::vsReport);
        for (int i = 0; i < 12; ++i) {
            rt::TListItem* item = v->Items().Add();
            item->SetCaption("holiday_" + std::to_string(2010 + i) + ".avi");
            item->SetSubItems({std::to_string(1200 + 317 * i) + " KB", "AVI video"});
        }
        v->SetSelected(v->Items().Item(2));
        shot = v->PaintToBitmap();
    } else {
        auto* v = Make<sk::TskSkinTreeView>(200, 120);
        v->SetVScrollBar(bar);
        rt::TTreeNode* home = v->Items().AddChild(nullptr, "/home/user");
        rt::TTreeNode* videos = v->Items().AddChild(home, "Videos");
        for (const char* f : {"Birthday", "Holiday", "Garden", "Concert", "Travel", "School"})
            v->Items().AddChild(videos, f);
        v->Items().AddChild(nullptr, "/media/usb");
        videos->Expand(false);
        v->SetSelected(videos->Item(1));
        shot = v->PaintToBitmap();
    }
    // The bar beside the view, as tall as it, the way a dialog places it.
    bar->SetBounds(0, 0, bar->Width() > 0 ? bar->Width() : 17, shot.Height());
    TBitmap barShot = bar->PaintToBitmap();
    TBitmap both(shot.Width() + barShot.Width(), shot.Height());
    both.Canvas().Draw(0, 0, shot);
    if (bar->Visible()) both.Canvas().Draw(shot.Width(), 0, barShot);
    return {
        {list ? "report style, a row selected, its bar" : "folders, one selected, its bar", both}};
}

// A hint as the skinned hint window shows it, over the desktop.
TBitmap Sheet::Hint(const std::string& text) {
    auto* hint = new sk::TskSkinHint(form_);
    hint->SetSkinData(data_);
    sk::TskSkinHintWindow& window = *hint->HintWindow();
    window.ActivateHint(rt::Bounds(0, 0, 0, 0), text);
    TBitmap b = window.PaintToBitmap();
    const std::uint32_t desk = rt::ColorToPixel(kDesk);
    if (window.Region())
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x)
                if (!window.Region()->Contains(x, y)) b.ScanLine(y)[x] = desk;
    delete hint;
    return b;
}

// The rows of the sheet. Each row renders when the sheet is painted, so every lambda captures
// what it needs by value (the skin data lives as long as the sheet).
std::vector<Entry> Sheet::BuildSheet() {
    const sk::TskSkinData& d = *data_;
    const auto* states = kStates;
    std::vector<Entry> e;
    e.push_back(Heading("Window: frame, caption and caption buttons"));
    // The frame and the speed buttons are the program's; the menu bar inside is still cut.
    e.push_back(Painter("main window", [this] {
        return std::vector<Cell>{{"active, close button hot", MainWindow(true)}};
    }));
    e.push_back(Painter("main window", [this] {
        return std::vector<Cell>{{"inactive, menus open, \"Cut\" hot", MainWindow(false)}};
    }));
    for (const char* name :
         {"closebutton", "maxbutton", "minbutton", "rollupbutton", "sysmenubutton"}) {
        e.push_back(Painter(name, [this, name, states] {
            std::vector<Cell> cells;
            for (int s = 0; s < 4; ++s)
                cells.push_back({states[s], CaptionButtonLook(data_, name, s, false)});
            if (std::string(name) != "closebutton" && std::string(name) != "sysmenubutton")
                for (int s = 0; s < 3; ++s)
                    cells.push_back({std::string("restore ") + states[s],
                                     CaptionButtonLook(data_, name, s, true)});
            return cells;
        }));
    }
    e.push_back(Painter("caption", [this] {
        const std::string t = "Framora - /home/user/videos/holiday/clip-0001.avi";
        Frame active(data_, 260, 24, t, sk::kDefaultBorderIcons);
        Frame inactive(data_, 260, 24, t, sk::kDefaultBorderIcons);
        inactive.Form().NcActivate(false);
        return std::vector<Cell>{{"active, shortened", active.Paint()},
                                 {"inactive", inactive.Paint()}};
    }));

    e.push_back(Heading("Menus and hints"));
    e.push_back(Cut("mainmenubar", [&d] {
        const std::vector<std::string> items = {"&File", "&Help"};
        return std::vector<Cell>{{"normal", sheet::MenuBar(d, 200, items, -1, false)},
                                 {"\"File\" hot", sheet::MenuBar(d, 200, items, 0, false)},
                                 {"\"File\" down", sheet::MenuBar(d, 200, items, 0, true)}};
    }));
    e.push_back(Cut("menuitem", [&d] {
        return std::vector<Cell>{
            {"File menu, \"Close\" hot",
             sheet::PopupMenu(d, {"Open", "Close", "-", "Exit"}, 1, kDesk)},
            {"Help menu",
             sheet::PopupMenu(
                 d, {"Application help", "-", "Visit homepage ->", "Support", "-", "About..."}, -1,
                 kDesk)},
            {"skin menu, radio checked",
             sheet::PopupMenu(d, {"*WinAqua", "Winxpblue", "Wistler", "-", "No Skin"}, 2, kDesk)}};
    }));
    e.push_back(Painter("HINTWINDOW", [this] {
        return std::vector<Cell>{{"hint", Hint("Mark the start point")}};
    }));

    e.push_back(Heading("Controls the program paints"));
    e.push_back(Painter("htrackbar", [this] {
        std::vector<Cell> cells;
        for (int v : {0, 50, 100}) {
            auto* t = Make<sk::TskSkinTrackBar>(481, 17);
            t->SetValue(v);
            cells.push_back({"value " + std::to_string(v), t->PaintToBitmap()});
        }
        auto* t = Make<sk::TskSkinTrackBar>(481, 17);
        t->SetValue(60);
        t->UpdateThumbGeometry();
        const rt::TRect tb = t->ThumbBox();
        t->Perform(rt::WM_LBUTTONDOWN, rt::MK_LBUTTON,
                   rt::MakeLParam((tb.Left + tb.Right) / 2, (tb.Top + tb.Bottom) / 2));
        cells.push_back({"dragging", t->PaintToBitmap()});
        return cells;
    }));
    e.push_back(Painter("gauge", [this] {
        std::vector<Cell> cells;
        struct G {
            int v;
            const char* text;
        };
        for (G g : {G{0, ""}, G{40, "Cutting ... Please wait ..."}, G{100, "Succeeded!"}}) {
            auto* c = Make<sk::TskSkinGauge>(532, 17);
            c->SetShowProgressText(true);
            c->SetProgressText(g.text);
            c->SetValue(g.v);
            cells.push_back({std::to_string(g.v) + " %", c->PaintToBitmap()});
        }
        return cells;
    }));
    e.push_back(Painter("panel", [this] {
        auto* lowered = Make<sk::TskSkinPanel>(120, 80);
        lowered->SetBorderStyle(sk::bvLowered);
        auto* none = Make<sk::TskSkinPanel>(120, 80);
        none->SetBorderStyle(sk::bvNone);
        return std::vector<Cell>{{"lowered", lowered->PaintToBitmap()},
                                 {"no border (interior)", none->PaintToBitmap()}};
    }));
    e.push_back(Painter("groupbox", [this] {
        auto* g = Make<sk::TskSkinGroupBox>(180, 80);
        g->SetCaption("Folders");
        auto* c = Make<sk::TskSkinGroupBox>(180, 80);
        c->SetCaption("Show hidden files");
        c->SetCheckedMode(true);
        c->SetChecked(true);
        return std::vector<Cell>{{"caption", g->PaintToBitmap()},
                                 {"check mode, checked", c->PaintToBitmap()}};
    }));
    e.push_back(Painter("label", [this] {
        auto* l = Make<sk::TskSkinLabel>(75, 21);
        l->SetBorderStyle(sk::bvNone);
        l->SetAutoSize(true);
        l->SetCaption("Start Frame");
        return std::vector<Cell>{{"\"Start Frame\"", l->PaintToBitmap()}};
    }));
    e.push_back(Painter("stdlabel", [this] {
        std::vector<Cell> cells;
        for (bool enabled : {true, false}) {
            auto* l = new sk::TskSkinStdLabel(host_.get());
            l->SetParent(host_.get());
            l->SetBounds(0, 0, 130, 20);
            l->SetCaption("File name:");
            l->SetSkinData(data_);
            l->SetEnabled(enabled);
            cells.push_back({enabled ? "enabled" : "disabled", l->PaintToBitmap()});
        }
        return cells;
    }));

    e.push_back(Painter("button", [this] { return PushButtons(); }));
    for (const char* name : {"vscrollbar", "hscrollbar", "bothhscrollbar"})
        e.push_back(Painter(name, [this, name] { return ScrollBars(name); }));
    e.push_back(Painter("expanel", [this] { return RollingPanels(); }));
    e.push_back(Painter("splitter", [this] { return Splitters(); }));
    e.push_back(Painter("bevel", [this] { return Bevels(); }));
    e.push_back(Painter("listview", [this] { return Views(true); }));
    e.push_back(Painter("treeview", [this] { return Views(false); }));

    e.push_back(Painter("toolbutton", [this] {
        std::vector<Cell> cells = ToolButtons<sk::TskSkinSpeedButton>(97, "Mark Start Point", 4);
        for (Cell& c : ToolButtons<sk::TskSkinSpeedButton>(49, "Cut", 3, "\"Cut\" "))
            cells.push_back(std::move(c));
        return cells;
    }));
    e.push_back(Painter("toolmenubutton",
                        [this] { return ToolButtons<sk::TskSkinMenuSpeedButton>(41, "Skin", 4); }));

    e.push_back(Heading("Controls whose painters are still to come"));
    e.push_back(Cut("toolpanel", [&d] {
        return std::vector<Cell>{{"tool bar", sheet::ToolPanel(d, 300)}};
    }));
    e.push_back(Cut("edit", [&d] {
        return std::vector<Cell>{{"normal", sheet::Edit(d, 200, false, "clip.avi")},
                                 {"hot or focused", sheet::Edit(d, 200, true, "clip.avi")}};
    }));
    e.push_back(Cut("combobox", [&d] {
        std::vector<Cell> cells;
        const char* labels[] = {"normal", "button hot", "button down", "disabled"};
        for (int s = 0; s < 4; ++s)
            cells.push_back({labels[s], sheet::ComboBox(d, 200, s, "All files (*.avi,*.mpg)")});
        return cells;
    }));
    e.push_back(Cut("listbox", [&d] {
        return std::vector<Cell>{
            {"items: normal, hot, focused",
             sheet::ListBox(d, 160, 80, {"AVI files", "MPEG files", "All files"})}};
    }));
    e.push_back(Cut("resizebutton", [&d] {
        const std::vector<std::string> h = {"Name", "Size", "Type"};
        return std::vector<Cell>{{"normal", sheet::Headers(d, h, 0)},
                                 {"\"Name\" hot", sheet::Headers(d, h, 1)},
                                 {"\"Name\" down", sheet::Headers(d, h, 2)}};
    }));
    e.push_back(Cut("checkradio", [&d] {
        std::vector<Cell> cells;
        for (bool on : {false, true})
            for (int s : {0, 1, 3})
                cells.push_back(
                    {std::string(on ? "checked " : "unchecked ") + (s == 0   ? "normal"
                                                                    : s == 1 ? "hot"
                                                                             : "disabled"),
                     sheet::CheckRadio(d, 140, on, s, "Show hidden files")});
        return cells;
    }));
    return e;
}

QImage Sheet::Render() {
    const int width = 1260, left = 170, pad = 10;
    std::vector<Entry> entries = BuildSheet();
    // First lay out every row to know the height, then paint.
    struct Placed {
        const Entry* entry;
        std::vector<std::pair<QPoint, Cell>> cells;
        int top, height;
    };
    std::vector<Placed> rows;
    int y = 50;
    for (const Entry& e : entries) {
        Placed p{&e, {}, y, 0};
        if (!e.cells) {
            p.height = 34;
            y += p.height;
            rows.push_back(std::move(p));
            continue;
        }
        int x = left, rowH = 0, top = y;
        for (Cell& c : e.cells()) {
            const int w = std::max(c.image.Width(), 60), h = c.image.Height() + 18;
            if (x > left && x + w > width - pad) {
                top += rowH + pad;
                x = left;
                rowH = 0;
            }
            p.cells.push_back({QPoint(x, top), std::move(c)});
            x += w + 14;
            rowH = std::max(rowH, h);
        }
        p.height = top + rowH - y + pad;
        y += p.height;
        rows.push_back(std::move(p));
    }
    QImage img(width, y + pad, QImage::Format_RGB32);
    img.fill(QColor(kDesk & 255, (kDesk >> 8) & 255, (kDesk >> 16) & 255));
    QPainter p(&img);
    QFont title("Liberation Sans");
    title.setPixelSize(20);
    title.setBold(true);
    QFont small("Liberation Sans");
    small.setPixelSize(11);
    QFont bold = small;
    bold.setBold(true);
    bold.setPixelSize(12);
    p.setFont(title);
    p.setPen(QColor(30, 30, 30));
    p.drawText(pad, 30, QString::fromStdString(data_->SkinName + " - contact sheet"));
    for (const Placed& r : rows) {
        if (!r.entry->cells) {
            QFont h = title;
            h.setPixelSize(15);
            p.setFont(h);
            p.setPen(QColor(30, 30, 30));
            p.drawText(pad, r.top + 24, QString::fromStdString(r.entry->object));
            p.fillRect(pad, r.top + 29, width - 2 * pad, 1, QColor(120, 120, 120));
            continue;
        }
        p.setFont(bold);
        p.setPen(QColor(20, 20, 20));
        p.drawText(pad, r.top + 14, QString::fromStdString(r.entry->object));
        p.setFont(small);
        const bool painter = r.entry->source == Source::Painter;
        p.setPen(painter ? QColor(0, 110, 40) : QColor(150, 80, 0));
        p.drawText(pad, r.top + 29, painter ? "engine painter" : "cut from the pictures");
        for (const auto& [at, cell] : r.cells) {
            p.drawImage(at, ToImage(cell.image));
            p.setPen(QColor(60, 60, 60));
            p.drawText(at.x(), at.y() + cell.image.Height() + 13,
                       QString::fromStdString(cell.label));
        }
    }
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: framora-skinsheet <skin folder or skin.ini> <out.png>\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    rt::TApplication app(argc, argv);
    try {
        fs::path in = argv[1];
        if (fs::is_directory(in)) in /= "skin.ini";
        const fs::path scratch =
            fs::temp_directory_path() / ("framora-skinsheet-" + std::to_string(::getpid()));
        fs::create_directories(scratch);
        QImage img;
        {
            Sheet sheet(in.string(), scratch.string() + "/");
            img = sheet.Render();
        }
        fs::remove_all(scratch);
        if (!img.save(QString::fromStdString(argv[2]), "PNG")) {
            std::fprintf(stderr, "framora-skinsheet: cannot write %s\n", argv[2]);
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "framora-skinsheet: %s\n", e.what());
        return 1;
    }
    return 0;
}
