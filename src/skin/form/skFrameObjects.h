#pragma once
// The live objects of a skinned window frame: caption, caption buttons, free buttons that drop
// a menu down, and areas the application paints itself. Each knows where its looks are in the
// skin pictures and where it sits on the window, keeps its hover, press and morph state, and
// draws itself onto a canvas the form hands it. The form owns them, lays them out, routes the
// mouse to them and runs the morph timer; the objects call back through TskFormHost.

#include <memory>
#include <string>
#include <vector>

#include "runtime/Graphics.h"
#include "skin/data/skDataObjects.h"
#include "skin/data/skEffects.h"
#include "skin/data/skTypes.h"
#include "skin/form/skFormHost.h"

namespace rt {
class TMenuItem;
}

namespace sk {

class TskSkinData;

class TskActiveSkinObject {
public:
    // description may be null (a standard button of the default frame). When the description's
    // active picture does not exist, its active look is cleared for every later object too.
    TskActiveSkinObject(TskFormHost& form, TskSkinData* skinData, TskDataSkinObject* description);
    virtual ~TskActiveSkinObject() = default;
    TskActiveSkinObject(const TskActiveSkinObject&) = delete;
    TskActiveSkinObject& operator=(const TskActiveSkinObject&) = delete;

    TskFormHost& Form;
    double MorphLevel = 0;  // 0 normal look .. 1 active look
    bool CursorInside = false;
    const rt::TBitmap* Picture = nullptr;     // the skin's main picture
    const rt::TBitmap* HotPicture = nullptr;  // the active picture, or none
    TskSkinData* SkinData = nullptr;
    std::string IDName;
    std::string Hint;
    rt::TRect NormalLookRect;  // in Picture (HotPicture when SkinRectInAPicture)
    rt::TRect HotLookRect;     // in HotPicture; empty without one
    rt::TRect ObjectRect;      // window coordinates
    bool Active = false;
    bool MorphEnabled = false;
    bool Enabled = true;
    bool Visible = true;
    // True: the look comes from HotPicture and the caption-button layout places the object.
    // False: the frame picture shows its normal look and the corner mapping places it.
    bool SkinRectInAPicture = false;
    TskMorphKind MorphStyle = mkDefault;

    // True while a morph step remains toward the look of the current Active state.
    virtual bool CanMorphing() const;
    // Paints at ObjectRect. upDate true: the frame behind is not being repainted with it.
    virtual void Draw(rt::TCanvas& canvas, bool upDate);
    virtual void DblClick() {}
    virtual void MouseDown(int x, int y, int button);
    virtual void MouseUp(int x, int y, int button);
    virtual void MouseMove(int x, int y);
    virtual void MouseEnter();
    virtual void MouseLeave();

    // Morphing objects start the form's morph timer; others are painted at once.
    void ReDraw();
    // One step of 0.1 toward the current look, then a paint.
    void DoMorphing();
    void SetMorphKf(double value);

protected:
    // A morph frame is drawn while the level has not reached the current state's end value.
    bool MorphInProgress() const { return MorphEnabled && CanMorphing(); }
    // The normal look (normalRect of normalPicture), the active look (activeRect of HotPicture)
    // or a morph frame between them, at ObjectRect. normalInFrame: the frame picture already
    // shows the normal look, so a full frame paint skips it.
    void DrawLooks(rt::TCanvas& canvas, bool upDate, const rt::TBitmap* normalPicture,
                   const rt::TRect& normalRect, const rt::TRect& activeRect, bool normalInFrame);
    // Draws the morph of the two images (each of ObjectRect's size) at ObjectRect.
    void DrawMorph(rt::TCanvas& canvas, const rt::TBitmap& normal, const rt::TBitmap& active,
                   bool inactiveEffect) const;
    void CopyLook(rt::TCanvas& canvas, const rt::TBitmap* picture, const rt::TRect& rect) const;
};

// An area of the frame the application paints through the form's OnPaintEvent.
class TskUserObject : public TskActiveSkinObject {
public:
    using TskActiveSkinObject::TskActiveSkinObject;
    void Draw(rt::TCanvas& canvas, bool upDate) override;
};

class TskSkinButtonObject : public TskActiveSkinObject {
public:
    TskSkinButtonObject(TskFormHost& form, TskSkinData* skinData, TskDataSkinButton* description);

