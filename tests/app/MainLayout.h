#pragma once
// The main window's designed layout in its 532 x 336 client area: the bounds of every control
// that does not size itself, by component name. The layout tests check the window against
// this one table in every skin; other tests take positions from the controls themselves.

#include <gtest/gtest.h>

#include <string>

#include "app/MainFrm.h"
#include "runtime/Graphics.h"

namespace testutil {

struct DesignedBounds {
    const char* name;
    rt::TRect bounds;
};

inline const DesignedBounds kMainWindowLayout[] = {
    {"skSkinMainMenuBar1", rt::Bounds(0, 0, 532, 22)},
    {"skSkinPanel1", rt::Bounds(23, 49, 233, 177)},
    {"skSkinPanel2", rt::Bounds(272, 49, 233, 177)},
    // Inside the panels, one pixel in from their edges.
    {"Image1", rt::Bounds(1, 1, 231, 175)},
    {"Image2", rt::Bounds(1, 1, 231, 175)},
    // Moved 5 pixels left and made 10 wider, so a 12-pixel thumb's centre meets the markers.
    {"TrackBar1", rt::Bounds(19, 241, 491, 17)},
    {"lblPosition", rt::Bounds(360, 266, 145, 13)},
    {"skSkinSpeedButton1", rt::Bounds(24, 280, 105, 25)},
    {"skSkinSpeedButton2", rt::Bounds(136, 280, 105, 25)},
    {"skSkinSpeedButton3", rt::Bounds(248, 280, 49, 25)},
    {"skSkinSpeedButton4", rt::Bounds(304, 280, 49, 25)},
    {"skSkinMenuSpeedButton1", rt::Bounds(360, 280, 41, 25)},
    {"skSkinSpeedButton5", rt::Bounds(408, 280, 49, 25)},
    {"ProgressBar1", rt::Bounds(0, 319, 532, 17)},
};

// Each control of the table where the table puts it; failures name the control.
inline void ExpectDesignedLayout(const app::TMainForm& form, const std::string& context) {
    for (const DesignedBounds& d : kMainWindowLayout) {
        const auto* c = dynamic_cast<const rt::TControl*>(form.FindComponent(d.name));
        if (c == nullptr) {
            ADD_FAILURE() << context << ": no control " << d.name;
            continue;
        }
        EXPECT_EQ(c->BoundsRect(), d.bounds) << context << ": " << d.name;
    }
}

}  // namespace testutil
