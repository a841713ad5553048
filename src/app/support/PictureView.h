#pragma once

#include <QIcon>
#include <QString>
#include <QWidget>

class QPainter;

namespace korvan::gui {

// Draws a picture (an SVG or bitmap resource) stretched over `target`; a picture that is
// missing or unreadable draws nothing, so the area stays empty.
void drawPicture(QPainter& painter, const QRectF& target, const QString& path);

// A widget showing one picture stretched over its whole area: the banner of the selection
// dialogs and the wizard's pages.
class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(const QString& path, QWidget* parent = nullptr);

    void setPicture(const QString& path);
    [[nodiscard]] const QString& picture() const { return path_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString path_;
};

} // namespace korvan::gui

namespace korvan::gui {

// The icon of a picture resource; an empty icon while the picture is missing.
[[nodiscard]] QIcon pictureIcon(const QString& path);

} // namespace korvan::gui
