// The browser control. What the web view reports is stamped with the
// navigation it arrived during and raised from a posted message; reports of
// an earlier navigation still waiting then are dropped.
#include "platform/vcl/WebBrowser.h"

#include "platform/vcl/Filers.h"
#include "platform/win/Messages.h"

namespace {

// The control's own message: reports are waiting to be raised.
constexpr UINT CM_WEBVIEWREPORTS = CM_BASE + 0x100;

} // namespace

TCppWebBrowser::TCppWebBrowser(TComponent* AOwner) : TWinControl(AOwner) {
    SetBounds(0, 0, 300, 150);
    SetTabStop(true);
}

TCppWebBrowser::~TCppWebBrowser() {
    webView_.reset();
}

void TCppWebBrowser::CreateWnd() {
    TWinControl::CreateWnd();
    webView_ = CurrentBackend().CreateWebView(WindowHandle(), {0, 0, Width(), Height()}, makeEvents());
    if (!webView_) return;
    webView_->SetVisible(Showing());
    if (!location_.empty()) webView_->Navigate(location_);
}

void TCppWebBrowser::DestroyWnd() {
    if (webView_) location_ = webView_->LocationUrl();
    webView_.reset();
    TWinControl::DestroyWnd();
}

WebViewEvents TCppWebBrowser::makeEvents() {
    WebViewEvents events;
    events.TitleChanged = [this](const WideString& title) {
        queue([title](TCppWebBrowser& browser) {
            if (browser.OnTitleChange) browser.OnTitleChange(&browser, title);
        });
    };
    events.StatusTextChanged = [this](const WideString& text) {
        queue([text](TCppWebBrowser& browser) {
            if (browser.OnStatusTextChange) browser.OnStatusTextChange(&browser, text);
        });
    };
    events.ProgressChanged = [this](int progress, int progressMax) {
        queue([progress, progressMax](TCppWebBrowser& browser) {
            if (browser.OnProgressChange) browser.OnProgressChange(&browser, progress, progressMax);
        });
    };
    events.NavigationCompleted = [this](const WideString& url) {
        queue([url](TCppWebBrowser& browser) {
            if (browser.OnNavigateComplete2) browser.OnNavigateComplete2(&browser, url);
            if (browser.OnDocumentComplete) browser.OnDocumentComplete(&browser, url);
        });
    };
    return events;
}

void TCppWebBrowser::queue(std::function<void(TCppWebBrowser&)> Raise) {
    {
        std::lock_guard lock(reportsMutex_);
        reports_.push_back({navigation_, std::move(Raise)});
    }
    if (HandleAllocated()) PostMessageW(WindowHandle(), CM_WEBVIEWREPORTS, 0, 0);
}

void TCppWebBrowser::raiseReports() {
    std::vector<Report> waiting;
    {
        std::lock_guard lock(reportsMutex_);
        waiting.swap(reports_);
    }
    for (Report& report : waiting)
        // A handler may navigate again: what is left of the older navigation goes unreported.
        if (report.navigation == navigation_ && !stopped_) report.raise(*this);
}

void TCppWebBrowser::newNavigation() {
    ++navigation_;
    stopped_ = false;
}

void TCppWebBrowser::Navigate(const WideString& URL, Integer Flags, const WideString&,
                              const std::vector<Byte>&, const WideString&) {
    if (Flags & navOpenInNewWindow) {
        CurrentBackend().OpenUrl(URL);
        return;
    }
    newNavigation();
    location_ = URL;
    // Making the window makes the view, which then goes to the location.
    if (!HandleAllocated() && Parent()) {
        HandleNeeded();
        return;
    }
    if (webView_) webView_->Navigate(URL);
}

void TCppWebBrowser::GoBack() {
    newNavigation();
    if (webView_) webView_->GoBack();
}

void TCppWebBrowser::GoForward() {
    newNavigation();
    if (webView_) webView_->GoForward();
}

void TCppWebBrowser::Refresh() {
    newNavigation();
    if (webView_) webView_->Refresh();
}

void TCppWebBrowser::Stop() {
    ++navigation_;
    stopped_ = true;
}

WideString TCppWebBrowser::LocationURL() const {
    return webView_ ? webView_->LocationUrl() : location_;
}

void TCppWebBrowser::followBounds() {
    if (!webView_) return;
    webView_->SetBounds({0, 0, Width(), Height()});
    webView_->SetVisible(Showing());
}

void TCppWebBrowser::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_WEBVIEWREPORTS:
        raiseReports();
        break;
    case WM_SIZE:
    case WM_MOVE:
    case CM_SHOWINGCHANGED:
        TWinControl::Dispatch(Message);
        followBounds();
        break;
    default:
        TWinControl::Dispatch(Message);
    }
}

void TCppWebBrowser::DefineProperties(TFiler* Filer) {
    TWinControl::DefineProperties(Filer);
    Filer->DefineBinaryProperty("ControlData", TStreamProc(this, &TCppWebBrowser::skipControlData), nullptr,
                                false);
}

// The system control's saved state means nothing to the backend's view.
void TCppWebBrowser::skipControlData(TStream*) {}

namespace {

const TClass webBrowserClass =
    DescribeClass<TCppWebBrowser, TWinControl>([](TClassBuilder<TCppWebBrowser>& c) {
        c.Property("OnDocumentComplete", &TCppWebBrowser::OnDocumentComplete,
                   &TCppWebBrowser::OnDocumentComplete);
        c.Property("OnNavigateComplete2", &TCppWebBrowser::OnNavigateComplete2,
                   &TCppWebBrowser::OnNavigateComplete2);
        c.Property("OnProgressChange", &TCppWebBrowser::OnProgressChange, &TCppWebBrowser::OnProgressChange);
        c.Property("OnStatusTextChange", &TCppWebBrowser::OnStatusTextChange,
                   &TCppWebBrowser::OnStatusTextChange);
        c.Property("OnTitleChange", &TCppWebBrowser::OnTitleChange, &TCppWebBrowser::OnTitleChange);
    });

struct RegisterWebBrowserClass {
    RegisterWebBrowserClass() { RegisterClass(ClassOf<TCppWebBrowser>()); }
} registerWebBrowserClass;

} // namespace
