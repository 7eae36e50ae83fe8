// Standard actions with wide texts.
#pragma once

#include "platform/vcl/StdActns.h"
#include "unicode/TntActnList.h"

// The framework's hint action with a wide hint: a target that knows it (the
// wide status bar) shows the wide hint.
class TTntHintAction : public THintAction, public ITntAction {
public:
    using THintAction::THintAction;
    WideString Hint() { return TntAction_GetHint(this); }
    void SetHint(const WideString& Value) { TntAction_SetHint(this, Value); }
};
