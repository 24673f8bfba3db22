#pragma once
// The skin-change walk a form runs when a skin data object it uses announces a change: every
// skinned control on the form (windowed or not) that paints from the announcing object takes
// the new skin. Controls hold the skin they paint from, so nothing happens before a change.

#include <vector>

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
void ApplySkins(rt::TWinControl& root, const TskSkinData* data);

// The skin data objects the skinned controls of the tree paint from, each once, in the order
// the walk meets them.
std::vector<TskSkinData*> UsedSkinData(rt::TWinControl& root);

}  // namespace sk
