// CommandProbe: asks whether a WM_COMMAND would reach a command handler, without running it.
//
// While a probe lives on a thread, the command-handler macros of the message maps
// (COMMAND_HANDLER, COMMAND_ID_HANDLER, COMMAND_RANGE_HANDLER, COMMAND_CODE_HANDLER and the
// typed forms) that match a WM_COMMAND record the match and return at once instead of calling
// their handler. Everything else runs as usual, so a command still travels the way it would:
// forwarded by panes and splitters, reflected, chained. The owner sends the command while the probe lives and reads
// Matched() afterwards. Probes nest; each sees the matches made while it is the innermost one.
#pragma once

namespace orv {

class CommandProbe {
public:
  CommandProbe() noexcept;
  ~CommandProbe();
  CommandProbe(const CommandProbe&) = delete;
  CommandProbe& operator=(const CommandProbe&) = delete;

  [[nodiscard]] bool Matched() const noexcept { return matched_; }

  // For the macros: true while a probe is active on this thread, which then counts the match.
  [[nodiscard]] static bool Intercept() noexcept;

private:
  CommandProbe* outer_;
  bool matched_ = false;
};

}  // namespace orv
