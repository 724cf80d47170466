#pragma once

#include <array>
#include <chrono>
#include <stdexcept>
#include <string>
#include <string_view>

#include "fdwinds/fd_winds.h"
#include "web/server_addresses.h"
#include "web/web_answer.h"

namespace stratocue::fdwinds {

// The global forecast model's winds aloft, through the public Open-Meteo service: "open_meteo"
// in servers.txt, by default https://api.open-meteo.com. No key; free for non-commercial use
// (CC BY 4.0) up to 10,000 calls a day.
inline constexpr SourceServer kOpenMeteoServer{"open_meteo", "https://api.open-meteo.com"};

// The identifier of the one row the model's winds make in FdWinds.
inline constexpr std::string_view kGfsRowId = "GFS";

// The model's pressure level for each FD level, in FdLevel order: the one nearest to the
// level's standard-atmosphere pressure.
inline constexpr std::array<int, kLevelCount> kGfsLevelHectopascals{900, 800, 725, 650, 500, 400, 300, 250, 200};

// An answer of the model service that gives no winds: an error status or error answer,
// text that is no JSON, no entry for the hour, a missing variable or value, or a speed in
// another unit than knots. The run fails like a failed bulletin download.
class GfsAnswerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One pressure level of the model, as the service gives it.
struct GfsLevelReading {
    double windSpeedKnots = 0.0;
    double windDirectionDegrees = 0.0;
    double temperatureC = 0.0;
};
using GfsReadings = std::array<GfsLevelReading, kLevelCount>;

// "<base>/v1/gfs?latitude=..&longitude=..&hourly=<27 variables>&wind_speed_unit=kn&forecast_hours=1",
// the position in degrees (north and east positive) with two decimals and a ".".
[[nodiscard]] std::string gfsRequestUrl(std::string_view base, double latitudeDegrees, double longitudeDegrees);

// The model's time text of the UTC hour that holds `now`: "YYYY-MM-DDTHH:00".
[[nodiscard]] std::string gfsHourText(std::chrono::system_clock::time_point now);

// The nine levels of the answer's entry for `hourText` (gfsHourText). Throws GfsAnswerError
// for any answer that does not hold them all (see GfsAnswerError).
[[nodiscard]] GfsReadings GFS_ReadAnswer(const WebAnswer& answer, std::string_view hourText);

// One level in the bulletin's own coding: direction to the nearest ten degrees as a code
// (0 becomes 36), speed and temperature rounded; 100 knots and more as direction code + 50
// and speed - 100, 200 knots and more as 199; at the levels whose minus sign the bulletin
// leaves implied, the temperature's magnitude (0 for one above zero). Throws RuntimeFault
// when a value does not fit its 16 bits.
[[nodiscard]] FdLevelValues GFS_BulletinLevel(FdLevel level, const GfsLevelReading& reading);

// FdWinds holding one row, "GFS", with the nine levels in bulletin coding.
[[nodiscard]] FdWinds GFS_WindsRow(const GfsReadings& readings);

// The model service's address as servers.txt names it, else its default.
[[nodiscard]] std::string gfsServerAddress(const ServerAddresses& servers);

}  // namespace stratocue::fdwinds
