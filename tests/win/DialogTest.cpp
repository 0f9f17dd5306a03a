// Modal dialogs on template 129 under Wine: binding, dispatch through the message map,
// results as a dialog procedure must return them, chaining and reflection.
#include "DialogImpl.h"
#include "DialogTemplate.h"

#include "Resources.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <iterator>
#include <new>
#include <utility>
#include <vector>

static bool g_failNothrowNew = false;

// Memory exhaustion on demand, for the dialog's binding record.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return g_failNothrowNew ? nullptr : std::malloc(size ? size : 1);
}

namespace {

constexpr UINT kBaseOnly = WM_APP + 1, kBoth = WM_APP + 2, kWide = WM_APP + 3;
constexpr UINT_PTR kScriptTimer = 1, kSafetyTimer = 2;

class CBaseMap : public CMessageMap {
  public:
    BEGIN_MSG_MAP(CBaseMap)
    MESSAGE_HANDLER(kBaseOnly, OnBase)
    MESSAGE_HANDLER(kBoth, OnBase)
    END_MSG_MAP()
    LRESULT OnBase(UINT message, WPARAM, LPARAM, BOOL&) { return message == kBaseOnly ? 20 : 30; }
};

// Records every message its map sees and runs the test's script once it shows.
class CTestDialog : public CDialogImpl<CTestDialog>, public CBaseMap {
  public:
    enum { IDD = 129 };
    std::function<void(CTestDialog&)> script;
    std::vector<UINT> seen;
    LPARAM initParam = 0;

    BEGIN_MSG_MAP(CTestDialog)
    MESSAGE_RANGE_HANDLER(0, 0xFFFF, OnAny)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(kBoth, OnBoth)
    MESSAGE_HANDLER(kWide, OnWide)
    MESSAGE_HANDLER(WM_CTLCOLORDLG, OnColor)
    MESSAGE_HANDLER(WM_SETTEXT, OnSetText)
    COMMAND_ID_HANDLER(IDOK, OnEnd)
    COMMAND_HANDLER(2000, BN_CLICKED, OnEnd)
    COMMAND_ID_HANDLER(3000, OnEnd)
    COMMAND_ID_HANDLER(2500, OnAnswer)
    NOTIFY_HANDLER(1002, 5, OnNotify)
    REFLECT_NOTIFICATIONS()
    CHAIN_MSG_MAP(CBaseMap)
    END_MSG_MAP()

    LRESULT OnAny(UINT message, WPARAM, LPARAM, BOOL& handled) {
        seen.push_back(message);
        return handled = FALSE;
    }
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM lParam, BOOL&) {
        initParam = lParam;
        // Timers come when the modal loop is idle; the safety one ends a dialog that hangs.
        SetTimer(m_hWnd, kScriptTimer, 10, nullptr);
        return SetTimer(m_hWnd, kSafetyTimer, 10000, nullptr) != 0;
    }
    LRESULT OnTimer(UINT, WPARAM timer, LPARAM, BOOL&) {
        if (timer == kSafetyTimer)
            return EndDialog(-99);
        if (IsWindowVisible() && KillTimer(m_hWnd, timer) && script)
            script(*this);
        return 0;
    }
    LRESULT OnBoth(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
        handled = wParam == 0;
        return 31;
    }
    LRESULT OnWide(UINT, WPARAM, LPARAM, BOOL&) { return 0x123456789A; }
    LRESULT OnColor(UINT, WPARAM, LPARAM, BOOL&) { return (LRESULT)GetStockObject(GRAY_BRUSH); }
    LRESULT OnSetText(UINT, WPARAM, LPARAM text, BOOL& handled) {
        return handled = reinterpret_cast<const wchar_t*>(text)[0] != L'+';
    }
    LRESULT OnEnd(WORD, WORD id, HWND, BOOL&) { return EndDialog(id); }
    LRESULT OnAnswer(WORD, WORD, HWND, BOOL&) { return 77; }
    LRESULT OnNotify(int id, LPNMHDR header, BOOL&) { return id + header->code; }
};

INT_PTR RunDialog(std::function<void(CTestDialog&)> script, HWND owner = nullptr) {
    CTestDialog dialog;
    dialog.script = std::move(script);
    return dialog.DoModal(owner);
}

