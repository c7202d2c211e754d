// The context menu of a list page: built from the page's CRowMenu over the row under the mouse,
// which it selects (the list's selection mark). Each item passes the list's selected row at the
// moment it is chosen, so a menu left open while rows move acts on the row that moved with the
// selection, and on none if a refresh cleared it.
//
// Thread contract: user interface thread only. Ownership: the view and the page menu are
// borrowed and must outlive the connection and any menu made.
#pragma once

#include <QPoint>
#include <memory>

class QMenu;

namespace kvt {

class CListView;
class CRowMenu;

// The menu over the row at viewportPos (a point of the view's viewport), with that row selected;
// null where the page offers no menu (no row there, or a row without one).
std::unique_ptr<QMenu> CreateRowMenu(CListView& view, CRowMenu& menu, QPoint viewportPos);
// Makes CreateRowMenu's menu the page's part of the view's context menu.
void AttachRowMenu(CListView& view, CRowMenu& menu);

}  // namespace kvt
