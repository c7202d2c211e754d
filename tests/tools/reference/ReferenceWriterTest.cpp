// The generated reference: rows taken from each table, links that resolve, and the cross-checks
// that stop the generator when the tables disagree.
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <sstream>

#include "tools/reference/ReferenceWriter.h"

using namespace quorex::reference;

namespace {

std::string Reference(const Tables& tables) {
    std::ostringstream out;
    WriteReference(tables, out);
    return out.str();
}

class GeneratedReference : public ::testing::Test {
protected:
    static void SetUpTestSuite() { text = new std::string(Reference(LibraryTables())); }
    static void TearDownTestSuite() { delete text; }
    static bool Has(const std::string& line) { return text->find(line) != std::string::npos; }
    static std::string* text;
};
std::string* GeneratedReference::text = nullptr;

TEST(ReferenceTables, EveryTableIsComplete) {
    const Tables tables = LibraryTables();
    EXPECT_EQ(tables.packages.size(), 349u);
    // 161 field IDs with two of them registered twice, plus the two headers.
    EXPECT_EQ(tables.records.size(), 165u);
    // Slots 0 to 142, each once and in order.
    ASSERT_EQ(tables.callbacks.size(), 143u);
    for (std::size_t slot = 0; slot < tables.callbacks.size(); ++slot) EXPECT_EQ(tables.callbacks[slot].slot, static_cast<int>(slot));
    // The two logins, 49 further trader requests and 62 administrator requests.
    EXPECT_EQ(tables.requests.size(), 113u);
    EXPECT_EQ(FindInconsistencies(tables), std::vector<std::string>{});
}

TEST(ReferenceTables, ContradictionsBetweenTablesAreFound) {
    Tables tables = LibraryTables();
    tables.requests.push_back({"CTraderApi", "ReqNothing", 0x12345678, {"TYqOrder"}, false, false});
    tables.requests.push_back({"CTraderApi", "ReqWrongRecord", 0x000000F1, {"TZcOrder"}, false, false});
    tables.callbacks.push_back({143, "onRecvWrongRecord", "TGpOrder", 0x00000033, "delivery", "", false});
    tables.packages.push_back({0x7FFFFFFF, "X", "x", {{0xA10C, "TNoSuchRecord"}}});
    EXPECT_EQ(FindInconsistencies(tables),
              (std::vector<std::string>{"CTraderApi::ReqNothing: package type 0x12345678 is not in the catalogue",
                                        "CTraderApi::ReqWrongRecord: 0x000000F1 does not carry TZcOrder",
                                        "onRecvWrongRecord: 0x00000033 does not carry TGpOrder",
                                        "0x7FFFFFFF: unknown record TNoSuchRecord"}));
}

TEST_F(GeneratedReference, RequestsWithTheirPackagesAndAnswers) {
    EXPECT_TRUE(Has("| `ReqYqOrderEx` | [`TYqOrder`](#tyqorder), [`TYqFrznElctIndenture`](#tyqfrznelctindenture) "
                    "(list, ended by an empty `indentNo`) | `0x000000F1` 双向竞价报单请求 | `onRecvRspYqOrder` "
                    "(`0x000000F2` 双向竞价报单应答) |\n"));
    EXPECT_TRUE(Has("| `ReqTraderLogin` | [`TReqTraderLogin`](#treqtraderlogin) | `0x00000011` 交易员登录请求 | "
                    "`onRecvRspTraderLogin` (`0x00000012` 交易员登录应答) |\n"));
    EXPECT_TRUE(Has("| `ReqUserLogin` | [`TReqUserLogin`](#trequserlogin) | `0x00000441` "));
    // A request of both classes is listed under each.
    const std::size_t trader = text->find("## Request methods of CTraderApi");
    const std::size_t admin = text->find("## Request methods of CAdminApi");
    const std::size_t callbacks = text->find("## Callbacks");
    ASSERT_LT(trader, admin);
    const std::size_t first = text->find("| `ReqQryMemberCapital` |", trader);
    EXPECT_LT(first, admin);
    EXPECT_LT(text->find("| `ReqQryMemberCapital` |", admin), callbacks);
}

TEST_F(GeneratedReference, CallbacksAndPackages) {
    EXPECT_TRUE(Has("| 7 | `onRecvRspYqOrder` | [`TYqOrder`](#tyqorder) | `0x000000F2` 双向竞价报单应答 | response | CTraderApi |\n"));
    EXPECT_TRUE(Has("| 3 | `onRecvReqSendOver` | none | `0x00000EC1` 标准数据发送结束请求 | special | CTraderApi |\n"));
    EXPECT_TRUE(Has("| 0 | `onChannelLost` | text \"channel disconnect\" | — | special | both |\n"));
    EXPECT_TRUE(Has("| `0x000000F2` | `tid::RspYqOrder` | 双向竞价报单应答 | `0xA10C` [`TYqOrder`](#tyqorder), `0xA0FF` [`TTRspMsg`](#ttrspmsg) | "
                    "delivered to `onRecvRspYqOrder` |\n"));
    EXPECT_TRUE(Has("| `0x000002E1` | `tid::ReqQryMemberCapital` | 会员资金查询请求 | `0xA115` [`TReqQryMemberCapital`](#treqqrymembercapital) | sent by "
                    "`CTraderApi::ReqQryMemberCapital`, `CAdminApi::ReqQryMemberCapital` |\n"));
    // The raw field has no record section, so it is not linked.
    EXPECT_TRUE(Has("| `0x00009991` | `tid::VariableField` | 变长域 | `0x0001` `TVariableField` | — |\n"));
}

TEST_F(GeneratedReference, RecordsWithWireAndMemoryLayout) {
    EXPECT_TRUE(Has("### TYqOrder\n\nField ID `0xA10C` · 107 bytes on the wire · 128 bytes in memory\n"));
    EXPECT_TRUE(Has("| `price` | double | 52 | 8 | 64 |  |\n"));
    EXPECT_TRUE(Has("| `status` | char | 68 | 1 | 80 | [Order status](#order-status) |\n"));
    EXPECT_TRUE(Has("| `offSetFlag` | char | 50 | 1 | 56 | [Offset flag](#offset-flag) |\n"));
    // The response record's chain flag is set by the library and never sent.
    EXPECT_TRUE(Has("### TTRspMsg\n\nField ID `0xA0FF` · 80 bytes on the wire · 83 bytes in memory\n"));
    EXPECT_TRUE(Has("| `ChainFlag` | char | — | memory only | 0 |  |\n| `RspCode` | text 20 | 0 | 20 | 1 |  |\n"));
    EXPECT_TRUE(Has("### TXTPHeader\n\nHeader (field ID 0) · 52 bytes on the wire · 56 bytes in memory\n"));
    EXPECT_TRUE(Has("| `Tid` | uint32 | 4 | 4 | 4 |  |\n"));
    // Both layouts of a shared field ID have their own section.
    EXPECT_TRUE(Has("### TYqMemberPosi\n\nField ID `0xA11D` · 159 bytes"));
    EXPECT_TRUE(Has("### TZcMemberPosi\n\nField ID `0xA11D` · 155 bytes"));
}

TEST_F(GeneratedReference, CodeValuesAreTheClientsTables) {
    EXPECT_TRUE(Has("### Order status\n\nMembers: `status`."));
    EXPECT_TRUE(Has("| `o` | 未成交 |\n| `p` | 部分成交 |\n"));
    EXPECT_TRUE(Has("| `3` | 发送失败 |\n"));
    EXPECT_TRUE(Has("### Account type\n\nMembers: `accountType`.\n\n| Code | Text |\n|---|---|\n| `0` | 自营 |\n| `1` | 代理 |\n"));
    EXPECT_TRUE(Has("Members: `offSetFlag`, `offsetFlag`."));
    EXPECT_TRUE(Has("| `2` | 电子货单 |\n"));
    EXPECT_TRUE(Has("is shown as 未定义常量."));
}

TEST_F(GeneratedReference, EveryLinkHasItsHeading) {
    std::set<std::string> anchors;
    std::istringstream lines(*text);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t hashes = line.find_first_not_of('#');
        if (hashes == 0 || hashes == std::string::npos || line[hashes] != ' ') continue;
        std::string anchor;
        for (const char c : line.substr(hashes + 1)) {
            if (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_') anchor += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            else if (c == ' ') anchor += '-';
        }
        EXPECT_TRUE(anchors.insert(anchor).second) << "two headings give #" << anchor;
    }
    int links = 0;
    for (std::size_t at = text->find("](#"); at != std::string::npos; at = text->find("](#", at + 1), ++links) {
        const std::size_t end = text->find(')', at);
        ASSERT_NE(end, std::string::npos);
        const std::string target = text->substr(at + 3, end - at - 3);
        EXPECT_EQ(anchors.count(target), 1u) << "#" << target;
    }
    EXPECT_GT(links, 500);
}

TEST_F(GeneratedReference, TableRowsHaveTheirColumns) {
    // A stray '|' in a text would shift the columns of its row.
    std::istringstream lines(*text);
    std::size_t columns = 0;
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("|")) {
            columns = 0;
            continue;
        }
        std::size_t bars = 0;
        for (std::size_t i = 0; i < line.size(); ++i) bars += line[i] == '|' && (i == 0 || line[i - 1] != '\\');
        if (columns == 0) columns = bars;
        EXPECT_EQ(bars, columns) << line;
    }
}

TEST(ReferenceOutput, SameTablesSameBytes) {
    EXPECT_EQ(Reference(LibraryTables()), Reference(LibraryTables()));
}

}  // namespace
