#include "app/PageComposition.h"

namespace {

AnsiString escapeHtml(const AnsiString& Text) {
    AnsiString escaped;
    for (char c : Text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

} // namespace

std::vector<AnsiString> ComposePage(const AnsiString& Head, const AnsiString& BodyTag,
                                    const AnsiString& Body) {
    return {"<html>", "<head>", Head, "</head>", "<body " + BodyTag + ">", Body, "</body>", "</html>"};
}

AnsiString PageText(const std::vector<AnsiString>& Items) {
    AnsiString text;
    for (std::size_t i = 0; i < Items.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += Items[i];
    }
    return text;
}

AnsiString ErrorPageBody(const AnsiString& ErrorText) {
    return "<h1 align=\"center\"><font color=\"#FF0000\"><br><br>" + escapeHtml(ErrorText) +
           "!!!</font></h1>";
}
