// CApiSession: the API's connection to the exchange: the kernel session (channel, frame and XTP
// layers) with four flow handlers, one per series: 1 dialog (requests out, responses in), 2 member,
// 3 private, 4 market. Every received package goes to the API state's dispatcher; the dialog
// handler also sends, on each poll, the requests that user threads queued. When the connection
// ends, the API state is told (channel loss).
//
// Ownership: built by the login call, then owned by the reactor. Thread contract: built on the
// caller's thread; after it is added to the reactor everything runs on the reactor thread.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "public/ChannelControl.h"
#include "public/FlowSeries.h"
#include "public/XTPPackageHandler.h"

namespace quorex {

struct CApiState;

class CApiSession;

class CApiFlowHandler final : public CXTPPackageHandler {
public:
    CApiFlowHandler(CReactor& reactor, std::uint8_t series, CApiState& state, CApiSession& session)
        : CXTPPackageHandler(reactor, series), m_state(state), m_session(session) {}

    // The dialog handler sends the queued requests first; every handler then runs its flow pump.
    bool Poll() override;

protected:
    // Hands the package to the API state, while this handler's session is the current one. A
    // library error while it is handled ends the session (channel loss) and leaves the sync point
    // where it was, so the exchange sends the package again at the next login.
    int DeliverToUser(CXTPPackage& package) override;

private:
    CApiState& m_state;
    CApiSession& m_session;
};

class CApiSession final : public CXTPControl {
public:
    CApiSession(CReactor& reactor, std::unique_ptr<CChannel> channel, CApiState& state);

    // The handler of a series (1 to 4).
    CApiFlowHandler& Handler(FlowSeries series) const { return *m_handlers[series - 1]; }

    // Hands everything read to the stack, writes what the pass delivered to the user's files, then
    // tells the host that the pass's callbacks are over.
    void OnReadable() override;

protected:
    void OnDisconnect(int code) override;

private:
    CApiState& m_state;
    std::array<CApiFlowHandler*, 4> m_handlers{};
};

}  // namespace quorex
