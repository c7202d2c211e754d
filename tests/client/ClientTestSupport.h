// Test doubles for the logic of the client's windows: a recording fake of the requests, timers on
// a manual clock, scripted message boxes, and CClientHarness, which puts a CClientApi (never
// started), its bridge and the status line around them. The test's own thread is the user
// interface thread, so sends are direct calls and posted messages wait for Deliver().
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <ctime>
#include <deque>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

#include "ClientApiTestSupport.h"
#include "client/pages/PageWindows.h"
#include "client/shell/ClientServices.h"
#include "client/shell/ExchangeRequests.h"
#include "client/shell/Prompter.h"
#include "client/shell/StatusLine.h"
#include "client/shell/Timers.h"
#include "quorex/Text.h"

namespace kvt::test {

// Every request in order, with a copy of each record; every call returns `result`.
class CRecordedRequests : public CExchangeRequests {
public:
    int result = 0;
    std::vector<std::string> calls;  // request names, in order
    std::string host;
    int port = 0;
    std::string tradeDate = "20260105";
    std::vector<TReqTraderLogin> logins;
    std::vector<TReqTraderLogout> logouts;
    std::vector<TReqTraderPasswordUpdate> passwordUpdates;
    struct COrder {
        TYqOrder order;
        std::vector<TYqFrznElctIndenture> indentures;  // up to and including the empty entry
    };
    std::vector<COrder> orders;
    std::vector<TYqOrderCancel> cancels;
    std::vector<TReqQryMemberCapital> capitalQueries;
    std::vector<TReqQryElctIndenture> indentureQueries;
    std::vector<TReqQryQuotation> quotationQueries;
    std::vector<TReqQryMemberPosi> memberPosiQueries;
    std::vector<TReqQryClientPosi> clientPosiQueries;
    std::vector<TReqQryInstElctIndent> instIndentureQueries;

    void UseServer(const char* h, int p) override {
        calls.push_back("UseServer");
        host = h;
        port = p;
    }
    std::string TradeDate() override { return tradeDate; }
    int ReqTraderLogin(const TReqTraderLogin& r) override { return Keep("ReqTraderLogin", logins, r); }
    int ReqTraderLogout(const TReqTraderLogout& r) override { return Keep("ReqTraderLogout", logouts, r); }
    int ReqTraderPasswordUpdate(const TReqTraderPasswordUpdate& r) override {
        return Keep("ReqTraderPasswordUpdate", passwordUpdates, r);
    }
    int ReqYqOrderEx(const TYqOrder& order, const TYqFrznElctIndenture* list) override {
        COrder sent{order, {}};
        for (int i = 0; list != nullptr; ++i) {
            sent.indentures.push_back(list[i]);
            if (list[i].indentNo[0] == '\0') break;
        }
        return Keep("ReqYqOrderEx", orders, sent);
    }
    int ReqYqOrderCancel(const TYqOrderCancel& r) override { return Keep("ReqYqOrderCancel", cancels, r); }
    int ReqQryMemberCapital(const TReqQryMemberCapital& r) override {
        return Keep("ReqQryMemberCapital", capitalQueries, r);
    }
    int ReqQryElctIndenture(const TReqQryElctIndenture& r) override {
        return Keep("ReqQryElctIndenture", indentureQueries, r);
    }
    int ReqQryYqQuotation(const TReqQryQuotation& r) override { return Keep("ReqQryYqQuotation", quotationQueries, r); }
    int ReqQryYqMemberPosi(const TReqQryMemberPosi& r) override {
        return Keep("ReqQryYqMemberPosi", memberPosiQueries, r);
    }
    int ReqQryYqClientPosi(const TReqQryClientPosi& r) override {
        return Keep("ReqQryYqClientPosi", clientPosiQueries, r);
    }
    int ReqQryYqInstElctIndent(const TReqQryInstElctIndent& r) override {
        return Keep("ReqQryYqInstElctIndent", instIndentureQueries, r);
    }

private:
    template <class Entry>
    int Keep(const char* name, std::vector<Entry>& list, const Entry& record) {
        calls.push_back(name);
        list.push_back(record);
        return result;
    }
};

// Timers on a clock that only Advance moves; tasks run in due order.
class CManualTimers : public CTimers {
public:
    TimerId After(std::chrono::milliseconds delay, Task task) override {
        const TimerId id = ++m_lastId;
        m_due.emplace(std::make_pair(m_now + delay, id), std::move(task));
        return id;
    }
    void Cancel(TimerId id) override {
        for (auto it = m_due.begin(); it != m_due.end(); ++it) {
            if (it->first.second == id) {
                m_due.erase(it);
                return;
            }
        }
    }
    void Pause(std::chrono::milliseconds pause) override {
        pauses.push_back(pause);
        m_now += pause;
    }
    // Moves the clock on, running every task that falls due on the way.
    void Advance(std::chrono::milliseconds by) {
        const std::chrono::milliseconds until = m_now + by;
        while (!m_due.empty() && m_due.begin()->first.first <= until) {
            auto first = m_due.begin();
            m_now = first->first.first;
            Task task = std::move(first->second);
            m_due.erase(first);
            task();
        }
        m_now = until;
    }
    // Runs everything pending, and whatever that schedules, up to a limit of simulated time.
    void RunAll(std::chrono::milliseconds limit = std::chrono::minutes(10)) { Advance(limit); }
    std::size_t PendingCount() const { return m_due.size(); }
    std::chrono::milliseconds Now() const { return m_now; }

