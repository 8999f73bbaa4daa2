#include "MainWindow/PodController.h"
#include "MainWindow/PodPagingView.h"
#include "MainWindowTestFixture.h"
#include "Platform/AppNotifications.h"

#include <QLabel>
#include <QSignalSpy>
#include <QWheelEvent>

namespace Marrowbell::Testing {
namespace {

class PodTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        model().selectedContainerKindID.set(QStringLiteral("playlists"));
        model().navigationPath.set(pathOf(ContainerKind::playlists, QStringLiteral("A")));
        pod = std::make_unique<PodController>(model(), environment->notifications(),
                                              [this](const NavigationItem& item) -> QWidget* {
                                                  ++panesMade;
                                                  auto* pane = new QLabel(item.id());
                                                  pane->setObjectName(item.id());
                                                  return pane;
                                              });
        view.reset(pod->view());
        view->resize(380, 300);
        view->show();
    }

    void TearDown() override {
        pod.reset();
        view.reset();
        MainWindowTest::TearDown();
    }

    QStringList paneNames() const {
        QStringList names;
        for (QWidget* pane : view->panes()) {
            names << pane->objectName();
        }
        return names;
    }

    void swipe(double pixels, Qt::ScrollPhase phase) {
        const QPointF centre(view->width() / 2.0, view->height() / 2.0);
        QWheelEvent event(centre, view->mapToGlobal(centre), QPoint(static_cast<int>(pixels), 0),
                          QPoint(static_cast<int>(pixels) * 2, 0), Qt::NoButton, Qt::NoModifier, phase,
                          false);
        QCoreApplication::sendEvent(view.get(), &event);
    }

    void press(Qt::Key key) { QTest::keyClick(view.get(), key); }

    std::unique_ptr<PodController> pod;
    std::unique_ptr<PodPagingView> view;
    int panesMade = 0;
};

TEST_F(PodTest, WidthDecidesHowManyPanesShowAndWhereTheyStand) {
    EXPECT_EQ(paneNames(),
              (QStringList{QStringLiteral("root"), QStringLiteral("playlists"), QStringLiteral("A")}));
    for (const auto& [width, count] : {std::pair{380, 1}, std::pair{700, 2}, std::pair{900, 3}}) {
        view->resize(width, 300);
        EXPECT_EQ(view->visiblePaneCount(), count) << width;
        int shown = 0;
        for (QWidget* pane : view->panes()) {
            shown += view->rect().intersects(pane->geometry()) ? 1 : 0;
        }
        EXPECT_EQ(shown, count) << width;
    }
    EXPECT_EQ(PodPagingView::paneWidth(400), 400);
    EXPECT_EQ(PodPagingView::paneWidth(800), 400);
    EXPECT_EQ(PodPagingView::paneWidth(801), 267);
    EXPECT_EQ(PodPagingView::paneWidth(1000), 333.5);

    // Two panes of a three-level kind follow the active pane; the songs kind always starts at the root.
    view->resize(700, 300);
    model().activePane.set(2);
    settle();
    EXPECT_EQ(view->firstVisiblePane(), 1);
    EXPECT_EQ(view->panes()[1]->geometry().left(), 0);
    model().selectedContainerKindID.set(QStringLiteral("songs"));
    EXPECT_EQ(view->firstVisiblePane(), 0);
}

TEST_F(PodTest, PathChangesReplaceOnlyThePanesThatDiffer) {
    const std::vector<QWidget*> before = view->panes();
    model().navigationPath.set(pathOf(ContainerKind::playlists, QStringLiteral("B")));
    settle();
    ASSERT_EQ(paneNames(),
              (QStringList{QStringLiteral("root"), QStringLiteral("playlists"), QStringLiteral("B")}));
    EXPECT_EQ(view->panes()[0], before[0]);
    EXPECT_EQ(view->panes()[1], before[1]);

    model().selectedContainerKindID.set(QStringLiteral("albums"));
    model().navigationPath.set(pathOf(ContainerKind::albums));
    settle();
    EXPECT_EQ(paneNames(), (QStringList{QStringLiteral("root"), QStringLiteral("albums")}));
    EXPECT_EQ(view->panes()[0], before[0]) << "the root pane stays";
    EXPECT_EQ(panesMade, 5);
    EXPECT_EQ(pod->displayedNavigationPath(), model().navigationPath.get());
}

