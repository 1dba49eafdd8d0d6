#include "tests/support/fake_prompts.h"

#include <gmock/gmock.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace kobrix::testing {
namespace {

TEST(FakePromptsTest, RecordsInOrderAndAnswersFromTheScript) {
    FakePrompts prompts;
    prompts.answers = {true};
    prompts.Warning("Start of directory !");
    EXPECT_TRUE(prompts.YesCancel("Delete?"));
    prompts.Message("Yes pressed, file will be deleted.");
    EXPECT_THAT(prompts.log,
                ::testing::ElementsAre("warning: Start of directory !", "question: Delete?",
                                       "message: Yes pressed, file will be deleted."));
}

// A test must fail, not hang, on a box it did not expect, and on one that never came.
TEST(FakePromptsTest, UnscriptedAndUnusedAnswersFailTheTest) {
    EXPECT_NONFATAL_FAILURE(
        {
            FakePrompts prompts;
            EXPECT_FALSE(prompts.YesCancel("Create directory?"));
        },
        "Unscripted prompt: question: Create directory?");
    EXPECT_NONFATAL_FAILURE(
        {
            FakePrompts prompts;
            EXPECT_FALSE(prompts.SavePicture("Save", {}, 1, {}).accepted);
        },
        "Unscripted prompt: save: Save");
    EXPECT_NONFATAL_FAILURE({ FakePrompts().answers.push_back(true); }, "never asked for");
}

}  // namespace
}  // namespace kobrix::testing
