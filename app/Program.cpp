#include "app/Program.h"

#include "app/Main.h"
#include "app/Splash.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/Messages.h"
#include "unicode/TntForms.h"

namespace {

void showSplash() {
    SplashForm = NewForm<TSplashForm>(nullptr);
    SplashForm->Show();
    Application->ProcessMessages();
}

// No messages are handled meanwhile: the bar paints itself at each step.
void advanceSplash() {
    for (DWORD pause : SplashPauses) {
        SendMessageA(SplashForm->ProgressBar1->Handle(), PBM_DELTAPOS, 1, 0);
        Sleep(pause);
    }
}

void closeSplash() {
    delete SplashForm;
    SplashForm = nullptr;
}

} // namespace

int WinMain() {
    try {
        InitializeTntForms();
        Application->Initialize();
        showSplash();
        Application->CreateForm(MainForm);
        advanceSplash();
        closeSplash();
        Application->Run();
    } catch (const Exception& error) {
        Application->ShowException(error);
    } catch (...) {
        Application->ShowException(Exception(""));
    }
    FinalizeTntForms();
    DoneApplication();
    return 0;
}
