// Every error text of the client's core, and the module names errors are raised under.
// Raise with, for example: throw CDesignError(kRecordTableZeroSize, kModuleRecordTable, __LINE__);
#pragma once

#include "quorex/Errors.h"

namespace kvt {

inline constexpr const char* kModuleMessageBridge = "client/shell/QtMessageBridge";
inline constexpr const char* kModuleRecordTable = "client/shell/RecordTable";
inline constexpr const char* kModuleClientApi = "client/shell/ClientApi";

// CDesignError
inline constexpr const char* kRecordTableWithoutIndex = "CRecordTable needs one to 32 indexes";
inline constexpr const char* kRecordTableZeroSize = "CRecordTable needs a record size";
inline constexpr const char* kRecordIndexNoCompare = "CRecordIndex needs a compare function";
inline constexpr const char* kRoutingTableInvalid =
    "the routing table names an event twice, too many windows or a window number above 31";
inline constexpr const char* kInstrumentTableMismatch = "the instrument table must hold TYuanQiInst by instID";

// CRuntimeError
inline constexpr const char* kBridgeCannotCreateEventFd = "Can not create the eventfd of the message bridge";

}  // namespace kvt
