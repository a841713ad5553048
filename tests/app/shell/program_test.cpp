// End-to-end: the built korvan program started as a session manager or a script starts it,
// on the offscreen platform, with its settings in a folder of the test's own.
#include "app/AppState.h"
#include "app/StartSequence.h"
#include "model/CProductTarn.h"
#include "projectfile/ProjectFile.h"
#include "support/SampleProjects.h"
#include "support/TempDir.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <csignal>

using namespace korvan;

Q_DECLARE_METATYPE(korvan::GatewayModel)

namespace {

constexpr int readyLimitMs = 60000; // the sanitizer build starts slowly on a busy machine
constexpr int exitLimitMs = 30000;

class ProgramRun {
public:
    explicit ProgramRun(const QStringList& arguments) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("KORVAN_STARTUP_TIMING"), QStringLiteral("1"));
        // The settings store and Qt's run-time folder stay inside the test's folder.
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(folder_.file("config")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(folder_.path()));
        environment.insert(QStringLiteral("HOME"), QString::fromStdString(folder_.path()));
        process.setProcessEnvironment(environment);
        process.setReadChannel(QProcess::StandardError);
        process.start(QStringLiteral(KORVAN_BIN_DIR "/korvan"), arguments);
        started_.start();
    }
    ~ProgramRun() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(exitLimitMs);
        }
    }
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // Waits until the program reports its main window painted; false when it ended or took
    // longer than the limit.
    bool waitUntilShown() {
        while (!errors_.contains("korvan: main window shown")) {
            if (process.state() == QProcess::NotRunning || started_.elapsed() > readyLimitMs)
                return false;
            process.waitForReadyRead(200);
            errors_ += process.readAllStandardError();
        }
        shownAfterMs_ = started_.elapsed();
        return true;
    }
    bool waitForExit() {
        const bool ended = process.waitForFinished(exitLimitMs);
        errors_ += process.readAllStandardError();
        return ended;
    }
    void signal(int signalNumber) const { ::kill(static_cast<pid_t>(process.processId()), signalNumber); }

    [[nodiscard]] QString errors() const { return QString::fromUtf8(errors_); }
    [[nodiscard]] qint64 shownAfterMs() const { return shownAfterMs_; }

    QProcess process;

private:
    test::TempDir folder_;
    QElapsedTimer started_;
    QByteArray errors_;
    qint64 shownAfterMs_ = -1;
};

std::string writeProject(const test::TempDir& folder, GatewayModel model) {
    AppState state;
    CProductTarn product;
    startProduct(state, product, model);
    test::fillSampleProject(product);
    const std::string path = folder.file("plant.xml");
    if (!saveToFile(product, path).ok)
        qFatal("cannot write %s", path.c_str());
    return path;
}

// Lines of standard error other than the start-up time: anything there is a fault.
QStringList unexpectedLines(const QString& errors) {
    QStringList lines;
    for (const QString& line : errors.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (!line.startsWith(QLatin1String("korvan: main window shown")))
            lines << line;
    return lines;
}

} // namespace

class ProgramTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void comesUpAndClosesCleanlyOnATerminationRequest_data() {
        QTest::addColumn<GatewayModel>("model");
        QTest::addColumn<bool>("withProject");
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("Vela-3H-TCP with a project, SIGTERM") << GatewayModel::Vela3hTcp << true << SIGTERM;
        QTest::newRow("Vela-3H-RTU with a project, SIGINT") << GatewayModel::Vela3hRtu << true << SIGINT;
        QTest::newRow("Vela-1H-TCP with its template, SIGTERM")
            << GatewayModel::Vela1hTcp << false << SIGTERM;
    }
    void comesUpAndClosesCleanlyOnATerminationRequest() {
        QFETCH(GatewayModel, model);
        QFETCH(bool, withProject);
        QFETCH(int, signalNumber);
        test::TempDir folder;
        QStringList arguments{QStringLiteral("--model"), QString::fromUtf8(modelName(model).data())};
        if (withProject)
            arguments << QString::fromStdString(writeProject(folder, model));
        ProgramRun run(arguments);
        QVERIFY2(run.waitUntilShown(), qPrintable(run.errors()));
        qInfo("main window shown %lld ms after the program was started",
              static_cast<long long>(run.shownAfterMs()));
        QCOMPARE(run.process.state(), QProcess::Running);

        run.signal(signalNumber);
        QVERIFY(run.waitForExit());
        QCOMPARE(run.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.process.exitCode(), 0);
        QCOMPARE(unexpectedLines(run.errors()), QStringList());
    }

    void aProjectThatCannotBeOpenedEndsTheProgramWithTheMessage_data() {
        QTest::addColumn<GatewayModel>("projectModel");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << GatewayModel::None << "korvan: File not exisit";
        QTest::newRow("another protocol")
            << GatewayModel::Vela3hRtu
            << "korvan: The profile protocol is inconsistent with the software protocol!";
    }
    void aProjectThatCannotBeOpenedEndsTheProgramWithTheMessage() {
        QFETCH(GatewayModel, projectModel);
        QFETCH(QString, message);
        test::TempDir folder;
        const std::string project = projectModel == GatewayModel::None ? folder.file("missing.xml")
                                                                       : writeProject(folder, projectModel);
        ProgramRun run(
            {QStringLiteral("--model"), QStringLiteral("vela-1h-tcp"), QString::fromStdString(project)});
        QVERIFY(run.waitForExit());
        QCOMPARE(run.process.exitCode(), 65);
        QCOMPARE(unexpectedLines(run.errors()), QStringList{message});
    }

    void aBadCommandLineIsRefusedWithTheReason_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("reason");
        QTest::newRow("model") << QStringList{"--model", "vela-9"}
                               << "korvan: unknown model 'vela-9' (vela-1h-tcp, vela-3h-tcp or vela-3h-rtu)";
        QTest::newRow("port") << QStringList{"--model", "vela-3h-tcp", "--gateway", "127.0.0.1:99999"}
                              << "korvan: '99999' is not a port number (1-65535)";
        QTest::newRow("link") << QStringList{"--model", "vela-3h-rtu", "--gateway", "127.0.0.1"}
                              << "korvan: Vela-3H-RTU is reached over a serial line, not --gateway";
    }
    void aBadCommandLineIsRefusedWithTheReason() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, reason);
        ProgramRun run(arguments);
        QVERIFY(run.waitForExit());
        QCOMPARE(run.process.exitCode(), 64);
        const QStringList lines = run.errors().split(QLatin1Char('\n'));
        QCOMPARE(lines.front(), reason);
        QVERIFY(run.errors().contains(QLatin1String("usage: korvan")));
    }
};

QTEST_GUILESS_MAIN(ProgramTest)
#include "program_test.moc"
