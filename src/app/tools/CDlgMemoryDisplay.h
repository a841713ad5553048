#pragma once

#include "gateway/CDlgupdown.h"
#include "tools/ConverterWindow.h"
#include "tools/MemoryGrid.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QGroupBox;
class QLabel;
class QPushButton;
class QTableView;
class QTimer;

namespace korvan::gui {

class ExchangeWorker;
class MemoryGridModel;
class Session;

// The "Memory Display" window: the gateway's input data (0-2999) and output data
// (3000-4999) as hexadecimal bytes, read every 300 ms one area after the other: the rows on
// screen, 64 bytes (four rows) to a read from the top row down, so that every row the
// engineer looks at is live. It has "Stop"/"Go on" per area, "Save" and "Load" of ".data" files, editing of
// output bytes in place and "Send" of the four output rows on screen. Every exchange runs on
// the window's ExchangeWorker; a tick that finds it busy starts nothing. The core shows the
// messages; a failure it marks as closing closes the window.
class CDlgMemoryDisplay : public ConverterWindow {
    Q_OBJECT
public:
    static constexpr int TickMs = 300;

    explicit CDlgMemoryDisplay(Session& session, QWidget* parent = nullptr);
    ~CDlgMemoryDisplay() override;

    // The opening steps: the serial port or the gateway is chosen and the link made; the
    // window shows once its link is ready (a serial port open). False when it closes at once:
    // a choice was cancelled (the session's flags then say so).
    [[nodiscard]] bool start(const CDlgupdown::Choosers& choosers = CDlgupdown::defaultChoosers());

    // The link the window talks over, made from the application state; replaceable.
    void setLinkFactory(CDlgupdown::LinkFactory factory) { linkFactory_ = std::move(factory); }
    // The file dialogs: the path chosen, or nothing when cancelled. Replaceable so that a
    // test gives the path without a dialog.
    using FileChooser = std::function<std::optional<QString>(QWidget* parent, bool save)>;
    void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }
    [[nodiscard]] static std::optional<QString> chooseDataFile(QWidget* parent, bool save);

    // Deletes the window once its worker has finished the exchange in flight.
    void deleteWhenIdle();

    [[nodiscard]] QTableView* inputView() const { return input_.view; }
    [[nodiscard]] QTableView* outputView() const { return output_.view; }
    [[nodiscard]] MemoryGridModel* inputModel() const { return input_.model; }
    [[nodiscard]] MemoryGridModel* outputModel() const { return output_.model; }
    [[nodiscard]] QPushButton* inputSaveButton() const { return inputSave_; }
    [[nodiscard]] QPushButton* inputStopButton() const { return input_.stop; }
    [[nodiscard]] QPushButton* outputSaveButton() const { return outputSave_; }
    [[nodiscard]] QPushButton* outputLoadButton() const { return outputLoad_; }
    [[nodiscard]] QPushButton* sendButton() const { return send_; }
    [[nodiscard]] QPushButton* outputStopButton() const { return output_.stop; }
    [[nodiscard]] QTimer* timer() const { return timer_; }
    [[nodiscard]] ExchangeWorker* worker() const { return worker_; }
    // The top row on screen of a grid, which a read or a Send follows.
    [[nodiscard]] static std::size_t topVisibleRow(const QTableView* view);
    // How many rows are on screen, the last perhaps in part.
    [[nodiscard]] static std::size_t visibleRows(const QTableView* view);

Q_SIGNALS:
    // The window has closed (by its close box or a failure): the main window offers the
    // other tools again.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Area {
        MemoryGridModel* model = nullptr;
        QTableView* view = nullptr;
        QPushButton* stop = nullptr;
        bool reading = true;
    };
    struct PendingSend {
        std::uint16_t address = 0;
        Bytes bytes;
    };

    void build();
    QGroupBox* buildArea(const QString& title, Area& area, MemoryArea memory, bool output);
    void beginReading();
    void tick();
    bool read(Area& area);
    void runPendingSend();
    void send();
    void toggle(Area& area);
    void save(const Area& area);
    void load();
    void shutDown();

    Session& session_;
    ExchangeWorker* worker_ = nullptr;
    CDlgupdown::LinkFactory linkFactory_;
    FileChooser chooseFile_;
    Area input_;
    Area output_;
    QPushButton* inputSave_ = nullptr;
    QPushButton* outputSave_ = nullptr;
    QPushButton* outputLoad_ = nullptr;
    QPushButton* send_ = nullptr;
    QTimer* timer_ = nullptr;
    bool outputTurn_ = false;
    std::optional<PendingSend> pendingSend_;
    bool shutDown_ = false;
};

} // namespace korvan::gui
