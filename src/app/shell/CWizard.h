#pragma once

#include "model/GatewayModel.h"

#include <QDialog>
#include <string>

class QCheckBox;
class QPushButton;

namespace korvan::gui {

class PictureView;

// The first-run wizard: seven pictures that walk through the program, paged with "< Back" and
// "Next >"; on the last page the check box "Pop up the wizard next time." may be cleared so
// that the wizard no longer shows at start. Vela-3H-RTU has its own pictures, the two TCP
// models share theirs.
class CWizard : public QDialog {
    Q_OBJECT
public:
    static constexpr int PageCount = 7;

    explicit CWizard(GatewayModel model, QWidget* parent = nullptr);

    [[nodiscard]] int page() const { return page_; }
    // The remembered choice of the check box: show the wizard at the next start.
    [[nodiscard]] bool showAgain() const { return showAgain_; }
    [[nodiscard]] QString pagePicture() const;

    [[nodiscard]] QPushButton* backButton() const { return back_; }
    [[nodiscard]] QPushButton* nextButton() const { return next_; }
    [[nodiscard]] QPushButton* closeButton() const { return close_; }
    [[nodiscard]] QCheckBox* showAgainBox() const { return showAgainBox_; }

private:
    void goTo(int page);

    QString picturePrefix_;
    int page_ = 0;
    bool showAgain_ = true;
    PictureView* picture_;
    QPushButton* back_;
    QPushButton* next_;
    QPushButton* close_;
    QCheckBox* showAgainBox_;
};

// Start-up's wizard check against the flag file (`configPath`, "config.ini" beside the
// program): when the wizard is due it is shown modally over `parent` without blocking the
// caller, and closed with the check box cleared it writes the flag so that it stays away.
// A flag file that cannot be written only means the wizard shows again. Answers the wizard
// shown, or nothing when it is not due.
CWizard* showWizardIfDue(GatewayModel model, QWidget* parent, const std::string& configPath);

} // namespace korvan::gui
