// A wide edit for the tests: a Unicode window over the system's EDIT class
// that records the keys the framework's handlers see.
#pragma once

#include "platform/vcl/EditCtrls.h"
#include "unicode/TntControls.h"

#include <vector>

class TWideEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
    std::vector<unsigned char> keysPressed;
    void KeyPress(char& Key) override {
        keysPressed.push_back(static_cast<unsigned char>(Key));
        TCustomEdit::KeyPress(Key);
    }

protected:
    void CreateWindowHandle(const TCreateParams& Params) override {
        CreateUnicodeHandle(this, Params, u"EDIT");
    }
};

inline const TClass WideEditClass = DescribeClass<TWideEdit, TCustomEdit>();
