#include "WindowFixture.h"
#include "app/StartSequence.h"
#include "model/CHartbus.h"
#include "projectfile/ProjectFile.h"
#include "shell/CommandLine.h"
#include "support/ProductDescription.h"
#include "support/SampleProjects.h"

#include <QTest>

using namespace korvan;
using namespace korvan::gui;

namespace {

using Strings = std::vector<std::string>;

std::string describeTemplate(GatewayModel model) {
    AppState state;
    CProductTarn product;
    test::ScriptedPrompt prompt;
    startProduct(state, product, model);
    const std::string path = std::string(KORVAN_BIN_DIR) + "/" + std::string(templateFileName(model));
    if (!loadModelTemplate(product, state, prompt, path))
        qFatal("the template %s does not load", path.c_str());
    return test::describeProduct(product);
}

std::string describeDefaults(GatewayModel model) {
    AppState state;
    CProductTarn product;
    startProduct(state, product, model);
    return test::describeProduct(product);
}

} // namespace

class StartTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theCommandLineTakesAProjectAndTheGatewayOptions() {
        const ProgramArguments none = parseProgramArguments({});
        QVERIFY(none.error.empty());
        QVERIFY(!none.projectFile);
        QVERIFY(!none.gateway.model);

        const ProgramArguments full =
            parseProgramArguments({"--model", "VELA-3H-TCP", "--gateway", "127.0.0.1:1502", "--mgmt-port",
                                   "18802", "/p/plant.xml"});
        QCOMPARE(full.error, std::string());
        QCOMPARE(full.gateway.model, std::optional(GatewayModel::Vela3hTcp));
        QCOMPARE(full.gateway.gateway->host, std::string("127.0.0.1"));
        QCOMPARE(full.gateway.gateway->port, std::uint16_t(1502));
        QCOMPARE(full.gateway.managementPort, std::uint16_t(18802));
        QCOMPARE(full.projectFile, std::optional<std::string>("/p/plant.xml"));
        QVERIFY(!full.searchPort); // the search asks on the management port

        const ProgramArguments search =
            parseProgramArguments({"--search-port", "18901", "--mgmt-port", "18802"});
        QCOMPARE(search.error, std::string());
        QCOMPARE(search.searchPort, std::optional<std::uint16_t>(18901));
        QCOMPARE(search.gateway.managementPort, std::uint16_t(18802));

        const ProgramArguments serial =
            parseProgramArguments({"--serial", "/dev/pts/4", "--model", "vela-3h-rtu"});
        QCOMPARE(serial.error, std::string());
        QCOMPARE(serial.gateway.serialDevice, std::optional<std::string>("/dev/pts/4"));

