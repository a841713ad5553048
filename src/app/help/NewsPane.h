#pragma once

#include <QWidget>

namespace korvan {
struct AppState;
}

namespace korvan::gui {

// The "News" tab: the local news page beside the program, shown as rich text, and, when a
// maker's server is configured, the watcher that switches to the online page.
class NewsPane : public QWidget {
    Q_OBJECT
public:
    explicit NewsPane(AppState& state, QWidget* parent = nullptr);
    ~NewsPane() override;
};

} // namespace korvan::gui
