#pragma once

#include <QNetworkProxy>
#include <QString>
#include <chrono>

class QUrl;

namespace korvan::gui {

// The limits of one download. The defaults are the program's; tests shorten them.
struct DownloadLimits {
    // From sending the request to the server's answer (status line and headers) arriving;
    // an attempt that gets no answer in time is tried once more.
    std::chrono::milliseconds answerTimeout{2000};
    int answerRetries = 1;
    // Once the body flows, the longest silence tolerated between two pieces of it.
    std::chrono::milliseconds stallTimeout{10000};
    // The whole download, retries included.
    std::chrono::milliseconds overallLimit{120000};
    // A body larger than this is refused rather than filling the disk.
    qint64 maxBytes = 256LL * 1024 * 1024;
};

// Fetches `url` (http or https) into the file at `path` and answers whether it arrived.
// The body goes to a temporary file beside the target and replaces the old copy only once
// it is complete with status 200; anything else (another scheme, an error, another status,
// a certificate that does not verify, a time-out, a body cut short) answers false and leaves
// the old copy as it was, with no partial file. Blocks the calling thread, which must be a
// thread with an event dispatcher (a worker QThread); quitting that thread ends the download
// as failed.
[[nodiscard]] bool downloadFile(const QString& url, const QString& path, const DownloadLimits& limits = {});

// The proxy to reach `url` through: the system's proxy settings, never one for the loopback
// host.
[[nodiscard]] QNetworkProxy proxyFor(const QUrl& url);

} // namespace korvan::gui
