#include <gtest/gtest.h>

#include <array>

#include "platform/backend.h"
#include "shell/input_state.h"
#include "shell/main_window.h"
#include "support/headless_fixture.h"

namespace {

using namespace platform;

MessageResult send(uint32_t message, uintptr_t wParam, intptr_t lParam = 0) {
  return mainWindowProc(nullptr, message, wParam, lParam);
}
std::array<int32_t, 5> stylus() {
  const StylusState& s = stylusState;
  return {s.anchorX, s.anchorY, s.currentX, s.currentY, s.holdPending};
}

using WindowProcedureTest = HeadlessTest;

TEST_F(WindowProcedureTest, KeysAreStoredUnderTheirLow8BitsAndTheQuitKeyClosesTheDisplayAtOnce) {
  EXPECT_EQ(send(kMessageKeyDown, 0x127), 0);
  EXPECT_EQ(KeyState[0x27], 1);
  send(kMessageKeyUp, 0x27);
  EXPECT_EQ(KeyState[0x27], 0);
  EXPECT_FALSE(quitRequested);

  send(kMessageKeyDown, 0xC5);
  EXPECT_TRUE(quitRequested);
  for (Call call : {Call::GXCloseInput, Call::GXCloseDisplay, Call::InvalidateScreen, Call::PostQuit})
    EXPECT_EQ(countCalls(call), 1u) << int(call);
  Message message{};
  ASSERT_TRUE(peekMessage(message, nullptr, true));
  EXPECT_TRUE(message.message == kMessageQuit && message.wParam == 0u);
}

TEST_F(WindowProcedureTest, PressMoveReleaseAndTheHoldTimerDriveTheStylusRecord) {
  send(kMessageStylusDown, 1, stylusPosition(100, 200));
  EXPECT_EQ(stylus(), (std::array{100, 200, -1, -1, 1})) << "no move yet, a hold pending";
  EXPECT_EQ(countCalls(Call::SetTimer), 1u);
  send(kMessageStylusDown, 1, stylusPosition(5, 6));
  EXPECT_EQ(stylus(), (std::array{100, 200, -1, -1, 1})) << "a second press keeps the first anchor";
  send(kMessageStylusMove, 0, stylusPosition(120, 210));
  EXPECT_EQ(stylus(), (std::array{100, 200, -1, -1, 1})) << "a move without the held bit is ignored";
  send(kMessageStylusMove, 1, stylusPosition(120, 210));
  EXPECT_EQ(stylus(), (std::array{100, 200, 120, 210, 0})) << "a move cancels the hold";

  send(kMessageStylusUp, 0, stylusPosition(120, 210));
  EXPECT_EQ(stylus(), (std::array{-1, -1, -1, -1, 0}));
  send(kMessageStylusMove, 1, stylusPosition(1, 1));
  EXPECT_EQ(stylusState.currentX, -1) << "moves after the release change nothing";
  EXPECT_EQ(countCalls(Call::KillTimer), 0u) << "release leaves the timer running";
  EXPECT_EQ(send(kMessageTimer, 77), 0);
  EXPECT_EQ(countCalls(Call::KillTimer), 0u) << "a foreign timer is ignored";
  send(kMessageTimer, kStylusHoldTimer);
  EXPECT_EQ(countCalls(Call::KillTimer), 1u);
  EXPECT_EQ(stylusState.anchorX, -1);
}

}  // namespace
