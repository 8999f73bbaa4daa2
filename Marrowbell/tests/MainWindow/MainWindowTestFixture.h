#pragma once

#include "AppTestEnvironment.h"
#include "MainWindow/AppModels.h"
#include "Model/MainViewModel.h"
#include "Platform/DefaultsKeys.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace Marrowbell::Testing {

/// The application's models over a real store and settings in a temporary folder, the demo service
/// in-process and a real player on a silent sink.
class MainWindowTest : public ::testing::Test {
protected:
    static constexpr std::size_t demoSongCount = 60;

    explicit MainWindowTest(std::size_t librarySongCount = demoSongCount)
        : librarySongCount_(librarySongCount) {}

    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        environment = makeAppEnvironment(folder, librarySongCount_);
        models = std::make_unique<AppModels>(*environment);
    }

    void TearDown() override {
        models.reset();
        environment->shutDown();
        environment.reset();
    }

    MainViewModel& model() { return *models->main; }

    /// Lets the deferred observation deliveries run.
    static void settle() {
        for (int turn = 0; turn < 3; ++turn) {
            QCoreApplication::processEvents();
        }
    }

    QTemporaryDir folder;
    std::unique_ptr<AppEnvironment> environment;
    std::unique_ptr<AppModels> models;

private:
    std::size_t librarySongCount_;
};

inline std::vector<NavigationItem> pathOf(ContainerKind kind) {
    return {NavigationItem::root(), NavigationItem::container(kind)};
}

inline std::vector<NavigationItem> pathOf(ContainerKind kind, const QString& id) {
    return {NavigationItem::root(), NavigationItem::container(kind), NavigationItem::songCollection(id, id)};
}

} // namespace Marrowbell::Testing
