#pragma once

#include "base/ResultCode.h"
#include "hart/CodeTableLibraries.h"
#include "hart/CommandIoData.h"
#include "tools/DiagnoseState.h"

#include <QDialog>
#include <optional>
#include <string>

class QPushButton;
class QTableView;

namespace korvan {
class Prompt;
}

namespace korvan::gui {

class ExchangeWorker;
class ItemValueModel;
class PendingExchange;

// "Command IO data": the latest response of one configured HART command of one device,
// decoded field by field, and the writes of the few writable commands. Created once, hidden,
// by the main window; the Diagnose window shows it for a command row and lends it its worker,
// so its exchanges go over Diagnose's link, one at a time with Diagnose's own. Closing it
// only hides it. The rules (rows, editing, frames) are the core's CommandIoData.
class CDlgCommandIOData : public QDialog {
    Q_OBJECT
public:
    static constexpr int ItemWidth = 270;
    static constexpr int ValueWidth = 210;

    explicit CDlgCommandIOData(Prompt& prompt, QWidget* parent = nullptr);
    ~CDlgCommandIOData() override;

    // Binds the code-table libraries from the folder (the program's by default); done once,
    // before the window first shows. False when a library could not be loaded: the window
    // then does not show.
    bool initialise(const std::string& directory);
    bool initialise();

    // Shows the command with the Diagnose window's worker: the buttons follow the command,
    // then the list is refreshed. False when the window cannot show.
    bool present(const CommandIoTarget& target, ExchangeWorker* worker);
    // The Diagnose window has closed: the window hides and forgets the worker.
    void detach();

    [[nodiscard]] const CommandIoData& state() const { return data_; }
    [[nodiscard]] QTableView* list() const { return list_; }
    [[nodiscard]] ItemValueModel* rows() const { return model_; }
    [[nodiscard]] QPushButton* editButton() const { return edit_; }
    [[nodiscard]] QPushButton* refreshButton() const { return refresh_; }

public Q_SLOTS:
    void refresh();
    void edit();
    // Opens the in-place text box over the row's value, when the row can be edited.
    void editRow(int row);

Q_SIGNALS:
    // A refresh has filled the list (or left it empty when nothing arrived).
    void refreshed();
    // A write has ended with this result.
    void written(korvan::ResultCode code);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void showRows();

    Prompt& prompt_;
    CodeTableLibraries libraries_;
    std::optional<BindOutcome> bound_;
    CommandIoData data_;
    QTableView* list_ = nullptr;
    ItemValueModel* model_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* refresh_ = nullptr;
    PendingExchange* exchange_ = nullptr;
};

} // namespace korvan::gui
