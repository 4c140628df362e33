// A test fixture that stands the viewer on a fresh headless backend and
// returns every global to its start state afterwards.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "shell/application.h"
#include "shell/main_window.h"

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
  // The viewer started on a fresh backend as its entry starts it, without
  // entering the main loop: true when the panorama loaded.
  bool startViewer(platform::HeadlessOptions options) {
    useBackend(std::move(options));
    static int instance = 0;
    int32_t exitCode = 0;
    return viewerStartUp(&instance, nullptr, u"", 1, exitCode);
  }
  platform::HeadlessBackend& headless() { return *backend_; }

 private:
  std::unique_ptr<platform::HeadlessBackend> backend_;
};
