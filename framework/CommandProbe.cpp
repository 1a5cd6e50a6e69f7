#include "framework/CommandProbe.h"

namespace orv {

namespace {
thread_local CommandProbe* t_probe = nullptr;
}  // namespace

CommandProbe::CommandProbe() noexcept : outer_(t_probe) { t_probe = this; }

CommandProbe::~CommandProbe() { t_probe = outer_; }

bool CommandProbe::Intercept() noexcept {
  if (!t_probe) return false;
  t_probe->matched_ = true;
  return true;
}

}  // namespace orv
