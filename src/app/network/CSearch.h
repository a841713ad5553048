#pragma once

#include "network/GatewaySearch.h"

#include <QDialog>
#include <QList>
#include <optional>
#include <string>
#include <thread>

class QLabel;
class QProgressBar;
class QPushButton;
class QStandardItemModel;
class QTimer;
class QTableView;

namespace korvan::gui {

class Session;

// The "Search Equipment" dialog over the core's GatewaySearch: the gateways that answered,
// the progress of the search, "Sign In", "Refresh" and "Cancel". The broadcast search runs
// on one 300 ms timer per local address, each tick reading only the answers already there;
// the query of a fixed address, which waits up to a second for its answer, runs on a worker
// thread so the window keeps repainting. A clicked row's address becomes the gateway
// address at once.
class CSearch : public QDialog {
    Q_OBJECT
public:
    static constexpr int TickMs = 300;

    // The search port is the session's management port unless settings name another.
    CSearch(Session& session, std::optional<SearchSettings> settings = std::nullopt,
            QWidget* parent = nullptr);
    ~CSearch() override;

    [[nodiscard]] QTableView* list() const { return list_; }
    [[nodiscard]] QProgressBar* progressBar() const { return progress_; }
    [[nodiscard]] QLabel* statusLabel() const { return status_; }
    [[nodiscard]] QPushButton* signInButton() const { return signIn_; }
    [[nodiscard]] QPushButton* refreshButton() const { return refresh_; }
    [[nodiscard]] QPushButton* cancelButton() const { return cancel_; }
    // True while the fixed-address query's worker runs.
    [[nodiscard]] bool querying() const { return query_.joinable(); }

    void done(int result) override;

Q_SIGNALS:
    // The search has completed (answers shown, or none came).
    void searchCompleted();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void start();
    void refresh();
    void startTimers();
    void tick(int i);
    void clickRow(const QModelIndex& index);
    void signIn();
    void showState();
    void showRecords();
    void stopAll();

    Session& session_;
    GatewaySearch search_;
    bool started_ = false;
    // The fixed-address query, while it runs.
    std::jthread query_;
    QList<QTimer*> timers_;
    QStandardItemModel* records_ = nullptr;
    QTableView* list_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* signIn_ = nullptr;
    QPushButton* refresh_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

// Runs the search dialog modally for the TCP models: the chosen gateway's address after
// "Sign In" (also left in the session's gatewayIp), nothing after "Cancel".
[[nodiscard]] std::optional<std::string>
runGatewaySearch(Session& session, QWidget* parent, std::optional<SearchSettings> settings = std::nullopt);

} // namespace korvan::gui
