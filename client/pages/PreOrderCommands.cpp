// CPagePreOrder: the context menu's commands. Each decides its rows when it is given and then
// runs paced from the event loop (sends every 100 ms, deletions every 50 ms); a row that is gone
// or no longer parked by the time its step runs is passed over.
#include <chrono>
#include <cstdio>

#include "client/pages/PagePreOrder.h"
#include "client/shell/ExchangeRequests.h"
#include "client/shell/Prompter.h"
#include "client/shell/StatusLine.h"
#include "quorex/Text.h"

namespace kvt {

namespace {

constexpr std::chrono::milliseconds kSendInterval{100};
constexpr std::chrono::milliseconds kDeleteInterval{50};

}  // namespace

std::vector<CPreOrderMenuItem> CPagePreOrder::MenuItems() const {
    const bool ticked = m_ticks.CheckedCount() > 0;
    std::vector<CPreOrderMenuItem> items;
    if (ticked) items.push_back({EPreOrderCommand::SendSelected, "发送选中预埋单"});
    items.push_back({EPreOrderCommand::SendAll, "发送所有预埋单"});
    if (ticked) items.push_back({EPreOrderCommand::DeleteSelected, "删除选中预埋单"});
    items.push_back({EPreOrderCommand::DeleteAll, "删除所有预埋单"});
    return items;
}

void CPagePreOrder::Run(EPreOrderCommand command) {
    switch (command) {
        case EPreOrderCommand::SendSelected: SendSelected(); break;
        case EPreOrderCommand::SendAll: SendAll(); break;
        case EPreOrderCommand::DeleteSelected: DeleteSelected(); break;
        case EPreOrderCommand::DeleteAll: DeleteAll(); break;
    }
}

void CPagePreOrder::SendSelected() {
    // The limit counts every ticked row, parked or not; the warning is left standing.
    if (m_ticks.CheckedCount() > kMaxOrdersPerSend) {
        ShowSendLimit();
        return;
    }
    std::vector<RowPtr> rows;
    for (int row = 0; row < RowCount(); ++row) {
        if (m_ticks.IsChecked(row) && Order(row).status == kParked) rows.push_back(m_rows[static_cast<std::size_t>(row)]);
    }
    Send(std::move(rows));
}

void CPagePreOrder::SendAll() {
    // The limit counts every row, whatever its state, and is checked before asking.
    if (RowCount() > kMaxOrdersPerSend) {
        ShowSendLimit();
        return;
    }
    if (!m_services.prompter.AskYesNo("确定发送所有预埋单?", "准备发送所有预埋单")) {
        ShowCheckedCount();
        return;
    }
    std::vector<RowPtr> rows;
    for (const RowPtr& row : m_rows) {
        if (row->parked.order.status == kParked) rows.push_back(row);
    }
    Send(std::move(rows));
}

void CPagePreOrder::ShowSendLimit() { m_services.status.Show(SendLimitText()); }

void CPagePreOrder::Send(std::vector<RowPtr> rows) {
    auto command = std::make_shared<CSendCommand>();
    command->count = static_cast<int>(rows.size());
    std::vector<CPacedSequence::Step> steps;
    steps.reserve(rows.size());
    for (const RowPtr& row : rows) {
        steps.push_back([this, command, target = std::weak_ptr<CRow>(row)] { SendOne(*command, target); });
    }
    m_commands.Run(std::move(steps), kSendInterval, [this] { ShowCheckedCount(); });
}

void CPagePreOrder::SendOne(CSendCommand& command, const std::weak_ptr<CRow>& target) {
    const RowPtr row = target.lock();
    if (row == nullptr || row->parked.order.status != kParked) return;
    // Numbered from the state when the command's first order goes out, so that a command that
    // waited behind another numbers after it.
    if (!command.started) {
        command.base = m_numbers.ReserveBatch(command.count);
        command.started = true;
    }
    const std::string localOrderNo = CLocalOrderNumbers::Format(command.base + ++command.tried);
    TYqOrder& order = row->parked.order;
    quorex::SetText(order.localOrderNo, localOrderNo);
    if (m_services.requests.ReqYqOrderEx(order, row->parked.indentures.data()) == 0) {
        m_numbers.OnSent(localOrderNo);
        row->awaitingAnswer = true;
        const auto [slot, inserted] = m_awaiting.try_emplace(localOrderNo, row.get());
        if (!inserted) {
            // A number given twice: the earlier row's answer can no longer be told apart.
            slot->second->awaitingAnswer = false;
            slot->second = row.get();
        }
    }
    order.status = kSendFailed;
    const int index = IndexOf(row.get());
    RowsChanged(index, index);
}

void CPagePreOrder::DeleteSelected() {
    std::vector<CPacedSequence::Step> steps;
    for (int row = 0; row < RowCount(); ++row) {
        if (!m_ticks.IsChecked(row)) continue;
        steps.push_back([this, target = std::weak_ptr<CRow>(m_rows[static_cast<std::size_t>(row)])] {
            if (const RowPtr gone = target.lock()) RemoveRow(IndexOf(gone.get()));
        });
    }
    m_commands.Run(std::move(steps), kDeleteInterval, [this] { ShowCheckedCount(); });
}

void CPagePreOrder::DeleteAll() {
    if (m_services.prompter.AskYesNo("确定删除所有预埋单?", "准备删除所有预埋单")) {
        BeginReset();
        m_awaiting.clear();
        m_rows.clear();
        m_ticks.Clear();
        EndReset();
    }
    ShowCheckedCount();
}

}  // namespace kvt
