// CListView: the list family's view, a QTableView over a CListModel: report style, one selected
// row at a time, whole rows selected, the header highlighted under the mouse, rows of one fixed
// height (so tens of thousands of rows cost nothing to lay out), column widths from the page's
// columns. The keyboard list's keys: Tab leaves the list for the next control, Enter gives the
// focus to the tab row above (the focusParent signal). A row the page asks to show is selected and
// scrolled to from the event loop: both lay the rows out first, which costs a measurement of the
// header each time, so a burst of new rows (the day's orders arriving after the login) is laid out
// once and shows the last of them.
//
// Thread contract: user interface thread only.
#pragma once

#include <QTableView>

namespace kvt {

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

signals:
    void focusParent();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void ShowRow(int row);
    void ShowPendingRow();

    CListModel& m_model;
    int m_rowToShow = -1;  // -1: none pending
};

}  // namespace kvt
