#include "add_progress_dialog.h"

#include <commctrl.h>

#include "muralto_run.h"
#include "remote_buffer.h"
#include "waiting.h"

namespace e2e {

const char kAddProgressCaption[] = "Adding Wallpaper(s)...";

namespace {

const int kCancelButton = 1000;
const int kNameLabel = 1015;
const int kProgressBar = 1023;

} // namespace

std::string AddProgressDialog::shownName() const {
    return textWithoutMessage(GetDlgItem(window_, kNameLabel));
}

bool AddProgressDialog::range(int* low, int* high, DWORD timeoutMs) const {
    RemoteBuffer buffer(process_, sizeof(PBRANGE));
    PBRANGE limits = {-1, -1};
    DWORD_PTR highAnswer = 0;
    if (!buffer.write(0, &limits, sizeof limits) ||
        !SendMessageTimeoutA(GetDlgItem(window_, kProgressBar), PBM_GETRANGE, FALSE, buffer.param(),
                             SMTO_NORMAL, timeoutMs, &highAnswer) ||
        !buffer.read(0, &limits, sizeof limits))
        return false;
    *low = limits.iLow;
    *high = limits.iHigh;
    // The answer is the high limit too; both ways must agree.
    return static_cast<int>(highAnswer) == limits.iHigh;
}

int AddProgressDialog::position(DWORD timeoutMs) const {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(GetDlgItem(window_, kProgressBar), PBM_GETPOS, 0, 0, SMTO_NORMAL,
                             timeoutMs, &answer))
        return -1;
    return static_cast<int>(answer);
}

void AddProgressDialog::pressCancel() const {
    PostMessageA(GetDlgItem(window_, kCancelButton), BM_CLICK, 0, 0);
}

void AddProgressDialog::moveTo(int x, int y) const {
    SetWindowPos(window_, nullptr, x, y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
}

bool AddProgressDialog::waitUntilClosed(DWORD timeoutMs) const {
    return waitUntil([this] { return !IsWindow(window_); }, timeoutMs);
}

} // namespace e2e
