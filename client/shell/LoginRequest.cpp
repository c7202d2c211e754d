// Filling the login request from the dialog's two texts.
#include "client/shell/LoginRequest.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "client/shell/Md5.h"

namespace kvt {

namespace {

// Copies at most the field's width; the record was zeroed, so the text stays terminated.
template <std::size_t N>
void CopyPrefix(char (&field)[N], std::string_view text) {
    if (!text.empty()) std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

}  // namespace

TReqTraderLogin MakeLoginRequest(std::string_view traderCode, std::string_view password) {
    TReqTraderLogin request{};
    CopyPrefix(request.traderID, traderCode);
    CopyPrefix(request.memberID, traderCode);
    CopyPrefix(request.password, Md5Hex(password));
    return request;
}

}  // namespace kvt
