#include "platform/backend/gtk/DesktopText.h"

WideString ToDesktopLineEnds(const WideString& text) {
    WideString converted;
    converted.reserve(text.size());
    for (std::size_t index = 0; index < text.size(); ++index)
        if (!(text[index] == u'\r' && index + 1 < text.size() && text[index + 1] == u'\n'))
            converted.push_back(text[index]);
    return converted;
}

WideString FromDesktopLineEnds(const WideString& text) {
    WideString converted;
    converted.reserve(text.size() + text.size() / 16);
    for (std::size_t index = 0; index < text.size(); ++index) {
        if (text[index] == u'\n' && (index == 0 || text[index - 1] != u'\r')) converted.push_back(u'\r');
        converted.push_back(text[index]);
    }
    return converted;
}
