#include <gtest/gtest.h>

#include <memory>

#include "runtime/Application.h"
#include "runtime/Controls.h"
#include "runtime/KeyRouting.h"
#include "runtime/StdCtrls.h"

namespace {

constexpr rt::TColor kInk = 0x0000FF;  // the labels' text colour in these tests

// A parent whose every pixel tells where it is: left half green, right half blue.
class SplitPanel : public rt::TCustomControl {
public:
    using rt::TCustomControl::TCustomControl;

protected:
    void Paint(rt::TCanvas& c) override {
        c.Brush.Style = rt::TBrushStyle::bsSolid;
        c.Brush.Color = rt::clLime;
        c.FillRect(rt::Rect(0, 0, Width() / 2, Height()));
        c.Brush.Color = rt::clBlue;
        c.FillRect(rt::Rect(Width() / 2, 0, Width(), Height()));
    }
};

// The smallest rectangle holding every pixel of colour c (empty when there is none).
rt::TRect InkBox(rt::TBitmap& b, rt::TColor c) {
    rt::TRect box{b.Width(), b.Height(), 0, 0};
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Canvas().Pixel(x, y) == c) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
    return box;
}

class Labels : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<rt::TForm>(nullptr);
        form_->SetBounds(0, 0, 400, 300);
    }
    rt::TLabel* MakeLabel(const std::string& caption, rt::TWinControl* parent = nullptr) {
        auto* l = new rt::TLabel(form_.get());
        l->SetParent(parent != nullptr ? parent : form_.get());
        rt::TFont f = l->Font();
        f.Color = kInk;
        l->SetFont(f);
        l->SetCaption(caption);
        return l;
    }
    int TextWidth(const rt::TLabel& l, const std::string& s) {
        rt::TBitmap probe(1, 1);
        probe.Canvas().Font = l.TextFont();
        return probe.Canvas().TextWidth(s);
    }
    int LineHeight(const rt::TLabel& l) {
        rt::TBitmap probe(1, 1);
        probe.Canvas().Font = l.TextFont();
        return probe.Canvas().TextHeight("Ag");
    }

    std::unique_ptr<rt::TForm> form_;
};

TEST_F(Labels, TransparentLabelShowsItsParentAndTheControlsBelowIt) {
    auto* panel = new SplitPanel(form_.get());
    panel->SetBounds(0, 0, 200, 100);
    panel->SetParent(form_.get());
    auto* shape = new rt::TShape(form_.get());
    shape->BrushColor = rt::clYellow;
    shape->PenColor = rt::clYellow;
    shape->SetBounds(90, 0, 20, 100);
    shape->SetParent(panel);
    auto* l = MakeLabel("x", panel);
    l->SetAutoSize(false);
    l->SetBounds(80, 40, 60, 30);

    rt::TBitmap opaque = l->PaintToBitmap();
    EXPECT_EQ(opaque.Canvas().Pixel(59, 29), rt::ColorToRGB(l->Color()));

    l->SetTransparent(true);
    rt::TBitmap b = l->PaintToBitmap();
    // Label x 0..9 lies over the parent's green half, 10..29 over the shape, the rest blue.
    EXPECT_EQ(b.Canvas().Pixel(5, 29), rt::clLime);
    EXPECT_EQ(b.Canvas().Pixel(15, 29), rt::clYellow);
    EXPECT_EQ(b.Canvas().Pixel(29, 29), rt::clYellow);
    EXPECT_EQ(b.Canvas().Pixel(30, 29), rt::clBlue);
    EXPECT_EQ(b.Canvas().Pixel(59, 0), rt::clBlue);
    EXPECT_FALSE(InkBox(b, kInk).IsEmpty());

    // A control above the label in the parent's order does not show under it.
    shape->SetParent(nullptr);
    shape->SetParent(panel);
    b = l->PaintToBitmap();
    EXPECT_EQ(b.Canvas().Pixel(15, 29), rt::clLime);
    delete shape;
}

TEST_F(Labels, AlignmentAndLayoutPlaceTheText) {
    auto* l = MakeLabel("Mm");
    l->SetAutoSize(false);
    l->SetBounds(0, 0, 200, 60);
    const int w = TextWidth(*l, "Mm"), h = LineHeight(*l);

    struct Case {
        rt::TAlignment align;
        rt::TTextLayout layout;
        int left, top;  // where the text's cell starts
    };
    const Case cases[] = {
        {rt::TAlignment::taLeftJustify, rt::TTextLayout::tlTop, 0, 0},
        {rt::TAlignment::taRightJustify, rt::TTextLayout::tlTop, 200 - w, 0},
        {rt::TAlignment::taCenter, rt::TTextLayout::tlCenter, (200 - w) / 2, (60 - h) / 2},
        {rt::TAlignment::taLeftJustify, rt::TTextLayout::tlBottom, 0, 60 - h},
    };
    for (const Case& c : cases) {
        l->SetAlignment(c.align);
        l->SetLayout(c.layout);
        rt::TBitmap b = l->PaintToBitmap();
        rt::TRect ink = InkBox(b, kInk);
        SCOPED_TRACE(testing::Message() << int(c.align) << "/" << int(c.layout));
        EXPECT_GE(ink.Left, c.left);
        EXPECT_LE(ink.Right, c.left + w);
        EXPECT_GE(ink.Top, c.top);
        EXPECT_LE(ink.Bottom, c.top + h);
        EXPECT_GT(ink.Width(), w / 2);  // the text is there, not clipped away
    }
}