        QVERIFY(parseProgramArguments({"--help"}).help);
        QVERIFY(parseProgramArguments({"--version"}).version);
        QVERIFY(!parseProgramArguments({"--help"}).version);
    }

    void badCommandLinesAreNamed_data() {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QString>("reason");
        QTest::newRow("unknown model") << QStringList{"--model", "vela-2"}
                                       << "unknown model 'vela-2' (vela-1h-tcp, vela-3h-tcp or vela-3h-rtu)";
        QTest::newRow("missing value") << QStringList{"--gateway"} << "--gateway needs a value";
        QTest::newRow("bad port") << QStringList{"--mgmt-port", "0"} << "'0' is not a port number (1-65535)";
        QTest::newRow("bad search port")
            << QStringList{"--search-port", "65536"} << "'65536' is not a port number (1-65535)";
        QTest::newRow("search port missing") << QStringList{"--search-port"} << "--search-port needs a value";
        QTest::newRow("unknown option") << QStringList{"--fast"} << "unknown option '--fast'";
        QTest::newRow("two projects")
            << QStringList{"a.xml", "b.xml"} << "unexpected argument 'b.xml': one project file at most";
        QTest::newRow("serial gateway on TCP")
            << QStringList{"--model", "vela-1h-tcp", "--serial", "/dev/ttyS0"}
            << "Vela-1H-TCP is reached over Ethernet, not --serial";
        QTest::newRow("TCP gateway on the serial model")
            << QStringList{"--model", "vela-3h-rtu", "--gateway", "127.0.0.1"}
            << "Vela-3H-RTU is reached over a serial line, not --gateway";
    }
    void badCommandLinesAreNamed() {
        QFETCH(QStringList, words);
        QFETCH(QString, reason);
        std::vector<std::string> list;
        for (const QString& word : words)
            list.push_back(word.toStdString());
        QCOMPARE(QString::fromStdString(parseProgramArguments(list).error), reason);
    }

    void theGatewayOptionsPresetWhatTheDialogsWouldSet() {
        test::SessionFixture fixture(GatewayModel::Vela3hTcp);
        const ProgramArguments arguments =
            parseProgramArguments({"--gateway", "127.0.0.1:1502", "--mgmt-port", "18802"});
        fixture.session.presetGateway(arguments.gateway);
        QCOMPARE(fixture.session.state.gatewayIp, std::string("127.0.0.1"));
        QVERIFY(fixture.session.state.directAddress); // asked directly, never searched by broadcast
        QCOMPARE(fixture.session.link.host, std::string("127.0.0.1"));
        QCOMPARE(fixture.session.link.configurationPort, std::uint16_t(1502));
        QCOMPARE(fixture.session.link.managementPort, std::uint16_t(18802));

        test::SessionFixture serial(GatewayModel::Vela3hRtu);
        serial.session.presetGateway(parseProgramArguments({"--serial", "/dev/pts/7"}).gateway);
        QCOMPARE(serial.session.state.serialPortName, std::string("/dev/pts/7"));
        QVERIFY(serial.session.state.gatewayIp.empty());
        QVERIFY(!serial.session.state.directAddress);
    }

    void theFirstProjectIsFilledFromTheModelsTemplate() {
        QVERIFY(describeTemplate(GatewayModel::Vela3hTcp) != describeDefaults(GatewayModel::Vela3hTcp));
        for (GatewayModel model :
             {GatewayModel::Vela1hTcp, GatewayModel::Vela3hTcp, GatewayModel::Vela3hRtu}) {
            test::WindowFixture fixture(model);
            const AppState& state = fixture.core().state;
            QCOMPARE(test::describeProduct(fixture.core().product), describeTemplate(model));
            QVERIFY(!state.projectDirty);
            QVERIFY(!state.templatePending);
            QVERIFY(state.canSelectMode && state.canDownload && state.canUpload);
            QVERIFY(fixture.prompt().shown.empty());
            QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Gateway Configuration Software Korvan"));
            QVERIFY(fixture.core().document.currentPath().empty()); // a later Save asks for a name
        }
    }

    void aMissingTemplateLeavesTheDefaultsQuietly() {
        test::WindowFixture fixture(GatewayModel::Vela3hTcp, false);
        fixture.projects().setTemplatePath(fixture.folder.file("absent.ini"));
        QVERIFY(fixture.projects().startFirstProject(std::nullopt));
        QCOMPARE(test::describeProduct(fixture.core().product), describeDefaults(GatewayModel::Vela3hTcp));
        QVERIFY(fixture.prompt().shown.empty());
        QVERIFY(!fixture.core().state.templatePending);
    }

    void aProjectOnTheCommandLineIsOpenedInsteadOfTheTemplate() {
        test::WindowFixture fixture(GatewayModel::Vela3hTcp, false);
        AppState state;
        CProductTarn product;
        startProduct(state, product, GatewayModel::Vela3hTcp);
        test::fillSampleProject(product);
        const std::string path = fixture.folder.file("plant.xml");
        QVERIFY(saveToFile(product, path).ok);

        QVERIFY(fixture.projects().startFirstProject(path));
        QCOMPARE(test::describeProduct(fixture.core().product), test::describeProduct(product));
        QCOMPARE(fixture.window->windowTitle(), QString::fromStdString(path));
        QVERIFY(!fixture.core().state.templatePending);
        QVERIFY(fixture.core().state.canSelectMode);
        QCOMPARE(fixture.projects().recentFiles().entries(), std::vector{path});

        // The opened project is not the program's first new one: New asks about changes and
        // then empties the product.
        fixture.core().state.projectDirty = true;
        fixture.prompt().answerNext(Answer::No);
        QVERIFY(fixture.projects().newProject());
        QCOMPARE(fixture.prompt().asked, std::vector{QuestionId::SaveChanges});
        QCOMPARE(test::describeProduct(fixture.core().product), describeDefaults(GatewayModel::Vela3hTcp));
    }

    void aProjectOnTheCommandLineThatCannotBeOpenedEndsTheStart() {
        test::WindowFixture fixture(GatewayModel::Vela1hTcp, false);
        QVERIFY(!fixture.projects().startFirstProject(fixture.folder.file("missing.xml")));
        QCOMPARE(fixture.prompt().shown, Strings{"File not exisit"});
    }
};

QTEST_MAIN(StartTest)
#include "start_test.moc"
