// ConfirmOrders: the status texts around the yes/no box.
#include "client/pages/OrderConfirmation.h"

#include "client/shell/Prompter.h"
#include "client/shell/StatusLine.h"

namespace kvt {

bool ConfirmOrders(const CClientServices& services, const COrderConfirmation& confirmation) {
    services.status.Show(confirmation.preparing);
    if (services.prompter.AskYesNo(confirmation.question, confirmation.caption)) return true;
    services.status.Show(confirmation.cancelled);
    return false;
}

}  // namespace kvt
