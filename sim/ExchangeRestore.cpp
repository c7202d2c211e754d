// Keeping the day in its folder: the flows' files, and the journaled requests handled again on a
// restart (the design is described in Exchange.h).
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "sim/Exchange.h"
#include "sim/Text.h"

namespace quorex::sim {
namespace {

// A session that no connection can have: the journaled requests are handled again on it.
constexpr SessionId kReplaySession = 0xFFFFFFFF;

// Where the answers of a replay go: nowhere, they were given in the run that journaled them.
class CDiscardedOutput final : public CExchangeOutput {
public:
    void SendDialog(SessionId, std::span<const std::uint8_t>) override {}
    void EndSession(SessionId) override {}
};

// Sends the replies to another output for as long as it lives.
class COutputSwap {
public:
    COutputSwap(CExchangeReplies& replies, CExchangeOutput& replacement) : m_replies(replies), m_previous(replies.Output()) {
        m_replies.SetOutput(replacement);
    }
    COutputSwap(const COutputSwap&) = delete;
    COutputSwap& operator=(const COutputSwap&) = delete;
    ~COutputSwap() { m_replies.SetOutput(m_previous); }

private:
    CExchangeReplies& m_replies;
    CExchangeOutput& m_previous;
};

// Every sequenced flow of the day with the name of its files.
std::vector<std::pair<std::string, CSequencedFlow*>> FlowsOf(CExchangeState& state) {
    std::vector<std::pair<std::string, CSequencedFlow*>> flows = {
        {"market", &state.marketFlow}, {"monitor-private", &state.monitorPrivateFlow}, {"monitor-member", &state.monitorMemberFlow}};
    for (std::size_t m = 0; m < state.memberFlows.size(); ++m) {
        flows.emplace_back("member-" + std::string(FieldText(state.day.members[m].memberID)), state.memberFlows[m].get());
    }
    for (CTraderState& trader : state.traders) {
        flows.emplace_back("private-" + std::string(FieldText(trader.record.traderID)), trader.privateFlow.get());
    }
    return flows;
}

}  // namespace

void CExchange::KeepDayIn(const std::filesystem::path& folder) {
    m_files = std::make_unique<CDayFiles>(folder, m_state.day);
    const auto flows = FlowsOf(m_state);
    std::uint32_t loaded = 0;
    for (const auto& [name, flow] : flows) {
        flow->KeepIn(m_files->Flow(name));
        loaded += flow->LastSequenceNo();
    }
    m_journal = std::make_unique<CRequestJournal>(m_files->Flow("requests"));

    CDiscardedOutput discarded;
    const COutputSwap swap(m_replies, discarded);
    m_journal->Replay([&](std::uint32_t number, const CJournalEntry& entry) {
        const CRoute* route = FindRoute(entry.request->m_XTPHeader.Tid);
        const std::size_t users = entry.role == Role::kTrader ? m_state.traders.size() : m_state.users.size();
        if (route == nullptr || !route->changesDay || (route->role != Role::kNone && route->role != entry.role) || entry.user >= users) {
            throw CDayFileError(m_journal->FileName() + ": request " + std::to_string(number) + " is not one the exchange journals");
        }
        CExchangeSession session;
        session.role = entry.role;
        session.user = static_cast<int>(entry.user);
        std::memcpy(m_state.now, entry.time, sizeof m_state.now);
        route->handler(*this, kReplaySession, session, *entry.request);
    });

    std::uint32_t total = 0;
    for (const auto& [name, flow] : flows) {
        if (flow->Unconfirmed() != 0) {
            throw CDayFileError(flow->FileName() + ": holds " + std::to_string(flow->Unconfirmed()) +
                                " packages more than the requests journaled in " + m_journal->FileName() +
                                " give; the day's files do not belong together");
        }
        total += flow->LastSequenceNo();
    }
    m_restored.resumed = m_files->Resumed();
    m_restored.requests = m_journal->Count();
    m_restored.packagesWritten = total - loaded;
    m_restored.repairs = m_files->Repairs();
}

}  // namespace quorex::sim