TEST(Dialog, BindsOnTheFirstMessageAndGetsTheInitParam) {
    CTestDialog dialog;
    dialog.script = [](CTestDialog& d) { d.EndDialog(5); };
    EXPECT_EQ(dialog.DoModal(nullptr, 0x5150), 5);
    EXPECT_EQ(dialog.initParam, 0x5150);
    ASSERT_FALSE(dialog.seen.empty());
    EXPECT_EQ(dialog.seen.front(), UINT{WM_SETFONT}); // DS_SETFONT: before WM_INITDIALOG
    EXPECT_EQ(dialog.seen.back(), UINT{WM_NCDESTROY});
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(Dialog, PostedCommandsEndTheDialogThroughTheirHandlers) {
    // 3000: the command was left alone, and a second one ended the dialog.
    const std::pair<WPARAM, INT_PTR> cases[] = {{IDOK, IDOK},
                                                {MAKEWPARAM(2000, BN_CLICKED), 2000},
                                                {MAKEWPARAM(2000, BN_DBLCLK), 3000},
                                                {IDCANCEL, 3000}};
    for (const auto& [command, result] : cases) {
        EXPECT_EQ(RunDialog([&](CTestDialog& d) {
                      d.PostMessage(WM_COMMAND, command);
                      d.PostMessage(WM_COMMAND, 3000);
                  }),
                  result)
            << command;
    }
}

TEST(Dialog, ResultsReachTheSenderAsADialogProcedureMustReturnThem) {
    RunDialog([](CTestDialog& d) {
        NMHDR header = {nullptr, 1002, 5}, otherCode = {nullptr, 1002, 6};
        const struct {
            UINT message;
            WPARAM wParam;
            LPARAM lParam;
            LRESULT result;
        } cases[] = {
            {kWide, 0, 0, 0x123456789A}, // through DWLP_MSGRESULT, all 64 bits
            {WM_CTLCOLORDLG, 0, 0, (LRESULT)GetStockObject(GRAY_BRUSH)}, // returned directly
            {WM_COMMAND, 2500, 0, 77},
            {WM_NOTIFY, 1002, (LPARAM)&header, 1007},
            {WM_NOTIFY, 1002, (LPARAM)&otherCode, 0},
            {kBaseOnly, 0, 0, 20},        // only the chained map has it
            {kBoth, 0, 0, 31},            // the dialog's own entry comes first
            {kBoth, 1, 0, 30},            // ... and declines, so the chained map gets it
            {DM_SETDEFID, 1234, 0, TRUE}, // unhandled: default dialog processing
            {DM_GETDEFID, 0, 0, MAKELRESULT(1234, DC_HASDEFID)},
        };
        for (const auto& c : cases) {
            EXPECT_EQ(d.SendMessage(c.message, c.wParam, c.lParam), c.result)
                << std::hex << c.message;
        }

        wchar_t text[16] = {};
        d.SetWindowText(L"+declined"); // default processing sets it
        d.SetWindowText(L"swallowed");
        GetWindowTextW(d, text, 16);
        EXPECT_STREQ(text, L"+declined");
        d.EndDialog(1);
    });
}

std::vector<UINT> g_reflected;
WNDPROC g_buttonProc = nullptr;

LRESULT CALLBACK RecordReflected(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message <= OCM__BASE || message >= OCM__BASE + WM_USER)
        return CallWindowProcW(g_buttonProc, window, message, wParam, lParam);
    g_reflected.push_back(message);
    return message == OCM_NOTIFY ? 0x7654321012 : 0x4242;
}

HWND RecordingButton(HWND parent, DWORD style) {
    HWND button = CreateWindowExW(0, L"BUTTON", L"", style, 0, 0, 50, 20, parent,
                                  parent ? (HMENU)1001 : nullptr, nullptr, nullptr);
    g_buttonProc = (WNDPROC)SetWindowLongPtrW(button, GWLP_WNDPROC, (LONG_PTR)RecordReflected);
    return button;
}