TEST_F(Labels, WordWrapBreaksBetweenWordsAndAutoSizeFollowsTheText) {
    auto* l = MakeLabel("one two three four");
    const int h = LineHeight(*l);
    // AutoSize without wrapping: one line exactly as wide as the text.
    EXPECT_EQ(l->Height(), h);
    EXPECT_EQ(l->Width(), TextWidth(*l, "one two three four"));

    const int limit = TextWidth(*l, "one two") + 2;
    l->SetAutoSize(false);
    l->SetWidth(limit);
    l->SetWordWrap(true);
    l->SetAutoSize(true);
    EXPECT_EQ(l->Height(), 3 * h);  // "one two" / "three" / "four"
    EXPECT_LE(l->Width(), limit);
    EXPECT_EQ(l->Width(), TextWidth(*l, "one two"));
    rt::TBitmap b = l->PaintToBitmap();
    for (int line = 0; line < 3; ++line) {
        bool inked = false;
        for (int y = line * h; y < (line + 1) * h && !inked; ++y)
            for (int x = 0; x < b.Width() && !inked; ++x) inked = b.Canvas().Pixel(x, y) == kInk;
        EXPECT_TRUE(inked) << "line " << line;
    }

    // A word wider than the label keeps a line of its own and widens the label.
    l->SetCaption("a extraordinarily b");
    EXPECT_EQ(l->Height(), 3 * h);
    EXPECT_EQ(l->Width(), TextWidth(*l, "extraordinarily"));

    // Explicit line breaks count without WordWrap too; an empty caption is one line high.
    l->SetWordWrap(false);
    l->SetCaption("first\nsecond line");
    EXPECT_EQ(l->Height(), 2 * h);
    l->SetCaption("");
    EXPECT_EQ(l->Height(), h);
}

TEST_F(Labels, RightJustifiedAutoSizeKeepsTheRightEdge) {
    auto* l = MakeLabel("short");
    l->SetAlignment(rt::TAlignment::taRightJustify);
    l->SetLeft(100);
    const int right = l->Left() + l->Width();
    l->SetCaption("a much longer caption");
    EXPECT_EQ(l->Left() + l->Width(), right);
    EXPECT_LT(l->Left(), 100);
}

TEST_F(Labels, AcceleratorIsUnderlinedOrShownAsTyped) {
    auto* l = MakeLabel("&File");
    const int h = LineHeight(*l);
    EXPECT_EQ(l->Width(), TextWidth(*l, "File"));
    rt::TBitmap b = l->PaintToBitmap();
    // The underline is a run of ink below the glyphs' baseline under the "F" only.
    int underlineRow = -1;
    for (int y = h - 1; y >= 0 && underlineRow < 0; --y) {
        int run = 0;
        for (int x = 0; x < TextWidth(*l, "F"); ++x) run += b.Canvas().Pixel(x, y) == kInk;
        if (run == TextWidth(*l, "F")) underlineRow = y;
    }
    ASSERT_GE(underlineRow, 0);
    for (int x = TextWidth(*l, "F") + 1; x < b.Width(); ++x)
        EXPECT_NE(b.Canvas().Pixel(x, underlineRow), kInk) << x;

    l->SetShowAccelChar(false);
    EXPECT_EQ(l->Width(), TextWidth(*l, "&File"));
    l->SetShowAccelChar(true);
    l->SetCaption("Fish && Chips");
    EXPECT_EQ(l->Width(), TextWidth(*l, "Fish & Chips"));
}

TEST_F(Labels, ItsAcceleratorFocusesTheFocusControl) {
    auto* target = new rt::TCustomControl(form_.get());
    target->SetBounds(10, 50, 80, 20);
    target->SetParent(form_.get());
    auto* l = MakeLabel("File &name:");
    l->SetFocusControl(target);
    form_->Show();
    rt::Application()->ProcessMessages();
    // Alt+N pressed on the form reaches the label as an accelerator character.
    rt::DeliverKeyDown(*form_, 'X', rt::ssAlt, U'x');
    EXPECT_FALSE(target->Focused());
    rt::DeliverKeyDown(*form_, 'N', rt::ssAlt, U'n');
    EXPECT_TRUE(target->Focused());
    auto offer = [&](int key) { return l->Perform(rt::CM_DIALOGCHAR, key, rt::ssAlt); };
    EXPECT_EQ(offer('N'), 1);

    // A disabled target, or a label without accelerators, takes nothing.
    target->SetEnabled(false);
    EXPECT_EQ(offer('n'), 0);
    target->SetEnabled(true);
    l->SetShowAccelChar(false);
    EXPECT_EQ(offer('n'), 0);
    l->SetShowAccelChar(true);

    // Freeing the target clears the reference.
    delete target;
    EXPECT_EQ(l->FocusControl(), nullptr);
    EXPECT_EQ(offer('n'), 0);
    form_->Hide();
}

TEST_F(Labels, DisabledTextIsEmbossed) {
    auto* l = MakeLabel("Disabled");
    l->SetEnabled(false);
    rt::TBitmap b = l->PaintToBitmap();
    rt::TRect shadow = InkBox(b, rt::ColorToRGB(rt::clBtnShadow));
    rt::TRect light = InkBox(b, rt::ColorToRGB(rt::clBtnHighlight));
    EXPECT_TRUE(InkBox(b, kInk).IsEmpty());
    ASSERT_FALSE(shadow.IsEmpty());
    ASSERT_FALSE(light.IsEmpty());
    EXPECT_GT(light.Right, shadow.Right);  // the highlight copy sits one pixel right and down
    EXPECT_GT(light.Top, shadow.Top);
}

}  // namespace
