#include "standins/sim/flight_path.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace stratocue::standins {

namespace {

constexpr std::string_view kBlanks = " \t\r";
constexpr std::string_view kLineLayout = "expected 'seconds latitude_deg longitude_deg altitude_m'";

std::optional<double> parseFinite(std::string_view word) {
    double value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc{} || end != word.data() + word.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// The blank-separated words of a line, or empty when there are not exactly `Count`.
template <std::size_t Count>
std::optional<std::array<std::string_view, Count>> splitWords(std::string_view line) {
    std::array<std::string_view, Count> words;
    std::size_t found = 0;
    for (;;) {
        const std::size_t start = line.find_first_not_of(kBlanks);
        if (start == std::string_view::npos) {
            break;
        }
        line.remove_prefix(start);
        const std::size_t end = std::min(line.find_first_of(kBlanks), line.size());
        if (found == Count) {
            return std::nullopt;
        }
        words[found++] = line.substr(0, end);
        line.remove_prefix(end);
    }
    if (found != Count) {
        return std::nullopt;
    }
    return words;
}

// The point of one line, or the reason it is bad.
std::string parsePoint(std::string_view line, std::optional<FlightPoint>& point) {
    const auto words = splitWords<4>(line);
    if (!words) {
        return std::string(kLineLayout);
    }
    std::array<double, 4> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::optional<double> value = parseFinite((*words)[i]);
        if (!value) {
            return "'" + std::string((*words)[i]) + "' is not a number; " + std::string(kLineLayout);
        }
        values[i] = *value;
    }
    const FlightPoint parsed{values[0], values[1], values[2], values[3]};
    if (parsed.seconds < 0) {
        return "seconds must not be negative";
    }
    if (std::fabs(parsed.latitudeDeg) > 90) {
        return "latitude must lie within -90..90 degrees";
    }
    if (std::fabs(parsed.longitudeDeg) > 180) {
        return "longitude must lie within -180..180 degrees";
    }
    if (std::fabs(parsed.altitudeMetres) >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        return "altitude is out of range";
    }
    point = parsed;
    return {};
}

}  // namespace

FlightPath parseFlightPath(std::string_view text) {
    FlightPath path;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        ++lineNumber;
        line = line.substr(0, std::min(line.find('#'), line.size()));
        if (line.find_first_not_of(kBlanks) == std::string_view::npos) {
            continue;
        }
        std::optional<FlightPoint> point;
        std::string error = parsePoint(line, point);
        if (error.empty() && !path.points.empty() && point->seconds < path.points.back().seconds) {
            error = "time goes backwards";
        }
        if (!error.empty()) {
            path.points.clear();
            path.error = "line " + std::to_string(lineNumber) + ": " + error;
            return path;
        }
        path.points.push_back(*point);
    }
    return path;
}

FlightPoint positionAt(std::span<const FlightPoint> points, double seconds) {
    if (points.empty()) {
        return {};
    }
    if (seconds <= points.front().seconds) {
        return points.front();
    }
    for (std::size_t i = 1; i < points.size(); ++i) {
        const FlightPoint& before = points[i - 1];
        const FlightPoint& after = points[i];
        if (seconds < after.seconds) {
            const double share = (seconds - before.seconds) / (after.seconds - before.seconds);
            const auto between = [share](double from, double to) { return from + (to - from) * share; };
            return FlightPoint{seconds, between(before.latitudeDeg, after.latitudeDeg),
                               between(before.longitudeDeg, after.longitudeDeg),
                               between(before.altitudeMetres, after.altitudeMetres)};
        }
    }
    return points.back();
}

}  // namespace stratocue::standins
