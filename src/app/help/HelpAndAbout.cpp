#include "help/HelpAndAbout.h"

#include "app/StartSequence.h"
#include "help/AboutBox.h"

#include <QDesktopServices>
#include <QUrl>

namespace korvan::gui {

QUrl helpContentUrl() {
    return QUrl::fromLocalFile(QString::fromStdString(programFile("Korvan.html")));
}

void openHelpContent() {
    // The desktop's handler reports a missing page itself; when there is no handler at all
    // nothing happens.
    QDesktopServices::openUrl(helpContentUrl());
}

void showAboutBox(QWidget* parent) {
    AboutBox box(QString::fromStdString(programFile("TrevikCompany.png")), parent);
    box.exec();
}

} // namespace korvan::gui
