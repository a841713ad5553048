#pragma once

#include "base/Prompt.h"

#include <iosfwd>
#include <optional>
#include <set>
#include <string>

namespace korvan::cli {

// The prompt of korvanctl: every message goes to standard error on a line of its own; a
// question is answered with the answer the command set from its flags, else with No
// (Cancel where No is not offered). Save-file dialogs are never shown: the command line
// names its files.
class StderrPrompt : public Prompt {
public:
    explicit StderrPrompt(std::ostream& err) : err_(err) {}

    void setAnswer(Answer answer) { answer_ = answer; }
    // From now on a message already printed is not printed again: a second operation on the
    // same unreachable gateway would repeat the first one's message.
    void dropRepeatedMessages() { dropRepeats_ = true; }

    void message(std::string_view text) override;
    Answer ask(QuestionId question, std::string_view text, Buttons buttons) override;
    std::optional<std::string> chooseSaveFile(const FileRequest& request) override;

private:
    std::ostream& err_;
    std::optional<Answer> answer_;
    bool dropRepeats_ = false;
    std::set<std::string, std::less<>> shown_;
};

} // namespace korvan::cli
