// The embedded web browser control: a windowed control over which the
// backend lays its web view (on the desktop a real engine, in tests one that
// only reads the page). It navigates to web addresses and files, walks the
// history, and reports status text, progress, title and finished loads as
// events on the user-interface thread; when navigations overlap, only the
// latest one is reported.
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/win/BackendInterface.h"

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

// Navigate's flags.
constexpr Integer navOpenInNewWindow = 0x01;
constexpr Integer navNoHistory = 0x02;
constexpr Integer navNoReadFromCache = 0x04;
constexpr Integer navNoWriteToCache = 0x08;

using TWebBrowserStatusTextChange = Closure<void(TObject* Sender, const WideString& Text)>;
using TWebBrowserProgressChange = Closure<void(TObject* Sender, Integer Progress, Integer ProgressMax)>;
using TWebBrowserTitleChange = Closure<void(TObject* Sender, const WideString& Text)>;
using TWebBrowserNavigateComplete2 = Closure<void(TObject* Sender, const WideString& URL)>;
using TWebBrowserDocumentComplete = Closure<void(TObject* Sender, const WideString& URL)>;

class TCppWebBrowser : public TWinControl {
public:
    explicit TCppWebBrowser(TComponent* AOwner);
    ~TCppWebBrowser() override;

    // A web address or a file name (either separator). navOpenInNewWindow
    // hands it to the desktop's browser instead; every navigation loads the
    // page anew, so navNoReadFromCache is always honoured. The target frame,
    // post data and headers are not used: the pages shown here need none.
    void Navigate(const WideString& URL, Integer Flags = 0, const WideString& TargetFrameName = {},
                  const std::vector<Byte>& PostData = {}, const WideString& Headers = {});
    void GoBack();
    void GoForward();
    void Refresh();
    // Nothing more of the current load is reported.
    void Stop();
    // The address shown now.
    WideString LocationURL() const;

    TWebBrowserStatusTextChange OnStatusTextChange;
    TWebBrowserProgressChange OnProgressChange;
    TWebBrowserTitleChange OnTitleChange;
    TWebBrowserNavigateComplete2 OnNavigateComplete2;
    TWebBrowserDocumentComplete OnDocumentComplete;

    void Dispatch(TMessage& Message) override;
    // Form resources of the system's browser control carry its state as
    // "ControlData"; it is read and dropped.
    void DefineProperties(TFiler* Filer) override;

protected:
    void CreateWnd() override;
    void DestroyWnd() override;

private:
    // What the web view reported, waiting for the message that raises it.
    struct Report {
        unsigned navigation = 0;
        std::function<void(TCppWebBrowser&)> raise;
    };

    WebViewEvents makeEvents();
    void queue(std::function<void(TCppWebBrowser&)> Raise);
    void raiseReports();
    void newNavigation();
    void followBounds();
    void skipControlData(TStream* Stream);

    std::unique_ptr<WebView> webView_;
    WideString location_;
    std::mutex reportsMutex_;
    std::vector<Report> reports_;
    unsigned navigation_ = 0;
    bool stopped_ = false;
};
