#include "Platform/QtMainThreadExecutor.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace Marrowbell {
namespace {

using namespace std::chrono_literals;

TEST(QtMainThreadExecutorTests, TasksFromOtherThreadsRunInOrderOnTheGuiThread) {
    QtMainThreadExecutor executor;
    std::vector<int> order;
    bool onGuiThread = true;
    std::thread poster([&] {
        for (int i = 0; i < 3; ++i) {
            executor.post([&, i] {
                onGuiThread =
                    onGuiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
                order.push_back(i);
            });
        }
    });
    poster.join();
    EXPECT_TRUE(order.empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return order.size() == 3; }, 5000));
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(onGuiThread);
}

TEST(QtMainThreadExecutorTests, DelayedTasksWaitTheirTurn) {
    QtMainThreadExecutor executor;
    std::vector<int> order;
    executor.postAfter(60ms, [&] { order.push_back(2); });
    executor.post([&] { order.push_back(1); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return order.size() == 2; }, 5000));
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST(QtMainThreadExecutorTests, ARepeatingTimerTicksUntilCancelledFromAnotherThread) {
    QtMainThreadExecutor executor;
    int ticks = 0;
    auto timer = executor.scheduleRepeating(10ms, [&] { ++ticks; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 5000));
    std::thread([&] { timer->cancel(); }).join();
    const int ticksAtCancel = ticks;
    QTest::qWait(60);
    EXPECT_EQ(ticks, ticksAtCancel);
}

} // namespace
} // namespace Marrowbell
