// CRowMenu: a list page's context menu over its rows, without widgets. The page says which items
// the menu over a row has (none: no menu there) and acts on the item chosen; the widget builds
// the menu from the texts and passes the list's selected row at the moment of the choice, which
// may differ from the row the menu was opened over if rows moved meanwhile, so the page checks
// the row again.
//
// Thread contract: user interface thread only.
#pragma once

#include <span>
#include <string_view>

namespace kvt {

class CRowMenu {
public:
    virtual ~CRowMenu() = default;
    // The items of the menu over this row (UTF-8), in menu order; empty: no menu over this row.
    virtual std::span<const std::string_view> MenuItems(int row) const = 0;
    // The item-th entry of MenuItems(row) was chosen for row; anything out of range is ignored.
    virtual void OnMenuItem(int row, int item) = 0;
};

}  // namespace kvt
