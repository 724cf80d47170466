#pragma once

// The texts of the log's lines. Plain functions, so the shape of every line is tested
// without a file.

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace stratocue::eventlog {

// How a line of the log ends: as the system's own text files do, so the pilot's editor
// shows one event per line.
#ifdef _WIN32
inline constexpr std::string_view kLineEnd = "\r\n";
#else
inline constexpr std::string_view kLineEnd = "\n";
#endif

// "2026-12-08 11:55:53.123Z": the UTC date and time to the millisecond.
[[nodiscard]] std::string utcTimeText(std::chrono::system_clock::time_point time);

// One line of the file: the time, a blank and the event, control characters made blanks,
// ended by kLineEnd.
[[nodiscard]] std::string logLine(std::chrono::system_clock::time_point time, std::string_view event);

// "start Stratocue 1.5": the first event of a run.
[[nodiscard]] std::string startText();

// The URL with nothing in it that may be secret: a user name and password before the host
// are left out, the values of query keys that name a key, token, password, signature or
// session are replaced by "(hidden)", the values of position keys (lat, lon, latitude,
// longitude) are rounded to a tenth of a degree, and a fragment is left out.
[[nodiscard]] std::string urlWithoutSecrets(std::string_view url);

// The server a URL asks: its host and port, without user name and password ("" when the
// URL names none).
[[nodiscard]] std::string sourceOfUrl(std::string_view url);

// "request <source> <url>: status 200, 512 bytes, 85 ms", secrets left out of the URL.
[[nodiscard]] std::string requestText(std::string_view url, long status, std::size_t bytes,
                                      std::chrono::milliseconds duration);

// "request <source> <url>: failed after 85 ms: <failure>", secrets left out of the URL
// wherever the failure text repeats it.
[[nodiscard]] std::string failedRequestText(std::string_view url, std::string_view failure,
                                            std::chrono::milliseconds duration);

// "47.4 -122.3": latitude and longitude in degrees, north and east positive, rounded to a
// tenth of a degree, the most the log tells of where the aircraft is.
[[nodiscard]] std::string positionText(double latitudeDegrees, double longitudeDegrees);

}  // namespace stratocue::eventlog
