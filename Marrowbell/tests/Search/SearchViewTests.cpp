#include "LibraryLists/SongLists.h"
#include "MainWindow/OverlayPlacement.h"
#include "MainWindow/PodController.h"
#include "MainWindow/PodPagingView.h"
#include "Player/PlayerBar.h"
#include "Player/PlayerButton.h"
#include "Player/PlayerHoodie.h"
#include "Player/PlayerView.h"
#include "Search/SearchPicker.h"
#include "SearchFixture.h"

#include <MarrowbellCore/Store/LocalDatabase.h>
#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QToolBar>
#include <QToolButton>

namespace Marrowbell::Testing {
namespace {

using Sections = std::vector<MarrowbellCore::SearchSection>;

class SearchViewTest : public SearchTest {
protected:
    /// What the panel should show for `text` on the library side: the store's sections, then the two
    /// recommendation sections.
    Sections expectedLibrarySections(const QString& text) {
        auto stored =
            environment->store().run([text = text.toStdString()](MarrowbellCore::LocalDatabase& database) {
                return database.search(text);
            });
        EXPECT_TRUE(finishes(stored));
        Sections sections = stored.result();
        for (auto more : {models->madeForYou->searchSection(text), models->stations->searchSection(text)}) {
            sections.insert(sections.end(), more.begin(), more.end());
        }
        return sections;
    }

    int selectedRow() const {
        const auto selected = list().selectionModel()->selectedIndexes();
        return selected.isEmpty() ? -1 : selected.front().row();
    }

    /// What a screen reader reads of `object`.
    static QString reads(QObject* object, QAccessible::Text text = QAccessible::Name) {
        return QAccessible::queryAccessibleInterface(object)->text(text);
    }
    /// What a screen reader reads of the result list's row `row`: its name and description.
    QString readsRow(int row) const {
        QAccessibleInterface* cell =
            QAccessible::queryAccessibleInterface(&list())->tableInterface()->cellAt(row, 0);
        return cell->text(QAccessible::Name) + QStringLiteral(", ") + cell->text(QAccessible::Description);
    }
};

TEST_F(SearchViewTest, TypingShowsTheSixSectionsInOrderAndThePanelGrowsWithThem) {
    content->showSearch();
    ASSERT_TRUE(panelShown());
    EXPECT_TRUE(field().hasFocus());
    EXPECT_EQ(content->searchPanel()->geometry().height(),
              OverlayPlacement::searchFieldHeight + 2 * OverlayPlacement::inset);

    // Every keystroke starts a search of its own; only the last one's answer counts.
    const auto before = view().searchesStarted();
    QTest::keyClicks(&field(), QStringLiteral("xe"));
    QTest::keyClick(&field(), Qt::Key_Home);
    QTest::keyClick(&field(), Qt::Key_Delete);
    EXPECT_EQ(view().searchesStarted(), before + 3);
    const Sections expected = expectedLibrarySections(QStringLiteral("e"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return same(view().sections(), expected); }, 15000));
    EXPECT_EQ(names(view().sections()), (std::vector<std::string>{"Playlists", "Albums", "Artists", "Songs",
                                                                  "Made for You", "Stations for You"}));
    // Read as a screen reader reads them: the field, the list after its source, each result with its kind.
    EXPECT_EQ(reads(&field()), QStringLiteral("Search"));
    EXPECT_EQ(reads(&list()), QStringLiteral("Library"));
    const std::vector<std::pair<std::string, QString>> kinds{{"Playlists", QStringLiteral("Playlist")},
                                                             {"Albums", QStringLiteral("Album")},
                                                             {"Artists", QStringLiteral("Artist")},
                                                             {"Songs", QStringLiteral("Song")},
                                                             {"Made for You", QStringLiteral("Made for You")},
                                                             {"Stations for You", QStringLiteral("Station")}};
    for (const auto& [section, kind] : kinds) {
        const int row = firstRowOf(section);
        EXPECT_EQ(readsRow(row),
                  list().model()->index(row, 0).data().toString() + QStringLiteral(", ") + kind);
    }
    // Ten results a kind ask for more than the list may have: 44 + 380.
    EXPECT_EQ(view().wantedHeight(), 424);
    EXPECT_EQ(content->searchPanel()->geometry(), OverlayPlacement::searchPanel(content->size(), 424));
    // The scroll bar's handle is what stands out from its track, and it stands at the top with the list.
    const QScrollBar& scrollBar = *list().verticalScrollBar();
    ASSERT_TRUE(QTest::qWaitFor([&] { return scrollBar.isVisible(); }, 2000));
    EXPECT_EQ(scrollBar.value(), 0);
    const QImage drawn = content->searchPanel()->grab().toImage();
    const QRect track(scrollBar.mapTo(content->searchPanel(), QPoint(0, 0)), scrollBar.size());
    const auto lightness = [&](int tenths) {
        return drawn.pixelColor(track.center().x(), track.top() + track.height() * tenths / 10).lightness();
    };
    EXPECT_LT(lightness(1), lightness(9));