    bool Down = false;
    bool PopupUp = false;
    rt::TRect DisableSkinRect;  // in HotPicture
    rt::TRect PressedLookRect;  // in HotPicture
    rt::TMenuItem* MenuItem = nullptr;

    bool CanMorphing() const override;
    void Draw(rt::TCanvas& canvas, bool upDate) override;
    void MouseDown(int x, int y, int button) override;
    void MouseUp(int x, int y, int button) override;
    void MouseEnter() override;
    void MouseLeave() override;

    void SetDown(bool value);

protected:
    // Drops MenuItem's sub-items down when it has any.
    void DropDownMenu();
    // True while the button's menu is open.
    bool MenuOpenFromHere() const { return MenuItem != nullptr && Down; }
};

// A caption button bound to a window command. Without a description it paints the default
// look: a flat button with a glyph.
class TskSkinStdButtonObject : public TskSkinButtonObject {
public:
    TskSkinStdButtonObject(TskFormHost& form, TskSkinData* skinData,
                           TskDataSkinStdButton* description);
    // A button of the default frame.
    TskSkinStdButtonObject(TskFormHost& form, const std::string& name, TskStdCommand command);

    bool HasSkin = true;
    TskStdCommand Command = cmDefault;
    rt::TRect RestoreRect;
    rt::TRect RestoreActiveRect;
    rt::TRect RestoreInActiveRect;
    rt::TRect RestoreDownRect;

    // Maximize while maximized, minimize while minimized, roll-up while rolled up.
    bool RestoreMeaning() const;
    // The system-menu button shows the form's icon instead of its look.
    bool ShowsIcon() const;

    bool CanMorphing() const override;
    void Draw(rt::TCanvas& canvas, bool upDate) override;
    void DblClick() override;
    void MouseEnter() override;
    void MouseDown(int x, int y, int button) override;
    void MouseUp(int x, int y, int button) override;

private:
    void RunCommand();
    void DrawDefault(rt::TCanvas& canvas);
};

// The glyph shapes of the default-look caption buttons.
enum class TskDefaultGlyph { Close, Maximize, Restore, Minimize, SystemMenu, RollUp, RollDown };
// Draws a glyph in its 10 x 10 cell with the origin (x, y); background fills the inside of the
// front box of the restore glyph.
void DrawDefaultGlyph(rt::TCanvas& canvas, TskDefaultGlyph glyph, int x, int y, rt::TColor color,
                      rt::TColor background);

class TskSkinCaptionObject : public TskActiveSkinObject {
public:
    TskSkinCaptionObject(TskFormHost& form, TskSkinData* skinData, TskDataSkinCaption* description);

    TskFontDesc Font;  // Normal for the inactive form, Active for the active one
    rt::TColor ShadowColor = 0;
    rt::TColor ActiveShadowColor = 0;
    bool Shadow = false;
    TskAlignment Alignment = taCenter;
    rt::TRect TextRect;  // relative to NormalLookRect
    rt::TRect FrameRect;
    rt::TRect ActiveFrameRect;
    int FrameLeftOffset = 0;
    int FrameRightOffset = 0;
    rt::TRect FrameTextRect;

    void Draw(rt::TCanvas& canvas, bool upDate) override;
    void MouseDown(int x, int y, int button) override;
    void MouseUp(int x, int y, int button) override;
    void MouseEnter() override;
    void MouseLeave() override;

    // The text rectangle for the current ObjectRect, relative to ObjectRect's top-left.
    rt::TRect WorkingTextRect() const;
    // The caption's text, shortened with "..." to the text rectangle, in the caption's font.
    std::string ShownText(rt::TCanvas& canvas) const;
    // The caption background of ObjectRect's size from source in picture, with the text.
    void BuildImage(rt::TBitmap& image, const rt::TBitmap* picture, const rt::TRect& source,
                    rt::TColor ink, bool active) const;
    // Draws the text (with its frame picture and shadow) with the text rectangle's origin at
    // (originX, originY).
    void DrawText(rt::TCanvas& canvas, int originX, int originY, rt::TColor ink, bool active) const;
};

// One object per frame description of the skin, in the skin's order; menu items, menu-bar
// items and menu-bar buttons belong to the menus and are skipped.
std::vector<std::unique_ptr<TskActiveSkinObject>> CreateFrameObjects(TskFormHost& form,
                                                                     TskSkinData& skin);

// The skin's inactive-window effect with its fixed strength.
void ApplyInactiveEffect(TskEffectBmp& image, TskInactiveEffect effect);

}  // namespace sk
