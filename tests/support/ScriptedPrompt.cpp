#include "support/ScriptedPrompt.h"

namespace korvan::test {

void ScriptedPrompt::message(std::string_view text) {
    shown.emplace_back(text);
}

Answer ScriptedPrompt::ask(QuestionId question, std::string_view text, Buttons buttons) {
    shown.emplace_back(text);
    asked.push_back(question);
    if (answers_.empty())
        return buttons == Buttons::OkCancel ? Answer::Cancel : Answer::No;
    const Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::optional<std::string> ScriptedPrompt::chooseSaveFile(const FileRequest& request) {
    fileRequests.push_back(request);
    if (paths_.empty())
        return std::nullopt;
    auto path = paths_.front();
    paths_.pop_front();
    return path;
}

} // namespace korvan::test
