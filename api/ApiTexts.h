// The API layer's fixed texts: result codes and messages it produces itself, its error texts and
// the module name its errors are raised under.
#pragma once

namespace quorex {

inline constexpr const char* kModuleApi = "api/Api";

inline constexpr const char* kRspSuccess = "RSP000000";
inline constexpr const char* kRspSuccessText = "交易成功";
inline constexpr const char* kRspNoData = "ERR999999";
inline constexpr const char* kRspNoDataText = "无数据";
inline constexpr const char* kRspNoResponseField = "无响应域，通讯包错误";

inline constexpr const char* kNoLoginResponseField = "无CXTPLoginRspField";
inline constexpr const char* kIncompleteLoggedPackage = "不是一个完整的交易请求包";

inline constexpr const char* kChannelLostReason = "channel disconnect";

}  // namespace quorex
