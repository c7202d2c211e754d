// The files of one of the day's flows (or of the request journal) as a start handles them, in the
// order a start needs: checked end to end without changing anything (CheckDayFlow), checked for
// writing (CheckWritable), and only then repaired: a torn tail cut (RepairTornTail, the plan of
// CheckFlowFiles), records no journaled request gives cut back (CutFlowBack).
//
// What an interrupted write leaves, and so what is repaired: a torn last record of the content
// file, a torn or missing last entry of the id file. Everything else CheckFlowFiles finds is damage
// and is refused, naming the file and the remedy. Every cut is reported in a line naming the file,
// the record and the bytes.
//
// Thread contract: none; the functions stand alone. Errors are CDayFileError.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "public/FlowRepair.h"
#include "sim/DayFiles.h"

namespace quorex::sim {

struct CDayFlow {
    CFlowFilePaths paths;
    TFlowCheck check;  // without damage
};

// Reads both files of the flow end to end and plans the repair of a torn tail; nothing changes.
CDayFlow CheckDayFlow(const CFlowFilePaths& paths);

// Checks that both files (or, for a missing one, its folder) can be written, so that the repairs
// and appends that follow do not stop half-way.
void CheckWritable(const CFlowFilePaths& paths);

// Makes the repairs the check planned and adds a line for each file it changed.
void RepairTornTail(const CDayFlow& flow, std::vector<std::string>& repairs);

// Cuts the flow's files from records records back to keep. offsetOf(n) is the content offset of
// record n. The cut goes back one hundred records at a time, the id file before the content, so a
// kill in between leaves at most the id file's last entry missing, which the next start completes.
void CutFlowBack(const CFlowFilePaths& paths, std::uint32_t records, std::uint32_t keep,
                 const std::function<std::uint64_t(std::uint32_t)>& offsetOf);

// The message for a flow whose files cannot be opened for writing (text says what failed): the
// file at fault and the system's reason.
std::string FlowOpenError(const CFlowFilePaths& paths, const char* text);

}  // namespace quorex::sim
