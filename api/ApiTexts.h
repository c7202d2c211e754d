// The API layer's fixed texts: result codes and messages it produces itself, its error texts and
// the module name its errors are raised under. Error texts go to standard output and are UTF-8.
#pragma once

#include "quorex/LibraryResults.h"

namespace quorex {

inline constexpr const char* kModuleApi = "api/Api";

// Result codes and texts the library puts into TTRspMsg itself. RspMsg is a record text, so these
// are GBK bytes like the exchange's own texts; the comment gives each one's reading.
inline constexpr const char* kRspSuccess = "RSP000000";
inline constexpr const char* kRspSuccessText = "\xBD\xBB\xD2\xD7\xB3\xC9\xB9\xA6";  // 交易成功
inline constexpr const char* kRspNoDataText = "\xCE\xDE\xCA\xFD\xBE\xDD";  // 无数据
// 无响应域，通讯包错误
inline constexpr const char* kRspNoResponseField =
    "\xCE\xDE\xCF\xEC\xD3\xA6\xD3\xF2\xA3\xAC\xCD\xA8\xD1\xB6\xB0\xFC\xB4\xED\xCE\xF3";

inline constexpr const char* kNoLoginResponseField = "无CXTPLoginRspField";
inline constexpr const char* kIncompleteLoggedPackage = "不是一个完整的交易请求包";
inline constexpr const char* kReceivedLogDamaged = "received log damaged";

// RspMsg of kRspUserFileFailed, before the file's name: "本地文件不可用:".
inline constexpr const char* kRspUserFileFailedText = "\xB1\xBE\xB5\xD8\xCE\xC4\xBC\xFE\xB2\xBB\xBF\xC9\xD3\xC3:";

}  // namespace quorex
