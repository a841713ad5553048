#pragma once

#include <QString>
#include <QUrl>
#include <chrono>

namespace korvan::gui {

// Where the news pane finds its pages and the manual: the folder beside the program and the
// maker's web server. No server (the default) keeps the pane on its local page and sends
// nothing over the network.
struct NewsSources {
    // The maker's server as a base address, "https://news.example"; empty when none is set.
    QString server;
    // The folder that holds the program, its local news page and the downloaded manual.
    QString programDirectory;
    // How long the watcher waits after one check before the next.
    std::chrono::milliseconds checkInterval{1000};

    [[nodiscard]] QString localPagePath() const;
    [[nodiscard]] QString manualPath() const;
    [[nodiscard]] QUrl onlinePageUrl() const;
    [[nodiscard]] QUrl manualUrl() const;
};

// The settings key of the maker's server.
inline constexpr const char* newsServerKey = "News/Server";

// The maker's server as the settings give it: an http or https address with a host, or
// nothing (a missing or unusable value leaves the news features inert).
[[nodiscard]] QString usableNewsServer(const QString& configured);

// The sources of the running program: the server from the settings, the folder of the
// program file.
[[nodiscard]] NewsSources newsSourcesFromSettings();

} // namespace korvan::gui
