#include "client/shell/LoginFailureTexts.h"

#include <cstring>

#include "quorex/LibraryResults.h"
#include "quorex/Text.h"
#include "quorex/UserFiles.h"

namespace kvt {

std::string LoginFailureText(const TTRspMsg* rsp, const std::string& traderCode) {
    if (rsp == nullptr) return std::string();
    const std::string text = quorex::TextOf(rsp->RspMsg);
    if (std::strcmp(rsp->RspCode, quorex::kRspUserFileFailed) != 0) return text;
    // The day is received again from the exchange once the log and the sync points are gone.
    const char* id = traderCode.c_str();
    return text + ",请删除 " + quorex::UserFileName("log%s.id", id) + "、" + quorex::UserFileName("log%s.con", id) +
           " 和 " + quorex::UserFileName("t_private%s.dat", id) + "、" + quorex::UserFileName("t_member%s.dat", id) +
           "、" + quorex::UserFileName("t_market%s.dat", id) + " 后重新登陆";
}

std::string ConnectionLostText(const TTRspMsg* reason) {
    if (reason != nullptr && std::strcmp(reason->RspMsg, quorex::kLocalFailureReason) == 0) {
        return "本地文件读写失败,请检查磁盘空间后重新登陆......";
    }
    return "与交易所的连接已断开,请重新登陆......";
}

}  // namespace kvt
