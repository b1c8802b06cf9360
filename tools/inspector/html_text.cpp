#include "html_text.hpp"

#include "utf8_repair.hpp"

namespace orrery::inspector {

void appendHtml(std::string& out, std::string_view text) {
    bool changed = false;
    const std::string valid = repairUtf8(text, changed);
    for (const char c : valid) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            case '\n':
            case '\t': out += c; break;
            default:
                // Control characters are not allowed in HTML text; a browser would show
                // nothing or a box, and tidy reports them.
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                    out += "\xEF\xBF\xBD";
                else
                    out += c;
        }
    }
}

std::string htmlText(std::string_view text) {
    std::string out;
    appendHtml(out, text);
    return out;
}

std::string slug(std::string_view name) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(name.size());
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-') {
            out += c;
        } else {
            out += '_';
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        }
    }
    return out.empty() ? "_" : out;
}

}  // namespace orrery::inspector
