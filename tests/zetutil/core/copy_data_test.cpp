#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "copy_data.h"
#include "zetutil.h"

namespace {

// Stand-ins for window handles: only their addresses matter.
int firstWindow;
int secondWindow;

class CopyDataTest : public ::testing::Test {
 protected:
  void TearDown() override {
    zet::unregisterCopyDataReceiver(&firstWindow);
    zet::unregisterCopyDataReceiver(&secondWindow);
  }
};

TEST_F(CopyDataTest, DeliversTheMessageToTheRegisteredWindow) {
  uintptr_t seenSender = 0;
  uintptr_t seenValue = 0;
  uint32_t seenCount = 0;
  const void* seenData = nullptr;
  zet::registerCopyDataReceiver(&firstWindow, [&](uintptr_t sender, uintptr_t dataValue, uint32_t byteCount,
                                                  const void* data) -> intptr_t {
    seenSender = sender;
    seenValue = dataValue;
    seenCount = byteCount;
    seenData = data;
    return 77;
  });
  const char command[] = "open clip.avi";
  EXPECT_EQ(CopyData(&firstWindow, 5, 9, sizeof command, command), 77);
  EXPECT_EQ(seenSender, 5u);
  EXPECT_EQ(seenValue, 9u);
  EXPECT_EQ(seenCount, sizeof command);
  EXPECT_EQ(seenData, command);
}

TEST_F(CopyDataTest, UnknownOrClosedWindowsAnswerZero) {
  int calls = 0;
  zet::registerCopyDataReceiver(&firstWindow, [&](uintptr_t, uintptr_t, uint32_t, const void*) -> intptr_t {
    ++calls;
    return 1;
  });
  EXPECT_EQ(CopyData(nullptr, 0, 0, 0, nullptr), 0);
  EXPECT_EQ(CopyData(&secondWindow, 0, 0, 0, nullptr), 0);
  // A handle that points at nothing is never looked behind.
  EXPECT_EQ(CopyData(reinterpret_cast<void*>(uintptr_t{0xdead0}), 0, 0, 0, nullptr), 0);
  zet::unregisterCopyDataReceiver(&firstWindow);
  EXPECT_EQ(CopyData(&firstWindow, 0, 0, 0, nullptr), 0);
  EXPECT_EQ(calls, 0);
}

TEST_F(CopyDataTest, ALaterRegistrationReplacesTheReceiver) {
  zet::registerCopyDataReceiver(&firstWindow,
                                [](uintptr_t, uintptr_t, uint32_t, const void*) -> intptr_t { return 1; });
  zet::registerCopyDataReceiver(&firstWindow,
                                [](uintptr_t, uintptr_t, uint32_t, const void*) -> intptr_t { return 2; });
  EXPECT_EQ(CopyData(&firstWindow, 0, 0, 0, nullptr), 2);
}

TEST_F(CopyDataTest, AReceiverMayUnregisterWindowsWhileItRuns) {
  zet::registerCopyDataReceiver(&secondWindow,
                                [](uintptr_t, uintptr_t, uint32_t, const void*) -> intptr_t { return 3; });
  zet::registerCopyDataReceiver(&firstWindow, [](uintptr_t, uintptr_t, uint32_t, const void*) -> intptr_t {
    zet::unregisterCopyDataReceiver(&firstWindow);
    return CopyData(&secondWindow, 0, 0, 0, nullptr) + 10;
  });
  EXPECT_EQ(CopyData(&firstWindow, 0, 0, 0, nullptr), 13);
  EXPECT_EQ(CopyData(&firstWindow, 0, 0, 0, nullptr), 0);
}

TEST_F(CopyDataTest, AFailingReceiverAnswersZero) {
  zet::registerCopyDataReceiver(&firstWindow, [](uintptr_t, uintptr_t, uint32_t, const void*) -> intptr_t {
    throw std::runtime_error("window gone");
  });
  EXPECT_EQ(CopyData(&firstWindow, 0, 0, 0, nullptr), 0);
}

}  // namespace
