#include "tools/dump/DumpCommand.h"

#include <charconv>
#include <cstdio>
#include <vector>

#include "api/ReceivedLog.h"
#include "public/Flow.h"
#include "public/PackageDefinition.h"
#include "tools/dump/FlowReader.h"
#include "sim/JournalEntry.h"
#include "tools/dump/PackageLine.h"

#ifndef QUOREX_VERSION_TEXT
#error "QUOREX_VERSION_TEXT must be defined by the build"
#endif

namespace quorex::dump {
namespace {

constexpr std::string_view kProgram = "quorex-dump";

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// One name stands for the pair: NAME.id, NAME.con or NAME alone.
void NamePair(std::string_view name, DumpOptions& options) {
    std::string stem(name);
    if (EndsWith(name, ".con")) stem.resize(stem.size() - 4);
    else if (EndsWith(name, ".id")) stem.resize(stem.size() - 3);
    options.idFile = stem + ".id";
    options.contentFile = stem + ".con";
}

// Adds the comma-separated package types of one --tid value; false with error set on a bad one.
bool AddPackageTypes(std::string_view value, std::set<std::uint32_t>& tids, std::string& error) {
    for (;;) {
        const std::size_t comma = value.find(',');
        const std::string_view item = value.substr(0, comma);
        const std::optional<std::uint32_t> tid = ParsePackageType(item);
        if (!tid) {
            error = item.empty() ? "--tid: an empty value is not a package type"
                                 : "--tid: " + std::string(item) + " is not a package type";
            return false;
        }
        tids.insert(*tid);
        if (comma == std::string_view::npos) return true;
        value.remove_prefix(comma + 1);
    }
}

// Parses data, found at position of the content file in record number, as one package;
// CDumpError naming the position when it is none.
void DecodePackage(std::span<const std::uint8_t> data, std::uint64_t position, std::uint32_t number, const std::string& file,
                   CXTPPackage& package) {
    const std::string where = " (record " + std::to_string(number) + ")";
    if (data.size() < XTPHLEN) {
        throw CDumpError(file, position,
                         "a package of " + std::to_string(data.size()) + " bytes is shorter than its 56-byte header" + where);
    }
    // Checked here rather than left to Parse, which would print its own diagnostic line.
    TXTPHeader header{};
    RecordTraits<TXTPHeader>::Decode(header, data.data());
    if (header.ContentLength != data.size() - XTPHLEN) {
        throw CDumpError(file, position,
                         "the package header gives ContentLength " + std::to_string(header.ContentLength) + ", but " +
                             std::to_string(data.size() - XTPHLEN) + " content bytes are stored" + where);
    }
    package.Assign(data.data(), data.size());
    switch (package.Parse()) {
    case kParseUnknownTid: {
        char tid[16];
        std::snprintf(tid, sizeof tid, "0x%08X", static_cast<unsigned>(header.Tid));
        throw CDumpError(file, position, std::string("package type ") + tid + " is not in the catalogue" + where);
    }
    case kParseWrongFieldSize:
        throw CDumpError(file, position, "a field has the wrong size for its record" + where);
    case kParseFieldsDoNotAddUp:
    case kParseShortOrLengthMismatch:
        throw CDumpError(file, position, "the fields do not add up to the package's content" + where);
    default:
        return;
    }
}

// A journal record: its entry decoded and its request parsed; the line's prefix names the entry
// (from 0), the user ([[trader]] or [[user]] entry of the day's configuration, from 1) and the time.
std::string DecodeJournalEntry(const FlowRecord& record, const std::string& file, CXTPPackage& package) {
    const std::uint64_t position = record.offset + CFlow::kRecordHeaderLength;
    sim::journal::CEntry entry;
    const std::string fault = sim::journal::DecodeEntry(record.data, entry);
    if (!fault.empty()) throw CDumpError(file, position, "entry " + std::to_string(record.number) + ": " + fault);
    DecodePackage(entry.request, position + sim::journal::kHeaderLength, record.number, file, package);
    const char* role = entry.role == sim::journal::kRoleTrader ? "trader" : "monitor";
    return "request=" + std::to_string(record.number) + " " + role + "=#" + std::to_string(std::uint64_t{entry.user} + 1) +
           " at=" + entry.time + " ";
}

bool IsJournalName(const std::string& contentFile) {
    const std::size_t slash = contentFile.find_last_of('/');
    return contentFile.substr(slash == std::string::npos ? 0 : slash + 1) == "requests.con";
}

}  // namespace

std::optional<std::uint32_t> ParsePackageType(std::string_view text) {
    if (text.starts_with("0x") || text.starts_with("0X")) text.remove_prefix(2);
    if (text.empty() || text.size() > 8) return std::nullopt;
    std::uint32_t tid = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), tid, 16);
    if (result.ec != std::errc{} || result.ptr != text.data() + text.size()) return std::nullopt;
    if (tid < kUncheckedTidBase && FindPackageDefinition(tid) == nullptr) return std::nullopt;
    return tid;
}

