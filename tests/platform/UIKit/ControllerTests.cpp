#include "Support.h"
#include "UIKit/UILabel.h"

using namespace uikit_support;

namespace {

// Writes its lifecycle calls to the journal, named by its title.
struct Screen : UIViewController {
    OBJC_CLASS(Screen, UIViewController)
    void note(const char* what, bool animated) {
        journal.push_back(title()->utf8() + " " + what + (animated ? " animated" : ""));
    }
    void viewDidLoad() { note("didLoad", false); }
    void viewWillAppear(bool a) {
        note("willAppear", a);
        if (willAppear) willAppear(this);
    }
    void viewDidAppear(bool a) { note("didAppear", a); }
    void viewWillDisappear(bool a) { note("willDisappear", a); }
    void viewDidDisappear(bool a) { note("didDisappear", a); }
    std::function<void(Screen*)> willAppear;
    inline static std::vector<std::string> journal;
};

std::vector<std::string>& journal = Screen::journal;
using Lines = std::vector<std::string>;

Ref<Screen> screen(const char* title) {
    Ref<Screen> s = make<Screen>(&Screen::init);
    s->setTitle(NSString::string(title));
    return s;
}

const ClassInfo& Screen::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<Screen>()
                                      .method<"viewDidLoad", &Screen::viewDidLoad>()
                                      .method<"viewWillAppear:", &Screen::viewWillAppear>()
                                      .method<"viewDidAppear:", &Screen::viewDidAppear>()
                                      .method<"viewWillDisappear:", &Screen::viewWillDisappear>()
                                      .method<"viewDidDisappear:", &Screen::viewDidDisappear>()
                                      .build();
    return info;
}

struct Controllers : ScreenTest {
    void SetUp() override {
        ScreenTest::SetUp();
        journal.clear();
    }
};

TEST_F(Controllers, PushAndPopRunTheLifecycleInThePlatformsOrder) {
    Ref<Screen> a = screen("A");
    Ref<UINavigationController> nav =
        UINavigationController::navigationControllerWithRootViewController(a);
    Ref<Screen> b = screen("B");
    EXPECT_FALSE(a->isViewLoaded());
    EXPECT_FALSE(nav->transitionCoordinator());
    send(nav, "pushViewController:animated:"_sel, static_cast<UIViewController*>(b), true);
    EXPECT_FALSE(nav->transitionCoordinator()) << "over once the push returns";
    EXPECT_EQ(nav->topViewController(), b.get());
    EXPECT_EQ(send<Ref<UINavigationController>>(b, "navigationController"_sel), nav);
    Ref<UIViewController> popped =
        send<Ref<UIViewController>>(nav, "popViewControllerAnimated:"_sel, false);
    EXPECT_EQ(popped, b);
    EXPECT_FALSE(b->navigationController());
    EXPECT_EQ(journal, (Lines{"B didLoad", "A willDisappear animated", "B willAppear animated",
                              "A didDisappear animated", "B didAppear animated", "A didLoad",
                              "B willDisappear", "A willAppear", "B didDisappear", "A didAppear"}));
    EXPECT_FALSE(nav->popViewControllerAnimated(true)); // the root stays
    nav->pushViewController(a, true);                   // already on the stack
    nav->pushViewController(nullptr, true);
    EXPECT_EQ(nav->viewControllers()->count(), 1u);
    EXPECT_EQ(send<Ref<UIView>>(a, "view"_sel)->frame(), CGRectMake(0, 0, 320, 480));
    // A navigation controller that appears loads its top view first.
    journal.clear();
    transitionAppearance(
        nullptr, UINavigationController::navigationControllerWithRootViewController(screen("C")),
        false);
    EXPECT_EQ(journal, (Lines{"C didLoad", "C willAppear", "C didAppear"}));
}

// Alongside animations run after the will calls, at once when added while
// a transition is under way, and complete last.
TEST_F(Controllers, InteractivePopsFinishOrAreCancelledAndAlongsideAnimationsCompleteLast) {
    Ref<UINavigationController> nav =
        UINavigationController::navigationControllerWithRootViewController(screen("A"));
    auto alongside = [](UIViewControllerTransitionCoordinator* coordinator) {
        return coordinator->animateAlongsideTransition(
            [](UIViewControllerTransitionCoordinator*) { journal.push_back("alongside"); },
            [](UIViewControllerTransitionCoordinator* context) {
                journal.push_back(context->isCancelled() ? "cancelled" : "completed");
            });
    };
    Ref<Screen> b = screen("B");
    b->willAppear = [&](Screen* s) { EXPECT_TRUE(alongside(s->transitionCoordinator())); };
    nav->pushViewController(b, true);
    b->willAppear = nullptr;
    EXPECT_EQ(journal,
              (Lines{"B didLoad", "A willDisappear animated", "B willAppear animated", "alongside",
                     "A didDisappear animated", "B didAppear animated", "completed"}));
    std::vector<bool> outcomes;
    Ref<UIViewControllerTransitionCoordinator> coordinator;
    auto begin = [&] {
        journal.clear();
        ASSERT_TRUE(nav->beginInteractivePop());
        coordinator = nav->transitionCoordinator();
        ASSERT_TRUE(coordinator);
        EXPECT_TRUE(coordinator->isInteractive());
        coordinator->notifyWhenInteractionEndsUsingBlock(
            [&](UIViewControllerTransitionCoordinator* context) {
                outcomes.push_back(context->isCancelled());
            });
        EXPECT_TRUE(alongside(coordinator));
    };
    begin();
    EXPECT_FALSE(nav->beginInteractivePop());
    ASSERT_TRUE(nav->cancelInteractivePop());
    EXPECT_FALSE(alongside(coordinator)) << "over";
    EXPECT_EQ(outcomes, std::vector<bool>{true});
    EXPECT_EQ(nav->viewControllers()->count(), 2u);
    EXPECT_EQ(journal, (Lines{"A didLoad", "B willDisappear animated", "A willAppear animated",
                              "alongside", "A willDisappear animated", "B willAppear animated",
                              "A didDisappear animated", "B didAppear animated", "cancelled"}));
    begin();
    ASSERT_TRUE(nav->finishInteractivePop());
    EXPECT_EQ(outcomes, (std::vector<bool>{true, false}));
    EXPECT_EQ(nav->topViewController()->title()->utf8(), "A");
    EXPECT_EQ(journal, (Lines{"B willDisappear animated", "A willAppear animated", "alongside",
                              "B didDisappear animated", "A didAppear animated", "completed"}));
    EXPECT_FALSE(nav->finishInteractivePop());
    EXPECT_FALSE(nav->cancelInteractivePop());
    EXPECT_FALSE(nav->beginInteractivePop()); // only the root is left
}

