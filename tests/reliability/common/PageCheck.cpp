#include "PageCheck.h"

#include <cctype>

#include "common/Text.h"

namespace scorewell::test {

namespace {

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == ':';
}

std::string CodePointUtf8(unsigned long cp) {
    std::string out;
    AppendUtf8(out, static_cast<char32_t>(cp));
    return out;
}

const char* const kForbiddenElements[] = {"SCRIPT", "STYLE",  "IFRAME", "FRAME", "OBJECT",
                                          "EMBED",  "APPLET", "LINK",   "META",  "BASE",
                                          "FORM",   "INPUT",  "SVG",    "IMG",   "MATH"};

class Reader {
public:
    explicit Reader(const std::string& bytes) : s_(bytes) {}

    ParsedPage Run() {
        while (at_ < s_.size()) {
            const char c = s_[at_];
            if (c == '<') {
                Tag();
            } else if (c == '&') {
                Text(Entity());
            } else {
                if (c == '>') {
                    page_.problems.push_back("a bare \">\" in the text at byte " +
                                             std::to_string(at_));
                }
                Text(Cp1252ToUtf8(std::string_view(&s_[at_], 1)));
                ++at_;
            }
        }
        return std::move(page_);
    }

private:
    void Text(const std::string& text) {
        if (inCell_) {
            cell_ += text;
        }
    }

    std::string Entity() {
        const std::size_t end = s_.find(';', at_);
        if (end == std::string::npos || end - at_ > 10) {
            page_.problems.push_back("a bare \"&\" at byte " + std::to_string(at_));
            ++at_;
            return "&";
        }
        const std::string name = s_.substr(at_ + 1, end - at_ - 1);
        at_ = end + 1;
        if (name == "amp") {
            return "&";
        }
        if (name == "lt") {
            return "<";
        }
        if (name == "gt") {
            return ">";
        }
        if (name == "quot") {
            return "\"";
        }
        if (name.size() > 1 && name[0] == '#' &&
            name.find_first_not_of("0123456789", 1) == std::string::npos) {
            return CodePointUtf8(std::stoul(name.substr(1)));
        }
        page_.problems.push_back("an unknown entity &" + name + ";");
        return "";
    }

    void Tag() {
        if (s_.compare(at_, 4, "<!--") == 0) {
            const std::size_t end = s_.find("-->", at_ + 4);
            at_ = end == std::string::npos ? s_.size() : end + 3;
            return;
        }
        std::size_t i = at_ + 1;
        PageTag tag;
        if (i < s_.size() && s_[i] == '/') {
            tag.name = "/";
            ++i;
        }
        const std::size_t nameStart = i;
        while (i < s_.size() && IsNameChar(s_[i])) {
            ++i;
        }
        if (i == nameStart) {
            page_.problems.push_back("a bare \"<\" in the text at byte " + std::to_string(at_));
            Text("<");
            ++at_;
            return;
        }
        tag.name += ToUpper(s_.substr(nameStart, i - nameStart));
        while (i < s_.size() && s_[i] != '>') {
            if (std::isspace(static_cast<unsigned char>(s_[i]))) {
                ++i;
                continue;
            }
            const std::size_t attrStart = i;
            while (i < s_.size() && s_[i] != '=' && s_[i] != '>' &&
                   !std::isspace(static_cast<unsigned char>(s_[i]))) {
                ++i;
            }
            std::string name = ToUpper(s_.substr(attrStart, i - attrStart));
            std::string value;
            if (i < s_.size() && s_[i] == '=') {
                ++i;
                if (i < s_.size() && (s_[i] == '"' || s_[i] == '\'')) {
                    const char quote = s_[i];
                    const std::size_t end = s_.find(quote, i + 1);
                    const std::size_t stop = end == std::string::npos ? s_.size() : end;
                    value = s_.substr(i + 1, stop - i - 1);
                    i = end == std::string::npos ? s_.size() : end + 1;
                } else {
                    const std::size_t valueStart = i;
                    while (i < s_.size() && s_[i] != '>' &&
                           !std::isspace(static_cast<unsigned char>(s_[i]))) {
                        ++i;
                    }
                    value = s_.substr(valueStart, i - valueStart);
                }
            }
            Check(tag.name, name, value);
            tag.attributes.emplace_back(std::move(name), std::move(value));
        }
        at_ = i < s_.size() ? i + 1 : s_.size();
        for (const char* forbidden : kForbiddenElements) {
            if (tag.name == forbidden || tag.name == "/" + std::string(forbidden)) {
                page_.problems.push_back("a <" + tag.name + "> element");
            }
        }
        if (tag.name == "TD") {
            inCell_ = true;
            cell_.clear();
        } else if (tag.name == "/TD") {
            inCell_ = false;
            page_.cells.push_back(cell_);
        }
        page_.tags.push_back(std::move(tag));
    }

    void Check(const std::string& tag, const std::string& name, const std::string& value) {
        if (name.size() > 2 && name.compare(0, 2, "ON") == 0) {
            page_.problems.push_back("an event attribute " + name + " on <" + tag + ">");
        }
        if (ToUpper(value).find("JAVASCRIPT:") != std::string::npos) {
            page_.problems.push_back("a javascript: link in " + name + " on <" + tag + ">");
        }
        if (name.empty() || !IsNameChar(name[0])) {
            page_.problems.push_back("a broken attribute in <" + tag + ">");
        }
    }

    const std::string& s_;
    std::size_t at_ = 0;
    bool inCell_ = false;
    std::string cell_;
    ParsedPage page_;
};

} // namespace

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
    return Reader(bytes).Run();
}

} // namespace scorewell::test
