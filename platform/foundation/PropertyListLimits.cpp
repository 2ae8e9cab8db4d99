#include "foundation/PropertyListLimits.h"

#include "foundation/NSPropertyList.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

using sim::readBigEndian;

bool startsWith(const char *at, const char *end, std::string_view prefix)
{
    return static_cast<std::size_t>(end - at) >= prefix.size() &&
           std::memcmp(at, prefix.data(), prefix.size()) == 0;
}

const char *findText(const char *from, const char *end, std::string_view text)
{
    const char *found = std::search(from, end, text.begin(), text.end());
    return found == end ? nullptr : found;
}

// The structure of a binary property list ("bplist00"), walked without recursion:
// the offset table and every reference must lie inside the data, the objects reachable
// from the top must form a tree or a DAG (a cycle is refused) no deeper than the limit,
// and the tree libplist would build, shared objects copied, must stay within the object
// limit. Leaves whose sizes are given are checked to fit.
class BinaryWalker {
public:
    BinaryWalker(const std::uint8_t *bytes, std::size_t length) : m_bytes(bytes), m_length(length)
    {
    }

    bool withinLimits()
    {
        if (m_length < 8 + 1 + 32)
            return false;
        const std::uint8_t *trailer = m_bytes + m_length - 32;
        m_offsetSize = trailer[6];
        m_refSize = trailer[7];
        std::uint64_t objectCount = readBigEndian(trailer + 8, 8);
        std::uint64_t top = readBigEndian(trailer + 16, 8);
        std::uint64_t tableOffset = readBigEndian(trailer + 24, 8);
        m_objectsEnd = m_length - 32;
        if (m_offsetSize < 1 || m_offsetSize > 8 || m_refSize < 1 || m_refSize > 8)
            return false;
        if (objectCount == 0 || objectCount > sim::kPropertyListMaxObjects || top >= objectCount)
            return false;
        if (tableOffset < 8 || tableOffset >= m_objectsEnd ||
            objectCount > (m_objectsEnd - tableOffset) / m_offsetSize)
            return false;
        m_objectCount = objectCount;
        m_table = m_bytes + tableOffset;
        m_state.assign(objectCount, Unvisited);
        m_depth.assign(objectCount, 0);
        m_count.assign(objectCount, 0);
        return walk(top);
    }

private:
    enum State : std::uint8_t { Unvisited, InProgress, Done };

    struct Frame {
        std::uint64_t object;
        std::uint64_t children; // references that follow
        std::uint64_t keys;     // how many of them, first, are a dictionary's keys
        std::uint64_t next;
        std::size_t references;     // where they start
        std::uint32_t deepestChild; // nested containers below
        std::uint64_t expanded;     // nodes below, shared children counted each time
    };

    // The size of an object's count: the low nibble, or an integer object that follows.
    bool readCount(std::size_t offset, std::uint64_t &count, std::size_t &header) const
    {
        unsigned nibble = m_bytes[offset] & 0x0F;
        if (nibble != 0x0F) {
            count = nibble;
            header = 1;
            return true;
        }
        if (offset + 2 > m_objectsEnd)
            return false;
        std::uint8_t marker = m_bytes[offset + 1];
        if ((marker & 0xF0) != 0x10 || (marker & 0x0F) > 3)
            return false;
        unsigned size = 1u << (marker & 0x0F);
        if (offset + 2 + size > m_objectsEnd)
            return false;
        count = readBigEndian(m_bytes + offset + 2, size);
        header = 2 + size;
        return true;
    }

