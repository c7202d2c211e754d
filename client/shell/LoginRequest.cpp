// Filling the login request from the dialog's two texts.
#include "client/shell/LoginRequest.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "quorex/PasswordDigest.h"
#include "quorex/Text.h"

namespace kvt {


TReqTraderLogin MakeLoginRequest(std::string_view traderCode, std::string_view password) {
    TReqTraderLogin request{};
    quorex::SetText(request.traderID, traderCode);
    quorex::SetText(request.memberID, traderCode);
    quorex::SetText(request.password, quorex::PasswordDigest(password));
    return request;
}

}  // namespace kvt
