// CPrompter: the one way the client's windows ask or tell the user something in a message box.
// The desktop shows a box; tests answer without a display. Texts are UTF-8.
//
// Thread contract: user interface thread only. A call returns when the user has answered.
#pragma once

#include <string_view>

namespace kvt {

class CPrompter {
public:
    virtual ~CPrompter() = default;
    // A yes/no box: true for yes.
    virtual bool AskYesNo(std::string_view text, std::string_view caption) = 0;
    // A box with a single OK button.
    virtual void Inform(std::string_view text, std::string_view caption) = 0;
};

}  // namespace kvt
