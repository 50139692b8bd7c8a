#pragma once

// The league's domain values by name: simulations, league types, how qualifying is reported, and
// the numbers of the settings kept in league files and in the program database. The numbers are
// what the files store, so they never change.

namespace scorewell {

// The racing simulation a league races on (league setting 5).
enum class Simulation : int {
    NascarRacing3 = 0,
    NascarLegends = 1,
    NascarRacing2 = 2, // NASCAR Racing 2 / 1999
    NascarRacing4 = 3,
};

// How the members race (league setting 12): together on-line, or each on his own against the
// computer cars, with the result files merged into one race.
enum class LeagueType : int {
    Online = 0,
    Offline = 1,
};

// How qualifying is shown and entered (league setting 17).
enum class LapReportingMethod : int {
    Speed = 0,
    LapTime = 1,
};

// Numbers of the settings in a league file's Settings table.
namespace SettingId {
inline constexpr int PageHeading = 2;
inline constexpr int ReportName = 3;
inline constexpr int Caption = 4;
inline constexpr int SimTitle = 5;
inline constexpr int DroppedRaces = 6;
inline constexpr int LeagueType = 12;
inline constexpr int UseCustomPointSystem = 13;
inline constexpr int UseCustomBonusSystem = 14;
inline constexpr int PageFont = 15;
inline constexpr int PageFontSize = 16;
inline constexpr int LapReportingMethod = 17;
inline constexpr int UseBackgroundImage = 100;
inline constexpr int BackgroundImage = 101;
inline constexpr int FirstColor = 102;       // 102 + swatch, 18 swatches
inline constexpr int FirstTableSwitch = 200; // 200 + table-colour switch
inline constexpr int FirstLayout = 300;      // 300 + layout box
inline constexpr int PageLook = 400;         // "1" the Modern page style, else the classic one
} // namespace SettingId

// Numbers of the settings in the program database's Settings table.
namespace ProgramSettingId {
inline constexpr int Nascar3Folder = 0;
inline constexpr int LegendsFolder = 1;
inline constexpr int FirstRecentFile = 7; // 7 to 10, most recent first
inline constexpr int OpenRecentAtStart = 11;
inline constexpr int Nascar4Folder = 12;
inline constexpr int UseBackgroundImage = 100;
inline constexpr int BackgroundImage = 101;
inline constexpr int FirstColor = 102; // 102 to 109
} // namespace ProgramSettingId

} // namespace scorewell
