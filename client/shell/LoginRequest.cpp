// Filling the login request from the dialog's two texts.
#include "client/shell/LoginRequest.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "client/shell/Md5.h"
#include "quorex/Text.h"

namespace kvt {


TReqTraderLogin MakeLoginRequest(std::string_view traderCode, std::string_view password) {
    TReqTraderLogin request{};
    quorex::SetText(request.traderID, traderCode);
    quorex::SetText(request.memberID, traderCode);
    quorex::SetText(request.password, Md5Hex(password));
    return request;
}

}  // namespace kvt
