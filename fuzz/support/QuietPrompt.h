#pragma once

#include "base/Prompt.h"

#include <cstddef>

namespace korvan::fuzz {

// The engineer of a fuzz run: reads every message and answers every question the same way,
// Yes only to the automatic mapping; a save dialog is cancelled.
class QuietPrompt : public Prompt {
public:
    void message(std::string_view) override { ++messages; }
    Answer ask(QuestionId question, std::string_view, Buttons) override {
        ++questions;
        return question == QuestionId::AutoMapAddresses ? Answer::Yes : Answer::No;
    }
    std::optional<std::string> chooseSaveFile(const FileRequest&) override { return std::nullopt; }

    std::size_t messages = 0;
    std::size_t questions = 0;
};

} // namespace korvan::fuzz
