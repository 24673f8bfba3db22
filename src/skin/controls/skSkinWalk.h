#pragma once
// The skin-change walk a form runs when its skin data object announces a change: before it,
// every windowed skinned control on the form that paints from the announcing object forgets
// its skin object; after it, every such control (windowed or not) applies the skin again.

#include "runtime/Controls.h"
#include "runtime/Messages.h"

namespace sk {

class TskSkinData;

// Handles SM_BEFORECHANGESKIN and SM_CHANGESKIN (wParam: the skin data object, 0 for every
// one) for the controls in the form's control tree; returns false for any other message.
// The skinned form runs it after its own frame, a form without one (and the tests) alone; the
// caller still passes the message on to its default handling.
bool HandleSkinChangeMessage(rt::TWinControl& form, rt::TMessage& message);

// The same walk for a known skin data object (null: every skinned control).
void ForgetSkinObjects(rt::TWinControl& root, const TskSkinData* data);
void ApplySkins(rt::TWinControl& root, const TskSkinData* data);

}  // namespace sk
