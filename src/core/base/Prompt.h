#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvan {

enum class Buttons { YesNo, YesNoCancel, OkCancel };
enum class Answer { Yes, No, Cancel, Ok };

// Every question the core asks, so that a front end answers a question by what it is and
// never by comparing its text.
enum class QuestionId {
    SaveChanges,      // "Configuration has changed,Save it or not?" before New, Open or exit
    SwitchToBasic,    // giving up a command's Advanced configuration for Basic
    AutoMapAddresses, // "Whether auto mapping address?"
    ContinueWithDhcp, // downloading while the gateway's Assign IP Mode is DHCP
    RemoteReset,      // resetting the gateway after a successful download
};

// A file dialog's request: which files to offer and the extension a bare name gets.
struct FileRequest {
    std::string filter;           // for example "Config File(*.xml)"
    std::string defaultExtension; // for example "xml"
    std::string suggestedName;
};

// Where the core shows a message or asks a question, it calls the prompt it was given.
// The desktop program answers with dialogs, korvanctl with flags and standard error, and
// tests from a script. The core itself never prints and never opens a window.
class Prompt {
public:
    virtual ~Prompt() = default;

    // A modal message with an OK button.
    virtual void message(std::string_view text) = 0;

    // A modal question, shown with its text; the answer is one of the given buttons.
    virtual Answer ask(QuestionId question, std::string_view text, Buttons buttons) = 0;

    // The save-file dialog; nothing when the engineer cancels it.
    virtual std::optional<std::string> chooseSaveFile(const FileRequest& request) = 0;
};

} // namespace korvan
