// COrderForm: the state of the order entry form behind its view, and the rules that tie its
// controls together:
// - the instrument lookup (the instrument box's text as a yqInstID of the page's instruments);
// - the radio rules: 定金 enables the amount and hides 选择货单, 电子货单 disables the amount and
//   shows 选择货单; 买入新订 and 转让卖出 force 定金 and hide 电子货单, 卖出新订 and 转让买入 show it;
// - batch mode (the reserved place of the batch panel shown, the amount labelled 单笔数量) and the
//   visibility of 预埋.
// It is also what the batch panel reads the form through. Without an attached view it reads an
// empty form and shows nothing, so the page may hear of the exchange before its widget exists.
//
// Thread contract: user interface thread only. Ownership: the view belongs to the widget, which
// attaches and detaches itself; the instruments belong to the page.
#pragma once

#include <string>

#include "client/pages/OrderFormView.h"
#include "client/pages/OrderTicket.h"

namespace kvt {

class COrderInstruments;

class COrderForm {
public:
    explicit COrderForm(const COrderInstruments& instruments);

    // Fills a newly attached view: the instrument items, 买入新订 and 定金 checked, the rules
    // applied, batch mode and 预埋 as they are. Null detaches.
    void Attach(COrderFormView* view);
    COrderFormView& View() const;

    // The current instrument's instID (GBK), "" when the box names no known instrument.
    std::string CurrentInstID() const;
    // The whole form, for building an order.
    COrderInput Input() const;

    void ApplyGuaranteeRule();
    void ApplyOrderKindRule();

    // Shows or hides the batch panel; returns the caption of the button that switches it.
    std::string ToggleBatchMode();
    bool IsBatchMode() const { return m_batchMode; }
    void SetPreOrderVisible(bool visible);

    // The Enter key on a control: an order-kind radio moves on to the batch panel's price step
    // when the panel is shown, else to 定金; any other control but the two command buttons
    // (which the page handles) moves to the next control.
    void MoveOnFromEnter(EOrderControl at);

private:
    const COrderInstruments& m_instruments;
    COrderFormView* m_view = nullptr;
    bool m_batchMode = false;
    bool m_preOrderVisible = false;
};

}  // namespace kvt
