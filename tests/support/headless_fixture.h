// A test fixture that stands the viewer on a fresh headless backend and
// returns every global to its start state afterwards.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "shell/application.h"

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override { useBackend(platform::HeadlessOptions{}); }
  void TearDown() override {
    resetApplication();
    platform::installBackend(nullptr);
    platform::resetWindowManager();
  }
  // Replaces the backend (and forgets every window, message and call).
  void useBackend(platform::HeadlessOptions options) {
    platform::resetWindowManager();
    backend_ = std::make_unique<platform::HeadlessBackend>(std::move(options));
    platform::installBackend(backend_.get());
    resetApplication();
  }
  platform::HeadlessBackend& headless() { return *backend_; }

 private:
  std::unique_ptr<platform::HeadlessBackend> backend_;
};
