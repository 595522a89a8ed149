#pragma once
// The Refusal that a call throws, for tests that compare it field by field; a call that throws
// nothing fails the test and gives a Refusal of no kind a test expects.

#include <gtest/gtest.h>

#include "engine/refusal.h"

namespace quorvel::testing {

template <typename Call>
Refusal refusal_of(Call&& call) {
  try {
    call();
  } catch (const Refused& refused) {
    return refused.refusal();
  }
  ADD_FAILURE() << "nothing was refused";
  return Refusal{.kind = RefusalKind::cancelled};
}

}  // namespace quorvel::testing
