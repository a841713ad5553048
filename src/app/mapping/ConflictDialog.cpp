#include "mapping/ConflictDialog.h"

namespace korvan::gui {

// A placeholder until the dialog is built.
ConflictDialog::ConflictDialog(CProductTarn&, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Conflict Detection"));
}

ConflictDialog::~ConflictDialog() = default;

} // namespace korvan::gui
