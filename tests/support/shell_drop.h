// Files dropped onto a window of another process as the shell drops them: WM_DROPFILES whose
// handle is a DROPFILES block of wide paths in that process's own memory.
#ifndef MURALTO_E2E_SHELL_DROP_H
#define MURALTO_E2E_SHELL_DROP_H

#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "remote_buffer.h"

namespace e2e {

// Posts the drop of the paths (UTF-8) onto window, whose process is process. The block is the
// caller's to keep until the program has read it (a drop's handler reads it before returning);
// null when it could not be written or posted.
std::unique_ptr<RemoteBuffer> dropFiles(HANDLE process, HWND window,
                                        const std::vector<std::string>& paths);

// The same drop as a handle of this process, which the handler's DragFinish frees.
HDROP dropHandle(const std::vector<std::string>& paths);

} // namespace e2e

#endif
