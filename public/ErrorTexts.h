// Every error text of the messaging kernel, and the module names errors are raised under.
// Raise with, for example: throw CRuntimeError(kFlowCannotOpen, kModuleFlow, __LINE__);
#pragma once

#include "quorex/Errors.h"

namespace quorex {

inline constexpr const char* kModuleChannel = "public/Channel";
inline constexpr const char* kModuleChannelControl = "public/ChannelControl";
inline constexpr const char* kModuleServiceName = "public/ServiceName";
inline constexpr const char* kModuleTcpChannel = "public/TcpChannel";
inline constexpr const char* kModuleTcpClient = "public/TcpClient";
inline constexpr const char* kModuleFlow = "public/Flow";
inline constexpr const char* kModuleXTPFlow = "public/XTPFlow";
inline constexpr const char* kModuleXTPPackage = "public/XTPPackage";
inline constexpr const char* kModuleXTPPackageHandler = "public/XTPPackageHandler";

// CDesignError
inline constexpr const char* kChannelReadOnWriteOnly = "Can not read in write only CChannel";
inline constexpr const char* kChannelWriteOnReadOnly = "Can not write in read only CChannel";
inline constexpr const char* kControlNullChannel = "CXTPControl can't use NULL channel";
inline constexpr const char* kServiceNameEmpty = "empty location for service name";
inline constexpr const char* kTcpClientCannotCreateSocket = "Can not create socket for tcp CClient";
inline constexpr const char* kTcpClientNotTcp = "Can not connect to none tcp service";
inline constexpr const char* kTcpClientInvalidPort = "Invalid port";
inline constexpr const char* kPackageBufferTooSmall = "package buffer too small";

// CRuntimeError
inline constexpr const char* kServiceNameInvalidLocation = "Invalid location";
inline constexpr const char* kTcpChannelCannotInit = "Can not init socket";
inline constexpr const char* kTcpChannelCannotSetNonBlocking = "Can not set FIONBIO\n";
inline constexpr const char* kTcpClientCannotSetNonBlocking = "Can not set FIONBIO for socket";
inline constexpr const char* kFlowCannotWriteContent = "Can not write content file for CFlow";
inline constexpr const char* kFlowCannotWriteId = "Can not write id file for CFlow";
inline constexpr const char* kFlowCannotReadId = "Can not read id file for CFlow";
inline constexpr const char* kFlowCannotReadContent = "Can not read content file for CFlow";
inline constexpr const char* kFlowBufferTooShort = "Insufficient buffer length while reading CFlow";
inline constexpr const char* kFlowFileNameError = "id file name or content file name error";
inline constexpr const char* kFlowCannotOpen = "can not open CFlow file";
inline constexpr const char* kFlowInvalidIdFile = "Invalid CFlow m_fpIdFile";
inline constexpr const char* kIllegalTid = "非法的Tid";
inline constexpr const char* kSyncFileCannotOpen = "Can't open sync file";

}  // namespace quorex
