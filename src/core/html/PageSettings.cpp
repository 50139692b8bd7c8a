#include "html/PageSettings.h"

#include <algorithm>
#include <optional>

#include "common/Domain.h"
#include "common/Errors.h"
#include "common/Formatting.h"
#include "common/Numbers.h"
#include "data/League.h"
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

ExportDialogSettings LoadExportDialogSettings(Database& league) {
    auto saved = [&league](int id) -> std::optional<std::string> {
        std::string value = ReadSetting(league, id);
        if (value == kMissingSetting) {
            return std::nullopt;
        }
        return value;
    };

    ExportDialogSettings s;
    s.heading = saved(kSettingPageHeading).value_or(s.heading);
    s.reportName = saved(kSettingReportName).value_or(s.reportName);
    s.caption = saved(kSettingCaption).value_or(s.caption);
    s.font = saved(kSettingFont).value_or(s.font);
    s.fontSize = WholeNumber(ReadSettingNumber(league, kSettingFontSize));
    s.useBGImage = ReadSettingFlag(league, kSettingUseBGImage);
    s.bgImage = saved(kSettingBGImage).value_or("");
    for (std::size_t i = 0; i < s.colors.size(); ++i) {
        if (auto color = ReadSettingColor(league, kSettingFirstColor + static_cast<int>(i))) {
            s.colors[i] = *color;
        }
    }
    for (std::size_t i = 0; i < s.useTableColors.size(); ++i) {
        if (auto value = saved(kSettingFirstTableSwitch + static_cast<int>(i))) {
            s.useTableColors[i] = LeadingNumber(*value) != 0;
        }
    }
    for (std::size_t i = 0; i < s.layout.size(); ++i) {
        s.layout[i] = saved(kSettingFirstLayout + static_cast<int>(i)).value_or(s.layout[i]);
    }
    s.modern = saved(SettingId::PageLook) == "1";
    return s;
}

void SaveExportDialogSettings(Database& league, const ExportDialogSettings& settings) {
    const std::string failure =
        "The page settings could not be saved in the league file \"" + league.Path() + "\"";
    try {
        Transaction t(league);
        auto write = [&](int id, std::string_view value) {
            if (!WriteSetting(league, id, value)) {
                throw ScorewellError(failure + ".");
            }
        };
        write(kSettingPageHeading, settings.heading);
        write(kSettingReportName, settings.reportName);
        write(kSettingCaption, settings.caption);
        write(kSettingFont, settings.font);
        write(kSettingFontSize, std::to_string(settings.fontSize));
        write(kSettingUseBGImage, settings.useBGImage ? "True" : "False");
        write(kSettingBGImage, settings.bgImage);
        for (std::size_t i = 0; i < settings.colors.size(); ++i) {
            write(kSettingFirstColor + static_cast<int>(i), ColorText(settings.colors[i]));
        }
        for (std::size_t i = 0; i < settings.useTableColors.size(); ++i) {
            write(kSettingFirstTableSwitch + static_cast<int>(i),
                  settings.useTableColors[i] ? "1" : "0");
        }
        for (std::size_t i = 0; i < settings.layout.size(); ++i) {
            write(kSettingFirstLayout + static_cast<int>(i), settings.layout[i]);
        }
        write(SettingId::PageLook, settings.modern ? "1" : "0");
        t.Commit();
    } catch (const DbError& e) {
        throw ScorewellError(failure + ": " + PlainReason(e) + ".");
    }
}

int LayoutValue(const std::string& text) {
    return WholeNumber(LeadingNumber(text));
}

PageStyle PageStyleOf(const ExportDialogSettings& settings) {
    PageStyle style;
    style.UseBGImage = settings.useBGImage;
    style.BGImage = settings.bgImage;
    SetSwatchColors(style, settings.colors);
    style.UseTableColors = settings.useTableColors;
    for (std::size_t i = 0; i < style.Layout.size(); ++i) {
        style.Layout[i] = LayoutValue(settings.layout[i]);
    }
    style.HTMLPageFont = settings.font;
    style.HTMLPageFontSize = settings.fontSize;
    style.Modern = settings.modern;
    return style;
}

PageStyle SavedPageStyle(Database& league) {
    return PageStyleOf(LoadExportDialogSettings(league));
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
