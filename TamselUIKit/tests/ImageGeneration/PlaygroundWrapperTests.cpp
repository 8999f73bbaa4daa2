#include <TamselUIKit/PlaygroundWrapperViewController.h>
#include <gtest/gtest.h>

namespace TamselUIKit {
namespace {

using namespace Qt::StringLiterals;

const QUrl imageURL = QUrl::fromLocalFile(u"/tmp/created.png"_s);

TEST(PlaygroundWrapperTest, ACreatedImageDismissesBeforeTheCallbackRuns) {
    PlaygroundWrapperViewController wrapper;
    wrapper.show();
    std::vector<std::pair<QUrl, bool>> calls;
    wrapper.setDidCreateImage([&](const QUrl& url) { calls.emplace_back(url, wrapper.isVisible()); });

    wrapper.coordinator()->imagePlaygroundViewControllerDidCreateImageAt(imageURL);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].first, imageURL);
    EXPECT_FALSE(calls[0].second);

    wrapper.show();
    wrapper.createAt(imageURL);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_FALSE(calls[1].second);
}

TEST(PlaygroundWrapperTest, CancelAndAMissingCallbackOnlyDismiss) {
    PlaygroundWrapperViewController wrapper;
    wrapper.show();
    wrapper.coordinator()->imagePlaygroundViewControllerDidCreateImageAt(imageURL);
    EXPECT_FALSE(wrapper.isVisible());

    int callbacks = 0;
    wrapper.setDidCreateImage([&](const QUrl&) { ++callbacks; });
    wrapper.show();
    wrapper.coordinator()->imagePlaygroundViewControllerDidCancel();
    EXPECT_FALSE(wrapper.isVisible());
    EXPECT_EQ(callbacks, 0);

    wrapper.dismiss(); // not presented: ignored
    EXPECT_FALSE(wrapper.isVisible());
}

TEST(PlaygroundWrapperTest, DelegateCallsAfterTheWrapperIsGoneDoNothing) {
    int callbacks = 0;
    auto wrapper = std::make_unique<PlaygroundWrapperViewController>();
    wrapper->setDidCreateImage([&](const QUrl&) { ++callbacks; });
    const auto coordinator = wrapper->coordinator();
    wrapper.reset();
    coordinator->imagePlaygroundViewControllerDidCreateImageAt(imageURL);
    coordinator->imagePlaygroundViewControllerDidCancel();
    EXPECT_EQ(callbacks, 0);
}

} // namespace
} // namespace TamselUIKit
