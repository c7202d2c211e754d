// The painted tab strip as a screen reader sees it: a page tab list whose children are the tabs,
// each with its title as name, selected when it is the shown page, and a press action that shows
// it as a click does. InstallTabStripAccessibility makes Qt use it for every CTabStrip.
//
// Thread contract: user interface thread only.
#pragma once

namespace kvt {

// Once per process; later calls do nothing.
void InstallTabStripAccessibility();

}  // namespace kvt
