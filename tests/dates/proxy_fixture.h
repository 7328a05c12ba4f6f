// A ComponentProxy for worker tests: the workers raise their errors on it, and the tests read
// the id that was raised (0 when none). ProxyTestOn adds the proxy to another fixture.
#pragma once

#include <gtest/gtest.h>

#include "frame/component_proxy.h"
#include "frame/error_state.h"
#include "frame/library_descriptor.h"

namespace tqtest {

template <class Base = ::testing::Test>
class ProxyTestOn : public Base {
 protected:
  void SetUp() override {
    Base::SetUp();
    proxy_ = tq::CreateComponentProxy(tq::ThisLibrary());
  }
  void TearDown() override {
    proxy_->table->destroy(proxy_);
    Base::TearDown();
  }

  // The id raised since the last call (0 for none); the state is reset for the next check.
  uint32_t TakeError() {
    tq::CXError* state = tq::ErrorStateOf(proxy_);
    const uint32_t id = state->level == tq::kLevelNone ? 0 : state->errorId;
    tq::Reset(state);
    return id;
  }

  tq::ComponentProxy* proxy_ = nullptr;
};

using ProxyTest = ProxyTestOn<>;

}  // namespace tqtest
