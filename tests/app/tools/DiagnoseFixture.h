#pragma once

#include "../gateway/TransferFixture.h"
#include "app/TransferRun.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaNode.h"
#include "tools/CDlgCommandIOData.h"
#include "tools/CDlgDiagnose.h"
#include "tools/ItemValueModel.h"

#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <QTreeView>
#include <initializer_list>
#include <memory>

Q_DECLARE_METATYPE(korvan::GatewayModel)

namespace korvan::test {

// The private frames the simulator received that start with `letter`.
inline std::size_t framesWithLetter(SimulatorRun& run, std::uint8_t letter) {
    std::size_t count = 0;
    for (const sim::LoggedFrame& frame : run.simulator().frames())
        if (!frame.bytes.empty() && frame.bytes[0] == letter)
            ++count;
    return count;
}

// The rows of a test run over both links: TCP, and the serial line on a pseudo-terminal.
inline void bothLinks() {
    QTest::addColumn<GatewayModel>("model");
    QTest::newRow("tcp") << GatewayModel::Vela3hTcp;
    QTest::newRow("pty") << GatewayModel::Vela3hRtu;
}

// The HART commands of the one device on Channel1 that the window tests download.
inline void fillDiagnoseProject(CProductTarn& product, std::initializer_list<unsigned> commands) {
    COrlaNode* node = product.channel(0)->addNode();
    for (const unsigned command : commands)
        node->addHartCommand(product.registries(), command);
    product.channel(0)->renumberChannelCommands();
}

// Diagnose and its command I/O data window over a session whose gateway is the simulator.
// With commands, they are downloaded first and uploaded into the session, as the Diagnose
// command's upload does, so that every command has the key the gateway knows it by.
struct DiagnoseFixture : TransferSession {
    DiagnoseFixture(GatewayModel model, SimulatorRun& run, std::initializer_list<unsigned> commands = {})
        : TransferSession(model, run) {
        const bool serial = model == GatewayModel::Vela3hRtu;
        session.state.linkKind = serial ? LinkKind::Serial : LinkKind::Ethernet;
        session.state.serialPortName = run.ptyPath();
        session.state.gatewayIp = "127.0.0.1";
        if (commands.size() > 0) {
            CProductTarn product;
            product.build(model);
            fillDiagnoseProject(product, commands);
            ScriptedPrompt quiet;
            auto link = coreLink(model, run);
            EXPECT_EQ(runDownload(product, *link, quiet).end, TransferEnd::Done);
            auto upload = coreLink(model, run);
            EXPECT_EQ(runUpload(session.product, session.state, *upload, quiet).end, TransferEnd::Done);
        } else {
            fillDiagnoseProject(session.product, {1});
        }
        io = std::make_unique<gui::CDlgCommandIOData>(prompt);
        EXPECT_TRUE(io->initialise(KORVAN_BIN_DIR));
        window = std::make_unique<gui::CDlgDiagnose>(session, io.get());
    }

    // Opens the window; false when it did not open in time.
    bool open() {
        QSignalSpy opened(window.get(), &gui::CDlgDiagnose::opened);
        window->start();
        return !opened.isEmpty() || opened.wait(5000);
    }

    // Selects a tree item as a click would and waits for its reading.
    bool select(const QString& label) {
        QSignalSpy shown(window.get(), &gui::CDlgDiagnose::readingShown);
        const QModelIndex index = window->indexOf(label);
        if (!index.isValid())
            return false;
        window->tree()->setCurrentIndex(index);
        return shown.wait(8000);
    }

    [[nodiscard]] std::vector<std::string> shownRows() const {
        std::vector<std::string> rows;
        for (const auto& row : window->rows()->rows())
            rows.push_back(row.item + "=" + row.value);
        return rows;
    }

    std::unique_ptr<gui::CDlgCommandIOData> io;
    std::unique_ptr<gui::CDlgDiagnose> window;
};

// With KORVAN_SHOT_DIR set, the window's picture is saved there under the name, to be looked at.
inline void shoot(QWidget& window, const QString& name) {
    const QString folder = qEnvironmentVariable("KORVAN_SHOT_DIR");
    if (!folder.isEmpty())
        window.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

} // namespace korvan::test
