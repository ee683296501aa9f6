#include "LocationPassword.h"

#include <QByteArray>
#include <algorithm>
#include <cctype>
#include <string_view>
#include <utility>
#include <vector>

namespace leeb {
namespace {

using Range = std::pair<std::size_t, std::size_t>;  // [first, last) of a password's text

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char lower, char c) {
               return std::tolower(static_cast<unsigned char>(c)) == lower;
           });
}

std::size_t SchemeLength(std::string_view text) {
    for (std::string_view scheme : {"postgresql://", "postgres://"})
        if (StartsWithNoCase(text, scheme))
            return scheme.size();
    return 0;
}

// postgresql://[user[:password]@]host...[?key=value&...]: libpq takes the user part up to the
// first '@' before any '/', and the parameters after the first '?'.
std::vector<Range> UriPasswords(std::string_view text) {
    std::vector<Range> found;
    const std::size_t start = SchemeLength(text);
    const std::size_t at = text.find_first_of("@/", start);
    std::size_t host = start;
    if (at != std::string_view::npos && text[at] == '@') {
        if (const std::size_t colon = text.find(':', start); colon < at)
            found.push_back({colon + 1, at});
        host = at + 1;
    }
    const std::size_t query = text.find('?', host);
    if (query == std::string_view::npos)
        return found;
    for (std::size_t item = query + 1; item <= text.size();) {
        std::size_t end = text.find('&', item);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view parameter = text.substr(item, end - item);
        if (const std::size_t equals = parameter.find('=');
            equals != std::string_view::npos && parameter.substr(0, equals) == "password")
            found.push_back({item + equals + 1, end});
        item = end + 1;
    }
    return found;
}

// keyword = value ... with a value either 'quoted' (backslash escapes) or up to a blank.
std::vector<Range> KeyValuePasswords(std::string_view text) {
    std::vector<Range> found;
    const auto blank = [&](std::size_t i) {
        return i < text.size() && std::isspace(static_cast<unsigned char>(text[i]));
    };
    std::size_t i = 0;
    while (i < text.size()) {
        while (blank(i))
            ++i;
        const std::size_t keyStart = i;
        while (i < text.size() && text[i] != '=' && !blank(i))
            ++i;
        const std::string_view keyword = text.substr(keyStart, i - keyStart);
        while (blank(i))
            ++i;
        if (i >= text.size() || text[i] != '=')
            return found;  // libpq refuses the rest; nothing more to find
        ++i;
        while (blank(i))
            ++i;
        const std::size_t valueStart = i;
        if (i < text.size() && text[i] == '\'') {
            for (++i; i < text.size() && text[i] != '\''; ++i)
                if (text[i] == '\\')
                    ++i;
            i = std::min(i + 1, text.size());
        } else {
            for (; i < text.size() && !blank(i); ++i)
                if (text[i] == '\\')
                    ++i;
            i = std::min(i, text.size());
        }
        if (keyword == "password")
            found.push_back({valueStart, i});
    }
    return found;
}

std::vector<Range> Passwords(const std::string& location) {
    return IsServerUri(location) ? UriPasswords(location) : KeyValuePasswords(location);
}

// The password as libpq takes it: a URI's percent escapes decoded, a quoted value unquoted.
std::string Decoded(std::string_view written, bool uri) {
    if (uri)
        return QByteArray::fromPercentEncoding(
                   QByteArray(written.data(), qsizetype(written.size())))
            .toStdString();
    if (written.size() >= 2 && written.front() == '\'')
        written = written.substr(1, written.size() - 2);
    std::string value;
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (written[i] == '\\' && i + 1 < written.size())
            ++i;
        value += written[i];
    }
    return value;
}

void ReplaceAll(std::string& text, const std::string& piece) {
    if (piece.empty())
        return;
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 3))
        text.replace(at, piece.size(), "***");
}

}  // namespace

bool IsServerUri(const std::string& location) {
    return SchemeLength(location) != 0;
}

std::string MaskedLocation(const std::string& location) {
    std::string shown = location;
    const std::vector<Range> found = Passwords(location);
    for (auto range = found.rbegin(); range != found.rend(); ++range)
        shown.replace(range->first, range->second - range->first, "***");
    return shown;
}

std::string WithoutPasswords(std::string message, const std::string& location) {
    std::vector<std::string> pieces;
    for (const auto& [first, last] : Passwords(location)) {
        const std::string written = location.substr(first, last - first);
        pieces.push_back(written);
        pieces.push_back(Decoded(written, IsServerUri(location)));
    }
    // The longest first: a decoded password may be part of the written one.
    std::sort(pieces.begin(), pieces.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (const std::string& piece : pieces)
        ReplaceAll(message, piece);
    return message;
}

}  // namespace leeb
