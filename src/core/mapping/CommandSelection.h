#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvan {

class COrlaNode;
class Prompt;

// The state of the "Select the command" dialog: which HART commands 0-254 are offered, the
// two lists, and the running command count of the channel. Entries are command numbers; the
// dialog shows them as "Command ID<number>".
class CommandSelection {
public:
    static constexpr int CommandNumbers = 255;
    // The count at which no more commands may be moved right ("Command is more than 100").
    static constexpr int CountLimit = 127;

    // Offers every number the node does not hold yet; `channelCommandTotal` starts the count.
    CommandSelection(const COrlaNode& node, int channelCommandTotal);

    [[nodiscard]] const std::vector<int>& offeredList() const { return left_; }
    [[nodiscard]] const std::vector<int>& selectedList() const { return right_; }
    [[nodiscard]] int count() const { return count_; }

    // ">>": the left list's entry moves to the end of the right list. Nothing selected
    // (nothing given) or a number already chosen does nothing.
    void moveRight(std::optional<int> number, Prompt& prompt);
    // "<<": the right list's entry goes back into the left list in ascending place.
    void moveLeft(std::optional<int> number);

    // The text shown under the lists when an entry is selected.
    [[nodiscard]] static std::string_view description(int number);

    // OK: the chosen flags of every number in the right list.
    [[nodiscard]] std::array<bool, CommandNumbers> chosen() const;

    [[nodiscard]] static std::string entryText(int number);

private:
    std::array<bool, CommandNumbers> offered_{};
    std::vector<int> left_;
    std::vector<int> right_;
    int count_ = 0;
};

} // namespace korvan
