#include "foundation/StringsFile.h"

#include "foundation/NSString.h"

#include <cctype>

namespace sim {

namespace {

void appendUTF8(std::string &text, char32_t codePoint)
{
    if (codePoint < 0x80) {
        text += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        text += static_cast<char>(0xC0 | (codePoint >> 6));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        text += static_cast<char>(0xE0 | (codePoint >> 12));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (codePoint >> 18));
        text += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

bool isHighSurrogate(char32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// UTF-16 in the given byte order to UTF-8; nullopt for an odd length or a lone surrogate.
std::optional<std::string> utf8FromUTF16(std::string_view bytes, bool bigEndian)
{
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    auto unitAt = [&](std::size_t index) {
        auto first = static_cast<unsigned char>(bytes[index * 2]);
        auto second = static_cast<unsigned char>(bytes[index * 2 + 1]);
        return static_cast<char32_t>(bigEndian ? first << 8 | second : second << 8 | first);
    };
    std::string text;
    for (std::size_t i = 0; i < bytes.size() / 2; ++i) {
        char32_t unit = unitAt(i);
        if (isHighSurrogate(unit) && i + 1 < bytes.size() / 2 && isLowSurrogate(unitAt(i + 1))) {
            appendUTF8(text, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00));
            ++i;
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            return std::nullopt;
        } else {
            appendUTF8(text, unit);
        }
    }
    return text;
}

// The text of a strings file: UTF-16 after its byte-order mark, or UTF-8 (with or
// without a mark); nullopt when it is neither.
std::optional<std::string> stringsFileText(std::string_view bytes)
{
    if (bytes.starts_with("\xFF\xFE"))
        return utf8FromUTF16(bytes.substr(2), false);
    if (bytes.starts_with("\xFE\xFF"))
        return utf8FromUTF16(bytes.substr(2), true);
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    if (!isValidUTF8(bytes))
        return std::nullopt;
    return std::string(bytes);
}

// The old-style strings format: entries `key = value;` where each side is a quoted
// string with backslash escapes or a bare word, `"key";` meaning the key is its own
// value, and C and C++ comments anywhere between tokens.
class StringsParser {
public:
    explicit StringsParser(std::string_view text) : m_text(text) {}

    std::optional<StringsTable> parse()
    {
        StringsTable table;
        while (skipSpaceAndComments() && !atEnd()) {
            std::optional<std::string> key = readToken();
            if (!key || !skipSpaceAndComments())
                return std::nullopt;
            std::optional<std::string> value = key;
            if (consume('='))
                value = skipSpaceAndComments() ? readToken() : std::nullopt;
            if (!value || !skipSpaceAndComments() || !consume(';'))
                return std::nullopt;
            table.insert_or_assign(std::move(*key), std::move(*value));
        }
        if (!atEnd())
            return std::nullopt; // an unterminated comment
        return table;
    }

private:
    bool atEnd() const { return m_position >= m_text.size(); }
    char peek(std::size_t ahead = 0) const
    {
        return m_position + ahead < m_text.size() ? m_text[m_position + ahead] : '\0';
    }

    bool consume(char expected)
    {
        if (atEnd() || peek() != expected)
            return false;
        ++m_position;
        return true;
    }

    // False when a block comment is left open.
    bool skipSpaceAndComments()
    {
        while (!atEnd()) {
            if (std::isspace(static_cast<unsigned char>(peek()))) {
                ++m_position;
            } else if (peek() == '/' && peek(1) == '/') {
                std::size_t end = m_text.find('\n', m_position);
                m_position = end == std::string_view::npos ? m_text.size() : end + 1;
            } else if (peek() == '/' && peek(1) == '*') {
                std::size_t end = m_text.find("*/", m_position + 2);
                if (end == std::string_view::npos)
                    return false;
                m_position = end + 2;
            } else {
                break;
            }
        }
        return true;
    }

    std::optional<std::string> readToken()
    {
        if (consume('"'))
            return readQuoted();
        std::size_t start = m_position;
        while (!atEnd() && isBareWordCharacter(peek()))
            ++m_position;
        if (m_position == start)
            return std::nullopt;
        return std::string(m_text.substr(start, m_position - start));
    }

    static bool isBareWordCharacter(char c)
    {
        return std::isalnum(static_cast<unsigned char>(c)) ||
               std::string_view("_$+/:.-").find(c) != std::string_view::npos;
    }

    std::optional<std::string> readQuoted()
    {
        std::string text;
        while (!atEnd()) {
            char c = m_text[m_position++];
            if (c == '"')
                return text;
            if (c != '\\')
                text += c;
            else if (!readEscape(text))
                return std::nullopt;
        }
        return std::nullopt; // no closing quote
    }

    bool readEscape(std::string &text)
    {
        if (atEnd())
            return false;
        char c = m_text[m_position++];
        switch (c) {
        case 'n':
            text += '\n';
            return true;
        case 't':
            text += '\t';
            return true;
        case 'r':
            text += '\r';
            return true;
        case 'a':
            text += '\a';
            return true;
        case 'b':
            text += '\b';
            return true;
        case 'f':
            text += '\f';
            return true;
        case 'v':
            text += '\v';
            return true;
        case 'U':
        case 'u':
            return readUnicodeEscape(text);
        default:
            break;
        }
        if (c >= '0' && c <= '7') {
            char32_t value = static_cast<char32_t>(c - '0');
            for (int digits = 1; digits < 3 && peek() >= '0' && peek() <= '7'; ++digits)
                value = value * 8 + static_cast<char32_t>(m_text[m_position++] - '0');
            appendUTF8(text, value);
            return true;
        }
        text += c; // \" \\ \' and any other character stand for themselves
        return true;
    }

    // Up to four hex digits after \U give one UTF-16 unit; a high surrogate must be
    // followed by the escape of its low half.
    std::optional<char32_t> readHexUnit()
    {
        char32_t unit = 0;
        int digits = 0;
        for (; digits < 4 && std::isxdigit(static_cast<unsigned char>(peek())); ++digits) {
            char digit = static_cast<char>(std::tolower(m_text[m_position++]));
            unit = unit * 16 + static_cast<char32_t>(digit <= '9' ? digit - '0' : digit - 'a' + 10);
        }
        return digits ? std::optional<char32_t>(unit) : std::nullopt;
    }

    bool readUnicodeEscape(std::string &text)
    {
        std::optional<char32_t> unit = readHexUnit();
        if (!unit || isLowSurrogate(*unit))
            return false;
        if (!isHighSurrogate(*unit)) {
            appendUTF8(text, *unit);
            return true;
        }
        if (!consume('\\') || !(consume('U') || consume('u')))
            return false;
        std::optional<char32_t> low = readHexUnit();
        if (!low || !isLowSurrogate(*low))
            return false;
        appendUTF8(text, 0x10000 + ((*unit - 0xD800) << 10) + (*low - 0xDC00));
        return true;
    }

    std::string_view m_text;
    std::size_t m_position = 0;
};

} // namespace

std::optional<StringsTable> parseStringsFile(std::string_view bytes)
{
    std::optional<std::string> text = stringsFileText(bytes);
    if (!text)
        return std::nullopt;
    return StringsParser(*text).parse();
}

} // namespace sim
