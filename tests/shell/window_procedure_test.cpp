#include <gtest/gtest.h>

#include "platform/backend.h"
#include "shell/input_state.h"
#include "shell/main_window.h"
#include "support/headless_fixture.h"

namespace {

using platform::kMessageKeyDown;
using platform::kMessageKeyUp;
using platform::kMessageStylusDown;
using platform::kMessageStylusMove;
using platform::kMessageStylusUp;
using platform::kMessageTimer;
using platform::stylusPosition;

class WindowProcedureTest : public HeadlessTest {
 protected:
  platform::MessageResult send(uint32_t message, uintptr_t wParam, intptr_t lParam = 0) {
    return mainWindowProc(nullptr, message, wParam, lParam);
  }
};

TEST_F(WindowProcedureTest, KeysAreStoredUnderTheirLow8Bits) {
  EXPECT_EQ(send(kMessageKeyDown, 0x127), 0);
  EXPECT_EQ(KeyState[0x27], 1);
  send(kMessageKeyUp, 0x27);
  EXPECT_EQ(KeyState[0x27], 0);
  EXPECT_FALSE(quitRequested);
}

TEST_F(WindowProcedureTest, PressMoveAndReleaseDriveTheStylusRecord) {
  send(kMessageStylusDown, 1, stylusPosition(100, 200));
  EXPECT_EQ(stylusState.anchorX, 100);
  EXPECT_EQ(stylusState.anchorY, 200);
  EXPECT_EQ(stylusState.currentX, -1) << "no move yet";
  EXPECT_EQ(stylusState.holdPending, 1);
  EXPECT_EQ(platform::countCalls(platform::Call::SetTimer), 1u);

  send(kMessageStylusDown, 1, stylusPosition(5, 6));
  EXPECT_EQ(stylusState.anchorX, 100) << "a second press keeps the first anchor";

  send(kMessageStylusMove, 0, stylusPosition(120, 210));
  EXPECT_EQ(stylusState.currentX, -1) << "a move without the held bit is ignored";
  send(kMessageStylusMove, 1, stylusPosition(120, 210));
  EXPECT_EQ(stylusState.currentX, 120);
  EXPECT_EQ(stylusState.currentY, 210);
  EXPECT_EQ(stylusState.holdPending, 0) << "a move cancels the hold";

  send(kMessageStylusUp, 0, stylusPosition(120, 210));
  EXPECT_EQ(stylusState.anchorX, -1);
  EXPECT_EQ(stylusState.anchorY, -1);
  EXPECT_EQ(stylusState.currentX, -1);
  EXPECT_EQ(stylusState.currentY, -1);
  EXPECT_EQ(platform::countCalls(platform::Call::KillTimer), 0u) << "release leaves the timer running";

  send(kMessageStylusMove, 1, stylusPosition(1, 1));
  EXPECT_EQ(stylusState.currentX, -1) << "moves after the release change nothing";
}

TEST_F(WindowProcedureTest, TheHoldTimerFiresOnceAndForeignTimersAreIgnored) {
  send(kMessageStylusDown, 1, stylusPosition(3, 4));
  send(kMessageStylusUp, 0);
  EXPECT_EQ(send(kMessageTimer, 77), 0);
  EXPECT_EQ(platform::countCalls(platform::Call::KillTimer), 0u);
  send(kMessageTimer, kStylusHoldTimer);
  EXPECT_EQ(platform::countCalls(platform::Call::KillTimer), 1u);
  EXPECT_EQ(stylusState.anchorX, -1);
}

TEST_F(WindowProcedureTest, QuitKeyClosesTheDisplayAtOnceAndPostsQuit) {
  send(kMessageKeyDown, 0xC5);
  EXPECT_TRUE(quitRequested);
  EXPECT_EQ(platform::countCalls(platform::Call::GXCloseInput), 1u);
  EXPECT_EQ(platform::countCalls(platform::Call::GXCloseDisplay), 1u);
  EXPECT_EQ(platform::countCalls(platform::Call::InvalidateScreen), 1u);
  EXPECT_EQ(platform::countCalls(platform::Call::PostQuit), 1u);

  // Unhandled messages go to the default procedure and skip the quit check.
  send(0x0005, 0);
  EXPECT_EQ(platform::countCalls(platform::Call::PostQuit), 1u);
  send(kMessageKeyUp, 0xC5);
  EXPECT_EQ(platform::countCalls(platform::Call::PostQuit), 2u) << "every handled message repeats the sequence";

  platform::Message message{};
  ASSERT_TRUE(platform::peekMessage(message, nullptr, true));
  EXPECT_EQ(message.message, platform::kMessageQuit);
  EXPECT_EQ(message.wParam, 0u);
}

}  // namespace
