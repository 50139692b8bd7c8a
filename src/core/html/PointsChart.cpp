#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "html/PageWriter.h"
#include "html/SeasonGrid.h"

namespace scorewell {

namespace {

constexpr int kWidth = 860;
constexpr int kHeight = 440;
constexpr int kLeft = 60;
constexpr int kRight = 190; // room for the drivers' names at the lines' ends
constexpr int kTop = 20;
constexpr int kBottom = 50;
constexpr int kLabelGap = 14;

// Ten colours that stay apart from each other, on screen and in print.
constexpr const char* kColors[] = {"#1f77b4", "#d62728", "#2ca02c", "#ff7f0e", "#9467bd",
                                   "#8c564b", "#e377c2", "#17becf", "#7f7f7f", "#bcbd22"};

// A step of 1, 2 or 5 times a power of ten that divides the range into about five parts.
std::int64_t NiceStep(std::int64_t range) {
    if (range <= 5) {
        return 1;
    }
    const double raw = static_cast<double>(range) / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= raw) {
            return static_cast<std::int64_t>(factor * power);
        }
    }
    return static_cast<std::int64_t>(10 * power);
}

std::string Number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f", value);
    return buffer;
}

} // namespace

std::string PointsChartSvg(const Season& season, std::size_t lines) {
    const std::size_t drivers = std::min(lines, season.drivers.size());
    const std::size_t races = season.races.size();
    std::vector<std::vector<std::int64_t>> series;
    std::int64_t top = 0;
    for (std::size_t d = 0; d < drivers; ++d) {
        series.push_back(CumulativePoints(season, season.drivers[d].driverId));
        if (!series.back().empty()) {
            top = std::max(top, *std::max_element(series.back().begin(), series.back().end()));
        }
    }
    const std::int64_t step = NiceStep(top);
    const std::int64_t yMax = std::max<std::int64_t>(step, (top + step - 1) / step * step);
    const double plotW = kWidth - kLeft - kRight;
    const double plotH = kHeight - kTop - kBottom;
    auto x = [&](std::size_t race) {
        return races <= 1
                   ? kLeft + plotW / 2
                   : kLeft + plotW * static_cast<double>(race) / static_cast<double>(races - 1);
    };
    auto y = [&](std::int64_t points) {
        return kTop + plotH - plotH * static_cast<double>(points) / static_cast<double>(yMax);
    };

    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"chart\" viewBox=\"0 0 " +
                      std::to_string(kWidth) + " " + std::to_string(kHeight) + "\" width=\"" +
                      std::to_string(kWidth) + "\" height=\"" + std::to_string(kHeight) +
                      "\" role=\"img\" aria-label=\"Points after each race\" "
                      "font-family=\"sans-serif\" font-size=\"12\">\r\n";
    // Points axis: a grid line and a label per step.
    for (std::int64_t p = 0; p <= yMax; p += step) {
        const std::string py = Number(y(p));
        svg += "<line x1=\"" + std::to_string(kLeft) + "\" y1=\"" + py + "\" x2=\"" +
               Number(kLeft + plotW) + "\" y2=\"" + py +
               "\" stroke=\"#ddd\"/>"
               "<text class=\"tick\" x=\"" +
               std::to_string(kLeft - 6) + "\" y=\"" + Number(y(p) + 4) +
               "\" text-anchor=\"end\">" + std::to_string(p) + "</text>\r\n";
    }
    // Race axis: every race numbered while there is room, else every second, third...
    const std::size_t every = std::max<std::size_t>(1, (races + 29) / 30);
    for (std::size_t i = 0; i < races; ++i) {
        if (i % every != 0 && i + 1 != races) {
            continue;
        }
        svg += "<text class=\"tick\" x=\"" + Number(x(i)) + "\" y=\"" +
               std::to_string(kTop + static_cast<int>(plotH) + 16) + "\" text-anchor=\"middle\">" +
               std::to_string(i + 1) + "<title>" + EscapeHTML(season.races[i].name) +
               "</title></text>\r\n";
    }
    svg += "<line x1=\"" + std::to_string(kLeft) + "\" y1=\"" + Number(kTop + plotH) + "\" x2=\"" +
           Number(kLeft + plotW) + "\" y2=\"" + Number(kTop + plotH) +
           "\" stroke=\"#333\"/>"
           "<line x1=\"" +
           std::to_string(kLeft) + "\" y1=\"" + std::to_string(kTop) + "\" x2=\"" +
           std::to_string(kLeft) + "\" y2=\"" + Number(kTop + plotH) + "\" stroke=\"#333\"/>\r\n";
    svg += "<text x=\"" + Number(kLeft + plotW / 2) + "\" y=\"" + std::to_string(kHeight - 10) +
           "\" text-anchor=\"middle\">Race</text><text x=\"14\" y=\"" + Number(kTop + plotH / 2) +
           "\" text-anchor=\"middle\" transform=\"rotate(-90 14 " + Number(kTop + plotH / 2) +
           ")\">Points</text>\r\n";

    // Names at the lines' ends, moved apart where totals are close, in standings order.
    std::vector<double> labelY;
    for (std::size_t d = 0; d < drivers; ++d) {
        const double want = series[d].empty() ? y(0) : y(series[d].back());
        labelY.push_back(d == 0 ? want : std::max(want, labelY.back() + kLabelGap));
    }
    for (std::size_t d = 0; d < drivers; ++d) {
        const std::string color = kColors[d % std::size(kColors)];
        const std::string name = EscapeHTML(season.drivers[d].name);
        std::string points;
        for (std::size_t i = 0; i < series[d].size(); ++i) {
            points += (i ? " " : "") + Number(x(i)) + "," + Number(y(series[d][i]));
        }
        svg += "<polyline class=\"line\" data-driver=\"" + name + "\" fill=\"none\" stroke=\"" +
               color + "\" stroke-width=\"2\" points=\"" + points + "\"><title>" + name + ": " +
               std::to_string(series[d].empty() ? 0 : series[d].back()) + "</title></polyline>\r\n";
        svg += "<text class=\"label\" x=\"" + Number(kLeft + plotW + 8) + "\" y=\"" +
               Number(labelY[d] + 4) + "\" fill=\"" + color + "\">" + name + " " +
               std::to_string(series[d].empty() ? 0 : series[d].back()) + "</text>\r\n";
    }
    svg += "</svg>\r\n";
    return svg;
}

} // namespace scorewell
