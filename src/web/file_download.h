// FileDownloadControl: the Options dialog's one download component. It holds no window of its own and is never
// shown.
#pragma once

namespace lumoff {

struct FileDownloadControl {
    int PendingDownload = 0;
};

}  // namespace lumoff