std::string UsageText() {
    return "usage: quorex-dump [--tid TID[,TID...]]... FLOW\n"
           "       quorex-dump [--tid TID[,TID...]]... ID-FILE CONTENT-FILE\n"
           "\n"
           "Prints a flow file pair of XTP packages, such as the received-package log\n"
           "log<ID>.id/log<ID>.con, one line per package: its sequence number, package type and\n"
           "name, the time it was stored, its chain mark and request ID, then each record it\n"
           "carries with its members (texts converted from GBK to UTF-8).\n"
           "\n"
           "FLOW names the pair: NAME.con, NAME.id or NAME alone (NAME.id and NAME.con).\n"
           "\n"
           "exchange-sim's request journal (requests.id/requests.con in its day's folder) is read\n"
           "as such: one line per entry, its number from 0, who made the request (trader=#N or\n"
           "monitor=#N: entry N, from 1, of [[trader]] or [[user]] in the day's configuration), the\n"
           "time of day the exchange handled it, then the request's package line.\n"
           "\n"
           "  --tid TID[,TID...]  print only packages of these types (hexadecimal, 0x optional);\n"
           "                      may be given more than once\n"
           "  --journal           read the pair as exchange-sim's request journal, whatever its name\n"
           "  --help              print this text and exit\n"
           "  --version           print the version and exit\n"
           "\n"
           "Exit status: 0 when the whole flow was printed, 1 when a file cannot be read or is\n"
           "damaged (the error names the file and the byte position), 2 for a bad command line.\n";
}

CommandLine ParseCommandLine(std::span<const std::string_view> arguments) {
    CommandLine command;
    std::vector<std::string_view> files;
    const auto fail = [&](std::string error) {
        command.action = CommandLine::Action::kError;
        command.error = std::move(error);
        return command;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--help") {
            command.action = CommandLine::Action::kHelp;
            return command;
        }
        if (argument == "--version") {
            command.action = CommandLine::Action::kVersion;
            return command;
        }
        if (argument == "--tid" || argument.starts_with("--tid=")) {
            std::string_view value;
            if (argument == "--tid") {
                if (i + 1 == arguments.size()) return fail("--tid needs a package type");
                value = arguments[++i];
            } else {
                value = argument.substr(6);
            }
            std::string error;
            if (!AddPackageTypes(value, command.options.tids, error)) return fail(error);
        } else if (argument == "--journal") {
            command.options.journal = true;
        } else if (argument.size() > 1 && argument.starts_with("-")) {
            return fail("unknown option " + std::string(argument));
        } else {
            files.push_back(argument);
        }
    }
    if (files.empty()) return fail("no flow given");
    if (files.size() > 2) return fail("too many files: give one flow name or an id file and a content file");
    if (files.size() == 1) {
        NamePair(files[0], command.options);
    } else {
        command.options.idFile = std::string(files[0]);
        command.options.contentFile = std::string(files[1]);
    }
    command.options.journal = command.options.journal || IsJournalName(command.options.contentFile);
    return command;
}

int DumpFlow(const DumpOptions& options, std::ostream& out, std::ostream& err) {
    try {
        CFlowReader reader(options.idFile, options.contentFile);
        CXTPPackage package;
        FlowRecord record;
        while (reader.Next(record)) {
            std::string prefix;
            if (options.journal) {
                prefix = DecodeJournalEntry(record, reader.ContentPath(), package);
            } else {
                // A received-package log stores where each package came from after it.
                DecodePackage(SplitLoggedRecord(record.data).package, record.offset + CFlow::kRecordHeaderLength,
                              record.number, reader.ContentPath(), package);
            }
            if (!options.tids.empty() && options.tids.count(package.m_XTPHeader.Tid) == 0) continue;
            out << prefix << PackageLine(package, record.time) << '\n';
        }
        out.flush();
        return kExitOk;
    } catch (const CDumpError& error) {
        out.flush();
        err << kProgram << ": " << error.what() << '\n';
        return kExitDamaged;
    }
}

int RunDump(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    const CommandLine command = ParseCommandLine(arguments);
    switch (command.action) {
    case CommandLine::Action::kHelp:
        out << UsageText();
        return kExitOk;
    case CommandLine::Action::kVersion:
        out << kProgram << ' ' << QUOREX_VERSION_TEXT << '\n';
        return kExitOk;
    case CommandLine::Action::kError:
        err << kProgram << ": " << command.error << "\nTry 'quorex-dump --help'.\n";
        return kExitUsage;
    case CommandLine::Action::kDump:
        break;
    }
    return DumpFlow(command.options, out, err);
}

}  // namespace quorex::dump
