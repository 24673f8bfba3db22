#pragma once
// Skinned hints. While a TskSkinHint exists, the application's hints show in a
// TskSkinHintWindow drawn from the skin's [HINTWINDOW] picture (or in the plain info colours
// without one), and skinned forms show the hint texts of their frame objects through it.
//
// The hint window draws what the first active TskSkinHint among the main form's components
// says; without one it shows nothing, since the application's hint window stays replaced.

#include <memory>
#include <optional>
#include <string>

#include "runtime/Classes.h"
#include "runtime/Graphics.h"
#include "runtime/Hints.h"
#include "skin/data/skCornerSet.h"

namespace rt {
class TTimer;
}

namespace sk {

class TskSkinData;
class TskSkinHint;

// The first active TskSkinHint among the form's components, or null.
TskSkinHint* FindHintComponent(const rt::TComponent* form);

class TskSkinHintWindow : public rt::THintWindow {
public:
    explicit TskSkinHintWindow(rt::TComponent* owner);

    // Sizes, places, shapes and shows the hint with its top-left at rect's top-left (screen
    // coordinates); shows nothing without a component in charge.
    void ActivateHint(const rt::TRect& rect, const std::string& hint) override;

    // What the last activation found and worked out.
    TskSkinHint* HintComponent() const { return hintComponent_; }
    TskSkinData* SkinDataInUse() const { return skinDataInUse_; }
    const std::optional<rt::TRegion>& Region() const { return region_; }
    bool SavedAlphaBlend() const { return savedAlphaBlend_; }
    int SavedAlphaBlendValue() const { return savedAlphaBlendValue_; }
    // The skin's corner set fitted to the window.
    const TskCornerSet& Sized() const { return sized_; }
    const rt::TRect& SizedClientBox() const { return sized_.Client; }
    // The hint as painted (window-sized).
    const rt::TBitmap& Image() const { return image_; }

protected:
    void Paint(rt::TCanvas& canvas) override;

private:
    // The skin's hint picture when the component's skin has one, else null.
    const rt::TBitmap* SkinPicture(const TskSkinData* data) const;
    void PaintSkinned(const rt::TBitmap& picture, int width, int height, const rt::TFont& font,
                      const std::string& text);

    TskSkinHint* hintComponent_ = nullptr;
    TskSkinData* skinDataInUse_ = nullptr;
    std::optional<rt::TRegion> region_;
    bool savedAlphaBlend_ = false;
    int savedAlphaBlendValue_ = 0;
    TskCornerSet sized_;
    // Painted at activation, so that a skin changing under a shown hint cannot tear it.
    rt::TBitmap image_;
};

class TskSkinHint : public rt::TComponent {
public:
    // Makes TskSkinHintWindow the application's hint window and takes the application's hint
    // event; the short hint pause becomes 100 ms.
    explicit TskSkinHint(rt::TComponent* owner);
    ~TskSkinHint() override;

    TskSkinData* SkinData() const { return skinData_; }
    void SetSkinData(TskSkinData* value);
    bool Active() const { return active_; }
    // On: every other TskSkinHint of the main form goes off, and the application's hint event
    // comes here.
    void SetActive(bool value);
    bool AlphaBlend = false;
    int AlphaBlendValue = 200;
    rt::TFont DefaultFont;
    bool UseSkinFont = true;
    // Fired by the application's hint event while it is routed here.
    rt::TShowHintEvent OnShowHint;

    // Object hints of a skinned form: the text shows below the mouse pointer after the
    // application's hint pause and goes after its hide pause, or at HideHint.
    void ShowHintText(const std::string& text);
    void HideHint();

    TskSkinHintWindow* HintWindow() const { return hintWindow_; }
    const std::string& HintCaption() const { return hintCaption_; }
    // An object hint waits or shows.
    bool HintTickerRunning() const;

protected:
    void Notification(rt::TComponent* component, rt::TOperation operation) override;

private:
    void RouteHintEvent();
    void HintTick();

    TskSkinData* skinData_ = nullptr;
    bool active_ = true;
    TskSkinHintWindow* hintWindow_ = nullptr;
    rt::TTimer* hintTicker_ = nullptr;
    bool hintShown_ = false;
    std::string hintCaption_;
    // Lets the application's hint event outlive this component harmlessly.
    std::shared_ptr<TskSkinHint*> self_;
};

}  // namespace sk