TEST_F(PodTest, KeysAndSwipesMoveOnePaneAndBeepAtEitherEnd) {
    QSignalSpy beeps(pod.get(), &PodController::boundaryReached);
    press(Qt::Key_Left);
    EXPECT_EQ(beeps.count(), 1);
    EXPECT_EQ(model().activePane.get(), 0);
    press(Qt::Key_Right);
    press(Qt::Key_Right);
    EXPECT_EQ(model().activePane.get(), 2);
    press(Qt::Key_Right);
    EXPECT_EQ(beeps.count(), 2);
    EXPECT_EQ(model().activePane.get(), 2);

    // Fingers moving right go to the previous pane; one swipe moves one pane however far it goes.
    swipe(10, Qt::ScrollBegin);
    EXPECT_EQ(model().activePane.get(), 2) << "10 of 380 pixels is below the threshold";
    swipe(30, Qt::ScrollUpdate);
    EXPECT_EQ(model().activePane.get(), 1);
    swipe(200, Qt::ScrollUpdate);
    EXPECT_EQ(model().activePane.get(), 1);
    swipe(0, Qt::ScrollEnd);
    swipe(-40, Qt::ScrollBegin);
    EXPECT_EQ(model().activePane.get(), 2);
    swipe(0, Qt::ScrollEnd);

    // The move slides the panes over 0.3 s and ends with the active pane in view.
    model().activePane.set(2);
    press(Qt::Key_Left);
    settle();
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->panes()[1]->geometry().left() == 0; }, 2000));
}

TEST_F(PodTest, MovesNeverGoPastThePanesThatExist) {
    QSignalSpy beeps(pod.get(), &PodController::boundaryReached);
    model().navigationPath.set(pathOf(ContainerKind::playlists));
    model().activePane.set(1);
    settle();
    press(Qt::Key_Right);
    EXPECT_EQ(model().activePane.get(), 1) << "a playlists pod with nothing selected has two panes";
    EXPECT_EQ(beeps.count(), 1);

    // Two quick row clicks in a one-pane pod move once each, never past the last pane.
    model().navigationPath.set(pathOf(ContainerKind::playlists, QStringLiteral("A")));
    settle();
    Q_EMIT environment->notifications().navigateRightOnSelection();
    Q_EMIT environment->notifications().navigateRightOnSelection();
    QTest::qWait(3 * PodController::moveAfterSelectionDelayMs);
    EXPECT_EQ(model().activePane.get(), 2);

    // The path shrinks before the delayed move runs: it is checked again and does not happen.
    model().activePane.set(1);
    Q_EMIT environment->notifications().navigateRightOnSelection();
    model().navigationPath.set(pathOf(ContainerKind::playlists));
    QTest::qWait(3 * PodController::moveAfterSelectionDelayMs);
    EXPECT_EQ(model().activePane.get(), 1);

    // A click in a wider pod does not move.
    view->resize(700, 300);
    model().navigationPath.set(pathOf(ContainerKind::playlists, QStringLiteral("A")));
    settle();
    Q_EMIT environment->notifications().navigateRightOnSelection();
    QTest::qWait(3 * PodController::moveAfterSelectionDelayMs);
    EXPECT_EQ(model().activePane.get(), 1);
}

TEST_F(PodTest, AnUnknownStoredKindReadsAsPlaylists) {
    model().selectedContainerKindID.set(QStringLiteral("favourites"));
    settle();
    EXPECT_EQ(pod->lastPaneIndex(), 2);
    press(Qt::Key_Right);
    EXPECT_EQ(model().activePane.get(), 1);
}

} // namespace
} // namespace Marrowbell::Testing
