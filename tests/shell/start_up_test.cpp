#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "panorama/panorama_container.h"
#include "platform/backend.h"
#include "raster/fillers.h"
#include "render/render_context.h"
#include "shell/application.h"
#include "shell/input_state.h"
#include "shell/main_window.h"
#include "shell/view_control.h"
#include "support/headless_fixture.h"

namespace {

using StartUpTest = HeadlessTest;

std::vector<platform::Call> callsOnly() {
  std::vector<platform::Call> calls;
  for (const platform::CallRecord& record : platform::callLog()) calls.push_back(record.call);
  return calls;
}

TEST_F(StartUpTest, WithoutAPanoramaTheRendererIsReadyTheDefaultsAreSetAndStartUpFails) {
  platform::HeadlessOptions options;
  options.standaloneFile = "/nonexistent/Test.QBZ";
  options.moduleFile = "/nonexistent/viewer";
  useBackend(options);
  stylusState.anchorX = 5;
  EXPECT_FALSE(initApplication());
  const ViewerSettings& settings = panoramaContainer.settings;
  EXPECT_EQ(settings.zoomMin, 130u);
  EXPECT_EQ(settings.zoomMax, 240u);
  EXPECT_EQ(settings.pitchMin, -512);
  EXPECT_EQ(settings.pitchMax, 512);
  EXPECT_EQ(viewState.zoom, 130u) << "initialZoom 0 starts at 130";
  EXPECT_EQ(stylusState.anchorX, -1);
  EXPECT_EQ(renderContext.triangleFiller, &fillTriangleAffine);
  EXPECT_NE(matrixStack.base, nullptr);
  EXPECT_EQ(matrixStack.capacity, 4);
}

TEST_F(StartUpTest, TheEntryMakesTheWindowInOrderAndEndsWithStatus1WhenNothingLoads) {
  platform::HeadlessOptions options;
  options.standaloneFile = "/nonexistent/Test.QBZ";
  options.moduleFile = "/nonexistent/viewer";
  useBackend(options);
  static int instance = 0;
  EXPECT_EQ(viewerEntry(&instance, nullptr, u"", 1), 1);
  using platform::Call;
  const std::vector<Call> expected = {Call::FindWindow,      Call::RegisterClass,   Call::CreateWindow,
                                      Call::GXOpenDisplay,   Call::GXOpenInput,     Call::ShellFullScreen,
                                      Call::ShellFullScreen, Call::ShellFullScreen, Call::MoveWindow,
                                      Call::ShowWindow,      Call::UpdateWindow,    Call::GXCloseInput,
                                      Call::GXCloseDisplay};
  EXPECT_EQ(callsOnly(), expected);
  std::vector<int64_t> fullScreenFlags;
  for (const platform::CallRecord& record : platform::callLog()) {
    if (record.call == Call::ShellFullScreen) fullScreenFlags.push_back(record.argument);
  }
  EXPECT_EQ(fullScreenFlags, (std::vector<int64_t>{0x20, 8, 2}));
  EXPECT_EQ(platform::countCalls(Call::GXBeginDraw), 0u) << "no frame without a panorama";
  EXPECT_NE(renderContext.blitFunction, nullptr) << "the blitter is chosen even when loading failed";
}

TEST_F(StartUpTest, ASecondStartBringsTheFirstWindowForwardAndCreatesNothing) {
  platform::WindowClass windowClass{};
  windowClass.procedure = mainWindowProc;
  windowClass.className = kApplicationName;
  platform::registerClass(windowClass);
  platform::createWindow(0, kApplicationName, kApplicationName, 0, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
  const size_t createdBefore = platform::countCalls(platform::Call::CreateWindow);
  static int instance = 0;
  EXPECT_EQ(viewerEntry(&instance, nullptr, u"", 1), 0);
  EXPECT_EQ(platform::countCalls(platform::Call::CreateWindow), createdBefore);
  EXPECT_EQ(platform::countCalls(platform::Call::SetForeground), 1u);
}

}  // namespace
