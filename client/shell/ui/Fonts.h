// The fonts of the desktop: the names the windows ask for ("仿宋体" for the tabs, the toolkit's
// default elsewhere) fall back to an installed CJK font, so Chinese text never shows as boxes.
#pragma once

namespace kvt {

// Call once after the application object exists.
void InstallFontFallbacks();

}  // namespace kvt
