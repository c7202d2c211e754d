// Keeping the day in its folder: a start checks, loads and replays everything the folder holds
// without changing a byte, decides what an interrupted write left behind, and only then repairs
// and opens the files (the design is described in Exchange.h).
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "public/Flow.h"
#include "sim/DayFlowFiles.h"
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

std::string TidText(std::uint32_t tid) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(tid));
    return text;
}

}  // namespace

void CExchange::KeepDayIn(const std::filesystem::path& folder) {
    m_files = std::make_unique<CDayFiles>(folder, m_state.day);
    const auto flows = FlowsOf(m_state);

    // Everything is read and the day handled again in memory first: a refusal changes nothing.
    std::vector<CDayFlow> checked;
    for (const auto& [name, flow] : flows) checked.push_back(CheckDayFlow(m_files->Paths(name)));
    const CDayFlow journal = CheckDayFlow(m_files->Paths("requests"));
    for (std::size_t i = 0; i < flows.size(); ++i) flows[i].second->Load(checked[i].paths.contentFile, checked[i].check.contentKeep);
    const std::uint32_t requests = HandleJournalAgain(journal);

    // A request is journaled before anything it produces is written, so packages no journaled
    // request gives can only stem from a request whose entry is torn: it counts as never made, and
    // its packages are cut. With a whole journal they mean files that do not belong together.
    const bool journalTorn = journal.check.TornBytes() != 0;
    for (const auto& [name, flow] : flows) {
        if (flow->Unconfirmed() != 0 && !journalTorn) {
            throw CDayFileError(flow->FileName() + ": holds " + std::to_string(flow->Unconfirmed()) +
                                " packages more than the requests journaled in " + journal.paths.contentFile +
                                " give; the day's files do not belong together; " + std::string(kDamagedDayRemedy));
        }
    }
    for (const CDayFlow& flow : checked) CheckWritable(flow.paths);
    CheckWritable(journal.paths);

    // The repairs. The journal's torn entry goes last, so that a kill during the repairs leaves a
    // state the next start repairs again.
    std::vector<std::string>& repairs = m_restored.repairs;
    for (const CDayFlow& flow : checked) RepairTornTail(flow, repairs);
    for (std::size_t i = 0; i < flows.size(); ++i) {
        CSequencedFlow& flow = *flows[i].second;
        if (flow.Unconfirmed() == 0) continue;
        const std::uint32_t keep = flow.LastSequenceNo() - flow.Unconfirmed();
        // The content offsets of the records from keep on, where the cut may stop.
        std::vector<std::uint64_t> offsets{flow.ContentOffset(keep)};
        for (std::uint32_t n = keep + 1; n <= flow.LastSequenceNo(); ++n) {
            offsets.push_back(offsets.back() + CFlow::kRecordHeaderLength + flow.Package(n).size());
        }
        const std::uint64_t bytes = offsets.back() - offsets.front();
        CutFlowBack(checked[i].paths, checked[i].check.records, keep, [&](std::uint32_t n) { return offsets[n - keep]; });
        repairs.push_back(checked[i].paths.contentFile + ": cut packages " + std::to_string(keep + 1) + " to " +
                          std::to_string(flow.LastSequenceNo()) + " (records " + std::to_string(keep) + " to " +
                          std::to_string(flow.LastSequenceNo() - 1) + ", " + std::to_string(bytes) +
                          " bytes), which no journaled request gives: they came from the request torn at the end of " +
                          journal.paths.contentFile);
        flow.DropUnconfirmed();
    }
    RepairTornTail(journal, repairs);

    std::uint32_t written = 0;
    for (std::size_t i = 0; i < flows.size(); ++i) written += flows[i].second->KeepIn(checked[i].paths, m_heldWrites);
    m_heldWrites.Write();
    m_journal =
        std::make_unique<CRequestJournal>(journal.paths, journal.check.records, journal.check.contentKeep, m_heldWrites);
    m_restored.resumed = m_files->Resumed();
    m_restored.requests = requests;
    m_restored.packagesWritten = written;
}

std::uint32_t CExchange::HandleJournalAgain(const CDayFlow& journal) {
    const std::string& file = journal.paths.contentFile;
    CDiscardedOutput discarded;
    const COutputSwap swap(m_replies, discarded);
    std::uint32_t handled = 0;
    ReplayJournal(file, journal.check.contentKeep, [&](std::uint32_t number, const CJournalEntry& entry) {
        const auto damaged = [&](const std::string& why) {
            return CDayFileError(file + ": request " + std::to_string(number) + " is damaged: " + why + "; " +
                                 std::string(kDamagedDayRemedy));
        };
        const std::uint32_t tid = entry.request->m_XTPHeader.Tid;
        const CRoute* route = FindRoute(tid);
        const bool trader = entry.role == Role::kTrader;
        const std::size_t users = trader ? m_state.traders.size() : m_state.users.size();
        if (route == nullptr || !route->changesDay) throw damaged("its request type " + TidText(tid) + " is not one the exchange journals");
        if (route->role != Role::kNone && route->role != entry.role) {
            throw damaged("its request type " + TidText(tid) + " is not one a " + (trader ? "trader" : "monitor user") + " makes");
        }
        if (entry.user >= users) {
            throw damaged("it names " + std::string(trader ? "trader" : "monitor user") + " " + std::to_string(entry.user) +
                          " of a day that has " + std::to_string(users));
        }
        CExchangeSession session;
        session.role = entry.role;
        session.user = static_cast<int>(entry.user);
        std::memcpy(m_state.now, entry.time, sizeof m_state.now);
        try {
            route->handler(*this, kReplaySession, session, *entry.request);
        } catch (const CFlowMismatch& mismatch) {
            // An entry with a digest is known to be as it was written; without one either file may be at fault.
            const std::string& stored = mismatch.File();
            throw CDayFileError(stored + ": package " + std::to_string(mismatch.SequenceNo()) + " is not what request " +
                                std::to_string(number) + " of " + file + " gives again; " +
                                (entry.hasDigest ? "the request is intact (its digest matches), so " + stored + " is damaged; "
                                                 : "one of the two files is damaged (an entry written by an earlier version has no "
                                                   "digest to tell which); ") +
                                std::string(kDamagedDayRemedy));
        }
        ++handled;
    });
    return handled;
}

}  // namespace quorex::sim
