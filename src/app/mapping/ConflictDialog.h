#pragma once

#include <QDialog>

namespace korvan {
class CProductTarn;
}

namespace korvan::gui {

// "Conflict Detection": the checked project tree and the two byte grids of the send-data
// and receive-data memories, coloured by the core's ConflictDetection, with the legend.
class ConflictDialog : public QDialog {
    Q_OBJECT
public:
    explicit ConflictDialog(CProductTarn& product, QWidget* parent = nullptr);
    ~ConflictDialog() override;
};

} // namespace korvan::gui
