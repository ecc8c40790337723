// The dialog framework's own contracts: dispatch by message, control ID and
// notification code; default processing; binding and unbinding; deleting a
// self-deleting window exactly once and never under its own handler.
#include "CDataExchange.h"
#include "CDialog.h"
#include "CString.h"
#include "CWinApp.h"
#include "Dpi.h"
#include "FaultInjection.h"
#include "TestWindows.h"
#include "resource.h"

#include <malloc.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;

// The window procedure the framework subclasses away: it records what
// reaches default processing.
LRESULT CALLBACK RecordingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        g_log.push_back("default command " + std::to_string(LOWORD(wParam)) + "/" + std::to_string(HIWORD(wParam)));
    if (message == WM_USER + 1)
        g_log.push_back("default user");
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

HWND MakeRecordingWindow() { return MakePopup(L"Vuka6FrameworkTest", RecordingProc, WS_POPUP, 0, 0, 10, 10); }

class BaseWnd : public CWnd {
protected:
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMapEntry entries[] = {
            OnCommand<100, BN_CLICKED, &BaseWnd::OnBaseClick>(),
            OnCommand<101, BN_CLICKED, &BaseWnd::OnBaseClick>(),
        };
        static const MessageMap map(CWnd::GetMessageMap(), entries);
        return &map;
    }
    void OnBaseClick() { g_log.push_back("base click"); }
};

class DerivedWnd : public BaseWnd {
public:
    bool destroyInHandler = false;
    int postNcDestroyCalls = 0;

protected:
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMapEntry entries[] = {
            OnCommand<100, BN_CLICKED, &DerivedWnd::OnClick>(),
            OnCommand<100, BN_DOUBLECLICKED, &DerivedWnd::OnDoubleClick>(),
            OnMessage<WM_TIMER, &DerivedWnd::OnTimer>(),
        };
        static const MessageMap map(BaseWnd::GetMessageMap(), entries);
        return &map;
    }
    void PostNcDestroy() override
    {
        ++postNcDestroyCalls;
        g_log.push_back("post nc destroy");
    }

    void OnClick() { g_log.push_back("derived click"); }
    void OnDoubleClick() { g_log.push_back("derived double click"); }
    void OnTimer(UINT_PTR id)
    {
        g_log.push_back("timer " + std::to_string(id));
        if (destroyInHandler) {
            ::DestroyWindow(m_hWnd);
            // Still inside the handler: the object must not be gone yet.
            g_log.push_back("handler ends, hwnd " + std::string(m_hWnd ? "set" : "cleared"));
        }
        Default();
    }
};

TEST(Framework, CommandsAreDispatchedByIdAndNotificationCode)
{
    g_log.clear();
    DerivedWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(MakeRecordingWindow()));

    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(100, BN_CLICKED));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(100, BN_DOUBLECLICKED));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(101, BN_CLICKED));    // only the base handles it
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(101, BN_SETFOCUS));   // nobody: default
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(102, BN_CLICKED));    // nobody: default
    wnd.SendMessage(WM_USER + 1);                                // nobody: default

    const std::vector<std::string> expected = {
        "derived click", "derived double click", "base click",
        "default command 101/6", "default command 102/0", "default user",
    };
    EXPECT_EQ(expected, g_log);
    wnd.DestroyWindow();
}

TEST(Framework, AMessageMapReadsNoFurtherThanItsTable)
{
    // The map is told of the first entry only; the second lies where a read
    // past the table's end would find it.
    static const MessageMapEntry entries[] = {{WM_TIMER, 0, 0, nullptr}, {WM_USER, 0, 0, nullptr}};
    const MessageMap map(nullptr, reinterpret_cast<const MessageMapEntry(&)[1]>(entries));
    EXPECT_EQ(&entries[0], map.Find(WM_TIMER, 0, 0));
    EXPECT_EQ(nullptr, map.Find(WM_USER, 0, 0));
}

TEST(Framework, DestroyingAWindowInsideItsOwnHandlerDefersPostNcDestroy)
{
    g_log.clear();
    DerivedWnd wnd;
    const HWND hWnd = MakeRecordingWindow();
    ASSERT_TRUE(wnd.SubclassWindow(hWnd));
    wnd.destroyInHandler = true;
    wnd.SendMessage(WM_TIMER, 7);

    const std::vector<std::string> expected = {"timer 7", "handler ends, hwnd cleared", "post nc destroy"};
    EXPECT_EQ(expected, g_log);
    EXPECT_EQ(1, wnd.postNcDestroyCalls);
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_FALSE(::IsWindow(hWnd));
}