TEST(Dialog, ReflectsChildNotificationsToTheChild) {
    RunDialog([](CTestDialog& d) {
        HWND button = RecordingButton(d, WS_CHILD | BS_PUSHBUTTON);
        HWND stranger = RecordingButton(nullptr, WS_POPUP); // not the dialog's child
        NMHDR fromButton = {button, 1001, 1}, fromStranger = {stranger, 1001, 1};
        const struct {
            UINT message;
            WPARAM wParam;
            LPARAM lParam;
            UINT reflected; // 0: not reflected
            LRESULT result;
        } cases[] = {
            {WM_NOTIFY, 1001, (LPARAM)&fromButton, OCM_NOTIFY, 0x7654321012},
            {WM_CTLCOLORBTN, 0, (LPARAM)button, OCM_CTLCOLORBTN, 0x4242},
            {WM_NOTIFY, 1001, (LPARAM)&fromStranger, 0, 0},
            {WM_COMMAND, 2500, 0, 0, 77}, // no control: on down the map
        };
        for (const auto& c : cases) {
            g_reflected.clear();
            EXPECT_EQ(d.SendMessage(c.message, c.wParam, c.lParam), c.result);
            EXPECT_EQ(g_reflected,
                      c.reflected ? std::vector<UINT>{c.reflected} : std::vector<UINT>{});
        }
        // A real button's click notification.
        g_reflected.clear();
        SendMessageW(button, BM_CLICK, 0, 0);
        EXPECT_EQ(g_reflected, std::vector<UINT>{OCM_COMMAND});
        DestroyWindow(stranger);
        d.EndDialog(1);
    });
}

TEST(Dialog, NestedDialogsEachBindTheirOwnObject) {
    CTestDialog inner;
    inner.script = [](CTestDialog& i) { i.EndDialog(7); };
    EXPECT_EQ(RunDialog([&](CTestDialog& d) { d.EndDialog(inner.DoModal(d, 2) + 1); }), 8);
    EXPECT_EQ(inner.initParam, 2);
}

class CNoTemplateDialog : public CDialogImpl<CNoTemplateDialog> {
  public:
    enum { IDD = 999 };
    BEGIN_MSG_MAP(CNoTemplateDialog)
    END_MSG_MAP()
};

TEST(Dialog, ADialogThatCannotRunLeavesNothingBehind) {
    CNoTemplateDialog missing;
    EXPECT_EQ(missing.DoModal(nullptr), -1);
    EXPECT_EQ(_Module.ExtractCreateWndData(), nullptr); // no binding record left

    g_failNothrowNew = true;
    CTestDialog unbound;
    const INT_PTR result = unbound.DoModal(nullptr);
    const DWORD error = GetLastError();
    g_failNothrowNew = false;
    EXPECT_EQ(result, -1);
    EXPECT_EQ(error, DWORD{ERROR_OUTOFMEMORY});
    EXPECT_TRUE(unbound.seen.empty());
    EXPECT_EQ(RunDialog([](CTestDialog& d) { d.EndDialog(4); }), 4);
}

TEST(Dialog, Template129IsTheUninstallersTemplate) {
    const std::vector<char> bytes =
        TestSupport::Resources().Bytes(RT_DIALOG, MAKEINTRESOURCEW(129));
    ASSERT_GE(bytes.size(), 19 * sizeof(WORD) + sizeof L"Microsoft YaHei UI");
    const auto* words = reinterpret_cast<const WORD*>(bytes.data());
    // DLGTEMPLATEEX: version, signature, help id, extended style, style (DS_SETFONT |
    // WS_SYSMENU), no items at 0, 0, 700 x 400, no menu, class or title; 8 pt, weight 400,
    // not italic, GB2312, the face name.
    const WORD expected[] = {1, 0xFFFF, 0,   0, 0, 0, 0x40, 0x8, 0,       0,
                             0, 700,    400, 0, 0, 0, 8,    400, 134 << 8};
    for (size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(words[i], expected[i]) << "word " << i;
    EXPECT_STREQ(reinterpret_cast<const wchar_t*>(words + std::size(expected)),
                 L"Microsoft YaHei UI");
}

// A dialog that wants extended style bits from its window's creation on, and that may end its
// first run in WM_INITDIALOG to run again with others.
class CStyledDialog : public CDialogImpl<CStyledDialog> {
  public:
    enum { IDD = 129 };
    DWORD exStyle = 0;
    DWORD exStyleOfTheRunAgain = 0;
    bool runAgain = false;
    std::vector<HWND> windows;
    std::vector<LONG_PTR> exStyles;
    std::vector<HWND> shown;

    BEGIN_MSG_MAP(CStyledDialog)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_SHOWWINDOW, OnShowWindow)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    END_MSG_MAP()

  protected:
    DWORD CreationExStyle() const override { return exStyle; }

  private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
        windows.push_back(m_hWnd);
        exStyles.push_back(GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
        if (runAgain && windows.size() == 1) {
            exStyle = exStyleOfTheRunAgain;
            EndAndRunAgain();
            return TRUE;
        }
        SetTimer(m_hWnd, kScriptTimer, 10, nullptr);
        SetTimer(m_hWnd, kSafetyTimer, 10000, nullptr);
        return TRUE;
    }
    LRESULT OnShowWindow(UINT, WPARAM show, LPARAM, BOOL& handled) {
        if (show)
            shown.push_back(m_hWnd);
        return handled = FALSE;
    }
    LRESULT OnTimer(UINT, WPARAM timer, LPARAM, BOOL&) {
        if (timer == kSafetyTimer)
            return EndDialog(-99);
        if (IsWindowVisible())
            EndDialog(7);
        return 0;
    }
};

