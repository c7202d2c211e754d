// CPrompter: the one way the client's windows ask or tell the user something in a message box, or
// ask for a file to save to. The desktop shows a box; tests answer without a display. Texts and
// paths are UTF-8.
//
// Thread contract: user interface thread only. A call returns when the user has answered.
#pragma once

#include <string>
#include <string_view>

namespace kvt {

class CPrompter {
public:
    virtual ~CPrompter() = default;
    // A yes/no box: true for yes.
    virtual bool AskYesNo(std::string_view text, std::string_view caption) = 0;
    // A box with a single OK button.
    virtual void Inform(std::string_view text, std::string_view caption) = 0;
    // A save-file box proposing proposedName in the working directory: the path chosen, or ""
    // when the user cancelled.
    virtual std::string ChooseSaveFile(std::string_view proposedName, std::string_view caption) = 0;
};

}  // namespace kvt
