#include "platform/winapi/controls/EditLayout.h"

#include "platform/rtl/Utf8.h"

namespace {

// Where the wrapped line starting at `start` ends within the hard line [start, end).
std::size_t WrapEnd(std::string_view text, std::size_t start, std::size_t end, int width, const EditMeasure& measure)
{
    const std::vector<int> x = measure(start, end);
    std::size_t lastBreak = start;
    std::size_t fit = start;
    for (std::size_t pos = start + 1; pos <= end; ++pos) {
        if (pos < end && IsUtf8Continuation(text[pos]))
            continue;
        if (x[pos - start] > width && fit > start && text[pos - 1] != ' ')
            return lastBreak > start ? lastBreak : fit;
        fit = pos;
        if (text[pos - 1] == ' ')
            lastBreak = pos;
    }
    return end;
}

} // namespace

std::vector<EditLine> LayoutEditLines(std::string_view text, bool multiLine, int wrapWidth, const EditMeasure& measure)
{
    if (!multiLine)
        return {EditLine{0, text.size(), text.size()}};
    std::vector<EditLine> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t newline = text.find('\n', start);
        const std::size_t hardEnd = newline == std::string_view::npos ? text.size()
                                    : (newline > start && text[newline - 1] == '\r') ? newline - 1
                                                                                      : newline;
        const std::size_t next = newline == std::string_view::npos ? text.size() : newline + 1;
        std::size_t lineStart = start;
        while (wrapWidth > 0 && lineStart < hardEnd) {
            const std::size_t wrap = WrapEnd(text, lineStart, hardEnd, wrapWidth, measure);
            if (wrap >= hardEnd)
                break;
            lines.push_back(EditLine{lineStart, wrap, wrap});
            lineStart = wrap;
        }
        lines.push_back(EditLine{lineStart, hardEnd, next});
        if (newline == std::string_view::npos)
            return lines;
        start = next;
    }
}
