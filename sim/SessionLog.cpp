#include "sim/SessionLog.h"

#include <cstdio>

#include "public/Protocol.h"
#include "quorex/Text.h"

namespace quorex::sim {
namespace {

std::string SessionPrefix(SessionId session, std::string_view user) {
    std::string prefix = "session " + std::to_string(session) + ": ";
    if (!user.empty()) prefix.append(user).append(" ");
    return prefix;
}

}  // namespace

std::string SessionUser(std::string_view role, std::string_view gbkUser) {
    return std::string(role) + " " + GbkToUtf8(gbkUser);
}

std::string LoginLine(SessionId session, std::string_view user) { return SessionPrefix(session, user) + "logged in"; }

std::string EndLine(SessionId session, std::string_view user, int code) {
    const std::string prefix = SessionPrefix(session, user);
    if (code == 0) return prefix + "ended by the exchange";
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%04x", static_cast<unsigned>(code));
    return prefix + "ended: " + EndCodeText(code) + " (" + hex + ")";
}

}  // namespace quorex::sim
