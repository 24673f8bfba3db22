#pragma once
// How a key press travels through a form, as the window system's dialog handling does it:
// Enter and Escape are offered to the form's controls first (CM_DIALOGKEY), unless the
// focused control wants them itself (WM_GETDLGCODE); then the focused control gets WM_KEYDOWN.
// A typed character goes to the focused control as WM_CHAR; when that control takes no text,
// and for every Alt + character, the form's controls are offered it as an accelerator
// (CM_DIALOGCHAR).

#include <string>

#include "runtime/Controls.h"

namespace rt {

// A key press for the control that has the focus (or the form itself when no control has it).
// vk is the virtual key (0 for none), ch the typed character (0 for none).
void DeliverKeyDown(TControl& focused, int vk, TShiftState shift, char32_t ch);
void DeliverKeyUp(TControl& focused, int vk, TShiftState shift);

// Tells every control of the form that the focus is now on `control` (null: on no control).
void NotifyFocusChanged(TForm& form, TWinControl* control);

// Whether ch is the accelerator of caption: the character after a single "&", compared without
// regard to letter case.
bool IsAccel(char32_t ch, const std::string& caption);

}  // namespace rt
