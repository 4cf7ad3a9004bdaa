#pragma once
// What the benchmarks share.

#include <optional>
#include <string>

#include "core/prompter.h"

namespace mok::bench {

// Says nothing, answers Yes, chooses no file.
class SilentPrompter final : public Prompter {
 public:
  void Message(const std::string&, MessageIcon) override {}
  Answer Ask(const std::string&, Buttons, MessageIcon) override { return Answer::Yes; }
  std::optional<std::string> ChooseFile(const FileDialogSpec&) override { return std::nullopt; }
};

}  // namespace mok::bench
