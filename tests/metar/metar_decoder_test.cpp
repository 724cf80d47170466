#include "metar/metar_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "metar_test_support.h"

namespace stratocue::metar {
namespace {

using testing::expectDecodes;
using testing::FieldValues;
using testing::withExtraTokens;

struct DecodeCase {
    const char* name;
    std::string report;
    FieldValues fields;
};

void expectAll(const std::vector<DecodeCase>& cases) {
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        expectDecodes(c.report, c.fields);
    }
}

TEST(DecodeMetar, WorkedReportsFillEveryField) {
    expectAll({
        {"SanFranciscoInInchesAndKnots",
         "KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002 RMK AO2",
         {{"datetime", "061756Z"},
          {"winddir", "280"},
          {"windspeed", "12"},
          {"gusting", "20"},
          {"vis", "10"},
          {"ptype", "0"},
          {"pint", "0"},
          {"temp", "17"},
          {"dewpoint", "09"},
          {"tsdensity", "0"},
          {"c1density", "NONE"},
          {"c1base", "0"},
          {"c2density", "FEW"},
          {"c2base", "010"},
          {"c3density", "SCT"},
          {"c3base", "250"},
          {"alt", "1016"},
          {"txtMETARstr", "KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002"}}},
        {"FrankfurtInHectopascalsAndMetresPerSecond",
         "EDDF 061750Z 24008MPS 9999 -RA BKN015 OVC030 12/10 Q1008 NOSIG",
         {{"datetime", "061750Z"},
          {"winddir", "240"},
          {"windspeed", "16"},
          {"gusting", "0"},
          {"vis", "6"},
          {"ptype", "1"},
          {"pint", "1"},
          {"temp", "12"},
          {"dewpoint", "10"},
          {"tsdensity", "0"},
          {"c1density", "NONE"},
          {"c1base", "0"},
          {"c2density", "BKN"},
          {"c2base", "015"},
          {"c3density", "OVC"},
          {"c3base", "030"},
          {"alt", "1008"},
          {"txtMETARstr", "EDDF 061750Z 24008MPS 9999 -RA BKN015 OVC030 12/10 Q1008"}}},
        {"AutomaticStationWithClearSky",
         "KXYZ 061756Z AUTO 00000KT 10SM CLR 20/15 A2992",
         {{"datetime", "061756Z"},
          {"winddir", "000"},
          {"windspeed", "00"},
          {"gusting", "0"},
          {"vis", "10"},
          {"ptype", "0"},
          {"pint", "0"},
          {"temp", "20"},
          {"dewpoint", "15"},
          {"tsdensity", "0"},
          {"c1density", "NONE"},
          {"c1base", "0"},
          {"c2density", "NONE"},
          {"c2base", "0"},
          {"c3density", "NONE"},
          {"c3base", "0"},
          {"alt", "1013"},
          {"txtMETARstr", "KXYZ 061756Z AUTO 00000KT 10SM CLR 20/15 A2992"}}},
        {"EverythingMissing",
         "LIMV 272155Z AUTO /////KT //// // ///////// ///// Q//// RMK ///",
         {{"datetime", "272155Z"},
          {"winddir", "///"},
          {"windspeed", "//"},
          {"gusting", "0"},
          {"vis", "1"},
          {"ptype", "0"},
          {"pint", "0"},
          {"temp", ""},
          {"dewpoint", "////KT"},
          {"tsdensity", "0"},
          {"c1density", "NONE"},
          {"c2density", "NONE"},
          {"c3density", "NONE"},
          {"alt", "1013"},
          {"txtMETARstr", "LIMV 272155Z AUTO /////KT //// // ///////// ///// Q//// RMK ///"}}},
    });
}

TEST(DecodeMetar, TokensFollowTheBlanks) {
    const std::string fiftyTokens = withExtraTokens("KABC 061756Z 28012KT 10SM FEW010 17/09 A3002", 43);
    expectAll({
        {"DoubledBlankGivesEmptyTimeAndShiftsTokens",
         "KABC  061756Z 28012KT 10SM FEW010 17/09 A3002",
         {{"datetime", ""},
          {"winddir", "280"},
          {"windspeed", "12"},
          {"vis", "10"},
          {"c2density", "FEW"},
          {"c2base", "010"},
          {"alt", "1016"},
          {"txtMETARstr", "KABC  061756Z 28012KT 10SM FEW010 17/09 A3002"}}},
        {"LineBreaksShowAsBlanksInReportText",
         "KABC 061756Z 28012KT 10SM FEW010 17/09 RMK AO2\r\nSLP123",
         {{"datetime", "061756Z"},
          {"alt", "1013"},
          {"txtMETARstr", "KABC 061756Z 28012KT 10SM FEW010 17/09 RMK AO2  SLP123"}}},
        {"LineBreakStaysInsideItsToken",
         "KABC 061756Z 28012KT 10SM\nFEW010 17/09 A3002",
         {{"vis", "10SM\nFEW0"},
          {"c2density", "10S"},
          {"c2base", "010"},
          {"temp", "17"},
          {"alt", "1016"},
          {"txtMETARstr", "KABC 061756Z 28012KT 10SM\nFEW010 17/09 A3002"}}},
        {"FiftyTokensDecode",
         fiftyTokens,
         {{"datetime", "061756Z"}, {"alt", "1016"}, {"txtMETARstr", "KABC 061756Z 28012KT 10SM FEW010 17/09 A3002"}}},
    });
}

TEST(DecodeMetar, WindFromItsToken) {
    expectAll({
        {"GustInMetresPerSecond",
         "UUEE 061800Z 24010G15MPS 9999 SCT020 05/01 Q1012",
         {{"winddir", "240"}, {"windspeed", "20"}, {"gusting", "30"}}},
        {"RealGustInMetresPerSecond",
         "ZYTL 272200Z 33005G10MPS 300V010 9999 BKN033 M06/M12 Q1021 NOSIG",
         {{"winddir", "330"}, {"windspeed", "10"}, {"gusting", "20"}}},
        {"MetresPerSecondWithoutGust",
         "UUWW 061800Z 27008MPS 9999 SCT020 05/01 Q1012",
         {{"winddir", "270"}, {"windspeed", "16"}, {"gusting", "0"}}},
        {"VariableInMetresPerSecond",
         "ZMCK 272200Z VRB02MPS 9999 SCT100 M27/M31 Q1015 NOSIG RMK QFE646.0 72 NT",
         {{"winddir", "VRB"}, {"windspeed", "4"}, {"gusting", "0"}}},
        {"GustInKnotsAfterAuto",
         "CYZE 272224Z AUTO 27027G34KT 4SM -SN BKN015 OVC020 M01/M02 A2925 RMK SLP914",
         {{"winddir", "270"}, {"windspeed", "27"}, {"gusting", "34"}}},
        {"VariableInKnots",
         "KSMP 272156Z AUTO VRB03KT 10SM CLR M02/M07 A3027 RMK AO2 SLP882",
         {{"winddir", "VRB"}, {"windspeed", "03"}, {"gusting", "0"}}},
        {"ThreeDigitSpeed",
         "KABC 061756Z 270105KT 10SM FEW010 17/09 A3002",
         {{"winddir", "270"}, {"windspeed", "105"}, {"gusting", "0"}}},
        {"ThreeDigitSpeedWithLeadingZero",
         "SARF 230900Z 180007KT CAVOK 17/17 Q1016",
         {{"winddir", "180"}, {"windspeed", "007"}, {"gusting", "0"}}},
        {"NoUnitTakesThirdAndSecondLast",
         "KABC 061756Z 27015T 10SM FEW010 17/09 A3002",
         {{"winddir", "270"}, {"windspeed", "15"}, {"gusting", "0"}}},
        {"CorrectionSkipped",
         "PTRO 272150Z COR 00000KT 13SM BKN015CB BKN110 OVC280 25/24 A2982 RMK CB ALQDS",
         {{"winddir", "000"}, {"windspeed", "00"}, {"gusting", "0"}}},
    });
}

TEST(DecodeMetar, VisibilityInStatuteMiles) {
    expectAll({
        {"WholeMiles", "CYZE 272224Z AUTO 27027G34KT 4SM -SN BKN015 OVC020 M01/M02 A2925 RMK SLP914", {{"vis", "4"}}},
        {"MoreThanSixMiles", "KABC 061756Z 28012KT P6SM FEW010 17/09 A3002", {{"vis", "P6"}}},
        {"FractionAfterWholeMiles",
         "KWDR 272215Z AUTO 00000KT 1 1/2SM BR OVC004 08/08 A3004 RMK AO2",
         {{"vis", "1.50"}, {"temp", "08"}, {"dewpoint", "08"}}},
        {"HalfAfterLongToken", "KABC 061756Z 28012KT 1/2SM FG OVC002 07/07 A3020", {{"vis", "0.50"}}},
        {"ThreeQuarters", "KABC 061756Z 28012KT 3/4SM BR OVC004 08/08 A3004", {{"vis", "0.75"}}},
        {"LessThanAQuarter", "KDKX 230935Z AUTO 00000KT M1/4SM FG OVC002 07/07 A3020 RMK A01", {{"vis", "0.00"}}},
        {"SixteenthUsesFirstAndLastCharacter",
         "KMWN 012351Z 29039G44KT 1/16SM FG VV000 02/02 RMK 60004 4/007 10047 20006",
         {{"vis", "0.17"}}},
        {"EighthRoundsHalfToEven",
         "CYLL 230929Z AUTO 03005KT 1/8SM +SN VV001 M01/M01 A2989 RMK ICE SLP159",
         {{"vis", "0.12"}}},
        {"LastMilesTokenWins", "KABC 061756Z 28012KT 2SM BR OVC004 08/08 A3004 RMK TWR VIS 1 1/2SM", {{"vis", "1.50"}}},
        {"GreatestMetresGiveSixMiles",
         "EDDF 061750Z 24008MPS 9999 -RA BKN015 OVC030 12/10 Q1008 NOSIG",
         {{"vis", "6"}}},
        {"MetresRoundToWholeMiles",
         "OPLA 272225Z 33006KT 4000 FU NSC 11/06 Q1011 NOSIG RMK QFE986 A29.88",
         {{"vis", "2"}}},
        {"MetresBelowOneMileGiveOne",
         "KQEW 272220Z AUTO 22003KT 0800 FZFG OVC018 M03/M05 A2995 RMK A02 TSNO",
         {{"vis", "1"}}},
        {"MetresAboveNinetyNineMilesGiveNinetyNine", "XXXX 061800Z 24008KT 2E05 FEW020 10/05 Q1012", {{"vis", "99"}}},
        {"CavokGivesTen", "LWSK 272220Z 03005KT CAVOK 03/01 Q1020 NOSIG", {{"vis", "10"}}},
        {"VariableDirectionAfterWindGivesTen",
         "ESIA 272220Z AUTO 21003KT 180V240 9999 OVC022/// 04/03 Q0993",
         {{"vis", "10"}}},
        {"StationIdentifierWithSmIsNotTheVisibility", "ESMX 272220Z 18005KT 7000 BKN003 05/05 Q0995", {{"vis", "4"}}},
        {"StationIdentifierWithSmAndNoVisibility", "KSMF 061756Z AUTO 28012KT FEW010 17/09 A3002", {{"vis", "10"}}},
    });
}

TEST(DecodeMetar, AltimeterInHectopascals) {
    expectAll({
        {"StandardInches", "KXYZ 061756Z AUTO 00000KT 10SM CLR 20/15 A2992", {{"alt", "1013"}}},
        {"InchesRoundDown", "KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002", {{"alt", "1016"}}},
        {"InchesRoundUp", "KABC 061756Z 28012KT 10SM CLR 20/15 A3010", {{"alt", "1019"}}},
        {"Hectopascals", "EDDF 061750Z 24008MPS 9999 -RA BKN015 OVC030 12/10 Q1008 NOSIG", {{"alt", "1008"}}},
        {"HectopascalsKeepLeadingZero", "ESMX 272220Z 18005KT 7000 BKN003 05/05 Q0995", {{"alt", "0995"}}},
        {"LaterInchesGroupWinsAndReadsAsInches",
         "OMFJ 140800E 05007KT 020V120 9999 FEW030 29/19 Q1014 A2995",
         {{"alt", "1014"}, {"txtMETARstr", "OMFJ 140800E 05007KT 020V120 9999 FEW030 29/19 Q1014 A2995"}}},
        {"RemarkWordAlqdsIsNoAltimeter",
         "PTRO 272150Z COR 00000KT 13SM BKN015CB BKN110 OVC280 25/24 A2982 RMK CB ALQDS",
         {{"alt", "1010"}, {"txtMETARstr", "PTRO 272150Z COR 00000KT 13SM BKN015CB BKN110 OVC280 25/24 A2982"}}},
        {"RemarkWordAlstgIsNoAltimeter",
         "KVAD 272156Z VRB03KT 10SM OVC080 14/11 A3005 RMK SLP091 WND DATA ESTMD ALSTG ESTMD/ ESTMD",
         {{"alt", "1017"}, {"txtMETARstr", "KVAD 272156Z VRB03KT 10SM OVC080 14/11 A3005"}}},
        {"MissingPressureKeepsWholeReport",
         "EHJR 020025Z AUTO 28013KT //// // ///////// 09/07 Q//// RE// W10/H11",
         {{"alt", "1013"}, {"txtMETARstr", "EHJR 020025Z AUTO 28013KT //// // ///////// 09/07 Q//// RE// W10/H11"}}},
        {"SixCharacterPressureIsNoAltimeter",
         "HHAS 060500 08012KT 9/9 FEW020 14/10 Q01027 NOSIG",
         {{"alt", "1013"}, {"txtMETARstr", "HHAS 060500 08012KT 9/9 FEW020 14/10 Q01027 NOSIG"}}},
        {"NoAltimeterLimitsWeatherScansToSlotTen",
         "KABC 061756Z 28012KT 10SM BKN010 17/09 RMK AO2 SLP123 P0000 VCTS -RA",
         {{"alt", "1013"},
          {"tsdensity", "0"},
          {"ptype", "0"},
          {"pint", "0"},
          {"txtMETARstr", "KABC 061756Z 28012KT 10SM BKN010 17/09 RMK AO2 SLP123 P0000 VCTS -RA"}}},
        {"AltimeterBeyondSlotTwentyIgnored",
         withExtraTokens("KABC 061756Z 28012KT 10SM BKN010 17/09", 14) + " A2992",
         {{"alt", "1013"}}},
    });
}

TEST(DecodeMetar, ThunderstormLevel) {
    expectAll({
        {"VicinityIsModerate", "YBRM 272222Z AUTO 03009KT 9999 VCTS SCT018 26/24 Q1008 RETS", {{"tsdensity", "2"}}},
        {"HeavyThunderstormWithRain",
         "WMKD 180700Z 33005KT 0300 +TSRA FEW000 FEW017CB SCT023 OVC140 25/23 Q1009 NOSIG",
         {{"tsdensity", "3"}, {"ptype", "1"}, {"pint", "3"}}},
        {"LightThunderstormWithRain",
         "WBGG 230930Z 28006KT 220V320 9999 -TSRA FEW015CB SCT018 27/25 Q1007 NOSIG",
         {{"tsdensity", "1"}, {"ptype", "1"}, {"pint", "1"}}},
        {"LastThunderstormGroupWins", "KABC 061756Z 28012KT 3SM +TSRA -TSRA OVC010 21/19 A2992", {{"tsdensity", "1"}}},
        {"NoThunderstorm", "KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002", {{"tsdensity", "0"}}},
    });
}

TEST(DecodeMetar, PrecipitationTypeAndIntensity) {
    expectAll({
        {"LightRain",
         "NFNL 272220Z 14003KT 8000 -RA SCT025TCU BKN046 OVC100 26/25 Q1011",
         {{"ptype", "1"}, {"pint", "1"}}},
        {"ModerateRain", "KABC 061756Z 28012KT 3SM RA OVC010 11/10 A2992", {{"ptype", "1"}, {"pint", "2"}}},
        {"HeavyDrizzleCountsAsLight",
         "KSJX 141155Z AUTO 18007G15KT 5SM +DZ SCT015 BKN019 OVC025 05/03 A2966 RMK AO2",
         {{"ptype", "1"}, {"pint", "1"}}},
        {"DrizzleAfterHeavyRainMakesItLight",
         "KABC 061756Z 28012KT 3SM +RA DZ OVC010 11/10 A2992",
         {{"ptype", "1"}, {"pint", "1"}}},
        {"RainAndSnowIsModerateSnow",
         "RJSN 272200Z AUTO 19013KT 9999 RASN SCT016 BKN017 BKN020 03/02 Q1008",
         {{"ptype", "2"}, {"pint", "2"}}},
        {"LaterSnowOutranksLightRain",
         "KABC 061756Z 28012KT 3SM -RA SN OVC010 01/00 A2992",
         {{"ptype", "2"}, {"pint", "2"}}},
        {"HeavySnow",
         "CYLL 230929Z AUTO 03005KT 1/8SM +SN VV001 M01/M01 A2989 RMK ICE SLP159",
         {{"ptype", "2"}, {"pint", "3"}}},
        {"LightSnow",
         "CYVM 272222Z AUTO 00000KT 1 1/2SM -SN OVC017 M20/M22 A2942 RMK SLP966",
         {{"ptype", "2"}, {"pint", "1"}}},
        {"NoPrecipitation", "LWSK 272220Z 03005KT CAVOK 03/01 Q1020 NOSIG", {{"ptype", "0"}, {"pint", "0"}}},
    });
}

TEST(DecodeMetar, TemperatureAndDewPoint) {
    expectAll({
        {"BothPositive",
         "KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002",
         {{"temp", "17"}, {"dewpoint", "09"}}},
        {"BothNegative", "KABC 061756Z 28012KT 10SM CLR M05/M12 A3002", {{"temp", "-05"}, {"dewpoint", "-12"}}},
        {"NegativeDewPoint", "KABC 061756Z 28012KT 10SM CLR 02/M01 A3002", {{"temp", "02"}, {"dewpoint", "-01"}}},
        {"GroupWithoutDewPointNotTaken",
         "KNUC 230856Z AUTO 29016KT 10SM BKN024 15/ A2983 RMK AO2 PK WND 28026/0811 SLP098 T0150 51001 $",
         {{"temp", "15"}, {"dewpoint", "7"}}},
        {"FirstQualifyingGroupWins", "KABC 061756Z 28012KT 10SM CLR 02/M01 RMK 15/10", {{"temp", "02"}}},
        {"MilesFractionIsNoTemperature",
         "KABC 061756Z 28012KT 10SM CLR A3002 RMK VIS 1/2SM",
         {{"temp", "15"}, {"dewpoint", "7"}}},
    });
}

TEST(DecodeMetar, CloudSlots) {
    expectAll({
        {"NoGroups",
         "LWSK 272220Z 03005KT CAVOK 03/01 Q1020 NOSIG",
         {{"c1density", "NONE"},
          {"c1base", "0"},
          {"c2density", "NONE"},
          {"c2base", "0"},
          {"c3density", "NONE"},
          {"c3base", "0"}}},
        {"OneGroupInSlotTwo",
         "ESMX 272220Z 18005KT 7000 BKN003 05/05 Q0995",
         {{"c1density", "None"},
          {"c1base", "0"},
          {"c2density", "BKN"},
          {"c2base", "003"},
          {"c3density", "None"},
          {"c3base", "0"}}},
        {"TwoGroupsInSlotsTwoAndThree",
         "KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002",
         {{"c1density", "NONE"},
          {"c1base", "0"},
          {"c2density", "FEW"},
          {"c2base", "010"},
          {"c3density", "SCT"},
          {"c3base", "250"}}},
        {"ThreeGroupsDropTheLowest",
         "KABC 061756Z 28012KT 10SM FEW005 BKN020 OVC040 17/09 A3002",
         {{"c1density", "None"},
          {"c1base", "0"},
          {"c2density", "BKN"},
          {"c2base", "020"},
          {"c3density", "OVC"},
          {"c3base", "040"}}},
        {"FourGroupsAsThree",
         "KHEY 272218Z AUTO 00000KT 4SM RA BR FEW003 SCT008 BKN013 OVC020 14/14 A3003 RMK AO2 RAE06RAB09",
         {{"c1density", "None"},
          {"c1base", "0"},
          {"c2density", "SCT"},
          {"c2base", "008"},
          {"c3density", "BKN"},
          {"c3base", "013"}}},
        {"CumulonimbusBaseBeforeItsType",
         "UHHH 272204Z 04010MPS 3200 -SHSN BLSN SCT011 BKN022CB M11/M13 Q1018 R88/451045 NOSIG RMK QFE757/1010",
         {{"c2density", "SCT"}, {"c2base", "011"}, {"c3density", "BKN"}, {"c3base", "022"}}},
        {"ToweringCumulusGivesItsType",
         "VRMM 272200Z 24007KT 9000 -RA SCT017TCU OVC110 26/24 Q1008 NOSIG",
         {{"c2density", "SCT"}, {"c2base", "TCU"}, {"c3density", "OVC"}, {"c3base", "110"}}},
        {"MissingBasesKeepTheirSlashes",
         "ESMT 272220Z AUTO 13006KT 9999 BKN030/// BKN042/// 06/04 Q0994",
         {{"c2density", "BKN"}, {"c2base", "///"}, {"c3density", "BKN"}, {"c3base", "///"}}},
    });
}

}  // namespace
}  // namespace stratocue::metar
