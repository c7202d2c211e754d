// The names of the login dialog's servers.
#include "client/shell/ServerList.h"

namespace kvt {

std::string ServerName(int index) { return "Kvt服务器" + std::to_string(index + 1); }

}  // namespace kvt
