#include "Tag.h"

#include <cctype>

namespace vexa::effects {
namespace {

constexpr std::size_t MaxTags = 64;
constexpr std::size_t MaxParams = 4096;

bool startsWithWord(const std::string &text, std::size_t at, const char *word)
{
    std::size_t i = 0;
    for (; word[i]; ++i) {
        if (at + i >= text.size() || std::tolower(static_cast<unsigned char>(text[at + i])) != word[i])
            return false;
    }
    // The word ends there: "<applet" but not "<applets".
    return at + i >= text.size() || !std::isalnum(static_cast<unsigned char>(text[at + i]));
}

void appendUtf8(std::string &out, unsigned long code)
{
    if (code == 0 || code > 0x10FFFF) code = 0xFFFD;
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

std::string decodeEntities(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        const std::size_t end = text.find(';', i);
        if (end == std::string::npos || end - i > 10) {
            out += '&';
            continue;
        }
        const std::string name = text.substr(i + 1, end - i - 1);
        if (name == "quot") out += '"';
        else if (name == "amp") out += '&';
        else if (name == "lt") out += '<';
        else if (name == "gt") out += '>';
        else if (name == "apos") out += '\'';
        else if (name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x' || name[1] == 'X';
            unsigned long code = 0;
            bool digits = name.size() > (hex ? 2u : 1u);
            for (std::size_t k = hex ? 2 : 1; k < name.size() && digits; ++k) {
                const int c = std::tolower(static_cast<unsigned char>(name[k]));
                const int digit = std::isdigit(c) ? c - '0' : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
                if (digit < 0) digits = false;
                else if (code < 0x110000) code = code * (hex ? 16 : 10) + unsigned(digit);
            }
            if (!digits) {
                out += '&';
                continue;
            }
            appendUtf8(out, code);
        } else {
            out += '&';
            continue;
        }
        i = end;
    }
    return out;
}

// The attributes of the tag starting at `at` (just after its name), up to its '>'; `at`
// ends after the '>'.
std::vector<std::pair<std::string, std::string>> readAttributes(const std::string &text, std::size_t &at)
{
    std::vector<std::pair<std::string, std::string>> attributes;
    while (at < text.size() && text[at] != '>') {
        if (std::isspace(static_cast<unsigned char>(text[at])) || text[at] == '/') {
            ++at;
            continue;
        }
        std::string name;
        while (at < text.size() && !std::isspace(static_cast<unsigned char>(text[at])) && text[at] != '=' &&
               text[at] != '>' && text[at] != '/') {
            name += char(std::tolower(static_cast<unsigned char>(text[at])));
            ++at;
        }
        while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
        std::string value;
        if (at < text.size() && text[at] == '=') {
            ++at;
            while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
            if (at < text.size() && (text[at] == '"' || text[at] == '\'')) {
                const char quote = text[at++];
                const std::size_t end = text.find(quote, at);
                const std::size_t stop = end == std::string::npos ? text.size() : end;
                value = text.substr(at, stop - at);
                at = end == std::string::npos ? text.size() : end + 1;
            } else {
                while (at < text.size() && !std::isspace(static_cast<unsigned char>(text[at])) && text[at] != '>')
                    value += text[at++];
            }
        }
        if (!name.empty()) attributes.emplace_back(name, decodeEntities(value));
        else if (at < text.size() && text[at] != '>') ++at; // a stray character
    }
    if (at < text.size()) ++at;
    return attributes;
}

int sizeOf(const std::string &text)
{
    // Digits only, up to one more than the largest side: "100%" or "abc" is no size.
    long value = 0;
    if (text.empty()) return 0;
    for (const char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
        value = value * 10 + (c - '0');
        if (value > MaxSide) return MaxSide + 1;
    }
    return int(value);
}

} // namespace

std::vector<AppletTag> readAppletTags(const std::string &html)
{
    std::vector<AppletTag> tags;
    AppletTag *open = nullptr;
    std::size_t params = 0;
    for (std::size_t at = html.find('<'); at != std::string::npos && at < html.size(); at = html.find('<', at)) {
        ++at;
        if (startsWithWord(html, at, "applet")) {
            if (tags.size() == MaxTags) break;
            at += 6;
            tags.emplace_back();
            open = &tags.back();
            params = 0;
            for (const auto &[name, value] : readAttributes(html, at)) {
                if (name == "code") open->code = value;
                else if (name == "width") open->width = sizeOf(value);
                else if (name == "height") open->height = sizeOf(value);
            }
        } else if (open && startsWithWord(html, at, "param")) {
            at += 5;
            std::string name, value;
            for (const auto &[key, text] : readAttributes(html, at)) {
                if (key == "name") name = text;
                else if (key == "value") value = text;
            }
            if (!name.empty() && params++ < MaxParams) open->params.set(name, value);
        } else if (open && startsWithWord(html, at, "/applet")) {
            open = nullptr;
        }
    }
    return tags;
}

} // namespace vexa::effects
