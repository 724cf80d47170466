#include "metar/report_tokens.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "common/fault.h"

namespace stratocue::metar {
namespace {

TEST(ReportTokens, CutAtEveryBlank) {
    struct Case {
        const char* name;
        std::string_view text;
        std::vector<std::string_view> tokens;
    };
    const std::vector<Case> cases = {
        {"SingleBlanks", "KSFO 061756Z 28012KT", {"KSFO", "061756Z", "28012KT"}},
        {"DoubledBlankGivesEmptyToken", "KSFO  061756Z", {"KSFO", "", "061756Z"}},
        {"TrailingBlankGivesEmptyLastToken", "KSFO ", {"KSFO", ""}},
        {"LeadingBlankGivesEmptyFirstToken", " KSFO", {"", "KSFO"}},
        {"EmptyTextIsOneEmptyToken", "", {""}},
        {"LineBreaksStayInTokens", "KSFO\r\n061756Z 28012KT", {"KSFO\r\n061756Z", "28012KT"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ReportTokens tokens = ReportTokens::split(c.text);
        ASSERT_EQ(tokens.count(), static_cast<int>(c.tokens.size()));
        EXPECT_EQ(tokens.at(0), "");
        for (std::size_t k = 0; k < c.tokens.size(); ++k) EXPECT_EQ(tokens.at(static_cast<int>(k) + 1), c.tokens[k]);
        EXPECT_EQ(tokens.at(tokens.count() + 1), "");  // past the last token
    }
}

TEST(ReportTokens, HoldFiftyTokensAtMost) {
    std::string text = "T1";
    for (int k = 2; k <= 50; ++k) text += " T" + std::to_string(k);
    const ReportTokens fifty = ReportTokens::split(text);
    EXPECT_EQ(fifty.count(), 50);
    EXPECT_EQ(fifty.at(50), "T50");
    EXPECT_THROW((void)ReportTokens::split(text + " T51"), RuntimeFault);
    EXPECT_THROW((void)fifty.at(51), RuntimeFault);
    EXPECT_THROW((void)fifty.at(-1), RuntimeFault);
}

}  // namespace
}  // namespace stratocue::metar
