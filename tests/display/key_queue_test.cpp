// The key queue: key strings, overflow, polling and waiting for a key.
#include <gtest/gtest.h>

#include <atomic>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "display/key_queue.h"

namespace quillon {
namespace {

struct KeyStringCase {
  std::string name;
  int32_t code;
  std::string bytes;
};

void PrintTo(const KeyStringCase& c, std::ostream* out) { *out << c.name; }

class KeyStringTest : public ::testing::TestWithParam<KeyStringCase> {};

TEST_P(KeyStringTest, MakesTheKeyStringOfACode) {
  EXPECT_EQ(keyStringFromCode(GetParam().code), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, KeyStringTest,
    ::testing::Values(KeyStringCase{"Nothing", 0, ""}, KeyStringCase{"LetterA", 97, "a"},
                      KeyStringCase{"Escape", 27, "\x1b"},
                      KeyStringCase{"LastCharacter", 255, "\xff"},
                      KeyStringCase{"Up", 255 + 256 * 72, "\xff\x48"},
                      KeyStringCase{"CloseKey", kCloseKeyCode, "\xff\x6b"},
                      // Of a negative code only the low byte counts.
                      KeyStringCase{"MinusOne", -1, "\xff"},
                      KeyStringCase{"NegativeLetter", -159, "a"},
                      KeyStringCase{"NegativeNul", -256, std::string(1, '\0')}),
    [](const auto& testCase) { return testCase.param.name; });

TEST(KeyStringTest, CloseKeyIsExtendedCode107) { EXPECT_EQ(kCloseKeyCode, 27647); }

class KeyQueueTest : public ::testing::Test {
 protected:
  void SetUp() override { clearKeyQueue(); }
  void TearDown() override {
    setKeyIdleHook(nullptr, nullptr);
    clearKeyQueue();
  }

  static std::vector<std::string> drain() {
    std::vector<std::string> keys;
    for (std::string key = pollKey(); !key.empty(); key = pollKey()) keys.push_back(key);
    return keys;
  }

  static std::vector<std::string> strings(int32_t first, int32_t last) {
    std::vector<std::string> keys;
    for (int32_t code = first; code <= last; ++code) keys.push_back(keyStringFromCode(code));
    return keys;
  }
};

TEST_F(KeyQueueTest, PollKeyOnAnEmptyQueueReturnsNothing) {
  EXPECT_EQ(pollKey(), "");
  EXPECT_EQ(pollKey(), "");
}

// The ring has 16 slots but holds at most 15 codes; each further code pushes
// out the oldest.
TEST_F(KeyQueueTest, AFullQueueDropsItsOldestCodes) {
  struct Case {
    int32_t queued;
    int32_t firstKept;
  };
  for (const Case& c : {Case{1, 1}, Case{15, 1}, Case{16, 2}, Case{20, 6}, Case{100, 86}}) {
    SCOPED_TRACE(c.queued);
    for (int32_t code = 1; code <= c.queued; ++code) queueKeyCode(code);
    EXPECT_EQ(drain(), strings(c.firstKept, c.queued));
  }
}

TEST_F(KeyQueueTest, KeysComeOutInOrderOfQueueing) {
  queueKeyCode(97);
  queueKeyCode(extendedKeyCode(72));
  queueKeyCode(27);
  queueKeyCode(kCloseKeyCode);
  EXPECT_EQ(drain(), (std::vector<std::string>{"a", "\xff\x48", "\x1b", "\xff\x6b"}));
}

// A queued 0 is taken like any code and reads as no key.
TEST_F(KeyQueueTest, AQueuedZeroIsTakenAsTheEmptyString) {
  queueKeyCode(0);
  queueKeyCode(5);
  EXPECT_EQ(pollKey(), "");
  EXPECT_EQ(pollKey(), "\x05");
  EXPECT_EQ(pollKey(), "");
}

TEST_F(KeyQueueTest, WaitForKeyCodeReturnsAtOnceWhenACodeIsQueued) {
  int calls = 0;
  setKeyIdleHook([](void* context) { ++*static_cast<int*>(context); }, &calls);
  queueKeyCode(98);
  waitForKeyCode();
  EXPECT_EQ(calls, 0) << "the idle hook ran although a key was waiting";
  EXPECT_EQ(pollKey(), "b");
}

TEST_F(KeyQueueTest, WaitForKeyCodeWakesWhenAnotherThreadQueues) {
  std::atomic<bool> waiting{false};
  setKeyIdleHook([](void* context) { static_cast<std::atomic<bool>*>(context)->store(true); },
                 &waiting);
  std::thread typist([&waiting] {
    while (!waiting.load()) std::this_thread::yield();
    queueKeyCode(99);
  });
  waitForKeyCode();
  typist.join();
  EXPECT_EQ(pollKey(), "c");
}

// The hook runs without the lock, so it can queue keys itself; the wait then
// sees them without sleeping.
TEST_F(KeyQueueTest, WaitForKeyCodeTakesKeysTheIdleHookQueues) {
  setKeyIdleHook([](void*) { queueKeyCode(100); }, nullptr);
  waitForKeyCode();
  EXPECT_EQ(pollKey(), "d");
}

}  // namespace
}  // namespace quillon
