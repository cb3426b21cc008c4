#pragma once
// The colours that the window's skin fixes at known points, checked on a picture of the window
// drawn at any screen density.

#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/screenshot.h"

namespace testsupport {

// Each channel within `tolerance` of the expected colour.
testing::AssertionResult Near(COLORREF actual, int r, int g, int b, int tolerance = 6);

// A point of the layout (96-dpi pixels) on a window drawn at `dpi`: the middle of the screen
// pixels that the layout pixel became.
POINT ScaledPoint(int x, int y, int dpi);

// Checks the skin's fixed colours on `shot`, a picture of the main window at `dpi`: the body and
// outline, the red band, the search field, the panel, the header bars, the list, the buttons'
// faces at rest, the details backdrop and the count's white text.
void ExpectSkinColours(const Screenshot& shot, int dpi = 96);

}  // namespace testsupport
