#include "standins/wx/wx_pages.h"

#include "standins/wx/wx_text_lines.h"

namespace stratocue::standins {
namespace {

// The VATSIM layout: the report sits right after "<td>", so ">" plus the identifier marks
// its start. Every other ">" of the page is followed by a line break, a tag or lower case.
constexpr std::string_view kVatsimHead =
    "<!DOCTYPE html>\r\n<html>\r\n<head><title>Current weather</title></head>\r\n<body>\r\n";
constexpr std::string_view kVatsimBeforeReport = "<table class=\"metar\">\r\n<tr><td>";
constexpr std::string_view kVatsimAfterReport = "\r\n</td></tr>\r\n</table>\r\n";
constexpr std::string_view kPageEnd = "</body>\r\n</html>\r\n";

// The weather-service layout: the report starts 46 characters after the start of the
// phrase, that is 27 characters after its end.
constexpr std::string_view kObservationPhrase = "The observation is:";
constexpr std::string_view kAfterPhrase = "</B>\r\n<BR><BR>\r\n<PRE><TT>\r\n";
static_assert(kObservationPhrase.size() + kAfterPhrase.size() == 46);
constexpr std::string_view kServiceHead =
    "<HTML>\r\n<HEAD><TITLE>Current weather observation</TITLE></HEAD>\r\n<BODY>\r\n";
constexpr std::string_view kServiceAfterReport = "\r\n</TT></PRE>\r\n";
constexpr std::string_view kServicePageEnd = "</BODY>\r\n</HTML>\r\n";

constexpr std::string_view kFdHead =
    "<html>\n<head><title>Winds and temperatures aloft</title></head>\n<body>\n<PRE>\n";
constexpr std::string_view kFdEnd = "</PRE>\n</body>\n</html>\n";

constexpr std::string_view kCommentOpen = "<!-- ";
constexpr std::string_view kCommentClose = " -->\r\n";
constexpr char kPaddingCharacter = 'x';

// Text shown inside the page, with the characters that markup gives a meaning escaped.
std::string escapedHtml(std::string_view text) {
    std::string escaped;
    for (const char character : text) {
        switch (character) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += character;
        }
    }
    return escaped;
}

}  // namespace

std::string vatsimMetarPage(std::string_view requestedId, const std::optional<std::string>& report) {
    std::string page(kVatsimHead);
    if (report) {
        page += kVatsimBeforeReport;
        page += *report;
        page += kVatsimAfterReport;
    } else {
        page += "<p>No METAR found for " + escapedHtml(requestedId) + "</p>\r\n";
    }
    return page + std::string(kPageEnd);
}

std::string weatherServiceMetarPage(std::string_view requestedId, const std::optional<std::string>& report) {
    std::string page(kServiceHead);
    if (report) {
        page += "<FONT FACE=\"Arial\"><B>";
        page += kObservationPhrase;
        page += kAfterPhrase;
        page += *report;
        page += kServiceAfterReport;
        page += "</FONT>\r\n";
    } else {
        page += "<P>Sorry, station " + escapedHtml(requestedId) + " was not found.</P>\r\n";
    }
    return page + std::string(kServicePageEnd);
}

std::string fdBulletinPage(std::string_view bulletinText) {
    return std::string(kFdHead) + normalisedBulletinText(bulletinText) + std::string(kFdEnd);
}

std::string missingPage(std::string_view path) {
    return std::string(kVatsimHead) + "<p>Not found: " + escapedHtml(path) + "</p>\r\n" + std::string(kPageEnd);
}

std::string paddedPastPageLimit(std::string_view page) {
    const std::size_t fixedSize = page.size() + kCommentOpen.size() + kCommentClose.size();
    const std::size_t paddingSize = fixedSize < kOversizePageBytes ? kOversizePageBytes - fixedSize : 0;
    const std::string comment =
        std::string(kCommentOpen) + std::string(paddingSize, kPaddingCharacter) + std::string(kCommentClose);

    auto bodyEnd = page.rfind("</body>");
    if (bodyEnd == std::string_view::npos) bodyEnd = page.rfind("</BODY>");
    if (bodyEnd == std::string_view::npos) bodyEnd = page.size();
    std::string padded(page.substr(0, bodyEnd));
    padded += comment;
    padded += page.substr(bodyEnd);
    return padded;
}

}  // namespace stratocue::standins