TEST_F(Controllers, PoppedControllersAndTheirViewsAreFreed) {
    long screens = liveObjects<Screen>();
    long tables = liveObjects<UITableView>();
    {
        Ref<UINavigationController> nav =
            UINavigationController::navigationControllerWithRootViewController(screen("A"));
        nav->pushViewController(UITableViewController::controllerWithStyle(UITableViewStyleGrouped),
                                true);
        static_cast<UITableViewController*>(nav->topViewController())
            ->tableView()
            ->layoutIfNeeded();
        nav->pushViewController(screen("C"), true);
        EXPECT_EQ(liveObjects<Screen>(), screens + 2);
        nav->popViewControllerAnimated(true);
        EXPECT_EQ(liveObjects<Screen>(), screens + 1);
        nav->beginInteractivePop();
        nav->transitionCoordinator()->notifyWhenInteractionEndsUsingBlock(
            [nav](UIViewControllerTransitionCoordinator*) {}); // holds the navigation controller
        nav->finishInteractivePop();
        EXPECT_EQ(liveObjects<UITableView>(), tables);
    }
    EXPECT_EQ(liveObjects<Screen>(), screens);
    EXPECT_EQ(liveObjects<UINavigationController>(), 0);
}

TEST_F(Controllers, PresentationsShowOneControllerAtATime) {
    Ref<Screen> a = screen("A");
    Ref<Screen> b = screen("B");
    int completions = 0;
    a->presentViewController(b, true, [&] { ++completions; });
    EXPECT_EQ(a->presentedViewController(), b.get());
    EXPECT_EQ(b->presentingViewController(), a.get());
    a->presentViewController(screen("C"), true, [&] { ++completions; }); // refused
    a->presentViewController(a, true, [&] { ++completions; });
    EXPECT_EQ(a->presentedViewController(), b.get());
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(screenText(a)->utf8(), "");
    b->dismissViewControllerAnimated(false, [&] { ++completions; });
    EXPECT_FALSE(a->presentedViewController());
    EXPECT_FALSE(b->presentingViewController());
    EXPECT_EQ(completions, 2);
    EXPECT_EQ(journal, (Lines{"B didLoad", "A willDisappear animated", "B willAppear animated",
                              "A didDisappear animated", "B didAppear animated", "A didLoad",
                              "B willDisappear", "A willAppear", "B didDisappear", "A didAppear"}));
}

TEST_F(Controllers, OpenURLGoesToTheHandler) {
    UIApplication* app = UIApplication::sharedApplication();
    Ref<NSURL> url = NSURL::URLWithString("https://example.com"_ns);
    EXPECT_TRUE(send<bool>(app, "openURL:"_sel, url.get()));
    EXPECT_FALSE(app->openURL(nullptr));
    std::vector<std::string> handled;
    app->setURLHandler([&](NSURL* opened) {
        handled.push_back(opened->absoluteString()->utf8());
        return false;
    });
    EXPECT_FALSE(app->openURL(url));
    app->setURLHandler(nullptr);
    EXPECT_EQ(handled, Lines{"https://example.com"});
}

NSString* madeAtRunTime(id, SEL) {
    return "Made at run time"_ns;
}

TEST_F(Controllers, NavigationScreensDescribeTheirBarWithATitleMadeAtRunTimeAndTheirViews) {
    Class cls = subclassOf(UIViewController::objcClass(), "RuntimeTitled", "title"_sel,
                           toIMP(&madeAtRunTime), "@@:");
    Ref<UIViewController> b = make<UIViewController>(cls, &UIViewController::init);
    Ref<UILabel> label = UILabel::labelWithFrame(CGRectZero);
    label->setText("Hello"_ns);
    b->view()->addSubview(label);
    Ref<UIBarButtonItem> heart =
        make<UIBarButtonItem>(&UIBarButtonItem::initWithTitle, "heart"_ns,
                              long{UIBarButtonItemStylePlain}, nullptr, nullptr);
    send(send<Ref<UINavigationItem>>(b, "navigationItem"_sel), "setRightBarButtonItem:"_sel,
         heart.get());
    Ref<UINavigationController> nav = onStack(b);
    EXPECT_EQ(screenText(nav)->utf8(), "< Settings | Made at run time | [heart]\nHello\n");
    EXPECT_EQ(screenText(nullptr)->utf8(), "");
}

} // namespace
