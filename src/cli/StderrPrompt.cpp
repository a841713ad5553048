#include "StderrPrompt.h"

#include <ostream>

namespace korvan::cli {

void StderrPrompt::message(std::string_view text) {
    if (dropRepeats_ && shown_.contains(text))
        return;
    shown_.emplace(text);
    err_ << text << '\n';
}

Answer StderrPrompt::ask(QuestionId, std::string_view text, Buttons buttons) {
    err_ << text << '\n';
    if (answer_)
        return *answer_;
    return buttons == Buttons::OkCancel ? Answer::Cancel : Answer::No;
}

std::optional<std::string> StderrPrompt::chooseSaveFile(const FileRequest&) {
    return std::nullopt;
}

} // namespace korvan::cli
