// CPageQuotation: quotation copies in yqInstID order, the cell texts and marks, the product group
// bands and the order prefills.
#include "client/pages/PageQuotation.h"

#include <algorithm>
#include <cstring>

#include "client/shell/ClientApi.h"
#include "client/shell/DisplayFormats.h"
#include "client/shell/RecordKeys.h"
#include "quorex/Text.h"

namespace kvt {

namespace {

using enum EQuotationField;

constexpr CFieldColumn<EQuotationField> kFields[] = {
    {"商品代码", 80, Code},     {"最新价", 60, Last},       {"涨跌", 40, UpDown},       {"买价", 60, Bid},
    {"买量", 60, BidLot},       {"卖价", 60, Ask},          {"卖量", 60, AskLot},       {"成交量", 60, Volume},
    {"订货量", 60, Position},   {"开市价", 60, Open},       {"最高价", 60, High},       {"最低价", 60, Low},
    {"均价", 40, Average},      {"涨跌幅度", 80, UpDownRate}, {"昨均价", 60, LastAverage}, {"成交额", 80, Turnover},
};
constexpr auto kColumns = PlainColumns(kFields);
static_assert(kFields[CPageQuotation::kUpDownColumn].field == UpDown);
static_assert(kFields[CPageQuotation::kUpDownRateColumn].field == UpDownRate);

// 涨跌 and 涨跌幅度 carry a rise or fall mark.
bool IsMarked(EQuotationField field) { return field == UpDown || field == UpDownRate; }

struct CQuotationMenuItem {
    std::string_view text;
    char direction;
    char offsetFlag;
};
constexpr CQuotationMenuItem kMenu[] = {
    {"买入新订", 'b', '0'}, {"卖出新订", 's', '0'}, {"转让卖出", 's', '1'}, {"转让买入", 'b', '1'}};
constexpr std::string_view kMenuTexts[] = {kMenu[0].text, kMenu[1].text, kMenu[2].text, kMenu[3].text};
static_assert(std::size(kMenuTexts) == std::size(kMenu));

constexpr std::size_t kProductGroupLength = 3;

int CompareQuotationInstID(const void* a, const void* b) {
    return CompareText(static_cast<const TYqQuotation*>(a)->instID, static_cast<const TYqQuotation*>(b)->instID);
}

int CompareQuotationYqInstID(const void* a, const void* b) {
    return CompareText(static_cast<const TYqQuotation*>(a)->yqInstID, static_cast<const TYqQuotation*>(b)->yqInstID);
}

bool YqInstIDBefore(const TYqQuotation* a, const TYqQuotation* b) { return CompareQuotationYqInstID(a, b) < 0; }

// Volumes, positions and turnover are counted once per side; the page shows both sides.
std::string BothSides(int perSide) { return FormatWhole(2.0 * perSide); }

std::string UpDownRateText(const TYqQuotation& q) {
    double percent = q.upDownRate * (q.upDown > 0 ? 100.0 : -100.0);
    // An unchanged instrument's 0 × −100 is −0, which would print as a fall ("-0.0").
    if (percent == 0) percent = 0;
    return FormatOneDecimal(percent) + "%";
}

// "%4s": the text right-aligned in four characters.
std::string PadToFour(std::string_view text) {
    std::string padded(text.size() < 4 ? 4 - text.size() : 0, ' ');
    return padded.append(text);
}

// 涨跌 and 涨跌幅度: a value above 0 is drawn as a rise; a text that is neither a rise, a fall nor
// zero (not a number) is not drawn.
CQuoteCell MarkedCell(std::string text) {
    if (ParseDouble(text.c_str()) > 0) text.insert(0, "+");
    if (text.empty()) return {std::string(), EQuoteTone::Normal};
    switch (text.front()) {
        case '+': return {"▲" + PadToFour(std::string_view(text).substr(1)), EQuoteTone::Rising};
        case '-': return {"▼" + PadToFour(std::string_view(text).substr(1)), EQuoteTone::Falling};
        case '0': return {std::move(text), EQuoteTone::Normal};
        default: return {std::string(), EQuoteTone::Normal};
    }
}

std::string_view ProductGroup(std::string_view yqInstID) { return yqInstID.substr(0, kProductGroupLength); }

}  // namespace

CRgb ColourOf(EQuoteTone tone) {
    switch (tone) {
        case EQuoteTone::Rising: return {255, 0, 0};
        case EQuoteTone::Falling: return {0, 128, 0};
        case EQuoteTone::Normal: break;
    }
    return {0, 0, 0};
}

CPageQuotation::CPageQuotation(CClientApi& api, COrderPrefill* prefill)
    : m_api(api), m_prefill(prefill),
      m_quotations({&CompareQuotationInstID, &CompareQuotationYqInstID}) {}

std::span<const CListColumn> CPageQuotation::Columns() const { return kColumns; }

std::string QuotationFieldText(const TYqQuotation& q, EQuotationField field) {
    switch (field) {
        case Code: return quorex::TextOf(q.yqInstID);
        case Last: return FormatWhole(q.lastest);
        case UpDown: return FormatWhole(q.upDown);
        case Bid: return FormatWhole(q.bid1);
        case BidLot: return FormatInteger(q.bidLot1);
        case Ask: return FormatWhole(q.ask1);
        case AskLot: return FormatInteger(q.askLot1);
        case Volume: return BothSides(q.volume);
        case Position: return BothSides(q.Posi);
        case Open: return FormatWhole(q.open);
        case High: return FormatWhole(q.high);
        case Low: return FormatWhole(q.low);
        case Average: return FormatWhole(q.average);
        case UpDownRate: return UpDownRateText(q);
        case LastAverage: return FormatWhole(q.lastAverage);
        case Turnover: return FormatWhole(2.0 * q.turnOver);
    }
    return std::string();
}

std::string CPageQuotation::CellText(int row, int column) const {
    return QuotationFieldText(Quotation(row), kFields[static_cast<std::size_t>(column)].field);
}

CQuoteCell CPageQuotation::DrawnCell(int row, int column) const {
    std::string text = CellText(row, column);
    if (IsMarked(kFields[static_cast<std::size_t>(column)].field)) return MarkedCell(std::move(text));
    return {std::move(text), EQuoteTone::Normal};
}

std::optional<CRgb> CPageQuotation::TextColour(int row, int column) const {
    const EQuoteTone tone = DrawnCell(row, column).tone;
    if (tone == EQuoteTone::Normal) return std::nullopt;
    return ColourOf(tone);
}

int CPageQuotation::RowBand(int row) const {
    const auto found = m_bands.find(ProductGroup(quorex::FieldText(Quotation(row).yqInstID)));
    return found != m_bands.end() ? found->second : kBandWhite;
}

std::optional<CRgb> CPageQuotation::Background(int row) const {
    const int band = RowBand(row);
    return CRgb{band, band, band};
}

void CPageQuotation::onRecvYqQuotation(const TYqQuotation* quotation, const TTRspMsg&) {
    if (quotation != nullptr) OnQuotation(*quotation);
}

const TYqQuotation* CPageQuotation::FindQuotation(const char* instID) const {
    if (instID == nullptr) return nullptr;
    TYqQuotation probe{};
    std::strncpy(probe.instID, instID, sizeof probe.instID - 1);
    return m_quotations.Find(probe);
}

std::span<const std::string_view> CPageQuotation::MenuItems(int row) const {
    if (row < 0 || row >= RowCount()) return {};
    return kMenuTexts;
}

void CPageQuotation::OnMenuItem(int row, int item) {
    if (row < 0 || row >= RowCount() || m_prefill == nullptr || item < 0 || item >= static_cast<int>(std::size(kMenu))) {
        return;
    }
    const CQuotationMenuItem& chosen = kMenu[item];
    m_prefill->PrefillFromQuotation(Quotation(row), chosen.direction, chosen.offsetFlag);
}

void CPageQuotation::OnQuotation(const TYqQuotation& quotation) {
    const TYqQuotation* known = m_quotations.Find(quotation);
    if (known == nullptr) {
        InsertRow(m_quotations.Insert(quotation));
        return;
    }
    const int row = RowOf(known);
    if (CompareQuotationYqInstID(known, &quotation) == 0) {
        m_quotations.Upsert(quotation);
        RowsChanged(row, row);
        return;
    }
    // Listed under another code now: the row moves to the place of its new code.
    BeginRemove(row, 1);
    m_rows.erase(m_rows.begin() + row);
    EndRemove();
    InsertRow(m_quotations.Upsert(quotation).record);
}

void CPageQuotation::InsertRow(const TYqQuotation* stored) {
    if (m_initialDataDone) MeetGroup(quorex::FieldText(stored->yqInstID));
    const auto before = std::upper_bound(m_rows.begin(), m_rows.end(), stored, &YqInstIDBefore);
    const int row = static_cast<int>(before - m_rows.begin());
    BeginInsert(row, 1);
    m_rows.insert(before, stored);
    EndInsert();
}

void CPageQuotation::onRecvReqSendOver() {
    if (const CTypedRecordTable<TYuanQiInst>* instruments = m_api.InstrumentTable()) {
        for (std::size_t i = 0; i < instruments->Size(); ++i) MeetGroup(quorex::FieldText(instruments->At(i).yqInstID));
    }
    for (const TYqQuotation* row : m_rows) MeetGroup(quorex::FieldText(row->yqInstID));
    m_initialDataDone = true;
    if (!m_rows.empty()) RowsChanged(0, RowCount() - 1);
}

void CPageQuotation::MeetGroup(std::string_view yqInstID) {
    const std::string_view group = ProductGroup(yqInstID);
    if (m_bands.find(group) != m_bands.end()) return;
    m_lastBand = m_lastBand == kBandGrey ? kBandWhite : kBandGrey;
    m_bands.emplace(std::string(group), m_lastBand);
}

int CPageQuotation::RowOf(const TYqQuotation* stored) const {
    const auto [first, last] = std::equal_range(m_rows.begin(), m_rows.end(), stored, &YqInstIDBefore);
    return static_cast<int>(std::find(first, last, stored) - m_rows.begin());
}

}  // namespace kvt
