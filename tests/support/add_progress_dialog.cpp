#include "add_progress_dialog.h"

#include <commctrl.h>

#include "remote_buffer.h"
#include "resource.h"
#include "waiting.h"
#include "window_messages.h"

namespace e2e {

const char kAddProgressCaption[] = "Adding Wallpaper(s)...";

std::string AddProgressDialog::shownName() const {
    return textWithoutMessage(GetDlgItem(window_, IDC_ADD_NAME));
}

bool AddProgressDialog::range(int* low, int* high, DWORD timeoutMs) const {
    RemoteBuffer buffer(process_, sizeof(PBRANGE));
    PBRANGE limits = {-1, -1};
    LRESULT highAnswer = 0;
    if (!buffer.write(0, &limits, sizeof limits) ||
        !sendWithin(GetDlgItem(window_, IDC_ADD_PROGRESS), PBM_GETRANGE, FALSE, buffer.param(),
                    &highAnswer, timeoutMs) ||
        !buffer.read(0, &limits, sizeof limits))
        return false;
    *low = limits.iLow;
    *high = limits.iHigh;
    // The answer is the high limit too; both ways must agree.
    return static_cast<int>(highAnswer) == limits.iHigh;
}

int AddProgressDialog::position(DWORD timeoutMs) const {
    LRESULT answer = 0;
    if (!sendWithin(GetDlgItem(window_, IDC_ADD_PROGRESS), PBM_GETPOS, 0, 0, &answer, timeoutMs))
        return -1;
    return static_cast<int>(answer);
}

void AddProgressDialog::pressCancel() const {
    PostMessageA(GetDlgItem(window_, IDC_ADD_CANCEL), BM_CLICK, 0, 0);
}

void AddProgressDialog::moveTo(int x, int y) const {
    SetWindowPos(window_, nullptr, x, y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
}

bool AddProgressDialog::waitUntilClosed(DWORD timeoutMs) const {
    return waitUntil([this] { return !IsWindow(window_); }, timeoutMs);
}

std::string cancelWhenShowing(const std::vector<std::string>& names, DWORD timeoutMs) {
    std::string during;
    waitUntil(
        [&] {
            HWND dialog = findDialog(GetCurrentProcessId(), kAddProgressCaption);
            if (dialog == nullptr) return false;
            AddProgressDialog progress(GetCurrentProcess(), dialog);
            for (const std::string& name : names) {
                if (name != progress.shownName()) continue;
                progress.pressCancel();
                // Posted messages go before the import timer's ticks: the label can change no
                // more.
                during = progress.shownName();
                return true;
            }
            return false;
        },
        timeoutMs, 1);
    return during;
}

} // namespace e2e