TEST(Framework, AWindowIsBoundOnce)
{
    DerivedWnd first, second;
    const HWND hWnd = MakeRecordingWindow();
    ASSERT_TRUE(first.SubclassWindow(hWnd));
    EXPECT_FALSE(second.SubclassWindow(hWnd));
    const HWND other = MakeRecordingWindow();
    EXPECT_FALSE(first.SubclassWindow(other));
    EXPECT_FALSE(second.SubclassWindow(nullptr));
    // Somebody else's window is not ours, whatever its user data holds.
    ::SetWindowLongPtrW(other, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&second));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(other));
    first.DestroyWindow();
    ::DestroyWindow(other);
}

// A modeless dialog that deletes itself, as the mascot's windows do.
int g_liveDialogs = 0;

class SelfDeletingDialog : public CDialog {
public:
    SelfDeletingDialog() : CDialog(IDD_DRAW_DIALOG, nullptr) { ++g_liveDialogs; }
    ~SelfDeletingDialog() override { --g_liveDialogs; }

    CWnd m_start;

protected:
    void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, IDC_START, m_start); }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        // Moves itself, so the framework must not centre it.
        ::SetWindowPos(m_hWnd, nullptr, 3, 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        return TRUE;
    }
    void PostNcDestroy() override { delete this; }
};

TEST(Framework, ASelfDeletingDialogIsDeletedExactlyOnceWhenItsWindowGoes)
{
    auto* dialog = new (std::nothrow) SelfDeletingDialog;
    ASSERT_TRUE(dialog->Create(IDD_DRAW_DIALOG, nullptr));
    ASSERT_EQ(1, g_liveDialogs);
    const HWND hWnd = dialog->m_hWnd;
    const HWND start = dialog->m_start.m_hWnd;
    EXPECT_EQ(::GetDlgItem(hWnd, IDC_START), start);
    EXPECT_EQ(&dialog->m_start, CWnd::FromHandlePermanent(start));

    EXPECT_EQ(3, WindowRect(hWnd).left);
    EXPECT_EQ(4, WindowRect(hWnd).top);

    ::DestroyWindow(hWnd);
    EXPECT_EQ(0, g_liveDialogs);
}

// A self-deleting dialog whose window dies while it is being created.
class DiesDuringCreation : public SelfDeletingDialog {
protected:
    BOOL OnInitDialog() override
    {
        ::DestroyWindow(m_hWnd);
        return FALSE;
    }
};

TEST(Framework, AFailedCreateLeavesTheObjectToItsCreator)
{
    auto* dialog = new (std::nothrow) DiesDuringCreation;
    EXPECT_FALSE(dialog->Create(IDD_DRAW_DIALOG, nullptr));
    EXPECT_EQ(1, g_liveDialogs) << "not deleted behind the creator's back";
    EXPECT_EQ(nullptr, dialog->m_hWnd);
    EXPECT_EQ(0u, dialog->SetTimer(1, 10)) << "a timer of the thread's, never killed";
    EXPECT_FALSE(dialog->InvalidateRect(nullptr)) << "every window on the desktop repainted";
    delete dialog;
    EXPECT_EQ(0, g_liveDialogs);

    auto* missing = new (std::nothrow) SelfDeletingDialog;
    EXPECT_FALSE(missing->Create(4321, nullptr)) << "no such template";
    EXPECT_EQ(1, g_liveDialogs);
    // Made at the next try, it deletes itself as any other.
    ASSERT_TRUE(missing->Create(IDD_DRAW_DIALOG, nullptr));
    missing->DestroyWindow();
    EXPECT_EQ(0, g_liveDialogs);
}

// A modal dialog that ends itself from a timer once it has seen its loop run.
class TimedModal : public CDialog {
public:
    explicit TimedModal(CWnd* parent) : CDialog(IDD_DRAW_DIALOG, parent) {}
    bool ownerWasDisabled = false;
    int preTranslated = 0;

    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_TIMER)
            ++preTranslated;
        return CDialog::PreTranslateMessage(msg);
    }

protected:
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMapEntry entries[] = {OnMessage<WM_TIMER, &TimedModal::OnTimer>()};
        static const MessageMap map(CDialog::GetMessageMap(), entries);
        return &map;
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        SetTimer(1, 10);
        return TRUE;
    }
    void OnTimer(UINT_PTR)
    {
        KillTimer(1);
        ownerWasDisabled = m_pParentWnd && !::IsWindowEnabled(m_pParentWnd->m_hWnd);
        EndDialog(42);
    }
};

TEST(Framework, DoModalDisablesTheOwnerRunsItsOwnLoopAndReturnsTheResult)
{
    DerivedWnd owner;
    ASSERT_TRUE(owner.SubclassWindow(MakeRecordingWindow()));
    ::ShowWindow(owner.m_hWnd, SW_SHOWNA);

    TimedModal dialog(&owner);
    EXPECT_EQ(42, dialog.DoModal());
    EXPECT_TRUE(dialog.ownerWasDisabled);
    EXPECT_GE(dialog.preTranslated, 1);
    EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd));
    EXPECT_EQ(nullptr, dialog.m_hWnd);

    // A request to end the program ends the loop, and is left for the loop outside.
    ::PostQuitMessage(7);
    TimedModal quitting(&owner);
    EXPECT_EQ(-1, quitting.DoModal()) << "a result nobody chose";
    MSG quit;
    EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && quit.wParam == 7);
    owner.DestroyWindow();
}

