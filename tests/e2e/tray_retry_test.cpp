// The notification icon when the shell is not ready at start, as often at log-on.
#include <windows.h>

#include <shellapi.h>

#include <utility>
#include <vector>

#include "journey.h"

namespace e2e {
namespace {

const char kTaskBarClass[] = "Shell_TrayWnd";

// A notification area that is not there yet: a window of the task bar's class in front of the
// real one, which Shell_NotifyIconA finds first. It refuses every request until the shell
// arrives, then hands each on to the real task bar. It notes the adds it is sent.
class ShellNotReady {
  public:
    ShellNotReady()
        : realTaskBar_(FindWindowA(kTaskBarClass, nullptr)),
          desktop_(GetThreadDesktop(GetCurrentThreadId())) {
        InitializeCriticalSection(&lock_);
        created_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, run, this, 0, &threadId_);
        WaitForSingleObject(created_, kPatience);
    }
    ~ShellNotReady() {
        leave();
        CloseHandle(created_);
        DeleteCriticalSection(&lock_);
    }
    ShellNotReady(const ShellNotReady&) = delete;
    ShellNotReady& operator=(const ShellNotReady&) = delete;

    // Whether the program's requests reach this window rather than the real task bar.
    bool inFront() const {
        return window_ != nullptr && FindWindowA(kTaskBarClass, nullptr) == window_;
    }
    // From now on every request goes on to the real task bar.
    void arrive() { InterlockedExchange(&arrived_, 1); }
    // Takes the window away: requests reach the real task bar directly.
    void leave() {
        if (thread_ == nullptr) return;
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_, kPatience);
        CloseHandle(thread_);
        thread_ = nullptr;
    }

    // When each NIM_ADD for this owner's icons came, in GetTickCount milliseconds.
    std::vector<DWORD> addsFor(HWND owner) {
        std::vector<DWORD> times;
        EnterCriticalSection(&lock_);
        for (const auto& add : adds_)
            if (add.first == owner) times.push_back(add.second);
        LeaveCriticalSection(&lock_);
        return times;
    }

  private:
    static DWORD WINAPI run(void* param) {
        ShellNotReady* self = static_cast<ShellNotReady*>(param);
        // Wine starts a new thread on the default desktop, not on the one its process was given.
        SetThreadDesktop(self->desktop_);
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kTaskBarClass;
        RegisterClassA(&windowClass);
        // Topmost and newest: ahead of the real task bar in the order FindWindow searches.
        HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kTaskBarClass, "", WS_POPUP,
                                      0, 0, 0, 0, nullptr, nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_ = window;
        SetEvent(self->created_);
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
        DestroyWindow(window);
        UnregisterClassA(kTaskBarClass, windowClass.hInstance);
        return 0;
    }

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        ShellNotReady* self =
            reinterpret_cast<ShellNotReady*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message != WM_COPYDATA || self == nullptr)
            return DefWindowProcA(window, message, wParam, lParam);
        // Shell_NotifyIconA sends the icon's owner and, as the data's tag, the request.
        if (reinterpret_cast<const COPYDATASTRUCT*>(lParam)->dwData == NIM_ADD) {
            EnterCriticalSection(&self->lock_);
            self->adds_.emplace_back(reinterpret_cast<HWND>(wParam), GetTickCount());
            LeaveCriticalSection(&self->lock_);
        }
        if (!self->arrived_) return FALSE;
        DWORD_PTR answer = FALSE;
        SendMessageTimeoutA(self->realTaskBar_, WM_COPYDATA, wParam, lParam, SMTO_ABORTIFHUNG,
                            kPatience, &answer);
        return static_cast<LRESULT>(answer);
    }

    HWND realTaskBar_;
    HDESK desktop_; // the creator's, where the program runs
    HWND window_ = nullptr;
    HANDLE created_;
    HANDLE thread_;
    DWORD threadId_ = 0;
    volatile LONG arrived_ = 0;
    CRITICAL_SECTION lock_;
    std::vector<std::pair<HWND, DWORD>> adds_;
};

class TrayAtLogOn : public Journey {};

TEST_F(TrayAtLogOn, ARefusedIconIsAddedOnceTheShellIsThereWithoutTaskbarCreated) {
    long tipsBefore = tipCount(kMainCaption);
    configure(SystemSettings(), threeWallpapers());
    ShellNotReady shell;
    ASSERT_TRUE(shell.inFront()) << "the stand-in is not the task bar that programs find";

    MuraltoRun run;
    ASSERT_TRUE(run.findMainWindow());
    ASSERT_TRUE(waitUntil([&] { return shell.addsFor(run.window()).size() >= 2; }))
        << "the refused add was not tried again";
    std::vector<DWORD> refused = shell.addsFor(run.window());
    EXPECT_GE(refused[1] - refused[0], 500u) << "tries come faster than every second";

    shell.arrive();
    EXPECT_TRUE(waitUntil([&] { return run.trayIconShown(); }))
        << "no icon once the shell is there";
    size_t adds = shell.addsFor(run.window()).size();
    EXPECT_TRUE(holdsFor([&] { return shell.addsFor(run.window()).size() == adds; }, 2500))
        << "the icon was added again after the shell took it";
    shell.leave();
    EXPECT_TRUE(run.trayIconShown());
    EXPECT_EQ(tipsBefore + 1, tipCount(kMainCaption)) << "not exactly one icon more";
    EXPECT_FALSE(run.visible()) << "the window showed itself";

    ASSERT_TRUE(showMainWindow(run));
    quitWithButton(run);
}

} // namespace
} // namespace e2e
