#pragma once
// The class library's single-line edit. The platform's line edit does the real work (typing,
// caret, selection, clipboard, undo) on the control's client area; the control keeps a frame
// of its own around it (WM_NCCALCSIZE / WM_NCPAINT, ChildFrame.cpp), which by default is a
// sunken two-pixel border.
//
// Keys reach the edit as on every control (KeyRouting.h): WM_KEYDOWN (OnKeyDown), then the
// typed character as WM_CHAR (OnKeyPress). The platform edit gets the key only when neither
// handler cleared it; a character that OnKeyPress changed is typed as the new character.
// Enter never reaches the platform edit: it ends at OnKeyPress with key 13. While ReadOnly
// the platform edit refuses typing, Delete, cut, paste and undo, and still selects and copies.

#include <functional>
#include <string>

#include "runtime/Controls.h"
#include "runtime/StdCtrls.h"

namespace rt {

using TKeyPressEvent = std::function<void(TComponent* sender, char32_t& key)>;

enum class TBorderStyle { bsNone, bsSingle };

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* owner);
    ~TCustomEdit() override;

    // The text; setting it runs OnChange when it differs.
    std::string Text() const { return Caption(); }
    void SetText(const std::string& text) { SetCaption(text); }

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    // 0: no limit; in characters.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    // A password edit shows this character for every character (0: plain text).
    char32_t PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char32_t value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    // Gaining the focus by the keyboard or from code selects the whole text.
    bool AutoSelect = true;
    // The text drawn with a transparent background over what the control paints under it
    // (its frame), instead of on the window colour.
    bool EditTransparent() const { return transparent_; }
    void SetEditTransparent(bool value);
    // Pixels kept free inside the client area left and right of the text.
    void SetMargins(int left, int right);

    // Selection in characters.
    int SelStart() const;
    void SetSelStart(int value);
    int SelLength() const;
    void SetSelLength(int value);
    std::string SelText() const;
    // Replaces the selection (typing would); refused when read-only.
    void SetSelText(const std::string& text);
    void SelectAll();

    // Edit commands as the user gives them: cut, paste, undo and clear are refused when
    // read-only; copying always works.
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void Undo();
    bool CanUndo() const;
    void Clear();
    void ClearSelection();

    bool Modified() const { return modified_; }
    void SetModified(bool value) { modified_ = value; }

    TNotifyEvent OnChange;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    void WndProc(TMessage& message) override;

protected:
    virtual void Change();
    virtual void KeyPress(char32_t& key);
    // What the edit wants of the keys that a form would take (WM_GETDLGCODE).
    virtual int DialogCode() const;
    bool WantsFocus() const override { return true; }
    // The client area under the text: the window colour unless transparent.
    void Paint(TCanvas& canvas) override;
    void FontChanged() override;
    void EnabledChanged() override;
    void TextChanged() override;
    // The default frame: sunken border with BorderStyle bsSingle.
    virtual void CalcNonClient(TRect& client);
    virtual void PaintNonClient(TCanvas& canvas);
    // Applies the font colour and margins to the platform edit (after font and state changes).
    void UpdatePlatformLook();

private:
    friend class EditFilter;
    class EditFilter* filter_ = nullptr;
    bool readOnly_ = false;
    int maxLength_ = 0;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    char32_t passwordChar_ = 0;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    bool transparent_ = false;
    bool modified_ = false;
    int marginLeft_ = 0, marginRight_ = 0;
    // The key under way through OnKeyDown / OnKeyPress, as those left it.
    bool keyPassed_ = false;
    char32_t charPassed_ = 0;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* owner);
};

}  // namespace rt
