// Lookups in the code tables of CodeTexts.h.
#include "client/shell/CodeTexts.h"

namespace kvt {

namespace {

std::string Lookup(std::span<const CCodeText> table, char code) {
    for (const CCodeText& entry : table) {
        if (entry.code == code) return std::string(entry.text);
    }
    return std::string(kUndefinedCodeText);
}

}  // namespace

std::string AccountTypeText(char code) { return Lookup(kAccountTypeCodes, code); }
std::string DirectionText(char code) { return Lookup(kDirectionCodes, code); }
std::string OffsetFlagText(char code) { return Lookup(kOffsetFlagCodes, code); }
std::string YesNoText(char code) { return Lookup(kYesNoCodes, code); }
std::string OrderStatusText(char code) { return Lookup(kOrderStatusCodes, code); }
std::string PledgeFlagText(char code) { return Lookup(kPledgeFlagCodes, code); }

char AccountTypeFromText(std::string_view text) {
    if (text == kSelfOperatedText) return '0';
    if (text == kAgencyText) return '1';
    if (text.empty()) return '*';
    return '\0';
}

char SelfOperatedAccountType() { return AccountTypeFromText(kSelfOperatedText); }

}  // namespace kvt
