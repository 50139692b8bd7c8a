#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace scorewell {

// The "Modern" page: HTML5 in UTF-8 with one small stylesheet inside the page. The table scrolls
// sideways on a narrow screen instead of squeezing its columns, and prints without the links
// and the scrolling frame.
//
// As on every page, texts the administrator typed (heading, report name, caption), the column
// captions and the footer are written as they are; callers escape what comes from result files.
struct ModernPage {
    std::string heading;    // may hold CR LF line breaks
    std::string reportName; // may hold CR LF line breaks
    std::string caption;    // may hold CR LF line breaks
    std::string font;       // the league's page font, tried first
    std::string navigation; // links above the heading, may be empty
    std::string body;       // the page's content
    std::string footer;
};

// The whole page, ready to be written (control characters other than line ends left out).
std::string ModernDocument(const ModernPage& page);

// A table in its scrolling frame. Cells are written as they are given (escaped by the caller);
// centred[i] centres column i. A numbered table starts each row with its rank under
// numberCaption.
struct ModernTable {
    std::vector<std::string> captions;
    std::vector<bool> centred;
    std::vector<std::vector<std::string>> cells;
    std::string numberCaption; // empty: no rank column
    std::string tableClass;    // an extra class of the table element, may be empty
};
std::string ModernTableHtml(const ModernTable& table);

// The text without control characters other than tab, CR and LF, as valid UTF-8.
std::string CleanPageText(std::string_view utf8);

} // namespace scorewell
