// CIndentureSelectDialog: the modeless dialog "电子货单选择" over CPageIndentureSelect's rows: a
// list in the list family's look whose first column holds a check box and an amount the trader may
// edit (digits only), and the buttons 确定 and 取消. The buttons go to the logic, which closes the
// dialog; the close box hides it like 取消.
//
// Thread contract: user interface thread only. Ownership: owns the model; the logic outlives the
// dialog and is attached to it while the dialog exists.
#pragma once

#include <QDialog>

#include "client/pages/PageIndentureSelect.h"
#include "client/shell/ListModel.h"

class QPushButton;

namespace kvt {

class CListView;

class CIndentureSelectDialog : public QDialog, private CIndentureSelectView {
public:
    explicit CIndentureSelectDialog(CPageIndentureSelect& logic, QWidget* parent = nullptr);
    ~CIndentureSelectDialog() override;

    CListView& View() const { return *m_view; }
    CListModel& Model() { return m_model; }
    QPushButton& ConfirmButton() const { return *m_confirm; }
    QPushButton& CancelButton() const { return *m_cancel; }

protected:
    void reject() override;

private:
    void Show() override;
    void Close() override;

    CPageIndentureSelect& m_logic;
    CListModel m_model;
    CListView* m_view;
    QPushButton* m_confirm;
    QPushButton* m_cancel;
};

}  // namespace kvt
