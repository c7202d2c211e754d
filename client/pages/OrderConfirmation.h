// The confirmation before orders go out or are parked: a status text that says what is being
// prepared, a yes/no box, and on No a status text that says it was called off.
#pragma once

#include <string_view>

#include "client/shell/ClientServices.h"

namespace kvt {

struct COrderConfirmation {
    std::string_view preparing;  // status text before the box
    std::string_view question;   // the box's text
    std::string_view caption;    // the box's caption
    std::string_view cancelled;  // status text on No
};

// True when the trader answered yes.
bool ConfirmOrders(const CClientServices& services, const COrderConfirmation& confirmation);

}  // namespace kvt
