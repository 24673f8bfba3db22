#pragma once
// What a frame object asks of the skinned form that owns it. TskSkinForm implements it; tests
// drive the objects with a recording fake.

#include <string>

#include "runtime/Graphics.h"
#include "skin/form/skFormTypes.h"

namespace rt {
class TMenuItem;
}

namespace sk {

class TskActiveSkinObject;
class TskSkinButtonObject;

class TskFormHost {
public:
    virtual ~TskFormHost() = default;

    // Draws the object onto the window's frame at once (Draw with UpDate true).
    virtual void PaintObjectNow(TskActiveSkinObject& object) = 0;
    // Starts the 20 ms morph timer; it stops itself when no object needs another step.
    virtual void EnableMorphTimer() = 0;

    virtual void CloseForm() = 0;
    virtual TskWindowState WindowState() const = 0;
    virtual void SetWindowState(TskWindowState state) = 0;
    virtual bool RollUpState() const = 0;
    virtual void SetRollUpState(bool rolledUp) = 0;

    // The menu the system-menu button drops down (rebuilt for the current window state).
    virtual rt::TMenuItem* GetSystemMenu() = 0;
    // Drops item's sub-items down below (or above, popupUp) rect, given in window coordinates;
    // the form releases the button when the menu closes.
    virtual void PopupObjectMenu(TskSkinButtonObject& button, rt::TMenuItem* item,
                                 const rt::TRect& rect, bool popupUp) = 0;

    virtual std::string CaptionText() const = 0;
    virtual bool ShowIcon() const = 0;
    // The form's icon at small-icon size (empty when there is none).
    virtual const rt::TBitmap& SmallIcon() = 0;
    virtual bool FormActive() const = 0;
    // True while the form is inactive and the skin asks for an automatically rendered inactive
    // look: images drawn then go through the skin's inactive effect.
    virtual bool RendersInactiveImage() const = 0;

    // The form's object events, each with the object's IDName; button 0 left, 1 right.
    virtual void ObjectMouseDown(const std::string& id, int x, int y, const rt::TRect& rect,
                                 int button) = 0;
    virtual void ObjectMouseUp(const std::string& id, int x, int y, const rt::TRect& rect,
                               int button) = 0;
    virtual void ObjectMouseMove(const std::string& id, int x, int y, const rt::TRect& rect) = 0;
    virtual void ObjectMouseEnter(const std::string& id) = 0;
    virtual void ObjectMouseLeave(const std::string& id) = 0;
    virtual void ObjectPaint(const std::string& id, rt::TCanvas& canvas, const rt::TRect& rect) = 0;
};

}  // namespace sk
