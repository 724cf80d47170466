#include "eventlog/event_texts.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace stratocue::eventlog {
namespace {

// Query keys whose values are never written to the log, matched anywhere in the key
// without regard to case ("apiKey", "access_token", "sig").
constexpr std::array<std::string_view, 7> kSecretKeyParts{"key", "token", "pass", "secret", "sig", "session", "auth"};
constexpr std::string_view kHidden = "(hidden)";

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char letter) { return static_cast<char>(std::tolower(static_cast<unsigned char>(letter))); });
    return lower;
}

// Query keys whose values are a position: the log keeps them to a tenth of a degree.
constexpr std::array<std::string_view, 5> kPositionKeys{"lat", "lon", "lng", "latitude", "longitude"};

bool isPositionKey(std::string_view key) {
    const std::string lower = lowerCase(key);
    return std::find(kPositionKeys.begin(), kPositionKeys.end(), lower) != kPositionKeys.end();
}

std::string tenths(double degrees);

// Each comma-separated number of a position value to a tenth of a degree; a part that is
// no number is hidden.
std::string positionValue(std::string_view value) {
    std::string kept;
    while (true) {
        const std::size_t end = std::min(value.find(','), value.size());
        const std::string_view part = value.substr(0, end);
        double degrees = 0.0;
        const auto [stop, error] = std::from_chars(part.data(), part.data() + part.size(), degrees);
        const bool isNumber = !part.empty() && error == std::errc() && stop == part.data() + part.size();
        kept += isNumber ? tenths(degrees) : std::string(kHidden);
        if (end == value.size()) return kept;
        kept += ',';
        value.remove_prefix(end + 1);
    }
}

bool isSecretKey(std::string_view key) {
    const std::string lower = lowerCase(key);
    return std::any_of(kSecretKeyParts.begin(), kSecretKeyParts.end(),
                       [&lower](std::string_view part) { return lower.find(part) != std::string::npos; });
}

// Where the parts of a URL lie: the authority runs from after "://" to the first "/", "?"
// or "#" after it.
struct UrlParts {
    std::string_view head;       // scheme and "://", or nothing
    std::string_view authority;  // user information, host and port
    std::string_view rest;       // path, query and fragment
};

UrlParts splitUrl(std::string_view url) {
    const std::size_t schemeEnd = url.find("://");
    if (schemeEnd == std::string_view::npos) return {{}, {}, url};
    const std::size_t hostStart = schemeEnd + 3;
    const std::size_t hostEnd = std::min(url.find_first_of("/?#", hostStart), url.size());
    return {url.substr(0, hostStart), url.substr(hostStart, hostEnd - hostStart), url.substr(hostEnd)};
}

std::string_view withoutUserInformation(std::string_view authority) {
    const std::size_t at = authority.rfind('@');
    return at == std::string_view::npos ? authority : authority.substr(at + 1);
}

std::string queryWithoutSecrets(std::string_view query) {
    std::string kept;
    while (true) {
        const std::size_t end = std::min(query.find('&'), query.size());
        const std::string_view pair = query.substr(0, end);
        const std::size_t equals = pair.find('=');
        if (equals != std::string_view::npos && isSecretKey(pair.substr(0, equals))) {
            kept += std::string(pair.substr(0, equals + 1)) + std::string(kHidden);
        } else if (equals != std::string_view::npos && isPositionKey(pair.substr(0, equals))) {
            kept += std::string(pair.substr(0, equals + 1)) + positionValue(pair.substr(equals + 1));
        } else {
            kept += pair;
        }
        if (end == query.size()) return kept;
        kept += '&';
        query.remove_prefix(end + 1);
    }
}

std::string replaceAllOf(std::string text, std::string_view from, std::string_view to) {
    if (from.empty()) return text;
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::string requestHead(std::string_view url) {
    return "request " + sourceOfUrl(url) + " " + urlWithoutSecrets(url) + ": ";
}

std::string tenths(double degrees) {
    // Adding zero turns a rounded -0.0 into 0.0, so no "-0.0" appears.
    const double rounded = std::round(degrees * 10.0) / 10.0 + 0.0;
    // Whatever the locale: a decimal point, never a comma.
    std::array<char, 32> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), rounded, std::chars_format::fixed, 1);
    return {text.data(), written.ptr};
}

}  // namespace

std::string utcTimeText(std::chrono::system_clock::time_point time) {
    using namespace std::chrono;
    const auto inMilliseconds = floor<milliseconds>(time);
    const auto day = floor<days>(inMilliseconds);
    const year_month_day date{day};
    const hh_mm_ss clock{inMilliseconds - day};
    std::array<char, 40> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02u-%02u %02d:%02d:%02d.%03dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()), static_cast<int>(clock.subseconds().count()));
    return text.data();
}

std::string logLine(std::chrono::system_clock::time_point time, std::string_view event) {
    std::string line = utcTimeText(time) + " ";
    for (const char character : event) {
        const auto code = static_cast<unsigned char>(character);
        line += code < 0x20 || code == 0x7F ? ' ' : character;
    }
    line += kLineEnd;
    return line;
}

std::string startText() { return std::string("start Stratocue ") + STRATOCUE_VERSION_TEXT; }

std::string urlWithoutSecrets(std::string_view url) {
    const UrlParts parts = splitUrl(url);
    std::string_view rest = parts.rest.substr(0, std::min(parts.rest.find('#'), parts.rest.size()));
    const std::size_t queryStart = rest.find('?');
    std::string kept = std::string(parts.head) + std::string(withoutUserInformation(parts.authority));
    if (queryStart == std::string_view::npos) return kept + std::string(rest);
    return kept + std::string(rest.substr(0, queryStart + 1)) + queryWithoutSecrets(rest.substr(queryStart + 1));
}

std::string sourceOfUrl(std::string_view url) { return std::string(withoutUserInformation(splitUrl(url).authority)); }

std::string requestText(std::string_view url, long status, std::size_t bytes, std::chrono::milliseconds duration) {
    return requestHead(url) + "status " + std::to_string(status) + ", " + std::to_string(bytes) + " bytes, " +
           std::to_string(duration.count()) + " ms";
}

std::string failedRequestText(std::string_view url, std::string_view failure, std::chrono::milliseconds duration) {
    return requestHead(url) + "failed after " + std::to_string(duration.count()) +
           " ms: " + replaceAllOf(std::string(failure), url, urlWithoutSecrets(url));
}

std::string positionText(double latitudeDegrees, double longitudeDegrees) {
    return tenths(latitudeDegrees) + " " + tenths(longitudeDegrees);
}

}  // namespace stratocue::eventlog
