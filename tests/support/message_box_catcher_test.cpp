// The catcher answers boxes of the calling thread and reads what they said.
#include "support/message_box_catcher.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageBoxCatcher, ReadsTextAndCaptionAndPressesOk) {
  qxtest::MessageBoxCatcher boxes;
  EXPECT_EQ(MessageBoxW(nullptr, L"first line\nsecond line", L"a caption", MB_OK), IDOK);
  ASSERT_EQ(boxes.count(), 1u);
  EXPECT_EQ(boxes[0].text, L"first line\nsecond line");
  EXPECT_EQ(boxes[0].caption, L"a caption");
  EXPECT_EQ(boxes[0].owner, nullptr);
  EXPECT_EQ(boxes[0].buttons, std::vector<int>{IDOK});
}

TEST(MessageBoxCatcher, PressesTheChosenAnswerOrTheFirstButton) {
  qxtest::MessageBoxCatcher boxes(IDNO);
  EXPECT_EQ(MessageBoxW(nullptr, L"question", L"c", MB_YESNO), IDNO);
  EXPECT_EQ(MessageBoxW(nullptr, L"no such answer", L"c", MB_OK), IDOK);
  ASSERT_EQ(boxes.count(), 2u);
  EXPECT_EQ(boxes[0].answer, IDNO);
  EXPECT_EQ(boxes[1].answer, IDOK);
}

TEST(MessageBoxCatcher, NestedCatcherAnswersUntilItEnds) {
  qxtest::MessageBoxCatcher outer(IDYES);
  {
    qxtest::MessageBoxCatcher inner(IDNO);
    EXPECT_EQ(MessageBoxW(nullptr, L"inner", L"c", MB_YESNO), IDNO);
    EXPECT_EQ(inner.count(), 1u);
  }
  EXPECT_EQ(MessageBoxW(nullptr, L"outer", L"c", MB_YESNO), IDYES);
  EXPECT_EQ(outer.count(), 1u);
}

}  // namespace
