// CXTPPackageHandler: the top of a connection's protocol stack, one handler per sequence series
// (flow). Outgoing, it puts the XTP header in front of a package's content, built from its
// template (SequenceSeries = its series, Chain 'S', SequenceNo 0) and the package's own header
// fields, and sends it down. Incoming, it passes each package of its series through its sync
// point, when it has one (packages at or below the point are dropped, delivered ones move it), and
// then to DeliverToUser, which the API implements. Its poll runs the flow pump, which sends up to
// 40 packages from a package source per pass.
//
// Ownership: owned by the XTP layer it is registered on; it owns its sync point; the package
// source is not owned and must outlive the handler or be reset first.
// Thread contract: SendThroughReactor may be called from any thread; everything else runs on the
// reactor thread (or while the stack is being built, before its session is added to the reactor).
#pragma once

#include <cstdint>
#include <memory>

#include "public/Protocol.h"
#include "public/SyncPoint.h"
#include "public/XTPPackage.h"

namespace quorex {

// Where a flow pump takes its packages from.
class CPackageSource {
public:
    virtual ~CPackageSource() = default;
    // The next package waiting to be sent, or nullptr when there is none now. The package stays
    // the source's; it only has to stay valid until the next call.
    virtual CXTPPackage* NextPackage() = 0;
};

class CXTPPackageHandler : public CProtocol {
public:
    // The most packages one poll sends from the package source.
    static constexpr int kMaxPumpedPackages = 40;

    CXTPPackageHandler(CReactor& reactor, std::uint8_t series);

    std::uint8_t GetSeries() const { return m_template.SequenceSeries; }

    // Sends a package whose window is its content and whose m_XTPHeader holds the header fields
    // the caller sets (Tid, Chain, RootID, sender IDs, jump fields, time mark): the send result
    // (the queued length), or negative when the stack refused it. CDesignError "package buffer
    // too small" when the package has no headroom for the XTP header.
    int SendPackage(CXTPPackage& package);
    // SendPackage on the reactor thread, through a synchronous call with code 0x4001; the caller
    // waits for the result.
    int SendThroughReactor(CXTPPackage& package);

    // Gives the handler a sync point (the first time) and opens its file, or keeps it in memory
    // only when path is null. CRuntimeError "Can't open sync file" when the file can be neither
    // opened nor created.
    void OpenSyncFile(const char* path);
    // The sync point, or nullptr when the handler has none.
    CSyncPoint* GetSyncPoint() const { return m_syncPoint.get(); }
    // The source of the flow pump; nullptr (the default) pumps nothing.
    void SetPackageSource(CPackageSource* source) { m_source = source; }

    int HandleEvent(int code, int param, void* data) override;
    // Runs the flow pump; true when it sent anything.
    bool Poll() override;
    // One parsed package from the XTP layer, header included in its window.
    int OnReceive(CPackage& unit) override;

protected:
    // Hands a received package to its user: parsed, with the XTP header still in its window (so
    // GetField and GetRecord work) and valid only during the call. A negative result leaves the
    // sync point where it is; the package is consumed either way.
    virtual int DeliverToUser(CXTPPackage& package) = 0;
    // Whether the flow pump sends this package; the default sends every one.
    virtual bool FilterPackage(CXTPPackage&) { return true; }
    // Sends pending packages from the source, at most kMaxPumpedPackages; true when any was sent.
    bool RunFlowPump();

private:
    TXTPHeader m_template{};
    CPackage m_sendView;
    std::unique_ptr<CSyncPoint> m_syncPoint;
    CPackageSource* m_source = nullptr;
};

}  // namespace quorex
