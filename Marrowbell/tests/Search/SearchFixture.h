#pragma once

#include "AppTestEnvironment.h"
#include "Lists/ListEnvironment.h"
#include "MainWindow/AppModels.h"
#include "MainWindow/MainContentView.h"
#include "MainWindow/OverlayPanel.h"
#include "Search/SearchResultsModel.h"
#include "Search/SearchView.h"
#include "Search/SearchWindow.h"

#include <DemoService/DemoServiceTest.h>
#include <MusicKit/ServiceConfiguration.h>
#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace Marrowbell::Testing {

/// The main window's content on a real store filled by its first sync from the test's demo service, with
/// the recommendations loaded and the real player on a silent sink; shown, active, the search panel closed.
class SearchTest : public DemoService::Testing::DemoServiceTest<120, 3> {
protected:
    void SetUp() override {
        DemoServiceTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        environment = makeAppEnvironment(folder, 12);
        // The environment started a small demo service of its own; requests go to the test's.
        MusicKit::ServiceConfiguration::setCurrent(service->configuration());
        models = std::make_unique<AppModels>(*environment);
        content = std::make_unique<MainContentView>(
            *models, environment->service().displayName(),
            makeLibraryPaneFactory(*models, ListEnvironment::of(*environment)));
        content->resize(700, 600);
        QSignalSpy started(content.get(), &MainContentView::startUpFinished);
        content->show();
        ASSERT_TRUE(started.wait(60000));
        content->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(content.get(), 5000));
    }

    void TearDown() override {
        content.reset();
        models.reset();
        if (environment) {
            environment->shutDown();
        }
        environment.reset();
        DemoServiceTest::TearDown();
    }

    SearchView& view() const { return content->searchWindow().view(); }
    QLineEdit& field() const { return *view().searchField(); }
    QListView& list() const { return *view().resultList(); }
    bool panelShown() const { return content->searchPanel()->isVisible(); }

    /// Replaces the field's text at once (one search) and waits for that search's results.
    bool searchFor(const QString& text) {
        const auto before = view().searchesStarted();
        QSignalSpy answered(&view(), &SearchView::heightRequested);
        field().setText(text);
        return view().searchesStarted() == before + 1 && answered.wait(15000);
    }

    static std::vector<std::string> names(const std::vector<MarrowbellCore::SearchSection>& sections) {
        std::vector<std::string> result;
        for (const auto& section : sections) {
            result.push_back(section.name);
        }
        return result;
    }

    static bool same(const std::vector<MarrowbellCore::SearchSection>& lhs,
                     const std::vector<MarrowbellCore::SearchSection>& rhs) {
        return std::equal(lhs.begin(), lhs.end(), rhs.begin(), rhs.end(),
                          [](const auto& left, const auto& right) {
                              return left.name == right.name && left.results == right.results;
                          });
    }

    /// The list row of the first result of the section `name`, or -1.
    int firstRowOf(const std::string& name) const {
        int row = 0;
        for (const auto& section : view().sections()) {
            if (section.name == name) {
                return row + 1;
            }
            row += static_cast<int>(section.results.size()) + 1;
        }
        return -1;
    }

    /// Selects `row` in the list, gives the list the focus and presses Return.
    void activateRow(int row) {
        list().setFocus();
        list().setCurrentIndex(list().model()->index(row, 0));
        QTest::keyClick(&list(), Qt::Key_Return);
    }

    QTemporaryDir folder;
    std::unique_ptr<AppEnvironment> environment;
    std::unique_ptr<AppModels> models;
    std::unique_ptr<MainContentView> content;
};

} // namespace Marrowbell::Testing
