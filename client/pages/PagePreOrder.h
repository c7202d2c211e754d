// CPagePreOrder: the pre-order page (预埋单). It lists the orders the trader has parked on the
// client instead of sending them, one row each with a check box, and from its context menu sends
// the ticked ones or all of them, or deletes them.
//
// - Adding (the order entry page, the batch panel, the file): the order is copied, a zero status
//   becomes '1' (预埋), the indenture list is ended, and the row gets the next pre-order number
//   "%.8d" of the page's counter, which starts at 1 for every page, so numbers after a restart
//   start again at 00000001.
// - Sending: at most 20 orders per command. Only rows in state '1' go; the k-th row sent by a
//   command gets the local order number base + k, base being CLocalOrderNumbers::ReserveBatch() when
//   the command's first order goes out; one ReqYqOrderEx every 100 ms. Every row tried becomes
//   '3' (发送失败) until the exchange's acceptance removes it.
// - Answers to orders: an answer belongs to a row that was handed to the library and has
//   not been answered yet; it is recognised by the local order number the row went with or, when
//   the answer carries none, by the pre-order number as sent. An acceptance removes the row; a
//   refusal leaves it 发送失败, and later answers no longer concern it. Answers to other orders,
//   even with an orderNo that equals a parked row's number, change nothing.
// - The file (PreOrderFile.h): loaded at the end of the initial download for today's trade date,
//   saved when the connection is lost and by Save(). Nothing is saved before the file has been loaded, so a
//   connection lost during the initial download cannot wipe the parked orders.
//
// Thread contract: user interface thread only. Ownership: owns its rows and their indenture
// lists; the services outlive the page.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "client/pages/PageLinks.h"
#include "client/pages/PreOrderFile.h"
#include "client/shell/CheckRows.h"
#include "client/shell/ClientServices.h"
#include "client/shell/ListRows.h"
#include "client/shell/LocalOrderNumbers.h"
#include "client/shell/MessageTarget.h"
#include "client/shell/TraderEvents.h"
#include "client/pages/OrderTicket.h"
#include "client/shell/PacedSequence.h"

namespace kvt {

enum class EPreOrderCommand { SendSelected, SendAll, DeleteSelected, DeleteAll };

struct CPreOrderMenuItem {
    EPreOrderCommand command;
    std::string_view text;  // UTF-8
};

class CPagePreOrder : public CMessageTarget, public CTraderEvents, public CListRows, public CPreOrderSink {
public:
    static constexpr int kMaxOrdersPerSend = kMaxOrdersPerCommand;
    static constexpr char kParked = '1';
    static constexpr char kSendFailed = '3';

    // directory: where the file lives; empty for the working directory at the time of use.
    explicit CPagePreOrder(const CClientServices& services, std::string directory = {});
    ~CPagePreOrder() override;
    CPagePreOrder(const CPagePreOrder&) = delete;
    CPagePreOrder& operator=(const CPagePreOrder&) = delete;

    int RowCount() const override { return static_cast<int>(m_rows.size()); }
    std::span<const CListColumn> Columns() const override;
    std::string CellText(int row, int column) const override;
    bool HasCheckBoxes() const override { return true; }
    bool IsRowChecked(int row) const override { return m_ticks.IsChecked(row); }
    void OnCheckClicked(int row, bool checked) override;

    void AddPreOrder(const TYqOrder& order, std::vector<TYqFrznElctIndenture> indentures,
                     bool bringIntoView) override;

    // The end of the initial download loads the file, a lost connection saves it; the answers to
    // orders are the answers to the rows sent. Order returns are not the page's concern.
    void onRecvReqSendOver() override { Load(); }
    void onChannelLost(const TTRspMsg&) override { Save(); }
    void onRecvRspYqOrder(const TYqOrder* answer, const TTRspMsg& rsp) override;

    // The context menu for the current ticks: the two "selected" items only while a row is ticked.
    std::vector<CPreOrderMenuItem> MenuItems() const;
    void Run(EPreOrderCommand command);
    void SendSelected();
    void SendAll();
    void DeleteSelected();
    void DeleteAll();
    bool IsCommandRunning() const { return m_commands.IsRunning(); }

    // Writes the file now (also for an end of the program without a lost connection). False when
    // nothing was written: the file has not been loaded yet, or the write failed.
    bool Save();
    std::string FilePath() const;

    const TYqOrder& Order(int row) const { return Row(row).parked.order; }
    const std::vector<TYqFrznElctIndenture>& Indentures(int row) const { return Row(row).parked.indentures; }
    int CheckedCount() const { return m_ticks.CheckedCount(); }

private:
    struct CRow {
        CParkedOrder parked;
        // Handed to the library and not answered yet.
        bool awaitingAnswer = false;
    };
    using RowPtr = std::shared_ptr<CRow>;
    // The numbering of one send command, fixed when its first order goes out.
    struct CSendCommand {
        bool started = false;
        std::int64_t base = 0;
        int count = 0;  // rows chosen, the most it can number
        int tried = 0;
    };

    const CRow& Row(int row) const { return *m_rows[static_cast<std::size_t>(row)]; }
    int IndexOf(const CRow* row) const;
    void Load();
    CRow* FindAnsweredRow(const TYqOrder& answer) const;
    void StopAwaiting(CRow& row);
    void RemoveRow(int index);
    void ShowCheckedCount();
    void ShowSendLimit();
    void Send(std::vector<RowPtr> rows);
    void SendOne(CSendCommand& command, const std::weak_ptr<CRow>& target);

    const CClientServices m_services;
    const std::string m_directory;
    CLocalOrderNumbers m_numbers;
    std::vector<RowPtr> m_rows;
    CCheckRows m_ticks;
    // Rows awaiting an answer, by the local order number they went with.
    std::unordered_map<std::string, CRow*> m_awaiting;
    int m_counter = 0;
    bool m_loaded = false;
    // Declared last: pending steps refer to the members above.
    CPacedSequence m_commands;
};

}  // namespace kvt
