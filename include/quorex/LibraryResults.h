// What the library reports on its own, beside the exchange's answers: the response codes it puts
// into a TTRspMsg, and the reasons it gives onChannelLost. Compile-time constants.
#pragma once

namespace quorex {

// A login whose user files cannot be used (the received log is damaged, or a file cannot be
// opened or created): the login callback carries this code, and RspMsg "本地文件不可用:" (GBK)
// followed by the file's name. The session has been ended; the same object may log in again once
// the file is removed or repaired.
inline constexpr char kRspUserFileFailed[] = "ERR999998";
// A package without the record its callback carries, or a response package without its response
// field.
inline constexpr char kRspNoData[] = "ERR999999";

// onChannelLost: the connection ended (the exchange closed it, a write failed, nothing arrived
// for 120 seconds, the stream broke).
inline constexpr char kChannelLostReason[] = "channel disconnect";
// onChannelLost: a received package could not be handled (a user file could not be written or
// replayed, or a callback raised a library error); the error went to the log sink. The package
// is received again at the next login.
inline constexpr char kLocalFailureReason[] = "local failure";

}  // namespace quorex
