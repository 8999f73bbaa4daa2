#include "Observation/AnimationContext.h"
#include "Observation/ObservationTracking.h"

#include <QCoreApplication>
#include <QString>
#include <gtest/gtest.h>
#include <optional>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace Marrowbell {
namespace {

class Model : public QObject {
    ObservationRegistrar registrar_;

public:
    Observed<int> count{registrar_, 1};
    Observed<QString> title{registrar_};
    Observed<int> unrelated{registrar_};

    int doubledCount() const { return count.get() * 2; }
};

struct Call {
    int oldValue;
    int newValue;
    AnimationContext animation;
};

/// Runs the jobs the observations have queued.
void deliverPending() {
    QCoreApplication::sendPostedEvents();
}

class ObservationTrackingTest : public ::testing::Test {
protected:
    std::shared_ptr<ObservationTrackingToken> observeCount() {
        return ObservationTracking::observe(&model, &Model::count, [this](int oldValue, int newValue) {
            calls.push_back({oldValue, newValue, AnimationContext::current()});
        });
    }

    Model model;
    std::vector<Call> calls;
};

TEST(ObservationRegistrarTest, WillChangeRunsInsideTheWriteBeforeTheStore) {
    Model model;
    std::optional<int> seenDuringChange;
    withObservationTracking([&] { return model.count.get(); }, [&] { seenDuringChange = model.count.get(); });
    model.count.set(2);
    EXPECT_EQ(seenDuringChange, 1);
    EXPECT_EQ(model.count.get(), 2);
}

TEST(ObservationRegistrarTest, ATrackingFiresOnceForTheFirstWriteOfAnyFieldItRead) {
    Model model;
    int changes = 0;
    withObservationTracking(
        [&] {
            (void)model.count.get();
            (void)model.title.get();
        },
        [&] { ++changes; });
    model.unrelated.set(5);
    EXPECT_EQ(changes, 0);
    model.title.set(u"a"_s);
    model.count.set(3);
    model.title.set(u"b"_s);
    EXPECT_EQ(changes, 1);
}

TEST(ObservationRegistrarTest, NestedScopesReportInnerReadsToTheEnclosingScope) {
    Model model;
    int outerChanges = 0;
    int innerChanges = 0;
    withObservationTracking(
        [&] {
            (void)model.title.get();
            withObservationTracking([&] { (void)model.count.get(); }, [&] { ++innerChanges; });
        },
        [&] { ++outerChanges; });
    model.title.set(u"only the outer read this"_s);
    EXPECT_EQ(outerChanges, 1);
    EXPECT_EQ(innerChanges, 0);
    model.count.set(2);
    EXPECT_EQ(innerChanges, 1);
    EXPECT_EQ(outerChanges, 1);
}

TEST(ObservationRegistrarTest, AnEmptyScopeNeverFiresAndAGoneRegistrarIsHarmless) {
    int changes = 0;
    withObservationTracking([] {}, [&] { ++changes; });
    {
        Model shortLived;
        withObservationTracking([&] { (void)shortLived.count.get(); }, [&] { ++changes; });
    }
    Model model;
    model.count.set(2);
    EXPECT_EQ(changes, 0);
}

TEST_F(ObservationTrackingTest, AChangeIsDeliveredOnALaterTurnWithOldAndNewValue) {
    const auto token = observeCount();
    model.count.set(2);
    EXPECT_TRUE(calls.empty());
    deliverPending();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].oldValue, 1);
    EXPECT_EQ(calls[0].newValue, 2);
}

TEST_F(ObservationTrackingTest, WritesBeforeDeliveryAreFoldedAndLaterWritesStillReported) {
    const auto token = observeCount();
    model.count.set(2);
    model.count.set(3);
    deliverPending();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].oldValue, 1);
    EXPECT_EQ(calls[0].newValue, 3);
    model.count.set(4);
    deliverPending();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].oldValue, 3);
    EXPECT_EQ(calls[1].newValue, 4);
}

TEST_F(ObservationTrackingTest, AnEqualWriteStillCalls) {
    const auto token = observeCount();
    model.count.set(1);
    deliverPending();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].oldValue, 1);
    EXPECT_EQ(calls[0].newValue, 1);
}

TEST_F(ObservationTrackingTest, AReleasedTokenEndsTheObservation) {
    auto token = observeCount();
    token.reset();
    model.count.set(2);
    deliverPending();
    model.count.set(3);
    deliverPending();
    EXPECT_TRUE(calls.empty());

    token = observeCount();
    model.count.set(4);
    token.reset(); // between the change and its delivery
    deliverPending();
    EXPECT_TRUE(calls.empty());
}

TEST_F(ObservationTrackingTest, AnAnimatedChangeIsReplayedInAGroupOfTheSameDuration) {
    const auto token = observeCount();
    AnimationContext::runGroup({0.3, true}, [&] { model.count.set(2); });
    deliverPending();
    AnimationContext::runGroup({0.3, false}, [&] { model.count.set(3); });
    deliverPending();
    AnimationContext::runGroup({0.0, true}, [&] { model.count.set(4); });
    deliverPending();
    model.count.set(5);
    deliverPending();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_DOUBLE_EQ(calls[0].animation.duration, 0.3);
    EXPECT_TRUE(calls[0].animation.allowsImplicitAnimation);
    for (std::size_t index = 1; index < calls.size(); ++index) {
        EXPECT_FALSE(calls[index].animation.animates()) << index;
    }
    EXPECT_FALSE(AnimationContext::current().animates());
}

TEST_F(ObservationTrackingTest, AComputedKeyPathFollowsTheFieldsItReads) {
    std::vector<std::pair<int, int>> doubled;
    const auto token =
        ObservationTracking::observe(&model, &Model::doubledCount, [&](int oldValue, int newValue) {
            doubled.emplace_back(oldValue, newValue);
        });
    model.title.set(u"not read"_s);
    model.count.set(5);
    deliverPending();
    EXPECT_EQ(doubled, (std::vector<std::pair<int, int>>{{2, 10}}));
}

TEST(ObservationTrackingLifetimeTest, ADestroyedModelEndsTheObservation) {
    int calls = 0;
    auto model = std::make_unique<Model>();
    const auto token = ObservationTracking::observe(model.get(), &Model::count, [&](int, int) { ++calls; });
    model->count.set(2);
    model.reset();
    deliverPending();
    EXPECT_EQ(calls, 0);
}

} // namespace
} // namespace Marrowbell

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
