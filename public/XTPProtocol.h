// CXTPProtocol: the XTP layer. Each frame payload it is given is one XTP package: it parses it
// (a package that fails to parse reports event 0x3001 and ends the connection) and hands it, still
// parsed and with its header in the window so that its fields can be read, to the XTP package
// handler registered under the package's SequenceSeries. Packages of a series without a handler
// are dropped.
//
// Ownership and threads: see CProtocol. Created by the session, owned by the frame layer; it owns
// the handlers.
#pragma once

#include <memory>

#include "public/Protocol.h"
#include "public/XTPPackage.h"

namespace quorex {

class CXTPPackageHandler;

class CXTPProtocol final : public CProtocol {
public:
    explicit CXTPProtocol(CReactor& reactor) : CProtocol(reactor, XTPHLEN) {}

    // Registers the handler under the series it serves and takes ownership of it; the handler, or
    // nullptr (handler destroyed) when its series already has one or 8 are registered.
    CXTPPackageHandler* AddHandler(std::unique_ptr<CXTPPackageHandler> handler);

protected:
    CPackage* ReceiveUnit() override { return &m_package; }
    int CutUnit() override { return m_package.Parse(); }
    int DemuxKey() const override { return m_package.m_XTPHeader.SequenceSeries; }
    void OnStreamError() override { PostToSink(kEventPackageBroken); }

private:
    CXTPPackage m_package;
};

}  // namespace quorex
