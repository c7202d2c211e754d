#include "sim/HeldOutput.h"

namespace quorex::sim {
namespace {

// Room for the answers of a busy pass, so that the vectors rarely grow after the first.
constexpr std::size_t kInitialHeldPackages = 256;
constexpr std::size_t kInitialHeldBytes = 64 * 1024;

}  // namespace

CHeldOutput::CHeldOutput(CExchangeOutput& output, const CHeldWrites& writes) : m_output(output), m_writes(writes) {
    m_held.reserve(kInitialHeldPackages);
    m_bytes.reserve(kInitialHeldBytes);
}

void CHeldOutput::SendDialog(SessionId session, std::span<const std::uint8_t> package) {
    if (!m_writes.Any()) return m_output.SendDialog(session, package);
    m_held.push_back({session, static_cast<std::uint32_t>(m_bytes.size()), static_cast<std::uint32_t>(package.size())});
    m_bytes.insert(m_bytes.end(), package.begin(), package.end());
}

void CHeldOutput::EndSession(SessionId session) {
    if (!m_writes.Any()) return m_output.EndSession(session);
    m_held.push_back({session, 0, kEnd});
}

void CHeldOutput::OnLoggedIn(SessionId session, std::string_view role, std::string_view user) {
    m_output.OnLoggedIn(session, role, user);
}

void CHeldOutput::OnStaleSubscription(SessionId session, int series, std::int32_t point, std::uint32_t last) {
    m_output.OnStaleSubscription(session, series, point, last);
}

void CHeldOutput::Release() {
    for (const CHeld& held : m_held) {
        if (held.length == kEnd) {
            m_output.EndSession(held.session);
        } else {
            m_output.SendDialog(held.session, {m_bytes.data() + held.offset, held.length});
        }
    }
    m_held.clear();
    m_bytes.clear();
}

}  // namespace quorex::sim
