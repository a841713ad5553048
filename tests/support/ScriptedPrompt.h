#pragma once

#include "base/Prompt.h"

#include <deque>
#include <string>
#include <vector>

namespace korvan::test {

// A prompt for tests: records every message and question, answers questions and save
// dialogs from a script given in advance (No and Cancel once the script runs out).
class ScriptedPrompt : public Prompt {
public:
    void message(std::string_view text) override;
    Answer ask(QuestionId question, std::string_view text, Buttons buttons) override;
    std::optional<std::string> chooseSaveFile(const FileRequest& request) override;

    void answerNext(Answer answer) { answers_.push_back(answer); }
    void chooseNext(std::optional<std::string> path) { paths_.push_back(std::move(path)); }

    // Messages and questions in the order they were shown, and which questions were asked.
    std::vector<std::string> shown;
    std::vector<QuestionId> asked;
    std::vector<FileRequest> fileRequests;

private:
    std::deque<Answer> answers_;
    std::deque<std::optional<std::string>> paths_;
};

} // namespace korvan::test
