#pragma once
// The skinned tree view and list view: the class library's views with colours and font from a
// "treeview" / "listview" description, two external skinned scroll bars kept in step with the
// view's own (hidden) scroll state, and, for the list view, column headers painted from a
// button description ("resizebutton").
//
// The bars are placed by whoever owns the view (usually aligned beside it); the view shows and
// hides them, gives them range, page and position, and scrolls when they move:
//   tree view            vertical in rows, horizontal in pixels
//   list, report style   vertical in rows (one step a row), horizontal in pixels
//   list, list style     no vertical bar; horizontal in columns, one line message per step
//   list, icon styles    both in pixels, steps of half an item
// When a bar shows or hides, an aligned view's parent lays its children out again.

#include <string>

#include "runtime/ComCtrls.h"
#include "skin/controls/skSkinCtrls.h"
#include "skin/controls/skSkinScrollBar.h"

namespace sk {

template <class View>
class TskSkinViewT : public View, public TskSkinnable {
public:
    explicit TskSkinViewT(rt::TComponent* owner, const std::string& skinDataName);
    ~TskSkinViewT() override;

    TskSkinData* SkinData() const override { return skinData_; }
    // Stores the reference; a skin data object that holds a skin is applied at once.
    void SetSkinData(TskSkinData* value);
    const std::string& SkinDataName() const { return skinDataName_; }
    void SetSkinDataName(const std::string& name);
    // Index of the description in the held skin, -1 without one.
    int SkinIndex() const { return held_.Index(); }

    const rt::TFont& DefaultFont() const { return defaultFont_; }
    void SetDefaultFont(const rt::TFont& font);
    rt::TColor DefaultColor() const { return defaultColor_; }
    void SetDefaultColor(rt::TColor color);
    bool UseSkinFont() const { return useSkinFont_; }
    void SetUseSkinFont(bool value);

    TskSkinScrollBar* VScrollBar() const { return vBar_; }
    void SetVScrollBar(TskSkinScrollBar* bar);
    TskSkinScrollBar* HScrollBar() const { return hBar_; }
    void SetHScrollBar(TskSkinScrollBar* bar);

    // Reads the skin again: colours and font, then the bars.
    void ApplySkin() override;
    // Shows, hides and sets the bars from the view's scroll state. The views' own; nothing
    // while the shared part is still being built (the platform view already reports).
    virtual void UpdateScrollBars() {}

    void WndProc(rt::TMessage& message) override;

protected:
    void Notification(rt::TComponent* component, rt::TOperation operation) override;
    void ViewScrolled() override;
    // The bar moved: scroll the view by the difference to the last position it gave.
    virtual void BarScrolled(TskSkinScrollBar& bar) { (void)bar; }
    // Reads what the skin gives besides colours and font (the list view's header).
    virtual void ReadMoreSkin() {}
    // Shows or hides a bar; a shown bar gets the range and steps. Returns whether its
    // visibility changed.
    bool SetBar(TskSkinScrollBar* bar, bool show, const rt::TScrollInfo& info, int page,
                int smallChange, int largeChange);
    // After SetBar calls: the horizontal bar's corner square, and the parent's layout when a
    // bar came or went.
    void FinishBars(bool changed);

    TskHeldSkin held_;
    int lastVPos_ = 0, lastHPos_ = 0;
    bool busy_ = false;
    int settling_ = 0;

private:
    TskSkinData* skinData_ = nullptr;
    std::string skinDataName_;
    rt::TFont defaultFont_;
    rt::TColor defaultColor_ = rt::clWindow;
    bool useSkinFont_ = true;
    TskSkinScrollBar* vBar_ = nullptr;
    TskSkinScrollBar* hBar_ = nullptr;
};

extern template class TskSkinViewT<rt::TCustomTreeView>;
extern template class TskSkinViewT<rt::TCustomListView>;

class TskSkinCustomTreeView : public TskSkinViewT<rt::TCustomTreeView> {
public:
    explicit TskSkinCustomTreeView(rt::TComponent* owner);
    void UpdateScrollBars() override;

protected:
    void BarScrolled(TskSkinScrollBar& bar) override;
};

class TskSkinTreeView : public TskSkinCustomTreeView {
public:
    using TskSkinCustomTreeView::TskSkinCustomTreeView;
};

class TskSkinCustomListView : public TskSkinViewT<rt::TCustomListView> {
public:
    explicit TskSkinCustomListView(rt::TComponent* owner);

    const std::string& HeaderSkinDataName() const { return headerSkinDataName_; }
    void SetHeaderSkinDataName(const std::string& name);
    // Index of the header's description in the held skin, -1 without one.
    int HeaderSkinIndex() const { return header_ != nullptr ? headerHeld_.Index() : -1; }

    void UpdateScrollBars() override;
    void WndProc(rt::TMessage& message) override;

protected:
    void BarScrolled(TskSkinScrollBar& bar) override;
    void ReadMoreSkin() override;
    void PaintHeader(rt::TCanvas& canvas) override;

private:
    // One section's face, as big as the section, pressed or not.
    void PaintSection(rt::TBitmap& face, bool pressed) const;
    void PaintSectionText(rt::TCanvas& canvas, const rt::TRect& r, int column,
                          rt::TColor color) const;

    std::string headerSkinDataName_ = "resizebutton";
    TskHeldSkin headerHeld_;
    const TskDataSkinButtonControl* header_ = nullptr;
    const rt::TBitmap* headerPicture_ = nullptr;
    rt::TRect headerActiveRect_, headerDownRect_;
    bool barScrolling_ = false;
};

// The list view with its properties published.
class TskSkinListView : public TskSkinCustomListView {
public:
    using TskSkinCustomListView::TskSkinCustomListView;
};

}  // namespace sk