    ASSERT_TRUE(searchFor(QStringLiteral("   ")));
    EXPECT_TRUE(view().sections().empty());
    EXPECT_EQ(content->searchPanel()->geometry().height(),
              OverlayPlacement::searchFieldHeight + 2 * OverlayPlacement::inset);
}

TEST_F(SearchViewTest, ArrowKeysMoveBetweenFieldAndResultsNeverOntoAHeader) {
    content->showSearch();
    QTest::keyClick(&field(), Qt::Key_Down);
    EXPECT_TRUE(list().hasFocus()) << "Down with no results still moves into the list";
    EXPECT_EQ(selectedRow(), -1);
    QTest::keyClick(&list(), Qt::Key_Return);
    EXPECT_TRUE(panelShown()) << "Return with nothing selected does nothing";
    QTest::keyClick(&list(), Qt::Key_Up);
    EXPECT_TRUE(field().hasFocus());

    ASSERT_TRUE(searchFor(QStringLiteral("an")));
    const auto& first = view().sections()[0];
    QTest::keyClick(&field(), Qt::Key_Down);
    EXPECT_EQ(selectedRow(), 1);
    // From the first section's last result Down skips the next header.
    for (std::size_t step = 1; step < first.results.size(); ++step) {
        QTest::keyClick(&list(), Qt::Key_Down);
    }
    EXPECT_EQ(selectedRow(), static_cast<int>(first.results.size()));
    QTest::keyClick(&list(), Qt::Key_Down);
    EXPECT_EQ(selectedRow(), static_cast<int>(first.results.size()) + 2);
    QTest::keyClick(&list(), Qt::Key_Up);
    EXPECT_EQ(selectedRow(), static_cast<int>(first.results.size()));
    EXPECT_TRUE(list().hasFocus());
    for (std::size_t step = 1; step < first.results.size(); ++step) {
        QTest::keyClick(&list(), Qt::Key_Up);
    }
    EXPECT_EQ(selectedRow(), 1);
    QTest::keyClick(&list(), Qt::Key_Up);
    EXPECT_TRUE(field().hasFocus());

    // Showing again keeps the text and results but clears the selection and refocuses the field.
    QTest::keyClick(&field(), Qt::Key_Down);
    content->showSearch();
    QTest::qWait(50);
    EXPECT_EQ(field().text(), QStringLiteral("an"));
    EXPECT_EQ(selectedRow(), -1);
    EXPECT_TRUE(field().hasFocus());

    QTest::keyClick(&field(), Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !panelShown(); }, 1000));
    EXPECT_FALSE(models->search->showsSearch.get());
}

TEST_F(SearchViewTest, CtrlDigitsChooseTheSourceAndTheSameSourceAgainStartsNoSearch) {
    content->showSearch();
    EXPECT_EQ(view().picker()->catalogButton()->text(), environment->service().displayName());
    ASSERT_TRUE(searchFor(QStringLiteral("Café")));
    ASSERT_FALSE(view().sections().empty());

    const auto before = view().searchesStarted();
    QSignalSpy answered(&view(), &SearchView::heightRequested);
    QTest::keyClick(&field(), Qt::Key_2, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view().searchesStarted() == before + 1; }, 2000));
    EXPECT_EQ(models->search->selection.get(), SearchPickerSelection::catalog);
    EXPECT_EQ(view().picker()->selection(), SearchPickerSelection::catalog);
    // The chosen source is marked for a screen reader, which names the list after it.
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(view().picker()->catalogButton())->state().checked);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(view().picker()->libraryButton())->state().checked);
    EXPECT_EQ(reads(&list()), environment->service().displayName());
    EXPECT_TRUE(view().sections().empty()) << "the library's results go at once";
    ASSERT_TRUE(answered.wait(15000));
    ASSERT_FALSE(view().sections().empty());
    for (const auto& section : view().sections()) {
        for (const auto& result : section.results) {
            EXPECT_TRUE(result.resultCase() >= MarrowbellCore::SearchResult::Case::catalogPlaylist &&
                        result.resultCase() <= MarrowbellCore::SearchResult::Case::catalogSong);
        }
    }

    QTest::keyClick(&field(), Qt::Key_2, Qt::ControlModifier);
    view().picker()->catalogButton()->click();
    QTest::qWait(100);
    EXPECT_EQ(view().searchesStarted(), before + 1);

    QTest::keyClick(&field(), Qt::Key_1, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return view().searchesStarted() == before + 2; }, 2000));
    EXPECT_EQ(models->search->selection.get(), SearchPickerSelection::library);
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(view().picker()->libraryButton())->state().checked);

    // A screen reader's toggle chooses as a click does.
    QAccessible::queryAccessibleInterface(view().picker()->catalogButton())
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(models->search->selection.get(), SearchPickerSelection::catalog);
}

