#include "web/web_answer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace stratocue {
namespace {

struct RuleCase {
    const char* name;
    WebAnswer answer;
    bool classicPage;     // requireClassicPage accepts it
    bool serviceSuccess;  // requireServiceSuccess accepts it
    bool empty;           // isEmptyAnswer
};

TEST(WebAnswerRules, ClassicPagesAndTodaysServicesJudgeAnswersApart) {
    const std::vector<RuleCase> cases{
        {"PageWithOk", {200, "page"}, true, true, false},
        {"EmptyWithOk", {200, ""}, false, true, true},
        {"NoContent", {204, ""}, false, true, true},
        {"NoContentWithText", {204, "x"}, true, true, true},
        {"LastSuccessStatus", {299, "x"}, true, true, false},
        {"Redirect", {302, "moved"}, true, false, false},
        {"LastStatusBeforeErrors", {399, "x"}, true, false, false},
        {"NotFound", {404, "missing"}, false, false, false},
        {"ServerError", {500, "oops"}, false, false, false},
        {"BelowSuccess", {199, "x"}, true, false, false},
    };
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.classicPage) {
            EXPECT_NO_THROW(requireClassicPage(c.answer));
        } else {
            EXPECT_THROW(requireClassicPage(c.answer), WebAnswerError);
        }
        if (c.serviceSuccess) {
            EXPECT_NO_THROW(requireServiceSuccess(c.answer));
        } else {
            EXPECT_THROW(requireServiceSuccess(c.answer), WebAnswerError);
        }
        EXPECT_EQ(isEmptyAnswer(c.answer), c.empty);
    }
}

}  // namespace
}  // namespace stratocue