    std::vector<std::chrono::milliseconds> pauses;

private:
    std::map<std::pair<std::chrono::milliseconds, TimerId>, Task> m_due;
    std::chrono::milliseconds m_now{0};
    TimerId m_lastId = 0;
};

// A moment of local time, as the clock of the machine shows it.
inline std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    return std::mktime(&fields);
}

// Answers yes/no boxes from a queue (yes when it is empty), save-file boxes with savePath (""
// cancels), and records every box.
class CScriptedPrompter : public CPrompter {
public:
    struct CBox {
        std::string text;
        std::string caption;
        bool question;
    };
    std::deque<bool> answers;
    std::vector<CBox> boxes;

    bool AskYesNo(std::string_view text, std::string_view caption) override {
        boxes.push_back({std::string(text), std::string(caption), true});
        if (answers.empty()) return true;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Inform(std::string_view text, std::string_view caption) override {
        boxes.push_back({std::string(text), std::string(caption), false});
    }
    std::string ChooseSaveFile(std::string_view proposedName, std::string_view caption) override {
        saveBoxes.push_back({std::string(proposedName), std::string(caption), true});
        return savePath;
    }
    std::string savePath;
    std::vector<CBox> saveBoxes;  // text: the proposed name
};

// The main frame's status line as a test sees it: the texts (UTF-8) of the WM_STATUS_TEXT
// messages it received, with their wParam.
class CStatusJournal : public CMessageTarget {
public:
    explicit CStatusJournal(CStatusLine& status) : m_status(status) {}
    void OnMessage(unsigned message, WParam wParam, LParam lParam) override {
        if (message != WM_STATUS_TEXT) return;
        const TTRspMsg* rsp = MessageParameter<WM_STATUS_TEXT>(wParam, lParam);
        texts.push_back(rsp == nullptr ? std::string() : quorex::TextOf(rsp->RspMsg));
        senders.push_back(wParam);
        m_status.Shown(rsp);
    }
    std::vector<std::string> texts;
    std::vector<WParam> senders;

private:
    CStatusLine& m_status;
};

inline TTRspMsg Response(const char* code = "RSP000000", const char* text = "") {
    TTRspMsg rsp{};
    rsp.ChainFlag = 'L';
    quorex::SetText(rsp.RspCode, code);
    quorex::SetText(rsp.RspMsg, quorex::Utf8ToGbk(text));
    return rsp;
}

class CClientHarness {
public:
    CClientHarness() : status(bridge, api.Windows().Window(EShellWindow::MainFrame)), statusJournal(status) {
        api.Windows().Register(EShellWindow::MainFrame, nullptr, &statusJournal);
    }
    ~CClientHarness() { api.Windows().Register(EShellWindow::MainFrame, nullptr); }

    // Registers a window under its number for the events the routing table gives it and the
    // messages posted to it; null clears the number.
    template <class Number, class Window>
    void Register(Number number, Window* window) {
        CTraderEvents* events = nullptr;
        CMessageTarget* messages = nullptr;
        if constexpr (std::is_base_of_v<CTraderEvents, Window>) events = window;
        if constexpr (std::is_base_of_v<CMessageTarget, Window>) messages = window;
        api.Windows().Register(static_cast<TWindowId>(number), events, messages);
    }
    template <class Number>
    void Unregister(Number number) {
        api.Windows().Register(static_cast<TWindowId>(number), nullptr);
    }

    CClientServices Services() { return {api, requests, bridge, status, prompter, timers}; }

    // The login state a successful login leaves: trader, member, acknowledged local order number.
    void LogIn(const char* traderID = "00010001", const char* memberID = "0001",
               const char* localOrderNo = "00000000000041") {
        TReqTraderLogin login{};
        quorex::SetText(login.traderID, traderID);
        quorex::SetText(login.memberID, memberID);
        quorex::SetText(login.localOrderNo, localOrderNo);
        quorex::SetText(login.tradeDate, "20260105");
        quorex::SetText(login.tradeTime, "10:30:00");
        api.LoginState().ApplyLoginResponse(login, std::time(nullptr));
    }

    // Runs the posted messages and returns the status texts shown since the last call.
    std::vector<std::string> StatusTexts() {
        bridge.Deliver();
        std::vector<std::string> texts = std::move(statusJournal.texts);
        statusJournal.texts.clear();
        statusJournal.senders.clear();
        return texts;
    }
    // The last status text shown so far ("" when none).
    std::string LastStatus() {
        const std::vector<std::string> texts = StatusTexts();
        return texts.empty() ? std::string() : texts.back();
    }

    NoWakeup wakeup;
    CMessageBridge bridge{wakeup};
    CClientApi api{bridge, EventRoutes(), [] { return std::time_t{1'800'000'000}; }};
    CRecordedRequests requests;
    CManualTimers timers;
    CScriptedPrompter prompter;
    CStatusLine status;
    CStatusJournal statusJournal;
};

}  // namespace kvt::test
