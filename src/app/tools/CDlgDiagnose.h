#pragma once

#include "gateway/ExchangeWorker.h"
#include "model/ProjectTreeItem.h"
#include "tools/DiagnoseExchange.h"
#include "tools/DiagnoseState.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class QGroupBox;
class QModelIndex;
class QPushButton;
class QStandardItem;
class QStandardItemModel;
class QTableView;
class QTreeView;

namespace korvan::gui {

class CDlgCommandIOData;
class ItemValueModel;
class PendingExchange;
class Session;

// "Diagnose ": the gateway's run-time state while it works. The tree at the left holds the
// buses and nodes of the product; selecting a channel reads its state machine and counters,
// a node the result of each of its uploaded commands, again every second while periodic
// refresh is on. "Reset" clears a channel's error. Double-clicking a command row of a node
// shows the command I/O data window, which shares this window's link and worker.
//
// Every exchange runs on the worker; a tick whose exchange has not finished starts none, a
// button's exchange waits for it. Closing the window stops the timer, drops what is still
// to come and closes the link (the worker waits for the exchange in flight).
class CDlgDiagnose : public QWidget {
    Q_OBJECT
public:
    static constexpr int TickMs = 1000;
    static constexpr int ItemWidth = 150;
    static constexpr int ValueWidth = 170;

    CDlgDiagnose(Session& session, CDlgCommandIOData* ioWindow, QWidget* parent = nullptr);
    ~CDlgDiagnose() override;

    // Opens the window over the link the session's state names (after the upload): a serial
    // port is opened first, and when it cannot be the window does not show.
    void start();

    using LinkFactory = std::function<std::unique_ptr<GatewayLink>(Session&)>;
    void setLinkFactory(LinkFactory factory) { linkFactory_ = std::move(factory); }

    [[nodiscard]] const DiagnoseState& state() const { return state_; }
    [[nodiscard]] QTreeView* tree() const { return tree_; }
    [[nodiscard]] QStandardItemModel* treeModel() const { return treeModel_; }
    [[nodiscard]] QTableView* list() const { return list_; }
    [[nodiscard]] ItemValueModel* rows() const { return rowsModel_; }
    [[nodiscard]] QPushButton* refreshButton() const { return refresh_; }
    [[nodiscard]] QPushButton* resetButton() const { return reset_; }
    [[nodiscard]] QPushButton* periodicButton() const { return periodic_; }
    [[nodiscard]] QTimer& timer() { return timer_; }
    [[nodiscard]] ExchangeWorker& worker() { return worker_; }
    // The tree item of a label ("Channel1", "Node(0)"), for selecting it.
    [[nodiscard]] QModelIndex indexOf(const QString& label) const;
    // Whether the node's item shows the error image.
    [[nodiscard]] bool showsError(const QModelIndex& index) const;

public Q_SLOTS:
    void refresh();
    void reset();
    void togglePeriodic();

Q_SIGNALS:
    // The window has opened over its link.
    void opened();
    // A read has ended and its outcome is shown.
    void readingShown();
    // The window has closed, for the main window.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void build();
    void showOpened();
    void rebuildTree();
    void appendItems(QStandardItem* parent, const std::vector<ProjectTreeItem>& items);
    void selectItem(const QModelIndex& index);
    void tick();
    [[nodiscard]] ExchangeWorker::Job readJob();
    void readSelected();
    void showReading(const DiagnoseReading& reading, int selection);
    void showNodeReply(const StatusReply& reply, COrlaNode* node, int selection);
    void markNode(COrlaNode* node, bool error);
    void openCommandData(const QModelIndex& index);
    void reportStopped(bool stop);

    Session& session_;
    QPointer<CDlgCommandIOData> ioWindow_;
    LinkFactory linkFactory_;
    ExchangeWorker worker_;
    PendingExchange* pending_ = nullptr;
    DiagnoseState state_;
    // Counts selections, so that a reading of an item no longer selected fills no list.
    int selection_ = 0;
    // A message of a reading is on screen: the timer starts no other meanwhile.
    bool reporting_ = false;
    // The rows shown, with the command number each command row stands for.
    std::vector<DiagnoseRow> shownRows_;
    std::vector<ProjectTreeItem> treeItems_;
    QTimer timer_;
    QTreeView* tree_ = nullptr;
    QStandardItemModel* treeModel_ = nullptr;
    QTableView* list_ = nullptr;
    ItemValueModel* rowsModel_ = nullptr;
    QGroupBox* operation_ = nullptr;
    QPushButton* refresh_ = nullptr;
    QPushButton* reset_ = nullptr;
    QPushButton* periodic_ = nullptr;
};

} // namespace korvan::gui