TEST_F(SearchViewTest, TheCatalogCommandSwitchesSourceAndTheToolbarButtonKeepsIt) {
    auto* toolbar = content->searchButton()->parentWidget();
    EXPECT_EQ(reads(qobject_cast<QToolBar*>(toolbar)->widgetForAction(content->backAction())),
              QStringLiteral("Back"));
    EXPECT_EQ(reads(content->sortButton()), QStringLiteral("Sort and filter"));
    EXPECT_EQ(reads(content->searchButton()), QStringLiteral("Search"));
    content->showSearch(SearchPickerSelection::catalog);
    EXPECT_EQ(models->search->selection.get(), SearchPickerSelection::catalog);
    content->closeSearch();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panelShown(); }, 1000));
    content->searchButton()->click();
    EXPECT_TRUE(panelShown());
    EXPECT_EQ(models->search->selection.get(), SearchPickerSelection::catalog);
}

TEST_F(SearchViewTest, FocusMovingElsewhereClosesThePanelEveryTime) {
    auto views = content->pod().view()->findChildren<QAbstractItemView*>();
    const auto visible =
        std::find_if(views.begin(), views.end(), [](auto* view) { return view->isVisible(); });
    ASSERT_NE(visible, views.end());
    QAbstractItemView* podList = *visible;
    for (int round = 0; round < 3; ++round) {
        content->showSearch();
        ASSERT_TRUE(field().hasFocus());
        QTest::mouseClick(podList->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !panelShown(); }, 1000)) << "round " << round;
        EXPECT_FALSE(models->search->showsSearch.get());
    }
}

TEST_F(SearchViewTest, APressOutsideOrLeavingTheWindowClosesThePanelAndAPressInsideOrOnThePlayerDoesNot) {
    content->showSearch();
    QTest::mouseClick(content->searchPanel(), Qt::LeftButton, {},
                      QPoint(OverlayPlacement::inset + 30, OverlayPlacement::inset + 4));
    QTest::mouseClick(&field(), Qt::LeftButton);
    QTest::qWait(50);
    ASSERT_TRUE(panelShown()) << "its own card and field keep it";

    // Neither the toolbar nor its buttons take the focus, yet a press on them closes the panel.
    auto* toolbar = content->findChild<QToolBar*>();
    ASSERT_NE(toolbar, nullptr);
    for (QWidget* pressed :
         {static_cast<QWidget*>(content->titleLabel()), toolbar->widgetForAction(content->backAction())}) {
        content->showSearch();
        ASSERT_TRUE(panelShown());
        QTest::mouseClick(pressed, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !panelShown(); }, 1000))
            << pressed->metaObject()->className();
        EXPECT_FALSE(models->search->showsSearch.get());
    }

    // The player bar never takes the keyboard, so a press on it leaves the panel where it was.
    content->showSearch();
    PlayerView& player = *content->playerBar()->view();
    for (QWidget* pressed :
         {static_cast<QWidget*>(player.hoodie()), static_cast<QWidget*>(player.repeatButton())}) {
        QTest::mouseClick(pressed, Qt::LeftButton);
    }
    QTest::qWait(50);
    EXPECT_TRUE(panelShown());
    EXPECT_TRUE(field().hasFocus());

    QWidget elsewhere;
    elsewhere.resize(200, 100);
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !panelShown(); }, 1000)) << "another window became active";
}

TEST_F(SearchViewTest, AHeightReportedWhileClosedIsIgnoredAndThePanelShowsAgainAtItsLastHeight) {
    content->showSearch();
    ASSERT_TRUE(searchFor(QStringLiteral("an")));
    const int shownHeight = content->searchPanel()->geometry().height();
    ASSERT_GT(shownHeight, OverlayPlacement::searchFieldHeight + 2 * OverlayPlacement::inset);
    content->closeSearch();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panelShown(); }, 1000));
    ASSERT_TRUE(searchFor(QStringLiteral("no such name anywhere")));
    content->showSearch();
    EXPECT_EQ(content->searchPanel()->geometry().height(), shownHeight);

    ASSERT_TRUE(searchFor(QStringLiteral("no such name either")));
    EXPECT_EQ(content->searchPanel()->geometry().height(),
              OverlayPlacement::searchFieldHeight + 2 * OverlayPlacement::inset)
        << "a height reported while shown places it";
}

