#pragma once
// A skin style: the measures and colours of one look, and the painters that draw each kind of
// object in each state. The builder (SkinBuilder.cpp) owns the geometry and asks the style only
// to paint into rectangles it has placed; the base class paints generically from the style's
// looks, and each built-in style overrides what makes it recognisable.

#include <array>
#include <string>

#include "Art.h"

namespace skinart {

enum St { kNormal = 0, kHot = 1, kDown = 2, kDisabled = 3 };

// The window frame: sizes in pixels of the main picture.
struct FrameSpec {
    int pw = 160;              // picture width (also the smallest window width)
    int clientH = 40;          // rows of client background in the picture (even: stripes tile)
    int capH = 24;             // caption band, the top strip
    int border = 4;            // left, right and bottom borders
    int rTop = 6;              // radius of the rounded top corners of the window shape
    int rBottom = 0;           // and of the bottom corners
    int corner = 12;           // fixed corner width of the top and bottom strips
    int btnW = 16, btnH = 16;  // caption buttons
    int btnTop = 4;            // row of the caption buttons
    int btnGap = 2;            // pixels between caption buttons
    bool buttonsLeft = false;  // caption buttons at the left end
    int sysW = 16, sysH = 16;  // system-menu button
    int captionInset = 6;      // caption area inset from the window's sides
    int ph() const { return capH + clientH + border; }
};

enum class CapKind { Close, Maximize, Minimize, RollUp, SysMenu };

class Style {
public:
    virtual ~Style() = default;

    std::string Name, Comments;
    FrameSpec Frame;
    std::string InactiveEffect = "iebrightness";

    // Fonts: "fontheight" values (character cell heights; 14 draws 12-pixel Arial, 12 draws
    // 11-pixel) and style words.
    int FontHeight = 14;
    int ToolFontHeight = 12;
    std::string CaptionFontStyle = "fsbold";
    std::string LabelFontStyle;
    std::string GroupFontStyle = "fsbold";
    std::string CaptionAlignment = "tacenter";
    bool CaptionShadow = false;
    QColor CaptionText, CaptionTextInactive, CaptionShadowActive, CaptionShadowInactive;
    bool CaptionTextFrame = false;  // a soft pill behind the title

    // Heights of the controls the main window lays out.
    int MenuBarH = 22, BarItemTop = 2, BarItemH = 18;
    int LabelH = 18, TrackH = 17, GaugeH = 17, ButtonH = 25;
    int MenuItemH = 20, DividerH = 7, MenuGutter = 0, PopupBorder = 3, PopupRadius = 4;
    int HintRadius = 3;
    // Fixed columns at either end of the gauge's fill piece (its rounded ends fit in them).
    int GaugeFillEnds = 3;
    int ScrollT = 17;

    // Colours.
    QColor Text, TextHot, TextDown, TextDisabled;
    QColor ToolText, ToolTextHot, ToolTextDown, ToolTextDisabled;
    QColor Window, WindowText, Selection, SelectionText, ItemHot;
    QColor FieldBorder, FieldBorderActive, FieldShadow;
    QColor BevelLight, BevelDark;
    QColor BarText, BarTextHot, BarTextDown, BarTextDisabled;
    QColor MenuBg, MenuBorder, MenuText, MenuTextHot, MenuTextDisabled, MenuLine, MenuGutterBg;
    QColor ScrollMarker, ScrollMarkerActive, TrackMark, TrackMarkActive;
    QColor HintBg, HintBorder, HintText;
    QColor LabelText, GaugeText, GroupText, PanelText, HeaderText, HeaderTextDown;
    QColor Outline;

    // Looks by state (normal, hot, down, disabled).
    std::array<Look, 4> Push, Tool, CapButton, CloseButton;
    std::array<Look, 3> ScrollButton, Thumb, Header, BarItem;
    Look MenuHot, TrackThumb, TrackThumbActive, CheckBox, CheckBoxHot, CheckBoxDisabled;
    double PushRadius = 6, ToolRadius = 4, CapRadius = 3, ScrollRadius = 3, ThumbRadius = 4;
    double BarItemRadius = 3, MenuHotRadius = 3, CheckRadius = 2;

    // Row colours: of the client background (row 0 = the client's top), of the caption band
    // (row 0 = the window's top), of bars (menu bar, tool panel, status bar: y of h rows).
    virtual QColor ClientRow(int y) const = 0;
    virtual QColor CaptionRow(int y) const = 0;
    // The frame's border at distance d (1 ..) from the window's outer edge.
    virtual QColor BorderAt(int d) const = 0;
    virtual QColor BarRow(int y, int h) const = 0;
    // Extra lines on the frame picture (content is the whole picture, outline not yet drawn).
    virtual void DecorateFrame(QImage& content) const;

    virtual void CaptionButton(QPainter& p, const QRectF& r, CapKind kind, GlyphKind glyph,
                               St s) const;
    virtual void PushButton(QPainter& p, const QRectF& r, St s) const;
    virtual void ToolButton(QPainter& p, const QRectF& r, St s) const;
    // The drop-down arrow of the menu tool button, in its arrow part.
    virtual void MenuArrow(QPainter& p, const QRectF& r, St s) const;
    virtual void Field(QPainter& p, const QRectF& r, bool active, bool disabled) const;
    virtual void PanelFrame(QPainter& p, const QRectF& r) const;
    virtual void GroupFrame(QPainter& p, const QRectF& r, int captionH) const;
    virtual void TrackGroove(QPainter& p, const QRectF& r) const;
    virtual void TrackThumbShape(QPainter& p, const QRectF& r, bool active) const;
    virtual void GaugeTrough(QPainter& p, const QRectF& r) const;
    // The fill piece: `b` fixed columns, the tile, `e` fixed columns.
    virtual void GaugeFill(QImage& img, const R& piece, int b, int e) const;
    virtual void ScrollTrack(QPainter& p, const QRectF& r, bool vertical) const;
    virtual void ScrollArrow(QPainter& p, const QRectF& r, GlyphKind arrow, St s) const;
    virtual void ScrollThumb(QPainter& p, const QRectF& r, bool vertical, St s) const;
    virtual void HeaderSection(QPainter& p, const QRectF& r, St s) const;
    virtual void BarHighlight(QPainter& p, const QRectF& r, St s) const;
    virtual void PopupWindow(QPainter& p, const QRectF& r) const;
    virtual void MenuItem(QPainter& p, const QRectF& r, bool hot) const;
    virtual void MenuDivider(QPainter& p, const QRectF& r) const;
    virtual void HintWindow(QPainter& p, const QRectF& r) const;
    virtual void Check(QPainter& p, const QRectF& r, bool checked, St s) const;
    virtual void CaptionBar(QPainter& p, const QRectF& r, bool vertical) const;
    virtual void SmallButton(QPainter& p, const QRectF& r, GlyphKind glyph, St s) const;
    virtual void Splitter(QPainter& p, const QRectF& r, bool vertical) const;
    virtual void TitleFrame(QPainter& p, const QRectF& r, bool active) const;
};

}  // namespace skinart
