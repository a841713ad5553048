#include "app/AppState.h"
#include "app/TreeEnableFlags.h"
#include "shell/ActionController.h"

#include <QAction>
#include <QTest>
#include <array>
#include <memory>

using namespace korvan;
using namespace korvan::gui;

namespace {

// Fourteen bare actions, in the order of ControlledActions.
struct BareActions {
    BareActions() {
        QAction** places[] = {&set.addNode,    &set.deleteNode,    &set.copyNode,      &set.pasteNode,
                              &set.addCommand, &set.deleteCommand, &set.serialSetting, &set.ethernetConfig,
                              &set.upload,     &set.download,      &set.selectMode,    &set.showMemory,
                              &set.diagnose,   &set.serialDebug};
        for (std::size_t i = 0; i < owned.size(); ++i) {
            owned[i] = std::make_unique<QAction>();
            *places[i] = owned[i].get();
        }
    }
    // 1 for an enabled action, 0 for a disabled one, in the order of ControlledActions.
    [[nodiscard]] QString enabled() const {
        QString bits;
        for (const auto& action : owned)
            bits += action->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return bits;
    }
    std::array<std::unique_ptr<QAction>, 14> owned;
    ControlledActions set;
};

bool bit(const QString& bits, int index) {
    return bits.at(index) == QLatin1Char('1');
}

} // namespace

class ActionControllerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void appliesTheFlagsToEveryAction_data() {
        QTest::addColumn<int>("model");
        // canSelectMode, canDownload, canUpload, canShowMemory, canDiagnose, canSerialDebug
        QTest::addColumn<QString>("flags");
        // the six tree commands: Add Node, Delete Node, Copy Node, Paste Node, Add Command, Delete Command
        QTest::addColumn<QString>("tree");
        // the tree commands, Serial setting, Ethernet Config, Upload, Download, Select Mode,
        // Show Memory Data, Diagnose, Serial Debugging Assistant
        QTest::addColumn<QString>("enabled");
        QTest::newRow("RTU, before the first project") << 1 << "000000"
                                                       << "000000"
                                                       << "000000"
                                                          "10"
                                                          "000000";
        QTest::newRow("RTU, Config") << 1 << "111000"
                                     << "000000"
                                     << "000000"
                                        "10"
                                        "111000";
        QTest::newRow("RTU, Debug") << 1 << "100111"
                                    << "000000"
                                    << "000000"
                                       "10"
                                       "001111";
        QTest::newRow("3H-TCP, Debug: no serial debugging") << 2 << "100111"
                                                            << "000000"
                                                            << "000000"
                                                               "01"
                                                               "001110";
        QTest::newRow("1H-TCP, a node selected") << 3 << "111000"
                                                 << "011110"
                                                 << "011110"
                                                    "01"
                                                    "111000";
        QTest::newRow("a channel selected") << 3 << "111000"
                                            << "100100"
                                            << "100100"
                                               "01"
                                               "111000";
        QTest::newRow("a command selected") << 2 << "111000"
                                            << "000001"
                                            << "000001"
                                               "01"
                                               "111000";
        QTest::newRow("upload over Ethernet started") << 2 << "011000"
                                                      << "000000"
                                                      << "000000"
                                                         "01"
                                                         "110000";
    }
    void appliesTheFlagsToEveryAction() {
        QFETCH(int, model);
        QFETCH(QString, flags);
        QFETCH(QString, tree);
        QFETCH(QString, enabled);
        BareActions actions;
        AppState state;
        TreeEnableFlags treeFlags;
        ActionController controller(actions.set, state, treeFlags);
        state.model = static_cast<GatewayModel>(model);
        state.canSelectMode = bit(flags, 0);
        state.canDownload = bit(flags, 1);
        state.canUpload = bit(flags, 2);
        state.canShowMemory = bit(flags, 3);
        state.canDiagnose = bit(flags, 4);
        state.canSerialDebug = bit(flags, 5);
        treeFlags = {bit(tree, 0), bit(tree, 1), bit(tree, 2), bit(tree, 3), bit(tree, 4), bit(tree, 5)};
        controller.refresh();
        QCOMPARE(actions.enabled(), enabled);
    }

    void startsFromTheFlagsAndSkipsActionsThatAreNotThere() {
        QAction upload;
        QAction ethernet;
        ControlledActions only;
        only.upload = &upload;
        only.ethernetConfig = &ethernet;
        AppState state;
        state.model = GatewayModel::Vela3hRtu;
        TreeEnableFlags tree;
        ActionController controller(only, state, tree);
        QVERIFY(!upload.isEnabled()); // applied at construction
        QVERIFY(!ethernet.isEnabled());
        state.canUpload = true;
        controller.refresh();
        QVERIFY(upload.isEnabled());
    }
};

QTEST_MAIN(ActionControllerTest)
#include "action_controller_test.moc"
