// A ComponentProxy for worker tests: the workers raise their errors on it, and the tests read
// the id that was raised (0 when none).
#pragma once

#include <gtest/gtest.h>

#include "frame/component_proxy.h"
#include "frame/error_state.h"
#include "frame/library_descriptor.h"

namespace tqtest {

class ProxyTest : public ::testing::Test {
 protected:
  void SetUp() override { proxy_ = tq::CreateComponentProxy(tq::ThisLibrary()); }
  void TearDown() override { proxy_->table->destroy(proxy_); }

  // The id raised since the last call (0 for none); the state is reset for the next check.
  uint32_t TakeError() {
    tq::CXError* state = tq::ErrorStateOf(proxy_);
    const uint32_t id = state->level == tq::kLevelNone ? 0 : state->errorId;
    tq::Reset(state);
    return id;
  }

  tq::ComponentProxy* proxy_ = nullptr;
};

}  // namespace tqtest
