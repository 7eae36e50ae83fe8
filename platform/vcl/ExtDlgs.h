// The picture dialogs: open and save dialogs whose filter lists the picture
// formats the framework reads and which preview the picture selected.
#pragma once

#include "platform/vcl/Dialogs.h"

class TOpenPictureDialog : public TOpenDialog {
public:
    explicit TOpenPictureDialog(TComponent* AOwner);
};

class TSavePictureDialog : public TOpenPictureDialog {
public:
    using TOpenPictureDialog::TOpenPictureDialog;
    bool Execute() override;
};
