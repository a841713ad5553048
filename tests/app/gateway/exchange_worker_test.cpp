// The live windows' worker against vela-sim on loopback: results reach the user-interface
// thread, a busy worker skips a tick, and a worker cancelled or destroyed mid-exchange drops
// what the exchange had to say and leaves no connection open.
#include "TransferFixture.h"
#include "gateway/ExchangeWorker.h"
#include "tools/DiagnoseExchange.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>

using namespace korvan;
using korvan::gui::ExchangeWorker;

namespace {

constexpr int exchangeLimitMs = 10000;

// A job reading channel 1's status, whose result records on which thread it ran.
ExchangeWorker::Job channelStatusJob(DiagnoseReading& reading, QThread*& resultThread) {
    return [&reading, &resultThread](GatewayLink& link, Prompt& prompt, const OperationContext& context) {
        DiagnoseReading read = readChannelStatus(link, 0, prompt, context);
        return [&reading, &resultThread, read] {
            reading = read;
            resultThread = QThread::currentThread();
        };
    };
}

} // namespace

class ExchangeWorkerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void resultRunsOnTheUserInterfaceThread();
    void aBusyWorkerSkipsTheTick();
    void cancelDropsTheMessageAndTheResult();
    void destroyingMidExchangeLeavesNothingOpen();
};

void ExchangeWorkerTest::resultRunsOnTheUserInterfaceThread() {
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hTcp));
    test::ScriptedPrompt prompt;
    ExchangeWorker worker(prompt);
    worker.setLink(test::coreLink(GatewayModel::Vela3hTcp, run));
    QSignalSpy idle(&worker, &ExchangeWorker::idle);
    DiagnoseReading reading;
    QThread* resultThread = nullptr;
    QVERIFY(worker.run(channelStatusJob(reading, resultThread)));
    QVERIFY(idle.wait(exchangeLimitMs));
    QVERIFY(reading.ok);
    QCOMPARE(reading.rows.size(), std::size_t{4});
    QCOMPARE(resultThread, QThread::currentThread());
    QVERIFY(!worker.busy());
    QVERIFY(prompt.shown.empty());
}

void ExchangeWorkerTest::aBusyWorkerSkipsTheTick() {
    sim::FaultPlan faults;
    faults.lateAt = 1;
    faults.lateMs = 400;
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hTcp, faults));
    test::ScriptedPrompt prompt;
    ExchangeWorker worker(prompt);
    worker.setLink(test::coreLink(GatewayModel::Vela3hTcp, run));
    QSignalSpy idle(&worker, &ExchangeWorker::idle);
    DiagnoseReading first;
    DiagnoseReading second;
    QThread* thread = nullptr;
    QVERIFY(worker.run(channelStatusJob(first, thread)));
    QVERIFY(!worker.run(channelStatusJob(second, thread)));
    QVERIFY(idle.wait(exchangeLimitMs));
    QVERIFY(first.ok);
    QVERIFY(!second.ok);
    QCOMPARE(run.simulator().frames().size(), std::size_t{1});
}

void ExchangeWorkerTest::cancelDropsTheMessageAndTheResult() {
    sim::FaultPlan faults;
    faults.silentFrom = 1;
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hTcp, faults));
    test::ScriptedPrompt prompt;
    ExchangeWorker worker(prompt);
    worker.setLink(test::coreLink(GatewayModel::Vela3hTcp, run));
    QSignalSpy idle(&worker, &ExchangeWorker::idle);
    DiagnoseReading reading;
    QThread* thread = nullptr;
    QVERIFY(worker.run(channelStatusJob(reading, thread)));
    QVERIFY(run.waitForFrames(1));
    worker.cancel();
    QVERIFY(idle.wait(exchangeLimitMs));
    QCOMPARE(thread, nullptr);
    QVERIFY(prompt.shown.empty());
}

void ExchangeWorkerTest::destroyingMidExchangeLeavesNothingOpen() {
    sim::FaultPlan faults;
    faults.silentFrom = 1;
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hTcp, faults));
    test::ScriptedPrompt prompt;
    DiagnoseReading reading;
    QThread* thread = nullptr;
    {
        ExchangeWorker worker(prompt);
        worker.setLink(test::coreLink(GatewayModel::Vela3hTcp, run));
        QVERIFY(worker.run(channelStatusJob(reading, thread)));
        QVERIFY(run.waitForFrames(1));
    }
    QCoreApplication::processEvents();
    QCOMPARE(thread, nullptr);
    QVERIFY(prompt.shown.empty());
    QVERIFY(run.waitForNoConnection());
}

QTEST_MAIN(ExchangeWorkerTest)
#include "exchange_worker_test.moc"