TEST(Framework, StringsLoadFromTheTableAndFormat)
{
    CString text;
    EXPECT_TRUE(text.LoadString(IDS_ABOUTBOX));
    EXPECT_EQ(L"ﾊﾞｰｼﾞｮﾝ情報(&A)...", std::wstring(text));
    // Too long to live in the object: a block of its own, with room for the end.
    EXPECT_GE(_msize(const_cast<LPWSTR>(static_cast<LPCWSTR>(text))), sizeof L"ﾊﾞｰｼﾞｮﾝ情報(&A)...");
    EXPECT_FALSE(text.LoadString(9999));
    EXPECT_TRUE(text.IsEmpty());
    text.Format(L"%d:%d:%d", 2147483647, -2147483647 - 1, 0);
    EXPECT_EQ(L"2147483647:-2147483648:0", std::wstring(text));
    // Measured and written by the same printf: MinGW's own reads %s as narrow.
    text.Format(L"%s%d", L"六つの数字から", 43);
    EXPECT_EQ(L"六つの数字から43", std::wstring(text));
    // Without memory for a long text, the string is left empty.
    fault::Begin(fault::kMalloc, 1);
    EXPECT_FALSE(text.LoadString(IDS_ABOUTBOX));
    EXPECT_TRUE(fault::Fired() && text.IsEmpty());
    fault::Watch();
    // A text too long to live in the object gives its block back when it is
    // replaced and when the string goes.
    const auto inUse = [] {
        size_t bytes = 0;
        _HEAPINFO block{};
        while (_heapwalk(&block) == _HEAPOK)
            bytes += block._useflag == _USEDENTRY ? block._size : 0;
        return bytes;
    };
    const size_t before = inUse();
    for (int i = 0; i < 1000; ++i) {
        CString again;
        again.LoadString(IDS_ABOUTBOX);
        again.LoadString(IDS_ABOUTBOX);
    }
    EXPECT_EQ(before, inUse());
}

// The way for a Windows 7 without the library search flags. Wine always
// has them, so nothing else ever takes it.
// Letters where the next call's buffers will be, in place of whatever
// zeros happen to be there.
__attribute__((noinline)) void FillTheStack()
{
    volatile wchar_t letters[2 * MAX_PATH];
    for (auto& letter : letters)
        letter = L'x';
}

TEST(Framework, TheFallbackLoadsALibraryByItsFullPathInTheSystemFolder)
{
    wchar_t folder[MAX_PATH];
    const UINT folderLength = ::GetSystemDirectoryW(folder, MAX_PATH);
    ASSERT_GT(folderLength, 0u);
    // Not a common control: the manifest could redirect those elsewhere.
    FillTheStack();
    const HMODULE library = CWinApp::LoadFromSystemFolder(L"version.dll");
    ASSERT_NE(nullptr, library);
    wchar_t loaded[MAX_PATH];
    ASSERT_GT(::GetModuleFileNameW(library, loaded, MAX_PATH), 0u);
    EXPECT_EQ(0, ::_wcsicmp((std::wstring(folder) + L"\\version.dll").c_str(), loaded)) << loaded;
    ::FreeLibrary(library);
    // The longest name whose path fits is looked for; one letter more is not.
    const std::wstring longest(MAX_PATH - folderLength - 2, L'x');
    ::SetLastError(0);
    EXPECT_EQ(nullptr, CWinApp::LoadFromSystemFolder(longest.c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), ::GetLastError()) << "the longest name was not looked for";
    ::SetLastError(0);
    EXPECT_EQ(nullptr, CWinApp::LoadFromSystemFolder((longest + L'x').c_str()));
    EXPECT_EQ(0u, ::GetLastError()) << "a path longer than MAX_PATH was looked for";
}

// Where a window has no DPI of its own, as on systems before per-monitor
// scaling, it has the screen's, or the design DPI when the screen can't be asked.
TEST(Framework, AWindowWithoutADpiHasTheScreensOrTheDesignDpi)
{
    fault::Begin(fault::kGetDC, 1);
    EXPECT_EQ(kDesignDpi, GetWindowDpi(nullptr));
    EXPECT_TRUE(fault::Fired());
    // Watched from here on: the screen's context is given back.
    fault::Watch();
    EXPECT_EQ(static_cast<UINT>(ScreenDpi()), GetWindowDpi(nullptr));
}

}  // namespace
