// CListView: the list family's view, a QTableView over a CListModel: report style, one selected
// row at a time, whole rows selected, the header highlighted under the mouse, rows of one fixed
// height (so tens of thousands of rows cost nothing to lay out), column widths from the page's
// columns. The keyboard list's keys: Tab leaves the list for the next control, Enter gives the
// focus to the tab row above (the focusParent signal). A row the page asks to show is selected and
// scrolled to from the event loop: both lay the rows out first, which costs a measurement of the
// header each time, so a burst of new rows (the day's orders arriving after the login) is laid out
// once and shows the last of them.
//
// The context menu is the page's items (when the page has a menu there), then, for a list of a tab
// page, "导出…", which saves the list as CSV. The column widths can be given from the kept layout
// before the view is first shown; the ones the trader chose are read back when the program ends.
//
// Thread contract: user interface thread only.
#pragma once

#include <QTableView>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMenu;

namespace kvt {

class CListExport;
class CListModel;

class CListView : public QTableView {
    Q_OBJECT
public:
    explicit CListView(CListModel& model, QWidget* parent = nullptr);

    CListModel& ListModel() const { return m_model; }
    // The view follows its model from the first time it is shown (or from this call): until then
    // rows arriving in a hidden window cost the view nothing, which matters while the day's
    // orders are replayed behind the login dialog.
    void AttachModel();

    // The page's own items of the menu at a point of the viewport; null for none there.
    using PageMenu = std::function<std::unique_ptr<QMenu>(const QPoint& viewportPos)>;
    void SetPageMenu(PageMenu pageMenu) { m_pageMenu = std::move(pageMenu); }
    // Adds "导出…" to the menu: the list is saved under a name made from pageTitle (UTF-8).
    void EnableExport(CListExport& exporter, std::string pageTitle);
    // The whole menu at a point of the viewport; null when it would be empty.
    std::unique_ptr<QMenu> CreateContextMenu(const QPoint& viewportPos);

    // Widths to use instead of the page's own, one a column (ignored when they do not fit).
    void KeepColumnWidths(std::vector<int> widths);
    // The widths shown, or the ones it will show once attached.
    std::vector<int> ColumnWidths() const;

signals:
    void focusParent();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The width column gets when the view is attached: the kept one, else the page's.
    int InitialWidth(int column) const;
    void ShowRow(int row);
    void ShowPendingRow();

    CListModel& m_model;
    int m_rowToShow = -1;  // -1: none pending
    PageMenu m_pageMenu;
    CListExport* m_export = nullptr;
    std::string m_pageTitle;
    std::vector<int> m_keptWidths;  // empty: the page's own
};

}  // namespace kvt
