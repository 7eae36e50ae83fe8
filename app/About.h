// The About box: a borderless window over a colour gradient with the product
// title, the maker and a link to its home page, a scrolling thanks line, and
// what the system reports of its version and memory. A click on the window
// closes it.
#pragma once

#include "platform/vcl/Forms.h"

class TBevel;
class TLabel;
class TSecretPanel;

class TAboutForm : public TForm {
public:
    explicit TAboutForm(TComponent* AOwner);

    TLabel* Label14 = nullptr;
    TLabel* Label13 = nullptr;
    TLabel* Label15 = nullptr;
    TSecretPanel* SecretPanel1 = nullptr;
    TLabel* HyperLink = nullptr;
    TBevel* Bevel1 = nullptr;
    TLabel* Label9 = nullptr;
    TLabel* Label10 = nullptr;
    TLabel* Label11 = nullptr;
    TLabel* Label12 = nullptr;
    TLabel* Label7 = nullptr;
    TLabel* Label8 = nullptr;
    // The values beside the captions above, in the same order.
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* Label6 = nullptr;

    // Fills the values from the system's version and memory figures.
    void AbtFormCreate(TObject* Sender);
    void FormPaint(TObject* Sender);
    void FormClick(TObject* Sender);
    void HyperLinkClick(TObject* Sender);

private:
    void showVersion();
    void showMemory();
};

// The About box while it is shown.
extern TAboutForm* AboutForm;
