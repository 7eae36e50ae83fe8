// The splash window shown while the main window is made: the maker's name
// and the product title over a colour gradient, in a rounded window, with a
// progress bar that the program's entry advances.
#pragma once

#include "platform/vcl/Forms.h"

class TLabel;
class TProgressBar;

class TSplashForm : public TForm {
public:
    // Builds the window from its form resource and colours the bar yellow.
    explicit TSplashForm(TComponent* AOwner);

    TLabel* Label14 = nullptr;
    TLabel* Label13 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TProgressBar* ProgressBar1 = nullptr;

    void FormCreate(TObject* Sender);
    void FormPaint(TObject* Sender);
};

// The colour of the splash gradient at (X, Y) of a Width x Height area:
// red across, green down, and blue down faster, wrapping past 255.
TColor SplashGradientColor(Integer X, Integer Y, Integer Width, Integer Height);

// The one splash window while it is shown.
extern TSplashForm* SplashForm;
