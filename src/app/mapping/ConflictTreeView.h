#pragma once

#include <QPoint>
#include <QTreeView>

namespace korvan::gui {

// The project tree of the Conflict Detection dialog. It tells the three kinds of click
// apart: on an item's check box (the model's setData, through the delegate), on its label
// (labelClicked) and on empty space (emptySpaceClicked).
class ConflictTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit ConflictTreeView(QWidget* parent = nullptr);

    // Where the item's check box is drawn and hit, as the delegate lays it out.
    [[nodiscard]] QRect checkBoxRect(const QModelIndex& index) const;
    // Wide enough for every label of the expanded tree, and for a command's label at its
    // depth, so that labels are read whole.
    [[nodiscard]] int fittingWidth() const;

Q_SIGNALS:
    void labelClicked(const QModelIndex& index);
    void emptySpaceClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPoint releasePosition_;
};

} // namespace korvan::gui
