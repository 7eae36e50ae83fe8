#include "app/About.h"

#include "app/Gradient.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TypInfo.h"
#include "platform/win/Shell.h"
#include "platform/win/SystemInfo.h"
#include "rx/RXCtrls.h"

TAboutForm* AboutForm = nullptr;

namespace {

// Blue grows faster here than behind the splash window.
constexpr Integer BlueFactor = 445;
// Kibibytes from bytes.
constexpr int KibibyteShift = 10;

AnsiString platformName(DWORD PlatformId) {
    switch (PlatformId) {
    case VER_PLATFORM_WIN32s:
        return "Windows Win32s";
    case VER_PLATFORM_WIN32_WINDOWS:
        return "Windows 9x";
    case VER_PLATFORM_WIN32_NT:
        return "Windows NT";
    default:
        return "Unknown";
    }
}

// Only these NT versions have names of their own.
AnsiString ntReleaseName(const AnsiString& Platform, const AnsiString& Version) {
    AnsiString name = Platform;
    if (name == "Windows NT" && Version == "5.0") name = "Windows 2000";
    if (name == "Windows NT" && Version == "5.1") name = "Windows XP";
    if (name == "Windows NT" && Version == "5.2") name = "Windows 2003";
    return name;
}

void registerComponentClasses() {
    for (TClass component : {ClassOf<TLabel>(), ClassOf<TBevel>(), ClassOf<TSecretPanel>()})
        if (!GetClass(component->ClassName())) RegisterClass(component);
}

const TClass aboutFormClass = DescribeClass<TAboutForm, TForm>([](TClassBuilder<TAboutForm>& c) {
    registerComponentClasses();
#define FIELD(name) c.Field(#name, &TAboutForm::name)
    FIELD(Label14);
    FIELD(Label13);
    FIELD(Label15);
    FIELD(SecretPanel1);
    FIELD(HyperLink);
    FIELD(Bevel1);
    FIELD(Label9);
    FIELD(Label10);
    FIELD(Label11);
    FIELD(Label12);
    FIELD(Label7);
    FIELD(Label8);
    FIELD(Label1);
    FIELD(Label2);
    FIELD(Label3);
    FIELD(Label4);
    FIELD(Label5);
    FIELD(Label6);
#undef FIELD
    c.Method("AbtFormCreate", &TAboutForm::AbtFormCreate);
    c.Method("FormPaint", &TAboutForm::FormPaint);
    c.Method("FormClick", &TAboutForm::FormClick);
    c.Method("HyperLinkClick", &TAboutForm::HyperLinkClick);
});

} // namespace

TAboutForm::TAboutForm(TComponent* AOwner) : TForm(AOwner) {
    LoadFormResource();
}

void TAboutForm::AbtFormCreate(TObject*) {
    showVersion();
    showMemory();
}

void TAboutForm::showVersion() {
    OSVERSIONINFOA version;
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    const AnsiString number = IntToStr(version.dwMajorVersion) + "." + IntToStr(version.dwMinorVersion);
    Label1->SetCaption(ntReleaseName(platformName(version.dwPlatformId), number));
    Label2->SetCaption(number);
    Label3->SetCaption(IntToStr(version.dwBuildNumber));
    Label4->SetCaption(version.szCSDVersion);
}

void TAboutForm::showMemory() {
    MEMORYSTATUS memory;
    memory.dwLength = sizeof memory;
    GlobalMemoryStatus(&memory);
    Label5->SetCaption(FormatFloat("#,###' kB'", static_cast<double>(memory.dwTotalPhys >> KibibyteShift)));
    Label6->SetCaption(Format("%d %%", {static_cast<Integer>(memory.dwMemoryLoad)}));
}

void TAboutForm::FormPaint(TObject*) {
    PaintGradient(Canvas(), ClientWidth(), ClientHeight(), BlueFactor);
}

// Only the window's own surface closes it; a label takes its clicks itself.
void TAboutForm::FormClick(TObject*) {
    Close();
}

void TAboutForm::HyperLinkClick(TObject*) {
    ShellExecuteA(Handle(), "open", HyperLink->Caption().c_str(), nullptr, nullptr, SW_SHOW);
}
