#pragma once

#include <QDialog>
#include <QImage>

class QPushButton;

namespace korvan::gui {

// The maker's picture, drawn blended over the dialog with its alpha channel; an empty area
// when the picture could not be loaded.
class PictureArea : public QWidget {
    Q_OBJECT
public:
    explicit PictureArea(const QString& path, QWidget* parent = nullptr);

    [[nodiscard]] bool hasPicture() const { return !picture_.isNull(); }
    [[nodiscard]] const QImage& picture() const { return picture_; }
    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

// Help / About: the program's name and version, the maker, and the maker's picture.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(const QString& picturePath, QWidget* parent = nullptr);

    [[nodiscard]] PictureArea* pictureArea() const { return picture_; }
    [[nodiscard]] QPushButton* okButton() const { return ok_; }

private:
    PictureArea* picture_;
    QPushButton* ok_;
};

} // namespace korvan::gui
