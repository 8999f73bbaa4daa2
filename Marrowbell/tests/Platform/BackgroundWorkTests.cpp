#include "Platform/BackgroundWork.h"
#include "Platform/GuiDelivery.h"

#include <MarrowbellCore/Store/SQLError.h>
#include <QTest>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace Marrowbell {
namespace {

using namespace std::chrono_literals;

TEST(BackgroundWorkTests, ResultsAndTypedFailuresReachTheGuiThread) {
    BackgroundWork work;
    QObject receiver;
    std::optional<int> value;
    std::string failure;
    whenFinished(work.run([](std::stop_token) { return 42; }), &receiver, [&](QFuture<int> done) {
        EXPECT_EQ(QThread::currentThread(), receiver.thread());
        value = done.result();
    });
    whenFinished(work.run([](std::stop_token) -> int { throw MarrowbellCore::SQLError("disk I/O error"); }),
                 &receiver, [&](QFuture<int> done) {
                     try {
                         done.result();
                     } catch (const MarrowbellCore::SQLError& error) {
                         failure = error.message;
                     }
                 });
    EXPECT_TRUE(QTest::qWaitFor([&] { return value && !failure.empty(); }, 5000));
    EXPECT_EQ(value, 42);
    EXPECT_EQ(failure, "disk I/O error");
}

TEST(BackgroundWorkTests, AResultForAReceiverThatIsGoneIsDropped) {
    BackgroundWork work;
    auto receiver = std::make_unique<QObject>();
    std::atomic<bool> release = false;
    bool delivered = false;
    auto future = work.run([&](std::stop_token) {
        while (!release) {
            std::this_thread::sleep_for(1ms);
        }
        return 1;
    });
    whenFinished(future, receiver.get(), [&](QFuture<int>) { delivered = true; });
    receiver.reset();
    release = true;
    future.waitForFinished();
    QTest::qWait(50);
    EXPECT_FALSE(delivered);
}

TEST(BackgroundWorkTests, TheCallersStopAndTheShutdownBothCancel) {
    BackgroundWork work;
    std::stop_source caller;
    auto untilStopped = [](std::stop_token token) {
        for (int i = 0; i < 5000 && !token.stop_requested(); ++i) {
            std::this_thread::sleep_for(1ms);
        }
        Foundation::checkCancellation(token);
    };
    auto stoppedByCaller = work.run(untilStopped, caller.get_token());
    auto stoppedByShutdown = work.run(untilStopped);
    caller.request_stop();
    EXPECT_THROW(stoppedByCaller.waitForFinished(), Foundation::CancellationError);

    EXPECT_TRUE(work.shutdown(5s));
    EXPECT_THROW(stoppedByShutdown.waitForFinished(), Foundation::CancellationError);
    EXPECT_THROW(work.run([](std::stop_token) {}).waitForFinished(), Foundation::CancellationError);
}

} // namespace
} // namespace Marrowbell
