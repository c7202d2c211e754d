// CQtPrompter: message boxes over the active window, with Chinese button texts, and the
// toolkit's save-file dialog.
//
// Thread contract: user interface thread only (a box runs a nested event loop).
#pragma once

#include "client/shell/Prompter.h"

namespace kvt {

class CQtPrompter final : public CPrompter {
public:
    bool AskYesNo(std::string_view text, std::string_view caption) override;
    void Inform(std::string_view text, std::string_view caption) override;
    std::string ChooseSaveFile(std::string_view proposedName, std::string_view caption) override;
};

}  // namespace kvt
