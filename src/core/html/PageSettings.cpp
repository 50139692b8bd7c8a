#include "html/PageSettings.h"

#include <algorithm>
#include <optional>

#include "common/Errors.h"
#include "common/Formatting.h"
#include "common/Numbers.h"
#include "data/Settings.h"

namespace scorewell {

namespace {

// The whole number of a setting read leniently, in the 16-bit range the layout boxes hold.
int WholeNumber(double value) {
    return static_cast<int>(RoundHalfEven(std::clamp(value, -32768.0, 32767.0)));
}

} // namespace

std::array<std::int32_t, 18> SwatchColors(const PageStyle& style) {
    std::array<std::int32_t, 18> colors{style.BGColor,         style.TextColor,   style.LinkColor,
                                        style.VLinkColor,      style.ALinkColor,  style.TitleColor,
                                        style.ReportNameColor, style.CaptionColor};
    for (std::size_t k = 0; k < style.TableColors.size(); ++k) {
        colors[8 + k] = style.TableColors[k];
    }
    return colors;
}

void SetSwatchColors(PageStyle& style, const std::array<std::int32_t, 18>& colors) {
    style.BGColor = colors[0];
    style.TextColor = colors[1];
    style.LinkColor = colors[2];
    style.VLinkColor = colors[3];
    style.ALinkColor = colors[4];
    style.TitleColor = colors[5];
    style.ReportNameColor = colors[6];
    style.CaptionColor = colors[7];
    for (std::size_t k = 0; k < style.TableColors.size(); ++k) {
        style.TableColors[k] = colors[8 + k];
    }
}

PageStyle DesignedPageStyle() {
    PageStyle style;
    style.UseBGImage = designed::kUseBGImage;
    SetSwatchColors(style, designed::kSwatchColors);
    style.UseTableColors = designed::kUseTableColors;
    style.Layout = designed::kLayout;
    style.HTMLPageFont = designed::kFont;
    style.HTMLPageFontSize = designed::kFontSize;
    return style;
}

PageStyle SavedPageStyle(Database& league) {
    PageStyle style = DesignedPageStyle();
    auto saved = [&league](int id) -> std::optional<std::string> {
        std::string value = ReadSetting(league, id);
        if (value == kMissingSetting) {
            return std::nullopt;
        }
        return value;
    };

    style.UseBGImage = ReadSettingFlag(league, kSettingUseBGImage);
    style.BGImage = saved(kSettingBGImage).value_or("");
    std::array<std::int32_t, 18> colors = designed::kSwatchColors;
    for (std::size_t i = 0; i < colors.size(); ++i) {
        if (auto color = ReadSettingColor(league, kSettingFirstColor + static_cast<int>(i))) {
            colors[i] = *color;
        }
    }
    SetSwatchColors(style, colors);
    for (std::size_t i = 0; i < style.UseTableColors.size(); ++i) {
        if (auto value = saved(kSettingFirstTableSwitch + static_cast<int>(i))) {
            style.UseTableColors[i] = LeadingNumber(*value) != 0;
        }
    }
    for (std::size_t i = 0; i < style.Layout.size(); ++i) {
        if (auto value = saved(kSettingFirstLayout + static_cast<int>(i))) {
            style.Layout[i] = WholeNumber(LeadingNumber(*value));
        }
    }
    style.HTMLPageFont = saved(kSettingFont).value_or(designed::kFont);
    style.HTMLPageFontSize = WholeNumber(ReadSettingNumber(league, kSettingFontSize));
    return style;
}

std::string SavedPageHeading(Database& league) {
    const std::string heading = ReadSetting(league, kSettingPageHeading);
    return heading == kMissingSetting ? designed::kHeading : heading;
}

std::string StandingsPageCaption(const std::string& standingsCaption) {
    return standingsCaption.empty() ? standingsCaption
                                    : standingsCaption.substr(0, standingsCaption.size() - 1);
}

RaceHeading ReadRaceHeading(Database& league, std::int32_t raceId,
                            const std::string& decimalSeparator) {
    Cursor race =
        league.Query("SELECT Name, Length, Laps FROM Race WHERE RaceID=?", {Value(raceId)});
    if (race.AtEnd()) {
        throw ScorewellError("There is no race number " + std::to_string(raceId) + ".");
    }
    auto number = [&](const Value& value) {
        return value.IsNull() ? std::string() : NumberText(value.AsDouble(), decimalSeparator);
    };
    return {race.Field(0).AsText(),
            number(race.Field(1)) + " miles - " + number(race.Field(2)) + " laps"};
}

} // namespace scorewell
