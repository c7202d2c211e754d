#include "public/XTPProtocol.h"

#include "public/XTPPackageHandler.h"

namespace quorex {

CXTPPackageHandler* CXTPProtocol::AddHandler(std::unique_ptr<CXTPPackageHandler> handler) {
    if (handler == nullptr) return nullptr;
    const int series = handler->GetSeries();
    return static_cast<CXTPPackageHandler*>(AddUpper(std::move(handler), series));
}

}  // namespace quorex
