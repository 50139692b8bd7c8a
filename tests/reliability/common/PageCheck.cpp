#include "PageCheck.h"

#include <cctype>
#include <map>
#include <regex>
#include <set>

#include "common/Text.h"

namespace scorewell::test {

std::string ParsedPage::Structure() const {
    std::string text;
    for (const PageTag& tag : tags) {
        text += "<" + tag.name;
        for (const auto& attribute : tag.attributes) {
            text += " " + attribute.first;
        }
        text += ">";
    }
    return text;
}

ParsedPage ParsePage(const std::string& bytes) {
    // A comment, a tag (a quoted value may hold a ">"), an entity, or a "<", ">" or "&" that is
    // none of them.
    static const std::regex token(R"(<!--[\s\S]*?-->|<(/?)([A-Za-z0-9_:-]+)((?:[^>"']|"[^"]*")"
                                  R"(|'[^']*')*)>|&([^;]{0,9});|[<>&])");
    // A name (none before a bare "="), then maybe a value, quoted or not.
    static const std::regex attribute(R"((?:([^\s=]+)|(?==))(?:=("[^"]*"|'[^']*'|\S*))?)");
    static const std::set<std::string> forbidden = {"SCRIPT", "STYLE",  "IFRAME", "FRAME", "OBJECT",
                                                    "EMBED",  "APPLET", "LINK",   "META",  "BASE",
                                                    "FORM",   "INPUT",  "SVG",    "IMG",   "MATH"};
    static const std::map<std::string, std::string> entities = {
        {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}};
    ParsedPage page;
    bool inCell = false;
    std::string cell;
    auto text = [&](const std::string& t) {
        cell += inCell ? t : "";
    };
    auto problem = [&](const std::string& p) {
        page.problems.push_back(p);
    };
    std::size_t end = 0;
    for (std::sregex_iterator m(bytes.begin(), bytes.end(), token), none; m != none; ++m) {
        text(Cp1252ToUtf8(m->prefix().str()));
        end = static_cast<std::size_t>(m->position() + m->length());
        const std::string whole = m->str();
        if (whole.length() == 1) {
            problem("a bare \"" + whole +
                    (whole == "&" ? "\" at byte " : "\" in the text at byte ") +
                    std::to_string(m->position()));
            text(whole);
        } else if (whole[0] == '&') {
            const std::string name = (*m)[4];
            if (entities.count(name)) {
                text(entities.at(name));
            } else if (name.size() > 1 && name[0] == '#' &&
                       name.find_first_not_of("0123456789", 1) == std::string::npos) {
                std::string character;
                AppendUtf8(character, static_cast<char32_t>(std::stoul(name.substr(1))));
                text(character);
            } else {
                problem("an unknown entity &" + name + ";");
            }
        } else if (whole.rfind("<!--", 0) != 0) {
            PageTag tag{(*m)[1].str() + ToUpper((*m)[2].str()), {}};
            const std::string attributes = (*m)[3];
            for (std::sregex_iterator a(attributes.begin(), attributes.end(), attribute); a != none;
                 ++a) {
                std::string name = ToUpper((*a)[1].str()), value = (*a)[2];
                if (!value.empty() && (value[0] == '"' || value[0] == '\'')) {
                    value = value.substr(1, value.size() - 2);
                }
                if (name.size() > 2 && name.rfind("ON", 0) == 0) {
                    problem("an event attribute " + name + " on <" + tag.name + ">");
                }
                if (ToUpper(value).find("JAVASCRIPT:") != std::string::npos) {
                    problem("a javascript: link in " + name + " on <" + tag.name + ">");
                }
                if (name.empty() || !(std::isalnum(static_cast<unsigned char>(name[0])) ||
                                      std::string("-_:").find(name[0]) != std::string::npos)) {
                    problem("a broken attribute in <" + tag.name + ">");
                }
                tag.attributes.emplace_back(std::move(name), std::move(value));
            }
            if (forbidden.count(tag.name[0] == '/' ? tag.name.substr(1) : tag.name)) {
                problem("a <" + tag.name + "> element");
            }
            if (tag.name == "TD" || tag.name == "/TD") {
                if (tag.name == "/TD") {
                    page.cells.push_back(cell);
                }
                inCell = tag.name == "TD";
                cell.clear();
            }
            page.tags.push_back(std::move(tag));
        }
    }
    text(Cp1252ToUtf8(bytes.substr(end)));
    return page;
}

} // namespace scorewell::test
