// A page with its script blocks in JavaScript, set up as the program shows
// one: shared by the tests, the fuzz target and the benchmark.
#pragma once

#include "highlighters/SynHighlighterHtml.h"
#include "highlighters/SynHighlighterJScript.h"
#include "highlighters/SynHighlighterMulti.h"

struct PageWithScripts {
    PageWithScripts() {
        multi.SetDefaultHighlighter(&html);
        script = static_cast<TScheme*>(multi.Schemes()->Add());
        script->SetCaseSensitive(false);
        script->SetStartExpr("<script[^>]*>");
        script->SetEndExpr("</script>");
        script->SetHighlighter(&js);
    }

    TSynHTMLSyn html{nullptr};
    TSynJScriptSyn js{nullptr};
    TSynMultiSyn multi{nullptr};
    TScheme* script = nullptr;
};
