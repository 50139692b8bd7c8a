#include "html/ModernStyle.h"

#include "common/Text.h"

namespace scorewell {

namespace {

// Small on purpose: the page must read on a phone and print on paper with nothing but itself.
constexpr const char* kStyleSheet =
    "body{margin:0;padding:1rem;line-height:1.4;color:#1b1b1b;background:#fff;font-family:<*FONT*>"
    "system-ui,sans-serif}\r\n"
    "header,main,footer,nav{max-width:72rem;margin:0 auto}\r\n"
    "h1{font-size:1.6rem;margin:.2em 0}h2{font-size:1.2rem;margin:.2em 0;color:#333}\r\n"
    ".caption{color:#555;margin:.2em 0 1em}\r\n"
    ".scroll{overflow-x:auto;border:1px solid #ddd;border-radius:4px}\r\n"
    "table{border-collapse:collapse;white-space:nowrap;min-width:100%}\r\n"
    "th,td{padding:.3em .6em;text-align:left;border-bottom:1px solid #e6e6e6}\r\n"
    "th{background:#f2f4f7}.c{text-align:center}tbody tr:nth-child(even){background:#fafafa}\r\n"
    "a{color:#0b57d0}nav{margin-bottom:.5rem}ul.links{padding-left:1.2em}\r\n"
    "footer{margin-top:2rem;font-size:.85rem;color:#555}\r\n"
    "svg{max-width:100%;height:auto}table.summary{min-width:0;margin-top:1em}"
    ".summary th{background:none;text-align:right}\r\n"
    ".grid td>span{display:block;margin:-.3em -.6em;padding:.3em .6em}\r\n"
    ".win{background:#f4c430;font-weight:bold}.top5{background:#a5d6a7}.top10{background:#cfe3fb}"
    ".out{color:#b00020;font-style:italic}.dropped{text-decoration:line-through;opacity:.55}\r\n"
    ".legend{list-style:none;padding:0;display:flex;flex-wrap:wrap;gap:.4em 1.2em}"
    ".mark{display:inline-block;min-width:1.8em;text-align:center;border:1px solid #ccc}\r\n"
    "@media print{body{padding:0}.scroll{overflow:visible;border:0}nav{display:none}"
    "a{color:inherit;text-decoration:none}tr{break-inside:avoid}"
    ".win,.top5,.top10{print-color-adjust:exact;-webkit-print-color-adjust:exact}}\r\n";

// The font name as a quoted CSS family, kept to characters that cannot end the rule.
std::string FontFamily(const std::string& font) {
    std::string name;
    for (char c : font) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
            (c >= '0' && c <= '9') || c == ' ' || c == '-' || c == '_') {
            name += c;
        }
    }
    name = Trim(name);
    return name.empty() ? std::string() : "\"" + name + "\",";
}

std::string Lines(const std::string& text) {
    return ReplaceAll(text, "\r\n", "<br>");
}

} // namespace

std::string ModernDocument(const ModernPage& page) {
    std::string out;
    out += "<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n";
    out += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n";
    out += "<title>" + ReplaceAll(page.heading, "\r\n", " - ") + "</title>\r\n";
    out += "<style>\r\n" + ReplaceAll(kStyleSheet, "<*FONT*>", FontFamily(page.font)) +
           "</style>\r\n</head>\r\n<body>\r\n";
    if (!page.navigation.empty()) {
        out += "<nav>" + page.navigation + "</nav>\r\n";
    }
    out += "<header>\r\n<h1>" + Lines(page.heading) + "</h1>\r\n";
    if (!page.reportName.empty()) {
        out += "<h2>" + Lines(page.reportName) + "</h2>\r\n";
    }
    if (!page.caption.empty()) {
        out += "<p class=\"caption\">" + Lines(page.caption) + "</p>\r\n";
    }
    out += "</header>\r\n<main>\r\n" + page.body + "</main>\r\n";
    out += "<footer>\r\n" + page.footer + "\r\n</footer>\r\n</body>\r\n</html>\r\n";
    return CleanPageText(out);
}

std::string ModernTableHtml(const ModernTable& table) {
    const bool numbered = !table.numberCaption.empty();
    std::string out =
        "<div class=\"scroll\"><table" +
        (table.tableClass.empty() ? std::string() : " class=\"" + table.tableClass + "\"") +
        ">\r\n<thead><tr>";
    auto centred = [&](std::size_t i) {
        return i < table.centred.size() && table.centred[i];
    };
    if (numbered) {
        out += "<th class=\"c\">" + table.numberCaption + "</th>";
    }
    for (std::size_t i = 0; i < table.captions.size(); ++i) {
        out += (centred(i) ? "<th class=\"c\">" : "<th>") + table.captions[i] + "</th>";
    }
    out += "</tr></thead>\r\n<tbody>\r\n";
    for (std::size_t r = 0; r < table.cells.size(); ++r) {
        out += "<tr>";
        if (numbered) {
            out += "<td class=\"c\">" + std::to_string(r + 1) + "</td>";
        }
        const auto& row = table.cells[r];
        for (std::size_t i = 0; i < row.size(); ++i) {
            out += (centred(i) ? "<td class=\"c\">" : "<td>") + row[i] + "</td>";
        }
        out += "</tr>\r\n";
    }
    out += "</tbody>\r\n</table></div>\r\n";
    return out;
}

std::string CleanPageText(std::string_view utf8) {
    std::u32string text = Utf8ToCodePoints(utf8);
    std::u32string kept;
    kept.reserve(text.size());
    for (char32_t c : text) {
        if ((c < 0x20 && c != U'\t' && c != U'\r' && c != U'\n') || (c >= 0x7F && c <= 0x9F)) {
            continue;
        }
        kept += c;
    }
    return CodePointsToUtf8(kept);
}

} // namespace scorewell
