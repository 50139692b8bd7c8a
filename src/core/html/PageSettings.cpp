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
    std::array<std::int32_t, 18> colors{
        style.backgroundColor, style.textColor,    style.linkColor,       style.visitedLinkColor,
        style.activeLinkColor, style.headingColor, style.reportNameColor, style.captionColor};
    for (std::size_t k = 0; k < style.tableColors.size(); ++k) {
        colors[8 + k] = style.tableColors[k];
    }
    return colors;
}

void SetSwatchColors(PageStyle& style, const std::array<std::int32_t, 18>& colors) {
    style.backgroundColor = colors[0];
    style.textColor = colors[1];
    style.linkColor = colors[2];
    style.visitedLinkColor = colors[3];
    style.activeLinkColor = colors[4];
    style.headingColor = colors[5];
    style.reportNameColor = colors[6];
    style.captionColor = colors[7];
    for (std::size_t k = 0; k < style.tableColors.size(); ++k) {
        style.tableColors[k] = colors[8 + k];
    }
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
    s.heading = saved(SettingId::PageHeading).value_or(s.heading);
    s.reportName = saved(SettingId::ReportName).value_or(s.reportName);
    s.caption = saved(SettingId::Caption).value_or(s.caption);
    s.font = saved(SettingId::PageFont).value_or(s.font);
    s.fontSize = WholeNumber(ReadSettingNumber(league, SettingId::PageFontSize));
    s.useBGImage = ReadSettingFlag(league, SettingId::UseBackgroundImage);
    s.bgImage = saved(SettingId::BackgroundImage).value_or("");
    for (std::size_t i = 0; i < s.colors.size(); ++i) {
        if (auto color = ReadSettingColor(league, SettingId::FirstColor + static_cast<int>(i))) {
            s.colors[i] = *color;
        }
    }
    for (std::size_t i = 0; i < s.useTableColors.size(); ++i) {
        if (auto value = saved(SettingId::FirstTableSwitch + static_cast<int>(i))) {
            s.useTableColors[i] = LeadingNumber(*value) != 0;
        }
    }
    for (std::size_t i = 0; i < s.layout.size(); ++i) {
        s.layout[i] = saved(SettingId::FirstLayout + static_cast<int>(i)).value_or(s.layout[i]);
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
        write(SettingId::PageHeading, settings.heading);
        write(SettingId::ReportName, settings.reportName);
        write(SettingId::Caption, settings.caption);
        write(SettingId::PageFont, settings.font);
        write(SettingId::PageFontSize, std::to_string(settings.fontSize));
        write(SettingId::UseBackgroundImage, settings.useBGImage ? "True" : "False");
        write(SettingId::BackgroundImage, settings.bgImage);
        for (std::size_t i = 0; i < settings.colors.size(); ++i) {
            write(SettingId::FirstColor + static_cast<int>(i), ColorText(settings.colors[i]));
        }
        for (std::size_t i = 0; i < settings.useTableColors.size(); ++i) {
            write(SettingId::FirstTableSwitch + static_cast<int>(i),
                  settings.useTableColors[i] ? "1" : "0");
        }
        for (std::size_t i = 0; i < settings.layout.size(); ++i) {
            write(SettingId::FirstLayout + static_cast<int>(i), settings.layout[i]);
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
    style.useBackgroundImage = settings.useBGImage;
    style.backgroundImage = settings.bgImage;
    SetSwatchColors(style, settings.colors);
    style.useTableColors = settings.useTableColors;
    for (std::size_t i = 0; i < style.layout.size(); ++i) {
        style.layout[i] = LayoutValue(settings.layout[i]);
    }
    style.font = settings.font;
    style.fontSize = settings.fontSize;
    style.modern = settings.modern;
    return style;
}

PageStyle SavedPageStyle(Database& league) {
    return PageStyleOf(LoadExportDialogSettings(league));
}

std::string SavedPageHeading(Database& league) {
    const std::string heading = ReadSetting(league, SettingId::PageHeading);
    return heading == kMissingSetting ? PageDefaults::kHeading : heading;
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

PageRequest ExportedPage(Database& league, PageContent content, std::int32_t id, PageTexts texts,
                         const std::string& decimalSeparator) {
    PageRequest request;
    request.content = content;
    request.id = id;
    request.heading = std::move(texts.heading);
    request.reportName = std::move(texts.reportName);
    request.caption = std::move(texts.caption);
    request.footer = StandardFooter();
    request.style = SavedPageStyle(league);
    request.decimalSeparator = decimalSeparator;
    return request;
}

PageRequest SavedRacePage(Database& league, std::int32_t raceId,
                          const std::string& decimalSeparator) {
    RaceHeading race = ReadRaceHeading(league, raceId, decimalSeparator);
    return ExportedPage(league, PageContent::RaceResults, raceId,
                        {SavedPageHeading(league), EscapeHTML(race.name), std::move(race.caption)},
                        decimalSeparator);
}

PageRequest PreviewPage(const ExportDialogSettings& settings, PageContent content, std::int32_t id,
                        const std::string& decimalSeparator) {
    PageRequest request;
    request.content = content;
    request.id = id;
    request.heading = settings.heading;
    request.reportName = settings.reportName;
    request.caption = settings.caption;
    request.footer = PreviewFooter();
    request.style = PageStyleOf(settings);
    request.decimalSeparator = decimalSeparator;
    return request;
}

} // namespace scorewell
