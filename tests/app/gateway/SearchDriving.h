#pragma once

// Driving the gateway search window that the transfer dialog and the memory display open for
// the TCP models, against vela-sim on loopback.
#include "gateway/CDlgupdown.h"
#include "network/CSearch.h"
#include "network/GatewaySearch.h"
#include "support/SimulatorRun.h"

#include <QApplication>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <functional>

namespace korvan::test {

// The search asks the simulator alone, by "broadcast" to loopback from loopback.
inline SearchSettings loopbackSearch(SimulatorRun& run) {
    SearchSettings settings;
    settings.port = run.simulator().searchPort();
    settings.broadcastAddress = "127.0.0.1";
    settings.localAddresses = [] { return std::vector<std::string>{"127.0.0.1"}; };
    return settings;
}

// Presses OK in the transfer dialog the main window opened.
inline void pressOk(QWidget* opened) {
    auto* dialog = qobject_cast<gui::CDlgupdown*>(opened);
    QVERIFY(dialog != nullptr);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
}

// The first gateway the search lists is clicked, then "Sign In" (after checking what `check`
// wants of the row).
inline void signInAtFirstGateway(QWidget* opened, const std::function<void(const QTableView*)>& check = {}) {
    auto* search = qobject_cast<gui::CSearch*>(opened);
    QVERIFY(search != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(search->list()->model()->rowCount() > 0, 5000);
    if (check)
        check(search->list());
    QTest::mouseClick(search->list()->viewport(), Qt::LeftButton, {},
                      search->list()->visualRect(search->list()->model()->index(0, 1)).center());
    QVERIFY(search->signInButton()->isEnabled());
    QTest::mouseClick(search->signInButton(), Qt::LeftButton);
}

// The search the transfer dialog opens: signed in at the first gateway; the transfer dialog
// that opens next gets `next` (OK pressed, unless told otherwise).
inline void signInThenPressOk(QWidget* opened, const std::function<void(const QTableView*)>& check = {},
                              std::function<void(QWidget*)> next = pressOk) {
    signInAtFirstGateway(opened, check);
    // The transfer dialog opens once the search's own loop has ended.
    QTimer::singleShot(0, qApp, [next] {
        QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<gui::CDlgupdown*>(QApplication::activeModalWidget()) != nullptr,
                                 5000);
        if (qEnvironmentVariableIsSet("KORVAN_SHOTS"))
            QApplication::activeModalWidget()->grab().save(QStringLiteral("/tmp/mwt-download.png"));
        next(QApplication::activeModalWidget());
    });
}

} // namespace korvan::test
