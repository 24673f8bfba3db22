#pragma once
// The window of a real form, as the skinned frame sees it: the runtime's window model behind
// TskFormWindow.

#include "runtime/Controls.h"
#include "skin/form/skFormWindow.h"

namespace sk {

class TskFormWindowOnForm : public TskFormWindow {
public:
    explicit TskFormWindowOnForm(rt::TForm& form) : form_(form) {}

    rt::TRect BoundsRect() const override { return form_.BoundsRect(); }
    void SetBounds(const rt::TRect& b) override;
    std::string Caption() const override { return form_.Caption(); }
    bool Visible() const override { return form_.Visible(); }
    bool HasBorder() const override;
    bool Sizeable() const override;
    bool IsMainForm() const override;
    void Close() override { form_.Close(); }
    void MinimizeApplication() override;
    rt::TRect WorkArea() const override;
    rt::TRect ScreenRect() const override;
    rt::TPoint CursorPos() const override;
    bool UnderCursor() const override;
    void InvalidateFrame() override { form_.InvalidateNonClient(); }
    void PaintFrameNow(const rt::TRect& r,
                       const std::function<void(rt::TCanvas&)>& paint) override {
        form_.PaintNonClientNow(r, paint);
    }
    void InvalidateClient() override { form_.Invalidate(); }
    void FrameChanged() override { form_.FrameChanged(); }
    void SetWindowRegion(const rt::TRegion* region) override { form_.SetWindowRegion(region); }
    void SetMouseCapture(bool on) override { form_.SetMouseCapture(on); }
    void SetOpacity(int alpha) override { form_.SetAlphaBlend(alpha); }
    void ProcessMessages() override;
    void SetTimer(std::uintptr_t id, int ms) override { form_.SetTimer(id, ms); }
    void KillTimer(std::uintptr_t id) override { form_.KillTimer(id); }
    const rt::TBitmap* Icon() const override;
    rt::TWinControl* ControlRoot() override { return &form_; }

private:
    rt::TForm& form_;
};

}  // namespace sk
