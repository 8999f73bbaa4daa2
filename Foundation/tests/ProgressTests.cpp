#include <Foundation/Progress.h>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

using Foundation::Progress;

TEST(ProgressTests, FractionIsCompletedOverTotalAndZeroWithoutTotal) {
    const auto progress = Progress::make();
    progress->setCompletedUnitCount(5);
    EXPECT_EQ(progress->fractionCompleted(), 0.0);
    progress->setTotalUnitCount(20);
    EXPECT_DOUBLE_EQ(progress->fractionCompleted(), 0.25);
    progress->setCompletedUnitCount(30);
    EXPECT_DOUBLE_EQ(progress->fractionCompleted(), 1.5);
}

TEST(ProgressTests, WeightedChildrenAddTheirShareAndHandOverPendingUnitsWhenDone) {
    const auto overall = Progress::make(100);
    std::vector<std::shared_ptr<Progress>> steps;
    for (const std::int64_t weight : {10, 15, 15, 60}) {
        steps.push_back(Progress::make(100));
        overall->addChild(steps.back(), weight);
    }
    steps[0]->setCompletedUnitCount(50);
    EXPECT_DOUBLE_EQ(overall->fractionCompleted(), 0.05);
    EXPECT_EQ(overall->completedUnitCount(), 0);

    steps[0]->setCompletedUnitCount(100);
    EXPECT_EQ(overall->completedUnitCount(), 10);
    // A finished child is let go: going back or beyond changes nothing.
    steps[0]->setCompletedUnitCount(40);
    steps[1]->setCompletedUnitCount(120);
    EXPECT_EQ(overall->completedUnitCount(), 25);
    EXPECT_DOUBLE_EQ(overall->fractionCompleted(), 0.25);

    steps[3]->setCompletedUnitCount(50);
    EXPECT_DOUBLE_EQ(overall->fractionCompleted(), 0.55);
}

TEST(ProgressTests, GrandchildrenReachTheTopAndAMovedChildLeavesItsFormerParent) {
    const auto top = Progress::make(10);
    const auto middle = Progress::make(2);
    const auto leaf = Progress::make(4);
    top->addChild(middle, 10);
    middle->addChild(leaf, 2);
    leaf->setCompletedUnitCount(2);
    EXPECT_DOUBLE_EQ(top->fractionCompleted(), 0.5);

    const auto other = Progress::make(1);
    other->addChild(leaf, 1);
    EXPECT_EQ(top->fractionCompleted(), 0.0);
    EXPECT_DOUBLE_EQ(other->fractionCompleted(), 0.5);
}

TEST(ProgressTests, ObserversSeeEveryChangeUntilRemoved) {
    const auto parent = Progress::make(100);
    const auto child = Progress::make(100);
    parent->addChild(child, 50);
    std::vector<double> seen;
    const auto id =
        parent->addObserver([&](const Progress& progress) { seen.push_back(progress.fractionCompleted()); });
    child->setCompletedUnitCount(20);
    child->setCompletedUnitCount(100);
    parent->removeObserver(id);
    parent->setCompletedUnitCount(90);
    EXPECT_EQ(seen, (std::vector<double>{0.1, 0.5}));
}

TEST(ProgressTests, ConcurrentUpdatesOfSiblingsAddUp) {
    const auto parent = Progress::make(400);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        const auto child = Progress::make(1000);
        parent->addChild(child, 100);
        threads.emplace_back([child] {
            for (int i = 1; i <= 1000; ++i) {
                child->setCompletedUnitCount(i);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(parent->completedUnitCount(), 400);
    EXPECT_DOUBLE_EQ(parent->fractionCompleted(), 1.0);
}