TEST_F(SearchViewTest, EscapeHandsTheFocusBackToTheListThatHadItWithoutMovingThePane) {
    MainViewModel& model = *models->main;
    model.selectContainerKind(containerKindID(ContainerKind::songs));
    const auto& panes = content->pod().view()->panes();
    SongList* songs = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            songs = panes.size() > 1 ? dynamic_cast<SongList*>(panes[1]) : nullptr;
            return songs && songs->model()->rowCount() > 4 &&
                   !songs->visualRect(songs->model()->index(3, 0)).isEmpty();
        },
        15000));
    QTest::mouseClick(songs->viewport(), Qt::LeftButton, {},
                      songs->visualRect(songs->model()->index(3, 0)).center());
    ASSERT_EQ(model.activePane.get(), 1);

    content->showSearch();
    ASSERT_TRUE(field().hasFocus());
    QTest::keyClick(&field(), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panelShown(); }, 1000));
    EXPECT_EQ(QApplication::focusWidget(), songs);
    EXPECT_EQ(model.activePane.get(), 1);
    EXPECT_TRUE(content->backAction()->isEnabled());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(model.selectedTopLevelSongID.get(), songs->items()[4].id());
    EXPECT_EQ(model.selectedContainerKindID.get(), containerKindID(ContainerKind::songs));
}

TEST_F(SearchViewTest, AReopenedPanelSelectsItsTextSoTypingReplacesIt) {
    content->showSearch();
    QTest::keyClicks(&field(), QStringLiteral("midnight"));
    QTest::keyClick(&field(), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panelShown(); }, 1000));

    content->showSearch();
    ASSERT_TRUE(field().hasFocus());
    EXPECT_EQ(field().selectedText(), QStringLiteral("midnight")) << "the panel keeps its text";
    QTest::keyClicks(&field(), QStringLiteral("love"));
    EXPECT_EQ(field().text(), QStringLiteral("love"));
}

TEST(SearchPanelPlacement, FollowsTheWindowAndKeepsTheFieldInAShortOne) {
    EXPECT_EQ(OverlayPlacement::searchPanel({400, 600}, 44), QRect(12, 60, 376, 60));
    EXPECT_EQ(OverlayPlacement::searchPanel({520, 600}, 44).width(), 376);
    EXPECT_EQ(OverlayPlacement::searchPanel({600, 600}, 44).width(), 456);
    EXPECT_EQ(OverlayPlacement::searchPanel({1200, 600}, 44).width(), 616);
    EXPECT_EQ(OverlayPlacement::searchPanel({600, 500}, 424).height(), 388);
    EXPECT_EQ(OverlayPlacement::searchPanel({600, 80}, 424).height(), 60) << "never below the field row";
}

TEST_F(SearchViewTest, WhileASyncDimsThePodAClosedPanelLeavesNoTraceOnScreen) {
    for (std::size_t request = 1; request <= 4; ++request) {
        service->injectFault(service->requestedTargets().size() + request,
                             DemoService::DemoFault::delayed(std::chrono::milliseconds(1000)));
    }
    auto sync = models->main->performFullSync();
    ASSERT_TRUE(QTest::qWaitFor([&] { return models->main->showSyncingToast.get(); }, 5000));
    content->showSearch();
    ASSERT_TRUE(searchFor(QStringLiteral("mid")));
    const QRect panel = content->searchPanel()->geometry();
    QTest::keyClick(&field(), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panelShown(); }, 1000));
    // What the window shows where the panel was, against the window drawn afresh; a row that changed
    // meanwhile (its artwork arrived, say) may take an event-loop turn to be painted on screen.
    const auto showsWhatIsDrawn = [&] {
        const QImage shown = content->screen()->grabWindow(content->winId()).toImage();
        const QImage drawn = content->grab().toImage();
        return shown.copy(panel).convertToFormat(QImage::Format_RGB32) ==
               drawn.copy(panel).convertToFormat(QImage::Format_RGB32);
    };
    EXPECT_TRUE(QTest::qWaitFor(showsWhatIsDrawn, 1000));
    EXPECT_TRUE(models->main->showSyncingToast.get()) << "compared while the sync still ran";
    EXPECT_TRUE(finishes(sync, 60000));
}

} // namespace
} // namespace Marrowbell::Testing
