// The extended controls with UTF-16 text: the panel, which paints its wide caption.
#pragma once

#include "platform/vcl/ExtCtrls.h"
#include "unicode/TntStdCtrls.h"

class TTntCustomPanel : public TTntCaptioned<TCustomPanel> {
public:
    using TTntCaptioned::TTntCaptioned;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
    // The framework's bevels and background, then the wide caption centred on the height of "W".
    void Paint() override;
};

class TTntPanel : public TTntCustomPanel {
public:
    using TTntCustomPanel::TTntCustomPanel;
};