    static bool isWellFormedUtf16(const std::uint8_t *bytes, std::uint64_t units)
    {
        for (std::uint64_t i = 0; i < units; ++i) {
            unsigned unit = readBigEndian(bytes + 2 * i, 2);
            if (unit == 0 || (unit >= 0xDC00 && unit <= 0xDFFF))
                return false; // NUL, or a low surrogate alone
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                if (++i == units)
                    return false;
                unsigned low = readBigEndian(bytes + 2 * i, 2);
                if (low < 0xDC00 || low > 0xDFFF)
                    return false;
            }
        }
        return true;
    }

    bool isString(std::uint64_t object) const
    {
        std::uint64_t offset = readBigEndian(m_table + object * m_offsetSize, m_offsetSize);
        if (offset < 8 || offset >= m_objectsEnd)
            return false;
        unsigned type = m_bytes[offset] >> 4;
        return type == 0x5 || type == 0x6;
    }

    bool fits(std::size_t offset, std::uint64_t payload) const
    {
        return payload <= m_objectsEnd - offset;
    }

    // Leaves are finished at once; containers push a frame.
    bool enter(std::uint64_t object, std::vector<Frame> &stack)
    {
        std::uint64_t offset = readBigEndian(m_table + object * m_offsetSize, m_offsetSize);
        if (offset < 8 || offset >= m_objectsEnd)
            return false;
        std::uint8_t marker = m_bytes[offset];
        unsigned type = marker >> 4;
        unsigned nibble = marker & 0x0F;
        std::uint64_t count = 0;
        std::size_t header = 1;
        switch (type) {
        case 0x1: // integer
        case 0x2: // real
            if (nibble > 4 || !fits(offset, 1 + (1u << nibble)))
                return false;
            break;
        case 0x3: // date
            if (!fits(offset, 1 + 8))
                return false;
            break;
        case 0x4: // data
        case 0x5: // ASCII string
        case 0x6: // UTF-16 string
            if (!readCount(offset, count, header))
                return false;
            if (count > m_objectsEnd || !fits(offset, header + count * (type == 0x6 ? 2 : 1)))
                return false;
            // libplist drops unpaired surrogates silently, and a NUL cuts a key short (or
            // fails an assertion in libplist); such text is refused instead.
            if (type == 0x5 && std::memchr(m_bytes + offset + header, 0, count))
                return false;
            if (type == 0x6 && !isWellFormedUtf16(m_bytes + offset + header, count))
                return false;
            break;
        case 0xA: // array
        case 0xC: // set
        case 0xD: // dictionary
        {
            if (!readCount(offset, count, header))
                return false;
            std::uint64_t references = type == 0xD ? 2 * count : count;
            if (count > m_objectsEnd || references > (m_objectsEnd - offset) / m_refSize ||
                !fits(offset, header + references * m_refSize))
                return false;
            if (stack.size() >= sim::kPropertyListMaxDepth)
                return false;
            m_state[object] = InProgress;
            stack.push_back(
                Frame{object, references, type == 0xD ? count : 0, 0, offset + header, 0, 0});
            return true;
        }
        default: // null, booleans, fill, UIDs and what libplist will judge itself
            break;
        }
        m_state[object] = Done;
        m_depth[object] = 0;
        m_count[object] = 1;
        return true;
    }

    bool walk(std::uint64_t top)
    {
        std::vector<Frame> stack;
        if (!enter(top, stack))
            return false;
        while (!stack.empty()) {
            Frame &frame = stack.back();
            if (frame.next == frame.children) {
                std::uint64_t object = frame.object;
                m_depth[object] = frame.deepestChild + 1;
                m_count[object] = frame.expanded + 1;
                m_state[object] = Done;
                stack.pop_back();
                if (stack.empty())
                    break;
                if (!addChild(stack.back(), object))
                    return false;
                continue;
            }
            std::uint64_t child =
                readBigEndian(m_bytes + frame.references + frame.next * m_refSize, m_refSize);
            bool isKey = frame.next < frame.keys;
            ++frame.next;
            if (child >= m_objectCount || m_state[child] == InProgress)
                return false; // out of range, or a cycle
            if (isKey && !isString(child))
                return false;
            if (m_state[child] == Done) {
                // Shared, and walked before from elsewhere: here it may sit deeper.
                if (stack.size() + m_depth[child] > sim::kPropertyListMaxDepth ||
                    !addChild(frame, child))
                    return false;
                continue;
            }
            std::size_t before = stack.size();
            if (!enter(child, stack))
                return false;
            if (stack.size() == before && !addChild(stack.back(), child))
                return false; // a leaf, finished at once (the frame may have moved)
        }
        return m_count[top] <= sim::kPropertyListMaxObjects;
    }

    bool addChild(Frame &frame, std::uint64_t child)
    {
        frame.deepestChild = std::max(frame.deepestChild, m_depth[child]);
        frame.expanded += m_count[child];
        return frame.expanded <= sim::kPropertyListMaxObjects;
    }

    const std::uint8_t *m_bytes;
    std::size_t m_length;
    std::size_t m_objectsEnd = 0;
    const std::uint8_t *m_table = nullptr;
    unsigned m_offsetSize = 0;
    unsigned m_refSize = 0;
    std::uint64_t m_objectCount = 0;
    std::vector<std::uint8_t> m_state;
    std::vector<std::uint32_t> m_depth; // containers nested in the object, itself included
    std::vector<std::uint32_t> m_count;
};

} // namespace

namespace sim {

std::uint64_t readBigEndian(const std::uint8_t *bytes, unsigned size)
{
    std::uint64_t value = 0;
    for (unsigned i = 0; i < size; ++i)
        value = (value << 8) | bytes[i];
    return value;
}

// Counts the nesting of XML elements and the start tags. It over-counts rather than under:
// every start tag counts, leaves included, and markup it cannot make sense of is refused.
// Text cannot hold a bare '<' (libplist refuses it), so every '<' outside comments, CDATA
// sections and declarations begins a tag; a '>' inside an attribute value is refused by
// libplist, so the first '>' ends the tag.
bool xmlPropertyListWithinLimits(const char *text, std::size_t length)
{
    const char *end = text + length;
    const char *at = text;
    std::size_t depth = 0;
    std::size_t elements = 0;
    // <plist>, a leaf element inside the innermost container, and some slack.
    constexpr std::size_t kMaxElementDepth = sim::kPropertyListMaxDepth + 4;
    constexpr std::size_t kMaxElements = sim::kPropertyListMaxObjects + 4;
    // XML has no NUL characters; libplist would keep them in strings and cut keys short.
    if (std::memchr(text, 0, length))
        return false;
    while ((at = static_cast<const char *>(std::memchr(at, '<', end - at)))) {
        if (startsWith(at, end, "<!--")) {
            const char *close = findText(at + 4, end, "-->");
            if (!close)
                return false;
            at = close + 3;
            continue;
        }
        if (startsWith(at, end, "<![CDATA[")) {
            const char *close = findText(at + 9, end, "]]>");
            if (!close)
                return false;
            at = close + 3;
            continue;
        }
        const char *close = static_cast<const char *>(std::memchr(at, '>', end - at));
        if (!close)
            return false;
        if (at + 1 < end && (at[1] == '!' || at[1] == '?')) {
            // Declarations and processing instructions; a DOCTYPE's internal subset ends
            // at its own '>', after which its remaining tags count as elements (over).
        } else if (at + 1 < end && at[1] == '/') {
            if (depth > 0)
                --depth;
        } else {
            if (close[-1] != '/' && ++depth > kMaxElementDepth)
                return false;
            if (++elements > kMaxElements)
                return false;
        }
        at = close + 1;
    }
    return true;
}

bool binaryPropertyListWithinLimits(const std::uint8_t *bytes, std::size_t length)
{
    return BinaryWalker(bytes, length).withinLimits();
}

} // namespace sim
