#include "settings/ini_bytes.h"

#include <cstring>

namespace ini {
namespace {

// What the profile calls take for blanks around names and values: white
// space, and the ^Z of old DOS files. The second byte of a Shift-JIS
// character (0x40 to 0xFC) is never one of these, nor CR, LF, "=" or a
// quote, so those scans go byte by byte; it can be "]" (望 is 96 5D).
bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a';
}

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

bool IsLeadByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

void TrimBlanks(const std::string& text, size_t* begin, size_t* end) {
    while (*begin < *end && IsBlank(text[*begin]))
        ++*begin;
    while (*end > *begin && IsBlank(text[*end - 1]))
        --*end;
}

// Just past the line that starts at `at`: CR, LF and CR LF each end a line,
// as they do for the profile calls (an editor may save with any of them).
size_t NextLine(const std::string& text, size_t at) {
    const size_t end = text.find_first_of("\r\n", at);
    if (end == std::string::npos)
        return text.size();
    return end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
}

// The line end of the file's first line, which a line added to it gets too;
// CR LF, as the profile calls write, when it has none.
std::string LineEndOf(const std::string& text) {
    const size_t end = text.find_first_of("\r\n");
    return end == std::string::npos ? "\r\n" : text.substr(end, NextLine(text, end) - end);
}

bool SameSectionName(const std::string& text, size_t begin, size_t end, const char* name) {
    if (end - begin != std::strlen(name))
        return false;
    for (size_t i = begin; i < end; ++i) {
        const char a = text[i];
        const char b = name[i - begin];
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a) != lower(b))
            return false;
    }
    return true;
}

// Where the last c within [begin, end) stands, or end when there is none.
// The profile calls take the line as characters, so the second byte of a
// Shift-JIS character is never c, whatever its value.
size_t LastOf(const std::string& text, size_t begin, size_t end, char c) {
    size_t last = end;
    for (size_t i = begin; i < end; i += IsLeadByte(text[i]) ? 2 : 1)
        if (text[i] == c)
            last = i;
    return last;
}

// Where a key stands, or would stand, in the text.
struct Place {
    bool sectionFound = false;
    size_t sectionEnd = 0; // just after the section's last line that is not blank
    bool keyFound = false;
    bool hasValue = false; // the key's line has an "="
    size_t nameEnd = 0;    // the key's name ends here, before blanks
    size_t valueBegin = 0; // the value without the blanks around it
    size_t valueEnd = 0;
};

void ReadKeyLine(const std::string& text, size_t begin, size_t end, const char* key, Place* place) {
    const char* found = static_cast<const char*>(std::memchr(&text[begin], '=', end - begin));
    const size_t equals = found != nullptr ? static_cast<size_t>(found - text.data()) : end;
    const size_t nameLimit = equals;
    size_t nameEnd = nameLimit;
    while (nameEnd > begin && IsBlank(text[nameEnd - 1]))
        --nameEnd;
    if (text.compare(begin, nameEnd - begin, key) != 0)
        return;
    place->keyFound = true;
    place->nameEnd = nameEnd;
    place->hasValue = equals < end;
    size_t valueBegin = place->hasValue ? equals + 1 : end;
    while (valueBegin < end && IsBlank(text[valueBegin]))
        ++valueBegin;
    place->valueBegin = valueBegin;
    place->valueEnd = end;
}

// Only the first section of the name counts, and in it the first line of
// the key, as with the profile calls.
Place Locate(const std::string& text, const char* section, const char* key) {
    Place place;
    bool inSection = false;
    for (size_t next = 0, at = 0; at < text.size(); at = next) {
        next = NextLine(text, at);
        size_t begin = at;
        size_t end = next;
        TrimBlanks(text, &begin, &end);
        if (begin == end)
            continue;
        const size_t close = text[begin] == '[' ? LastOf(text, begin + 1, end, ']') : end;
        if (close != end) {
            if (inSection)
                break;
            size_t nameBegin = begin + 1; // "[ ALARM ]" is ALARM
            size_t nameEnd = close;
            TrimBlanks(text, &nameBegin, &nameEnd);
            inSection = SameSectionName(text, nameBegin, nameEnd, section);
            if (inSection) {
                place.sectionFound = true;
                place.sectionEnd = next;
            }
            continue;
        }
        if (!inSection)
            continue;
        place.sectionEnd = next;
        if (!place.keyFound)
            ReadKeyLine(text, begin, end, key, &place);
    }
    return place;
}

} // namespace

bool FindValue(const std::string& text, const char* section, const char* key, std::string* value) {
    const Place place = Locate(text, section, key);
    if (!place.keyFound || !place.hasValue)
        return false;
    *value = text.substr(place.valueBegin, place.valueEnd - place.valueBegin);
    const size_t length = value->size();
    if (length >= 2 && ((*value)[0] == '"' || (*value)[0] == '\'') &&
        (*value)[length - 1] == (*value)[0])
        *value = value->substr(1, length - 2);
    return true;
}

std::string WithValue(const std::string& text, const char* section, const char* key,
                      const char* value) {
    while (IsBlank(*value))
        ++value;
    const Place place = Locate(text, section, key);
    std::string result = text;
    if (place.keyFound && place.hasValue) {
        result.replace(place.valueBegin, place.valueEnd - place.valueBegin, value);
        return result;
    }
    if (place.keyFound) {
        result.insert(place.nameEnd, std::string("=") + value);
        return result;
    }
    const std::string lineEnd = LineEndOf(text);
    const std::string line = std::string(key) + "=" + value + lineEnd;
    if (place.sectionFound) { // it ends past its "[" and "]" at least
        const bool endsLine = IsLineEnd(text[place.sectionEnd - 1]);
        result.insert(place.sectionEnd, endsLine ? line : lineEnd + line);
        return result;
    }
    if (!result.empty() && !IsLineEnd(result.back()))
        result += lineEnd;
    return result + "[" + section + "]" + lineEnd + line;
}

bool HasByteOrderMark(const std::string& text) {
    return text.compare(0, 3, "\xEF\xBB\xBF") == 0 || text.compare(0, 2, "\xFF\xFE") == 0 ||
           text.compare(0, 2, "\xFE\xFF") == 0;
}

} // namespace ini
