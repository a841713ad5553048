#include "tools/CDlgCommandIOData.h"

#include "gateway/ExchangeWorker.h"
#include "os/FileSystem.h"
#include "tools/CommandDataExchange.h"
#include "tools/ItemValueModel.h"
#include "tools/PendingExchange.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace korvan::gui {
namespace {

// The in-place text box: it gets the cell's text, all selected, and commits when it loses
// the focus or Enter is pressed.
class ValueEditor : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        editor->setObjectName(QStringLiteral("valueEditor"));
        editor->setAccessibleName(QStringLiteral("Value"));
        return editor;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        QStyledItemDelegate::setEditorData(editor, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->selectAll();
    }
};

} // namespace

CDlgCommandIOData::CDlgCommandIOData(Prompt& prompt, QWidget* parent)
    : QDialog(parent), prompt_(prompt), libraries_(prompt), data_(libraries_, prompt) {
    build();
}

CDlgCommandIOData::~CDlgCommandIOData() = default;

void CDlgCommandIOData::build() {
    setObjectName(QStringLiteral("CDlgCommandIOData"));
    setWindowTitle(QStringLiteral("Command IO data"));
    setAccessibleName(windowTitle());
    setModal(false);

    model_ = new ItemValueModel(this);
    model_->setEditing([this](int row) { return data_.canEditRow(row); },
                       [this](int row, const std::string& text) -> std::optional<std::string> {
                           if (!data_.commitRow(row, text))
                               return std::nullopt;
                           return data_.rows().at(static_cast<std::size_t>(row)).value;
                       });
    list_ = new QTableView(this);
    list_->setObjectName(QStringLiteral("list"));
    list_->setAccessibleName(QStringLiteral("Command IO data"));
    list_->setModel(model_);
    list_->setItemDelegate(new ValueEditor(list_));
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setShowGrid(true);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->setColumnWidth(0, ItemWidth);
    list_->setColumnWidth(1, ValueWidth);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->installEventFilter(this);
    connect(list_, &QTableView::clicked, this, [this](const QModelIndex& index) { editRow(index.row()); });

    edit_ = new QPushButton(QStringLiteral("Edit"), this);
    edit_->setObjectName(QStringLiteral("edit"));
    refresh_ = new QPushButton(QStringLiteral("Refresh"), this);
    refresh_->setObjectName(QStringLiteral("refresh"));
    for (QPushButton* button : {edit_, refresh_}) {
        button->setAccessibleName(button->text());
        // Enter ends an edit; it must not also press a button.
        button->setAutoDefault(false);
    }
    connect(edit_, &QPushButton::clicked, this, &CDlgCommandIOData::edit);
    connect(refresh_, &QPushButton::clicked, this, &CDlgCommandIOData::refresh);

    exchange_ = new PendingExchange(this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(edit_);
    buttons->addWidget(refresh_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    resize(ItemWidth + ValueWidth + 40, 480);
}

bool CDlgCommandIOData::initialise(const std::string& directory) {
    if (!bound_)
        bound_ = libraries_.bind(directory);
    return *bound_ != BindOutcome::LoadFailed;
}

bool CDlgCommandIOData::initialise() {
    return initialise(os::programDirectory());
}

bool CDlgCommandIOData::present(const CommandIoTarget& target, ExchangeWorker* worker) {
    if (!initialise())
        return false;
    exchange_->setWorker(worker);
    exchange_->drop();
    data_.select(target.command, target.channel, target.node, target.segments);
    edit_->setEnabled(data_.buttons().edit);
    refresh_->setEnabled(data_.buttons().refresh);
    model_->clear();
    show();
    raise();
    activateWindow();
    refresh();
    return true;
}

void CDlgCommandIOData::detach() {
    exchange_->drop();
    exchange_->setWorker(nullptr);
    hide();
}

void CDlgCommandIOData::refresh() {
    if (!data_.refreshNeedsReply()) {
        data_.refreshWithoutReply();
        showRows();
        Q_EMIT refreshed();
        return;
    }
    const std::uint8_t channel = data_.channel();
    const std::uint8_t node = data_.node();
    QPointer<CDlgCommandIOData> window(this);
    const bool started = exchange_->run(
        [window, channel, node](GatewayLink& link, Prompt& prompt, const OperationContext& context) {
            auto payload = readCommandData(link, channel, node, prompt, context);
            return ExchangeWorker::Result([window, payload = std::move(payload)] {
                if (window == nullptr)
                    return;
                if (payload)
                    window->data_.refreshFromPayload(*payload);
                else
                    window->data_.clearRows();
                window->showRows();
                Q_EMIT window->refreshed();
            });
        });
    if (!started) {
        data_.clearRows();
        showRows();
        Q_EMIT refreshed();
    }
}

void CDlgCommandIOData::edit() {
    if (!edit_->isEnabled())
        return;
    const auto write = data_.writeFrame();
    if (!write)
        return;
    QPointer<CDlgCommandIOData> window(this);
    (void)exchange_->run([window, write = *write](GatewayLink& link, Prompt& prompt,
                                                  const OperationContext& context) {
        const ResultCode code = sendCommandWrite(link, write.frame, write.expectedAnswer, prompt, context);
        return ExchangeWorker::Result([window, code] {
            if (window != nullptr)
                Q_EMIT window->written(code);
        });
    });
}

void CDlgCommandIOData::editRow(int row) {
    if (!data_.canEditRow(row))
        return;
    const QModelIndex value = model_->index(row, 1);
    list_->setCurrentIndex(value);
    list_->edit(value);
}

bool CDlgCommandIOData::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F2) {
        editRow(list_->currentIndex().row());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CDlgCommandIOData::showRows() {
    std::vector<ItemValueModel::Row> rows;
    for (const ResponseRow& row : data_.rows())
        rows.push_back({row.label, row.value});
    model_->setRows(std::move(rows));
}

} // namespace korvan::gui