constexpr DWORD kNoRedirectionBitmap = 0x00200000;

TEST(Dialog, TemplateCopyCarriesTheExtendedStyleAndNothingElseChanges) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(129), RT_DIALOG);
    ASSERT_NE(found, nullptr);
    const auto* original = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    const DWORD size = SizeofResource(nullptr, found);
    const std::vector<BYTE> copy = DialogTemplateWithExStyle(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(129), kNoRedirectionBitmap);
    ASSERT_EQ(copy.size(), size);
    // DLGTEMPLATEEX's extended style is the DWORD at byte 8.
    for (DWORD i = 0; i < size; ++i) {
        const BYTE expected =
            i == 10 ? static_cast<BYTE>(original[i] | (kNoRedirectionBitmap >> 16)) : original[i];
        EXPECT_EQ(copy[i], expected) << "byte " << i;
    }
    EXPECT_TRUE(DialogTemplateWithExStyle(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(4321),
                                          kNoRedirectionBitmap)
                    .empty());
}

TEST(Dialog, WindowHasTheCreationExStyleFromTheStart) {
    CStyledDialog plain;
    EXPECT_EQ(plain.DoModal(nullptr), 7);
    ASSERT_EQ(plain.exStyles.size(), 1u);
    EXPECT_EQ(plain.exStyles[0] & (kNoRedirectionBitmap | WS_EX_TOOLWINDOW), 0);

    CStyledDialog styled;
    styled.exStyle = kNoRedirectionBitmap | WS_EX_TOOLWINDOW;
    EXPECT_EQ(styled.DoModal(nullptr), 7);
    ASSERT_EQ(styled.exStyles.size(), 1u);
    EXPECT_EQ(styled.exStyles[0] & (kNoRedirectionBitmap | WS_EX_TOOLWINDOW),
              LONG_PTR{kNoRedirectionBitmap | WS_EX_TOOLWINDOW});
}

// Ended in its first WM_INITDIALOG, the dialog runs again on a new window made with the
// extended style asked for then; only that window ever shows, and its result is DoModal's.
TEST(Dialog, RunsAgainOnANewWindowAndOnlyThatOneShows) {
    CStyledDialog dialog;
    dialog.exStyle = kNoRedirectionBitmap;
    dialog.runAgain = true;
    EXPECT_EQ(dialog.DoModal(nullptr), 7);
    ASSERT_EQ(dialog.windows.size(), 2u);
    EXPECT_NE(dialog.exStyles[0] & kNoRedirectionBitmap, 0);
    EXPECT_EQ(dialog.exStyles[1] & kNoRedirectionBitmap, 0);
    ASSERT_FALSE(dialog.shown.empty());
    for (HWND shown : dialog.shown)
        EXPECT_EQ(shown, dialog.windows[1]) << "the first window showed";
    EXPECT_EQ(_Module.ExtractCreateWndData(), nullptr);
}

} // namespace
