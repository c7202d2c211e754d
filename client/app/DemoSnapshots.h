// The demo's pictures of the trading window, for runs without anyone at the screen: once the
// window shows the capital and the quotations, and the market has had a moment to move, it saves
// a PNG of the whole window for each of the pages 行情, 报单, 成交单, 订货量 and 资金 (printing each
// path), then closes the window as the close box does, which logs out. A second close follows if
// the exchange keeps the connection.
//
// Thread contract: user interface thread only.
#pragma once

#include <QString>

namespace kvt {

class CApplication;

// prefix: the path of the pictures without ".png"; each page's name is appended.
void TakeDemoSnapshots(CApplication& application, const QString& prefix);

}  // namespace kvt
