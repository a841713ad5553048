#include "support/PictureView.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

namespace korvan::gui {

void drawPicture(QPainter& painter, const QRectF& target, const QString& path) {
    // Asked about a missing file, the loaders warn on standard error: look first.
    if (path.isEmpty() || !QFile::exists(path))
        return;
    if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        QSvgRenderer renderer(path);
        if (renderer.isValid()) {
            renderer.setAspectRatioMode(Qt::IgnoreAspectRatio);
            renderer.render(&painter, target);
        }
        return;
    }
    const QImage image(path);
    if (!image.isNull())
        painter.drawImage(target, image);
}

PictureView::PictureView(const QString& path, QWidget* parent) : QWidget(parent), path_(path) {}

void PictureView::setPicture(const QString& path) {
    path_ = path;
    update();
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    drawPicture(painter, rect(), path_);
}

} // namespace korvan::gui

namespace korvan::gui {

QIcon pictureIcon(const QString& path) {
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

} // namespace korvan::gui
