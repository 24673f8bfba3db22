#pragma once
// Control descriptions: one class per kind word of the "SKINCONTROLS" list. Each field is named
// after the key it is read from; a class reads its parent's keys first, then its own.

#include <memory>
#include <string>
#include <vector>

#include "skin/data/skCornerSet.h"
#include "skin/data/skDataFields.h"
#include "skin/data/skFontDesc.h"

namespace sk {

class TskDataSkinControl : public TskDescriptionRoot<TskDataSkinControl> {
public:
    using TskDescriptionRoot::TskDescriptionRoot;

    int PictureIndex = -1;
    int MaskPictureIndex = -1;
    rt::TRect SkinRect;

    static std::span<const TskField<TskDataSkinControl>> Fields();
};

// Controls whose picture is cut into corners, edges and a client area fitted to their size.
class TskDataSkinCustomControl : public TskDescribed<TskDataSkinCustomControl, TskDataSkinControl> {
public:
    using TskDescribed::TskDescribed;
    TskCornerSet Corners;
    static std::span<const TskField<TskDataSkinCustomControl>> Fields();
};

class TskDataSkinPanelControl
    : public TskDescribed<TskDataSkinPanelControl, TskDataSkinCustomControl> {
public:
    using TskDescribed::TskDescribed;
    int BgPictureIndex = -1;
    rt::TRect CaptionRect;
    TskAlignment Alignment = taCenter;
    TskFontDesc Font;
    rt::TRect CheckImageRect, UnCheckImageRect;
    static std::span<const TskField<TskDataSkinPanelControl>> Fields();
};

class TskDataSkinExPanelControl
    : public TskDescribed<TskDataSkinExPanelControl, TskDataSkinCustomControl> {
public:
    using TskDescribed::TskDescribed;
    rt::TRect RollHSkinRect, RollVSkinRect;
    int RollLeftOffset = 0, RollRightOffset = 0, RollTopOffset = 0, RollBottomOffset = 0;
    rt::TRect RollVCaptionRect, RollHCaptionRect;
    rt::TRect CloseButtonRect, CloseButtonActiveRect, CloseButtonDownRect;
    rt::TRect HRollButtonRect, HRollButtonActiveRect, HRollButtonDownRect;
    rt::TRect HRestoreButtonRect, HRestoreButtonActiveRect, HRestoreButtonDownRect;
    rt::TRect VRollButtonRect, VRollButtonActiveRect, VRollButtonDownRect;
    rt::TRect VRestoreButtonRect, VRestoreButtonActiveRect, VRestoreButtonDownRect;
    rt::TRect CaptionRect;
    TskFontDesc Font;
    static std::span<const TskField<TskDataSkinExPanelControl>> Fields();
};

class TskDataSkinButtonControl
    : public TskDescribed<TskDataSkinButtonControl, TskDataSkinCustomControl> {
public:
    using TskDescribed::TskDescribed;
    TskFontDesc Font;
    rt::TRect ActiveSkinRect, DownSkinRect, DisabledSkinRect;
    bool Morphing = false;
    TskMorphKind MorphKind = mkDefault;
    static std::span<const TskField<TskDataSkinButtonControl>> Fields();
};

class TskDataSkinMenuButtonControl
    : public TskDescribed<TskDataSkinMenuButtonControl, TskDataSkinButtonControl> {
public:
    using TskDescribed::TskDescribed;
    rt::TRect TrackButtonRect;
    static std::span<const TskField<TskDataSkinMenuButtonControl>> Fields();
};

class TskDataSkinCheckRadioControl
    : public TskDescribed<TskDataSkinCheckRadioControl, TskDataSkinCustomControl> {
public:
    using TskDescribed::TskDescribed;
    TskFontDesc Font;
    int FrameFontColor = 0;  // read and kept; nothing paints with it yet
    rt::TRect ActiveSkinRect, CheckImageArea, TextArea, CheckImageRect, UnCheckImageRect,
        ActiveCheckImageRect, ActiveUnCheckImageRect, UnEnabledCheckImageRect,
        UnEnabledUnCheckImageRect;
    bool Morphing = false;
    TskMorphKind MorphKind = mkDefault;
    static std::span<const TskField<TskDataSkinCheckRadioControl>> Fields();
};

class TskDataSkinGaugeControl
    : public TskDescribed<TskDataSkinGaugeControl, TskDataSkinCustomControl> {
public:
    using TskDescribed::TskDescribed;
    rt::TRect ProgressArea, ProgressRect;
    int BeginOffset = 0, EndOffset = 0;
    bool Vertical = false;
    TskFontDesc Font;
    static std::span<const TskField<TskDataSkinGaugeControl>> Fields();
};

class TskDataSkinSplitterControl : public TskDataSkinCustomControl {
public:
    using TskDataSkinCustomControl::TskDataSkinCustomControl;
};

class TskDataSkinTrackBarControl
    : public TskDescribed<TskDataSkinTrackBarControl, TskDataSkinCustomControl> {
public:
    using TskDescribed::TskDescribed;
    rt::TRect TrackArea, ButtonRect, ActiveButtonRect;
    bool Vertical = false;
    static std::span<const TskField<TskDataSkinTrackBarControl>> Fields();
};

class TskDataSkinLabelControl
    : public TskDescribed<TskDataSkinLabelControl, TskDataSkinCustomControl> {
public:
    using TskDescribed::TskDescribed;
    TskFontDesc Font;
    static std::span<const TskField<TskDataSkinLabelControl>> Fields();
};

class TskDataSkinStdLabelControl
    : public TskDescribed<TskDataSkinStdLabelControl, TskDataSkinControl> {
public:
    using TskDescribed::TskDescribed;
    TskFontDesc Font = [] {
        TskFontDesc font;
        font.ActiveColor = 16711680;
        return font;
    }();
    static std::span<const TskField<TskDataSkinStdLabelControl>> Fields();
};

// Reads the custom-control keys like its siblings, but always has zero corner points and an
// empty client rectangle.
class TskDataSkinUpDownControl
    : public TskDescribed<TskDataSkinUpDownControl, TskDataSkinCustomControl> {
public:
    using TskDescribed::TskDescribed;
    rt::TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect,
        ActiveDownButtonRect, DownDownButtonRect;
    void LoadFromIni(const TskIniFile& ini) override;
    static std::span<const TskField<TskDataSkinUpDownControl>> Fields();
};

class TskDataSkinGridControl : public TskDescribed<TskDataSkinGridControl, TskDataSkinControl> {
public:
    using TskDescribed::TskDescribed;
    rt::TRect FixedCellRect, SelectCellRect, FocusCellRect;
    int FixedCellLeftOffset = 0, FixedCellRightOffset = 0;
    rt::TRect FixedCellTextRect;
    int CellLeftOffset = 0, CellRightOffset = 0;
    rt::TRect CellTextRect;
    int LinesColor = 0, BgColor = 0;
    TskFontDesc Font;
    TskFontDesc FixedFont;
    static std::span<const TskField<TskDataSkinGridControl>> Fields();
};

class TskDataSkinTabControl : public TskDescribed<TskDataSkinTabControl, TskDataSkinControl> {
public:
    using TskDescribed::TskDescribed;
    rt::TRect TabRect, ActiveTabRect, FocusTabRect, MouseInTabRect;
    int BgPictureIndex = -1;
    TskCornerSet Corners;
    int TabLeftOffset = 0, TabRightOffset = 0;
    rt::TRect TabsBgRect;
    TskFontDesc Font;
    std::string UpDown;  // name of an "updown" control object
    static std::span<const TskField<TskDataSkinTabControl>> Fields();
};

// The menu bar as a control; its item and button names refer to "SKINOBJECTS" entries.
class TskDataSkinMainMenuBar : public TskDescribed<TskDataSkinMainMenuBar, TskDataSkinControl> {
public:
    using TskDescribed::TskDescribed;
    rt::TRect ItemsRect;
    std::string MenuBarItem, CloseButton, MinButton, MaxButton, SysMenuButton;
    int TrackMarkColor = 0, TrackMarkActiveColor = 0;
    static std::span<const TskField<TskDataSkinMainMenuBar>> Fields();
};

class TskDataSkinControlBar : public TskDescribed<TskDataSkinControlBar, TskDataSkinCustomControl> {
public:
    using TskDescribed::TskDescribed;
    rt::TRect ItemRect;
    int BgPictureIndex = -1;
    static std::span<const TskField<TskDataSkinControlBar>> Fields();
};

class TskDataSkinEditControl
    : public TskDescribed<TskDataSkinEditControl, TskDataSkinCustomControl> {
public:
    using TskDescribed::TskDescribed;
    rt::TRect ActiveSkinRect;
    TskFontDesc Font;
    rt::TRect ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
    static std::span<const TskField<TskDataSkinEditControl>> Fields();
};

class TskDataSkinMemoControl : public TskDescribed<TskDataSkinMemoControl, TskDataSkinEditControl> {
public:
    using TskDescribed::TskDescribed;
    int BgColor = 0, ActiveBgColor = 0;
    static std::span<const TskField<TskDataSkinMemoControl>> Fields();
};

class TskDataSkinListBox : public TskDescribed<TskDataSkinListBox, TskDataSkinCustomControl> {
public:
    using TskDescribed::TskDescribed;
    rt::TRect ItemRect, ActiveItemRect, FocusItemRect;
    int ItemLeftOffset = 0, ItemRightOffset = 0;
    rt::TRect ItemTextRect;
    TskFontDesc Font;
    rt::TRect CaptionRect;
    TskFontDesc CaptionFont;
    rt::TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect,
        ActiveDownButtonRect, DownDownButtonRect, CheckButtonRect, ActiveCheckButtonRect,
        DownCheckButtonRect;
    std::string VScrollBarName, HScrollBarName, BothHScrollBarName;
    static std::span<const TskField<TskDataSkinListBox>> Fields();
};

class TskDataSkinCheckListBox : public TskDescribed<TskDataSkinCheckListBox, TskDataSkinListBox> {
public:
    using TskDescribed::TskDescribed;
    rt::TRect ItemCheckRect, CheckImageRect, UnCheckImageRect;
    static std::span<const TskField<TskDataSkinCheckListBox>> Fields();
};

class TskDataSkinComboBox : public TskDescribed<TskDataSkinComboBox, TskDataSkinCustomControl> {
public:
    using TskDescribed::TskDescribed;
    rt::TRect ItemRect, FocusItemRect;
    int ItemLeftOffset = 0, ItemRightOffset = 0;
    rt::TRect ItemTextRect;
    TskFontDesc Font;
    std::string ListBoxName;
    rt::TRect ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
    static std::span<const TskField<TskDataSkinComboBox>> Fields();
};

class TskDataSkinScrollBarControl
    : public TskDescribed<TskDataSkinScrollBarControl, TskDataSkinCustomControl> {
public:
    using TskDescribed::TskDescribed;
    rt::TRect TrackArea, UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect,
        ActiveDownButtonRect, DownDownButtonRect, ThumbRect, ActiveThumbRect, DownThumbRect;
    int ThumbOffset1 = 0, ThumbOffset2 = 0;
    rt::TRect GlyphRect, ActiveGlyphRect, DownGlyphRect;
    static std::span<const TskField<TskDataSkinScrollBarControl>> Fields();
};

class TskDataSkinSpinEditControl
    : public TskDescribed<TskDataSkinSpinEditControl, TskDataSkinCustomControl> {
public:
    using TskDescribed::TskDescribed;
    TskFontDesc Font;
    rt::TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect,
        ActiveDownButtonRect, DownDownButtonRect;
    static std::span<const TskField<TskDataSkinSpinEditControl>> Fields();
};

class TskDataSkinScrollBoxControl
    : public TskDescribed<TskDataSkinScrollBoxControl, TskDataSkinCustomControl> {
public:
    using TskDescribed::TskDescribed;
    int BgPictureIndex = -1;
    static std::span<const TskField<TskDataSkinScrollBoxControl>> Fields();
};

// Tree view, list view and rich edit: one description, read by three kind words.
class TskDataSkinTextView : public TskDescribed<TskDataSkinTextView, TskDataSkinControl> {
public:
    using TskDescribed::TskDescribed;
    TskFontDesc Font;
    int BgColor = 0;
    static std::span<const TskField<TskDataSkinTextView>> Fields();
};
using TskDataSkinTreeView = TskDataSkinTextView;
using TskDataSkinListView = TskDataSkinTextView;
using TskDataSkinRichEdit = TskDataSkinTextView;

class TskDataSkinBevel : public TskDescribed<TskDataSkinBevel, TskDataSkinControl> {
public:
    using TskDescribed::TskDescribed;
    int LightColor = 0, DarkColor = 0;
    static std::span<const TskField<TskDataSkinBevel>> Fields();
};

class TskDataSkinSlider : public TskDescribed<TskDataSkinSlider, TskDataSkinControl> {
public:
    using TskDescribed::TskDescribed;
    int BgColor = 0;
    rt::TRect HRulerRect, HThumbRect, VRulerRect, VThumbRect;
    int EdgeSize = 0;
    int PointsColor = 0;
    static std::span<const TskField<TskDataSkinSlider>> Fields();
};

// The description class of a "SKINCONTROLS" kind word (compared exactly), or null for a word
// that names no class.
std::unique_ptr<TskDataSkinControl> CreateSkinControl(const std::string& kind,
                                                      const std::string& name);
// Every kind word of the list, in table order.
std::vector<std::string> SkinControlKinds();

}  // namespace sk
