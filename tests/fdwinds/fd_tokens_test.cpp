#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "fdwinds/fd_decoder.h"

namespace stratocue::fdwinds {
namespace {

struct SplitCase {
    std::string name;
    std::string joinedText;
    std::vector<std::string> expectedTokens;  // tokens 1..N
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const SplitCase& c, std::ostream* out) { *out << c.name; }

class SplitTokens : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTokens, CutsAtEverySingleBlank) {
    std::vector<std::string> expected{""};  // element 0 is unused
    expected.insert(expected.end(), GetParam().expectedTokens.begin(), GetParam().expectedTokens.end());
    EXPECT_EQ(FD_SplitTokens(GetParam().joinedText), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SplitTokens,
    testing::Values(SplitCase{"EmptyTextIsOneEmptyToken", "", {""}}, SplitCase{"OneToken", "ABC", {"ABC"}},
                    SplitCase{"TwoTokens", "ABC 2710", {"ABC", "2710"}},
                    SplitCase{"TwoBlanksGiveAnEmptyToken", "ABC  2710", {"ABC", "", "2710"}},
                    SplitCase{"TrailingBlankGivesAnEmptyLastToken", "ABC ", {"ABC", ""}},
                    SplitCase{"LeadingBlankGivesAnEmptyFirstToken", " ABC", {"", "ABC"}},
                    SplitCase{"OnlyABlank", " ", {"", ""}},
                    SplitCase{"TabsAndCarriageReturnsStayInTheToken", "A\tB\rC D", {"A\tB\rC", "D"}}),
    [](const testing::TestParamInfo<SplitCase>& param) { return param.param.name; });

std::string textOfTokens(std::size_t count) {
    std::string text = "T";
    for (std::size_t i = 1; i < count; ++i) text += " T";
    return text;
}

TEST(SplitTokensLimit, ExactlyTheLimitIsKept) {
    const auto tokens = FD_SplitTokens(textOfTokens(kMaxTokens));
    EXPECT_EQ(tokens.size(), kMaxTokens + 1);
    EXPECT_EQ(tokens.back(), "T");
}

TEST(SplitTokensLimit, OneTokenMoreIsRefused) {
    EXPECT_THROW(static_cast<void>(FD_SplitTokens(textOfTokens(kMaxTokens + 1))), FdFormatError);
}

TEST(SplitTokensLimit, EmptyTokensCountTowardsTheLimit) {
    EXPECT_THROW(static_cast<void>(FD_SplitTokens(std::string(kMaxTokens, ' '))), FdFormatError);
    EXPECT_EQ(FD_SplitTokens(std::string(kMaxTokens - 1, ' ')).size(), kMaxTokens + 1);
}

}  // namespace
}  // namespace stratocue::fdwinds
