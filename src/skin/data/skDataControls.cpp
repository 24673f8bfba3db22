#include "skin/data/skDataControls.h"

namespace sk {

using namespace fields;

std::span<const TskField<TskDataSkinControl>> TskDataSkinControl::Fields() {
    using C = TskDataSkinControl;
    static const TskField<C> f[] = {
        X("pictureindex", &C::PictureIndex),
        X("maskpictureindex", &C::MaskPictureIndex),
        R("skinrect", &C::SkinRect),
    };
    return f;
}

std::span<const TskField<TskDataSkinCustomControl>> TskDataSkinCustomControl::Fields() {
    using C = TskDataSkinCustomControl;
    static const TskField<C> f[] = {
        P("lefttoppoint", In(&C::Corners, &TskCornerSet::LeftTop)),
        P("righttoppoint", In(&C::Corners, &TskCornerSet::RightTop)),
        P("leftbottompoint", In(&C::Corners, &TskCornerSet::LeftBottom)),
        P("rightbottompoint", In(&C::Corners, &TskCornerSet::RightBottom)),
        R("clientrect", In(&C::Corners, &TskCornerSet::Client)),
    };
    return f;
}

std::span<const TskField<TskDataSkinPanelControl>> TskDataSkinPanelControl::Fields() {
    using C = TskDataSkinPanelControl;
    static const TskField<C> f[] = {
        X("bgpictureindex", &C::BgPictureIndex),
        R("captionrect", &C::CaptionRect),
        A("alignment", &C::Alignment),
        T("fontname", In(&C::Font, &TskFontDesc::Name), "Arial"),
        I("fontheight", In(&C::Font, &TskFontDesc::Height), "14"),
        F("fontstyle", In(&C::Font, &TskFontDesc::Style)),
        C_("fontcolor", In(&C::Font, &TskFontDesc::Color)),
        R("checkimagerect", &C::CheckImageRect),
        R("uncheckimagerect", &C::UnCheckImageRect),
    };
    return f;
}

std::span<const TskField<TskDataSkinExPanelControl>> TskDataSkinExPanelControl::Fields() {
    using C = TskDataSkinExPanelControl;
    static const TskField<C> f[] = {
        R("rollhskinrect", &C::RollHSkinRect),
        R("rollvskinrect", &C::RollVSkinRect),
        I("rollleftoffset", &C::RollLeftOffset),
        I("rollrightoffset", &C::RollRightOffset),
        I("rolltopoffset", &C::RollTopOffset),
        I("rollbottomoffset", &C::RollBottomOffset),
        R("rollvcaptionrect", &C::RollVCaptionRect),
        R("rollhcaptionrect", &C::RollHCaptionRect),
        R("closebuttonrect", &C::CloseButtonRect),
        R("closebuttonactiverect", &C::CloseButtonActiveRect),
        R("closebuttondownrect", &C::CloseButtonDownRect),
        R("hrollbuttonrect", &C::HRollButtonRect),
        R("hrollbuttonactiverect", &C::HRollButtonActiveRect),
        R("hrollbuttondownrect", &C::HRollButtonDownRect),
        R("hrestorebuttonrect", &C::HRestoreButtonRect),
        R("hrestorebuttonactiverect", &C::HRestoreButtonActiveRect),
        R("hrestorebuttondownrect", &C::HRestoreButtonDownRect),
        R("vrollbuttonrect", &C::VRollButtonRect),
        R("vrollbuttonactiverect", &C::VRollButtonActiveRect),
        R("vrollbuttondownrect", &C::VRollButtonDownRect),
        R("vrestorebuttonrect", &C::VRestoreButtonRect),
        R("vrestorebuttonactiverect", &C::VRestoreButtonActiveRect),
        R("vrestorebuttondownrect", &C::VRestoreButtonDownRect),
        R("captionrect", &C::CaptionRect),
        T("fontname", In(&C::Font, &TskFontDesc::Name), "Arial"),
        I("fontheight", In(&C::Font, &TskFontDesc::Height), "14"),
        F("fontstyle", In(&C::Font, &TskFontDesc::Style)),
        C_("fontcolor", In(&C::Font, &TskFontDesc::Color)),
    };
    return f;
}

std::span<const TskField<TskDataSkinButtonControl>> TskDataSkinButtonControl::Fields() {
    using C = TskDataSkinButtonControl;
    static const TskField<C> f[] = {
        T("fontname", In(&C::Font, &TskFontDesc::Name), "Arial"),
        I("fontheight", In(&C::Font, &TskFontDesc::Height), "14"),
        F("fontstyle", In(&C::Font, &TskFontDesc::Style)),
        C_("fontcolor", In(&C::Font, &TskFontDesc::Color)),
        C_("activefontcolor", In(&C::Font, &TskFontDesc::ActiveColor)),
        C_("downfontcolor", In(&C::Font, &TskFontDesc::DownColor)),
        C_("disabledfontcolor", In(&C::Font, &TskFontDesc::DisabledColor)),
        R("activeskinrect", &C::ActiveSkinRect),
        R("downskinrect", &C::DownSkinRect),
        R("disabledskinrect", &C::DisabledSkinRect),
        B("morphing", &C::Morphing),
        M("morphkind", &C::MorphKind),
    };
    return f;
}

std::span<const TskField<TskDataSkinMenuButtonControl>> TskDataSkinMenuButtonControl::Fields() {
    using C = TskDataSkinMenuButtonControl;
    static const TskField<C> f[] = {R("trackbuttonrect", &C::TrackButtonRect)};
    return f;
}

std::span<const TskField<TskDataSkinCheckRadioControl>> TskDataSkinCheckRadioControl::Fields() {
    using C = TskDataSkinCheckRadioControl;
    static const TskField<C> f[] = {
        T("fontname", In(&C::Font, &TskFontDesc::Name), "Arial"),
        I("fontheight", In(&C::Font, &TskFontDesc::Height), "14"),
        F("fontstyle", In(&C::Font, &TskFontDesc::Style)),
        C_("fontcolor", In(&C::Font, &TskFontDesc::Color)),
        C_("activefontcolor", In(&C::Font, &TskFontDesc::ActiveColor)),
        C_("unenabledfontcolor", In(&C::Font, &TskFontDesc::DisabledColor)),
        C_("framefontcolor", &C::FrameFontColor),
        R("activeskinrect", &C::ActiveSkinRect),
        R("checkimagearea", &C::CheckImageArea),
        R("textarea", &C::TextArea),
        R("checkimagerect", &C::CheckImageRect),
        R("uncheckimagerect", &C::UnCheckImageRect),
        R("activecheckimagerect", &C::ActiveCheckImageRect),
        R("activeuncheckimagerect", &C::ActiveUnCheckImageRect),
        R("unenabledcheckimagerect", &C::UnEnabledCheckImageRect),
        R("unenableduncheckimagerect", &C::UnEnabledUnCheckImageRect),
        B("morphing", &C::Morphing),
        M("morphkind", &C::MorphKind),
    };
    return f;
}

std::span<const TskField<TskDataSkinGaugeControl>> TskDataSkinGaugeControl::Fields() {
    using C = TskDataSkinGaugeControl;
    static const TskField<C> f[] = {
        R("progressarea", &C::ProgressArea),
        R("progressrect", &C::ProgressRect),
        I("beginoffset", &C::BeginOffset),
        I("endoffset", &C::EndOffset),
        B("vertical", &C::Vertical),
        T("fontname", In(&C::Font, &TskFontDesc::Name), "Arial"),
        I("fontheight", In(&C::Font, &TskFontDesc::Height), "14"),
        F("fontstyle", In(&C::Font, &TskFontDesc::Style)),
        C_("fontcolor", In(&C::Font, &TskFontDesc::Color)),
    };
    return f;
}

std::span<const TskField<TskDataSkinTrackBarControl>> TskDataSkinTrackBarControl::Fields() {
    using C = TskDataSkinTrackBarControl;
    static const TskField<C> f[] = {
        R("trackarea", &C::TrackArea),
        R("buttonrect", &C::ButtonRect),
        R("activebuttonrect", &C::ActiveButtonRect),
        B("vertical", &C::Vertical),
    };
    return f;
}

std::span<const TskField<TskDataSkinLabelControl>> TskDataSkinLabelControl::Fields() {
    using C = TskDataSkinLabelControl;
    static const TskField<C> f[] = {
        T("fontname", In(&C::Font, &TskFontDesc::Name), "Arial"),
        I("fontheight", In(&C::Font, &TskFontDesc::Height), "14"),
        F("fontstyle", In(&C::Font, &TskFontDesc::Style)),
        C_("fontcolor", In(&C::Font, &TskFontDesc::Color)),
    };
    return f;
}

std::span<const TskField<TskDataSkinStdLabelControl>> TskDataSkinStdLabelControl::Fields() {
    using C = TskDataSkinStdLabelControl;
    static const TskField<C> f[] = {
        T("fontname", In(&C::Font, &TskFontDesc::Name), "Arial"),
        I("fontheight", In(&C::Font, &TskFontDesc::Height), "14"),
        F("fontstyle", In(&C::Font, &TskFontDesc::Style)),
        C_("fontcolor", In(&C::Font, &TskFontDesc::Color)),
        C_("activefontcolor", In(&C::Font, &TskFontDesc::ActiveColor), "16711680"),
    };
    return f;
}

void TskDataSkinUpDownControl::LoadFromIni(const TskIniFile& ini) {
    TskDescribed::LoadFromIni(ini);
    Corners = TskCornerSet{};
}

std::span<const TskField<TskDataSkinUpDownControl>> TskDataSkinUpDownControl::Fields() {
    using C = TskDataSkinUpDownControl;
    static const TskField<C> f[] = {
        R("upbuttonrect", &C::UpButtonRect),
        R("activeupbuttonrect", &C::ActiveUpButtonRect),
        R("downupbuttonrect", &C::DownUpButtonRect),
        R("downbuttonrect", &C::DownButtonRect),
        R("activedownbuttonrect", &C::ActiveDownButtonRect),
        R("downdownbuttonrect", &C::DownDownButtonRect),
    };
    return f;
}

std::span<const TskField<TskDataSkinGridControl>> TskDataSkinGridControl::Fields() {
    using C = TskDataSkinGridControl;
    static const TskField<C> f[] = {
        R("fixedcellrect", &C::FixedCellRect),
        R("selectcellrect", &C::SelectCellRect),
        R("focuscellrect", &C::FocusCellRect),
        I("fixedcellleftoffset", &C::FixedCellLeftOffset),
        I("fixedcellrightoffset", &C::FixedCellRightOffset),
        R("fixedcelltextrect", &C::FixedCellTextRect),
        I("cellleftoffset", &C::CellLeftOffset),
        I("cellrightoffset", &C::CellRightOffset),
        R("celltextrect", &C::CellTextRect),
        C_("linescolor", &C::LinesColor),
        C_("bgcolor", &C::BgColor),
        T("fontname", In(&C::Font, &TskFontDesc::Name), "Arial"),
        I("fontheight", In(&C::Font, &TskFontDesc::Height), "14"),
        F("fontstyle", In(&C::Font, &TskFontDesc::Style)),
        C_("fontcolor", In(&C::Font, &TskFontDesc::Color)),
        C_("selectfontcolor", In(&C::Font, &TskFontDesc::ActiveColor)),
        C_("focusfontcolor", In(&C::Font, &TskFontDesc::FocusColor)),
        T("fixedfontname", In(&C::FixedFont, &TskFontDesc::Name), "Arial"),
        I("fixedfontheight", In(&C::FixedFont, &TskFontDesc::Height), "14"),
        F("fixedfontstyle", In(&C::FixedFont, &TskFontDesc::Style)),
        C_("fixedfontcolor", In(&C::FixedFont, &TskFontDesc::Color)),
    };
    return f;
}

std::span<const TskField<TskDataSkinTabControl>> TskDataSkinTabControl::Fields() {
    using C = TskDataSkinTabControl;
    static const TskField<C> f[] = {
        R("tabrect", &C::TabRect),
        R("activetabrect", &C::ActiveTabRect),
        R("focustabrect", &C::FocusTabRect),
        R("mouseintabrect", &C::MouseInTabRect),
        R("clientrect", In(&C::Corners, &TskCornerSet::Client)),
        X("bgpictureindex", &C::BgPictureIndex),
        P("lefttoppoint", In(&C::Corners, &TskCornerSet::LeftTop)),
        P("righttoppoint", In(&C::Corners, &TskCornerSet::RightTop)),
        P("leftbottompoint", In(&C::Corners, &TskCornerSet::LeftBottom)),
        P("rightbottompoint", In(&C::Corners, &TskCornerSet::RightBottom)),
        I("tableftoffset", &C::TabLeftOffset),
        I("tabrightoffset", &C::TabRightOffset),
        R("tabsbgrect", &C::TabsBgRect),
        T("fontname", In(&C::Font, &TskFontDesc::Name), "Arial"),
        I("fontheight", In(&C::Font, &TskFontDesc::Height), "14"),
        F("fontstyle", In(&C::Font, &TskFontDesc::Style)),
        C_("fontcolor", In(&C::Font, &TskFontDesc::Color)),
        C_("activefontcolor", In(&C::Font, &TskFontDesc::ActiveColor)),
        C_("focusfontcolor", In(&C::Font, &TskFontDesc::FocusColor)),
        C_("mouseinfontcolor", In(&C::Font, &TskFontDesc::MouseInColor)),
        T("updown", &C::UpDown),
    };
    return f;
}

std::span<const TskField<TskDataSkinMainMenuBar>> TskDataSkinMainMenuBar::Fields() {
    using C = TskDataSkinMainMenuBar;
    static const TskField<C> f[] = {
        R("itemsrect", &C::ItemsRect),
        T("menubaritem", &C::MenuBarItem),
        T("closebutton", &C::CloseButton),
        T("minbutton", &C::MinButton),
        T("maxbutton", &C::MaxButton),
        T("sysmenubutton", &C::SysMenuButton),
        C_("trackmarkcolor", &C::TrackMarkColor),
        C_("trackmarkactivecolor", &C::TrackMarkActiveColor),
    };
    return f;
}

std::span<const TskField<TskDataSkinControlBar>> TskDataSkinControlBar::Fields() {
    using C = TskDataSkinControlBar;
    static const TskField<C> f[] = {
        R("itemrect", &C::ItemRect),
        X("bgpictureindex", &C::BgPictureIndex),
    };
    return f;
}

std::span<const TskField<TskDataSkinEditControl>> TskDataSkinEditControl::Fields() {
    using C = TskDataSkinEditControl;
    static const TskField<C> f[] = {
        R("activeskinrect", &C::ActiveSkinRect),
        T("fontname", In(&C::Font, &TskFontDesc::Name), "Arial"),
        I("fontheight", In(&C::Font, &TskFontDesc::Height), "14"),
        F("fontstyle", In(&C::Font, &TskFontDesc::Style)),
        C_("fontcolor", In(&C::Font, &TskFontDesc::Color)),
        C_("disabledfontcolor", In(&C::Font, &TskFontDesc::DisabledColor)),
        C_("activefontcolor", In(&C::Font, &TskFontDesc::ActiveColor)),
        R("buttonrect", &C::ButtonRect),
        R("activebuttonrect", &C::ActiveButtonRect),
        R("downbuttonrect", &C::DownButtonRect),
        R("unenabledbuttonrect", &C::UnEnabledButtonRect),
    };
    return f;
}

std::span<const TskField<TskDataSkinMemoControl>> TskDataSkinMemoControl::Fields() {
    using C = TskDataSkinMemoControl;
    static const TskField<C> f[] = {
        C_("bgcolor", &C::BgColor),
        C_("activebgcolor", &C::ActiveBgColor),
    };
    return f;
}

std::span<const TskField<TskDataSkinListBox>> TskDataSkinListBox::Fields() {
    using C = TskDataSkinListBox;
    static const TskField<C> f[] = {
        R("itemrect", &C::ItemRect),
        R("activeitemrect", &C::ActiveItemRect),
        R("focusitemrect", &C::FocusItemRect),
        I("itemleftoffset", &C::ItemLeftOffset),
        I("itemrightoffset", &C::ItemRightOffset),
        R("itemtextrect", &C::ItemTextRect),
        T("fontname", In(&C::Font, &TskFontDesc::Name), "Arial"),
        I("fontheight", In(&C::Font, &TskFontDesc::Height), "14"),
        F("fontstyle", In(&C::Font, &TskFontDesc::Style)),
        C_("fontcolor", In(&C::Font, &TskFontDesc::Color)),
        C_("activefontcolor", In(&C::Font, &TskFontDesc::ActiveColor)),
        C_("focusfontcolor", In(&C::Font, &TskFontDesc::FocusColor)),
        R("captionrect", &C::CaptionRect),
        T("captionfontname", In(&C::CaptionFont, &TskFontDesc::Name), "Arial"),
        I("captionfontheight", In(&C::CaptionFont, &TskFontDesc::Height), "14"),
        F("captionfontstyle", In(&C::CaptionFont, &TskFontDesc::Style)),
        C_("captionfontcolor", In(&C::CaptionFont, &TskFontDesc::Color)),
        R("upbuttonrect", &C::UpButtonRect),
        R("activeupbuttonrect", &C::ActiveUpButtonRect),
        R("downupbuttonrect", &C::DownUpButtonRect),
        R("downbuttonrect", &C::DownButtonRect),
        R("activedownbuttonrect", &C::ActiveDownButtonRect),
        R("downdownbuttonrect", &C::DownDownButtonRect),
        R("checkbuttonrect", &C::CheckButtonRect),
        R("activecheckbuttonrect", &C::ActiveCheckButtonRect),
        R("downcheckbuttonrect", &C::DownCheckButtonRect),
        T("vscrollbarname", &C::VScrollBarName, "vscrollbar"),
        T("hscrollbarname", &C::HScrollBarName, "hscrollbar"),
        T("bothhscrollbarname", &C::BothHScrollBarName, "bothhscrollbar"),
    };
    return f;
}

std::span<const TskField<TskDataSkinCheckListBox>> TskDataSkinCheckListBox::Fields() {
    using C = TskDataSkinCheckListBox;
    static const TskField<C> f[] = {
        R("itemcheckrect", &C::ItemCheckRect),
        R("checkimagerect", &C::CheckImageRect),
        R("uncheckimagerect", &C::UnCheckImageRect),
    };
    return f;
}

std::span<const TskField<TskDataSkinComboBox>> TskDataSkinComboBox::Fields() {
    using C = TskDataSkinComboBox;
    static const TskField<C> f[] = {
        R("itemrect", &C::ItemRect),
        R("focusitemrect", &C::FocusItemRect),
        I("itemleftoffset", &C::ItemLeftOffset),
        I("itemrightoffset", &C::ItemRightOffset),
        R("itemtextrect", &C::ItemTextRect),
        T("fontname", In(&C::Font, &TskFontDesc::Name), "Arial"),
        I("fontheight", In(&C::Font, &TskFontDesc::Height), "14"),
        F("fontstyle", In(&C::Font, &TskFontDesc::Style)),
        C_("fontcolor", In(&C::Font, &TskFontDesc::Color)),
        C_("focusfontcolor", In(&C::Font, &TskFontDesc::FocusColor)),
        T("listboxname", &C::ListBoxName),
        R("buttonrect", &C::ButtonRect),
        R("activebuttonrect", &C::ActiveButtonRect),
        R("downbuttonrect", &C::DownButtonRect),
        R("unenabledbuttonrect", &C::UnEnabledButtonRect),
    };
    return f;
}

std::span<const TskField<TskDataSkinScrollBarControl>> TskDataSkinScrollBarControl::Fields() {
    using C = TskDataSkinScrollBarControl;
    static const TskField<C> f[] = {
        R("trackarea", &C::TrackArea),
        R("upbuttonrect", &C::UpButtonRect),
        R("activeupbuttonrect", &C::ActiveUpButtonRect),
        R("downupbuttonrect", &C::DownUpButtonRect),
        R("downbuttonrect", &C::DownButtonRect),
        R("activedownbuttonrect", &C::ActiveDownButtonRect),
        R("downdownbuttonrect", &C::DownDownButtonRect),
        R("thumbrect", &C::ThumbRect),
        R("activethumbrect", &C::ActiveThumbRect),
        R("downthumbrect", &C::DownThumbRect),
        I("thumboffset1", &C::ThumbOffset1),
        I("thumboffset2", &C::ThumbOffset2),
        R("glyphrect", &C::GlyphRect),
        R("activeglyphrect", &C::ActiveGlyphRect),
        R("downglyphrect", &C::DownGlyphRect),
    };
    return f;
}

std::span<const TskField<TskDataSkinSpinEditControl>> TskDataSkinSpinEditControl::Fields() {
    using C = TskDataSkinSpinEditControl;
    static const TskField<C> f[] = {
        T("fontname", In(&C::Font, &TskFontDesc::Name), "Arial"),
        I("fontheight", In(&C::Font, &TskFontDesc::Height), "14"),
        F("fontstyle", In(&C::Font, &TskFontDesc::Style)),
        C_("fontcolor", In(&C::Font, &TskFontDesc::Color)),
        C_("disabledfontcolor", In(&C::Font, &TskFontDesc::DisabledColor)),
        R("upbuttonrect", &C::UpButtonRect),
        R("activeupbuttonrect", &C::ActiveUpButtonRect),
        R("downupbuttonrect", &C::DownUpButtonRect),
        R("downbuttonrect", &C::DownButtonRect),
        R("activedownbuttonrect", &C::ActiveDownButtonRect),
        R("downdownbuttonrect", &C::DownDownButtonRect),
    };
    return f;
}

std::span<const TskField<TskDataSkinScrollBoxControl>> TskDataSkinScrollBoxControl::Fields() {
    using C = TskDataSkinScrollBoxControl;
    static const TskField<C> f[] = {X("bgpictureindex", &C::BgPictureIndex)};
    return f;
}

std::span<const TskField<TskDataSkinTextView>> TskDataSkinTextView::Fields() {
    using C = TskDataSkinTextView;
    static const TskField<C> f[] = {
        T("fontname", In(&C::Font, &TskFontDesc::Name), "Arial"),
        I("fontheight", In(&C::Font, &TskFontDesc::Height), "14"),
        F("fontstyle", In(&C::Font, &TskFontDesc::Style)),
        C_("fontcolor", In(&C::Font, &TskFontDesc::Color)),
        C_("bgcolor", &C::BgColor),
    };
    return f;
}

std::span<const TskField<TskDataSkinBevel>> TskDataSkinBevel::Fields() {
    using C = TskDataSkinBevel;
    static const TskField<C> f[] = {
        C_("lightcolor", &C::LightColor),
        C_("darkcolor", &C::DarkColor),
    };
    return f;
}

std::span<const TskField<TskDataSkinSlider>> TskDataSkinSlider::Fields() {
    using C = TskDataSkinSlider;
    static const TskField<C> f[] = {
        C_("bgcolor", &C::BgColor),         R("hrulerrect", &C::HRulerRect),
        R("hthumbrect", &C::HThumbRect),    R("vrulerrect", &C::VRulerRect),
        R("vthumbrect", &C::VThumbRect),    I("edgesize", &C::EdgeSize),
        C_("pointscolor", &C::PointsColor),
    };
    return f;
}

namespace {
using ControlFactory = std::unique_ptr<TskDataSkinControl> (*)(const std::string&);

template <class C>
std::unique_ptr<TskDataSkinControl> Make(const std::string& name) {
    return std::make_unique<C>(name);
}

struct ControlKind {
    const char* word;
    ControlFactory make;
};

const ControlKind kControlKinds[] = {
    {"panel", Make<TskDataSkinPanelControl>},
    {"expanel", Make<TskDataSkinExPanelControl>},
    {"button", Make<TskDataSkinButtonControl>},
    {"menubutton", Make<TskDataSkinMenuButtonControl>},
    {"checkradio", Make<TskDataSkinCheckRadioControl>},
    {"gauge", Make<TskDataSkinGaugeControl>},
    {"splitter", Make<TskDataSkinSplitterControl>},
    {"trackbar", Make<TskDataSkinTrackBarControl>},
    {"label", Make<TskDataSkinLabelControl>},
    {"stdlabel", Make<TskDataSkinStdLabelControl>},
    {"updown", Make<TskDataSkinUpDownControl>},
    {"grid", Make<TskDataSkinGridControl>},
    {"tab", Make<TskDataSkinTabControl>},
    {"mainmenubar", Make<TskDataSkinMainMenuBar>},
    {"controlbar", Make<TskDataSkinControlBar>},
    {"edit", Make<TskDataSkinEditControl>},
    {"memo", Make<TskDataSkinMemoControl>},
    {"listbox", Make<TskDataSkinListBox>},
    {"checklistbox", Make<TskDataSkinCheckListBox>},
    {"combobox", Make<TskDataSkinComboBox>},
    {"scrollbar", Make<TskDataSkinScrollBarControl>},
    {"spinedit", Make<TskDataSkinSpinEditControl>},
    {"scrollbox", Make<TskDataSkinScrollBoxControl>},
    {"treeview", Make<TskDataSkinTextView>},
    {"listview", Make<TskDataSkinTextView>},
    {"richedit", Make<TskDataSkinTextView>},
    {"bevel", Make<TskDataSkinBevel>},
    {"slider", Make<TskDataSkinSlider>},
};
}  // namespace

std::unique_ptr<TskDataSkinControl> CreateSkinControl(const std::string& kind,
                                                      const std::string& name) {
    for (const ControlKind& k : kControlKinds)
        if (kind == k.word) return k.make(name);
    return nullptr;
}

std::vector<std::string> SkinControlKinds() {
    std::vector<std::string> out;
    for (const ControlKind& k : kControlKinds) out.push_back(k.word);
    return out;
}

}  // namespace sk
