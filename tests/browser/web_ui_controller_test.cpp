// The portal's UI controller: its COM contract as tables, and against the
// browser stand-in, attaching to the events and installing itself on the
// documents of a page and its frames.
#include <gtest/gtest.h>

#include "browser/web_ui_controller.h"
#include "fake_browser.h"

namespace {

TEST(WebUIController, QueryInterfaceIdentities)
{
    CWebUIController c;
    IDispatch* const events = static_cast<DWebBrowserEvents2*>(&c);
    IDocHostUIHandler* const handler = &c;
    struct Case { IID iid; void* expected; };
    const Case cases[] = {
        {DIID_DWebBrowserEvents2, events},
        {IID_IDispatch, events},
        {IID_IDocHostUIHandler, handler},
        {IID_IUnknown, handler},  // the identity is the UI-handler pointer
        {IID_IWebBrowser2, nullptr},
        {IID_IOleClientSite, nullptr},
    };
    for (const Case& k : cases) {
        void* out = reinterpret_cast<void*>(1);
        const ULONG before = c.m_cRef;
        const HRESULT hr = c.QueryInterface(k.iid, &out);
        EXPECT_EQ(out, k.expected);
        EXPECT_EQ(hr, k.expected ? S_OK : E_NOINTERFACE);
        EXPECT_EQ(c.m_cRef, before + (k.expected ? 1 : 0));
    }
    // Both interfaces answer the same way.
    void* viaHandler = nullptr;
    EXPECT_EQ(handler->QueryInterface(IID_IDispatch, &viaHandler), S_OK);
    EXPECT_EQ(viaHandler, events);
    EXPECT_EQ(c.QueryInterface(IID_IUnknown, nullptr), E_POINTER);
}

TEST(WebUIController, CountingNeverFreesTheObject)
{
    CWebUIController c;
    EXPECT_EQ(c.AddRef(), 1u);
    EXPECT_EQ(static_cast<IDocHostUIHandler&>(c).AddRef(), 2u);  // one count for both
    EXPECT_EQ(c.Release(), 1u);
    EXPECT_EQ(c.Release(), 0u);
    EXPECT_EQ(c.Release(), 0u);  // no wrap below zero
    EXPECT_EQ(c.AddRef(), 1u);   // still usable
}

TEST(WebUIController, HostInfoAndExternal)
{
    CWebUIController c;
    EXPECT_EQ(c.GetHostInfo(nullptr), E_INVALIDARG);
    DOCHOSTUIINFO info;
    memset(&info, 0xAB, sizeof info);
    const DOCHOSTUIINFO untouched = info;
    ASSERT_EQ(c.GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.cbSize, 20u);
    EXPECT_EQ(info.dwFlags, 0xFu);
    EXPECT_EQ(info.dwDoubleClick, 0u);
    EXPECT_EQ(info.pchHostCss, untouched.pchHostCss);
    EXPECT_EQ(info.pchHostNS, untouched.pchHostNS);

    IDispatch* external = nullptr;
    ASSERT_EQ(c.GetExternal(&external), S_OK);
    EXPECT_EQ(external, static_cast<IDispatch*>(static_cast<DWebBrowserEvents2*>(&c)));
    EXPECT_EQ(c.m_cRef, 1u);
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"anything");
    EXPECT_EQ(external->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), E_NOTIMPL);  // resolves nothing

    // Everything else is declined so the browser keeps its own behaviour.
    EXPECT_EQ(c.ShowContextMenu(0, nullptr, nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(c.TranslateAccelerator(nullptr, nullptr, 0), E_NOTIMPL);
    EXPECT_EQ(c.ShowUI(0, nullptr, nullptr, nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(c.GetDropTarget(nullptr, nullptr), E_NOTIMPL);
}

// NavigateComplete2-shaped calls: (pDisp, URL), last argument first.
HRESULT Invoke(CWebUIController& c, DISPID dispid, VARIANT* args, UINT count)
{
    DISPPARAMS params = {args, nullptr, count, 0};
    return c.Invoke(dispid, IID_NULL, 0, DISPATCH_METHOD, count == 99 ? nullptr : &params, nullptr, nullptr, nullptr);
}

TEST(WebUIController, InvokeActsOnlyOnWellFormedNavigateComplete)
{
    fake::Document doc;
    fake::Frame frame(&doc);
    fake::Frame noDocument(nullptr);
    fake::Document notABrowser;  // answers no IWebBrowser2
    IDispatch* frameDisp = &frame;
    IDispatch* noDocDisp = &noDocument;
    IDispatch* otherDisp = reinterpret_cast<IDispatch*>(static_cast<ICustomDoc*>(&notABrowser));

    VARIANT url;
    V_VT(&url) = VT_EMPTY;
    auto disp = [](IDispatch* d) { VARIANT v; V_VT(&v) = VT_DISPATCH; V_DISPATCH(&v) = d; return v; };
    VARIANT byRef;
    V_VT(&byRef) = VT_DISPATCH | VT_BYREF;
    V_DISPATCHREF(&byRef) = &frameDisp;

    struct Case { const char* what; DISPID dispid; VARIANT pDisp; UINT count; HRESULT hr; int installs; };
    const Case cases[] = {
        {"null params, ignored id", 250, disp(frameDisp), 99, E_INVALIDARG, 0},
        {"null params", 252, disp(frameDisp), 99, E_INVALIDARG, 0},
        {"BeforeNavigate2", 250, disp(frameDisp), 2, S_OK, 0},
        {"DocumentComplete", 259, disp(frameDisp), 2, S_OK, 0},
        {"too few arguments", 252, disp(frameDisp), 1, E_INVALIDARG, 0},
        {"by-reference dispatch", 252, byRef, 2, E_INVALIDARG, 0},
        {"not a browser", 252, disp(otherDisp), 2, S_OK, 0},
        {"no document yet", 252, disp(noDocDisp), 2, S_OK, 0},
        {"null dispatch", 252, disp(nullptr), 2, S_OK, 0},
        {"a frame with a document", 252, disp(frameDisp), 2, S_OK, 1},
    };
    for (const Case& k : cases) {
        CWebUIController c;
        doc.handlerSets = 0;
        VARIANT args[2] = {url, k.pDisp};
        EXPECT_EQ(Invoke(c, k.dispid, args, k.count), k.hr) << k.what;
        EXPECT_EQ(doc.handlerSets, k.installs) << k.what;
        if (k.installs) {
            EXPECT_EQ(doc.handler, static_cast<IDocHostUIHandler*>(&c)) << k.what;
        }
        doc.SetUIHandler(nullptr);
        doc.handlerSets = 0;
    }
    EXPECT_EQ(frame.refs, 1u);  // every reference taken was given back
    EXPECT_EQ(doc.refs, 1u);
}

TEST(WebUIController, AttachedToABrowserItInstallsOnEveryCompletedDocument)
{
    fake::Browser browser;
    CWebUIController c;
    c.SetWebBrowser(&browser);
    EXPECT_EQ(browser.refs, 2u);
    ASSERT_EQ(browser.sinks.size(), 1u);
    EXPECT_EQ(c.m_dwCookie, 1u);

    fake::Document frameDoc;
    fake::Frame frame(&frameDoc);
    browser.FireNavigateComplete(static_cast<IWebBrowser2*>(&browser), L"http://portal.example/");
    browser.FireNavigateComplete(&frame, L"http://portal.example/frame");
    EXPECT_EQ(browser.doc->handler, static_cast<IDocHostUIHandler*>(&c));
    EXPECT_EQ(frameDoc.handler, static_cast<IDocHostUIHandler*>(&c));
    // A document that navigates again is handled again.
    browser.FireNavigateComplete(&frame, L"http://portal.example/frame2");
    EXPECT_EQ(frameDoc.handlerSets, 2);

    // Detaching disconnects and gives the browser back.
    c.SetWebBrowser(nullptr);
    EXPECT_EQ(browser.sinks[0], nullptr);
    EXPECT_EQ(c.m_dwCookie, 0u);
    EXPECT_EQ(browser.refs, 1u);
    browser.doc->SetUIHandler(nullptr);
    frameDoc.SetUIHandler(nullptr);
}

TEST(WebUIController, AdviseReportsAMissingConnectionPoint)
{
    fake::Document notABrowser;
    DWORD cookie = 77;
    IUnknown* unk = &notABrowser;
    EXPECT_EQ(CWebUIController::AdviseEvents(unk, unk, &cookie), E_NOINTERFACE);
    EXPECT_EQ(cookie, 77u);
    CWebUIController c;
    c.SetWebBrowser(reinterpret_cast<IWebBrowser2*>(static_cast<ICustomDoc*>(&notABrowser)));
    EXPECT_EQ(c.m_dwCookie, 0u);  // attached, without events
    c.SetWebBrowser(nullptr);
}

} // namespace
