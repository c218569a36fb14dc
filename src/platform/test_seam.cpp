#include "platform/test_seam.h"

#include <map>
#include <utility>

#include "platform/layer.h"

namespace platform {

namespace {

struct planned_failure {
  unsigned long nth;
  DWORD error;
};

struct seam_state {
  bool armed = false;
  std::map<test_seam::operation, planned_failure> failures;
  std::map<test_seam::operation, unsigned long> calls;
  std::function<void()> before_read_open;
};

seam_state& seam() {
  static seam_state state;
  return state;
}

}  // namespace

bool injected_failure(test_seam::operation which, DWORD& error) {
  seam_state& s = seam();
  if (!s.armed) return false;
  const auto planned = s.failures.find(which);
  if (planned == s.failures.end() || ++s.calls[which] != planned->second.nth) return false;
  error = planned->second.error;
  return true;
}

void run_before_read_open() {
  seam_state& s = seam();
  if (!s.armed || !s.before_read_open) return;
  const std::function<void()> action = std::move(s.before_read_open);
  s.before_read_open = nullptr;
  action();
}

namespace test_seam {

void fail_call(operation which, unsigned long nth, DWORD error) {
  seam().armed = true;
  seam().failures[which] = planned_failure{nth, error};
  seam().calls[which] = 0;
}

void before_next_read_open(std::function<void()> action) {
  seam().armed = true;
  seam().before_read_open = std::move(action);
}

}  // namespace test_seam

}  // namespace platform
