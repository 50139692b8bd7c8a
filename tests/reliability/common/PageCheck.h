#pragma once

#include <string>
#include <utility>
#include <vector>

namespace scorewell::test {

// One tag of a published page.
struct PageTag {
    std::string name; // upper case, "/TD" for a closing tag
    std::vector<std::pair<std::string, std::string>> attributes; // names upper case
};

// A published page read the way a browser would read it, strictly enough to see anything that
// could have come from a value: every tag, and the text of every table cell.
struct ParsedPage {
    std::vector<PageTag> tags;
    // The text of each TD cell, tags left out, entities and Windows-1252 bytes decoded to UTF-8.
    std::vector<std::string> cells;
    // Anything a page of ours must not hold: script-capable elements or attributes, a "<" or
    // "&" that is not markup, an unknown entity. Empty for a sound page.
    std::vector<std::string> problems;

    // The tag names with their attribute names, in order: pages with the same structure give the
    // same text whatever the values in their cells.
    std::string Structure() const;
};

ParsedPage ParsePage(const std::string& bytes);

} // namespace scorewell::test
