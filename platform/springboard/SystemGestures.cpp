#include "springboard/SystemGestures.h"

#include "foundation/Copying.h"
#include "foundation/NSArray.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSSet.h"
#include "springboard/HostClass.h"
#include "uikit/UIScreen.h"
#include "uikit/UITouch.h"

#include <algorithm>
#include <cmath>

namespace {

// How close to its edge a finger must come down for an edge gesture, in points.
constexpr CGFloat kEdgeMargin = 20;
constexpr int kStepsPerSwipe = 12;

// The display's recognisers up to iOS 8, and on iOS 9 FrontBoard's shared objects.
std::vector<StrongRef<UIGestureRecognizer>> g_systemRecognizers;
StrongRef<FBSDisplay> g_mainDisplay;
StrongRef<FBSystemGestureManager> g_gestureManager;

CGSize screenSize()
{
    return UIScreen::mainScreen()->bounds().size;
}

namespace imp {

// The first touch must come down at the recogniser's own edge.
BOOL firstTouchQualifies(SBOffscreenSwipeGestureRecognizer *self, SEL, UITouch *touch)
{
    if (!touch)
        return NO;
    // A system gesture's touch is in screen coordinates: no window owns it yet.
    CGPoint point = touch->m_location;
    switch (self->m_requiredDirectionality) {
    case sim::kSwipeDown:
        return point.y <= kEdgeMargin;
    case sim::kSwipeUp:
        return point.y >= screenSize().height - kEdgeMargin;
    default:
        return NO;
    }
}

id gestureManagerInit(FBSystemGestureManager *self, SEL _cmd)
{
    if (!msgSuper<id>(FBSystemGestureManager::class_(), self, _cmd))
        return nil;
    self->m_displayToManagerMap = StrongRef<NSObject>(NSMutableDictionary::dictionary());
    return self;
}

FBSystemGestureManager *sharedGestureManager(id, SEL)
{
    if (!g_gestureManager)
        g_gestureManager = StrongRef<FBSystemGestureManager>::adopt(
            sim::create<FBSystemGestureManager>(FBSystemGestureManager::class_()));
    return g_gestureManager;
}

FBSystemGestureDisplayManager *managerFor(FBSystemGestureManager *self, FBSDisplay *display,
                                          bool create)
{
    auto *map = static_cast<NSMutableDictionary *>(self->m_displayToManagerMap.get());
    auto *manager = static_cast<FBSystemGestureDisplayManager *>(map->objectForKey(display));
    if (!manager && create && display) {
        auto made = StrongRef<FBSystemGestureDisplayManager>::adopt(
            sim::create<FBSystemGestureDisplayManager>(FBSystemGestureDisplayManager::class_()));
        map->setObjectForKey(made, display);
        manager = made;
    }
    return manager;
}

void addGestureRecognizerToDisplay(FBSystemGestureManager *self, SEL,
                                   UIGestureRecognizer *recognizer, FBSDisplay *display)
{
    FBSystemGestureDisplayManager *manager = managerFor(self, display, true);
    if (!manager || !recognizer)
        return;
    auto &list = manager->m_recognizers;
    if (std::find(list.begin(), list.end(), recognizer) == list.end())
        list.emplace_back(recognizer);
}

void removeGestureRecognizerFromDisplay(FBSystemGestureManager *self, SEL,
                                        UIGestureRecognizer *recognizer, FBSDisplay *display)
{
    if (FBSystemGestureDisplayManager *manager = managerFor(self, display, false))
        std::erase(manager->m_recognizers, recognizer);
}

NSSet *gestureRecognizers(FBSystemGestureDisplayManager *self, SEL)
{
    NSMutableArray *recognizers = NSMutableArray::array();
    for (const auto &recognizer : self->m_recognizers)
        recognizers->addObject(recognizer);
    return NSSet::setWithArray(recognizers);
}

FBSDisplay *fbsDisplay(id, SEL)
{
    return g_mainDisplay;
}

} // namespace imp

// The recognisers that hear the display's edges now.
std::vector<UIGestureRecognizer *> displayRecognizers()
{
    std::vector<UIGestureRecognizer *> recognizers;
    if (sim::currentGeneration() != sim::iOS9) {
        for (const auto &recognizer : g_systemRecognizers)
            recognizers.push_back(recognizer);
        return recognizers;
    }
    if (!g_gestureManager)
        return recognizers;
    if (auto *manager = imp::managerFor(g_gestureManager, g_mainDisplay, false))
        for (const auto &recognizer : manager->m_recognizers)
            recognizers.push_back(recognizer);
    return recognizers;
}

bool mayBegin(UIGestureRecognizer *recognizer)
{
    if (!recognizer->m_enabled)
        return false;
    id delegate = recognizer->m_delegate;
    SEL shouldBegin = "gestureRecognizerShouldBegin:"_sel;
    if (delegate && msg<BOOL, SEL>(delegate, "respondsToSelector:"_sel, shouldBegin))
        return msg<BOOL, id>(delegate, shouldBegin, recognizer);
    return true;
}

// The finger's path: from the edge straight across, `distance` points.
CGPoint fingerAt(NSInteger directionality, CGFloat distance)
{
    CGSize size = screenSize();
    CGFloat x = size.width / 2;
    return directionality == sim::kSwipeDown ? CGPoint{x, distance}
                                             : CGPoint{x, size.height - 1 - distance};
}

} // namespace

Class SBOffscreenSwipeGestureRecognizer::class_()
{
    return objc_getClass("SBOffscreenSwipeGestureRecognizer");
}

StrongRef<SBOffscreenSwipeGestureRecognizer>
SBOffscreenSwipeGestureRecognizer::create(NSInteger directionality, id target, SEL action)
{
    id allocated = msg<id>(class_(), "alloc"_sel);
    auto recognizer = StrongRef<SBOffscreenSwipeGestureRecognizer>::adopt(
        static_cast<SBOffscreenSwipeGestureRecognizer *>(
            msg<id, id, SEL>(allocated, "initWithTarget:action:"_sel, target, action)));
    msg<void, NSInteger>(recognizer, "setRequiredDirectionality:"_sel, directionality);
    return recognizer;
}

Class FBSDisplay::class_()
{
    return objc_getClass("FBSDisplay");
}

Class FBSystemGestureDisplayManager::class_()
{
    return objc_getClass("FBSystemGestureDisplayManager");
}

Class FBSystemGestureManager::class_()
{
    return objc_getClass("FBSystemGestureManager");
}

namespace sim {

void registerSystemGestureClasses()
{
    HostClass<SBOffscreenSwipeGestureRecognizer>("SBOffscreenSwipeGestureRecognizer",
                                                 "UIGestureRecognizer")
        .ivar("_requiredDirectionality",
              &SBOffscreenSwipeGestureRecognizer::m_requiredDirectionality)
        .property<&SBOffscreenSwipeGestureRecognizer::m_requiredDirectionality>(
            "requiredDirectionality")
        .method("firstTouchQualifies:", imp::firstTouchQualifies)
        .registerClass();
    HostClass<FBSDisplay>("FBSDisplay", "NSObject")
        .onGenerations(iOS9)
        // A display stands for itself as a dictionary key.
        .method("copy", copyByRetaining)
        .registerClass();
    HostClass<FBSystemGestureDisplayManager>("FBSystemGestureDisplayManager", "NSObject")
        .onGenerations(iOS9)
        .method("gestureRecognizers", imp::gestureRecognizers)
        .registerClass();
    HostClass<FBSystemGestureManager>("FBSystemGestureManager", "NSObject")
        .onGenerations(iOS9)
        .ivar("_displayToManagerMap", &FBSystemGestureManager::m_displayToManagerMap)
        .classMethod("sharedInstance", imp::sharedGestureManager)
        .method("init", imp::gestureManagerInit)
        .method("addGestureRecognizer:toDisplay:", imp::addGestureRecognizerToDisplay)
        .method("removeGestureRecognizer:fromDisplay:", imp::removeGestureRecognizerFromDisplay)
        .registerClass();
    if (currentGeneration() != iOS9)
        return;
    // FrontBoard's category on UIScreen.
    g_mainDisplay = StrongRef<FBSDisplay>::adopt(create<FBSDisplay>(FBSDisplay::class_()));
    class_replaceMethod(UIScreen::class_(), "fbsDisplay"_sel,
                        reinterpret_cast<IMP>(imp::fbsDisplay),
                        encodeImplementation(imp::fbsDisplay).c_str());
}

void addSystemGestureRecognizer(UIGestureRecognizer *recognizer)
{
    removeSystemGestureRecognizer(recognizer);
    g_systemRecognizers.emplace_back(recognizer);
}

void removeSystemGestureRecognizer(UIGestureRecognizer *recognizer)
{
    std::erase(g_systemRecognizers, recognizer);
}

void addEdgeGestureRecognizer(UIGestureRecognizer *recognizer)
{
    if (currentGeneration() != iOS9) {
        addSystemGestureRecognizer(recognizer);
        return;
    }
    msg<void, id, id>(msg<id>(FBSystemGestureManager::class_(), "sharedInstance"_sel),
                      "addGestureRecognizer:toDisplay:"_sel, recognizer,
                      msg<id>(UIScreen::mainScreen(), "fbsDisplay"_sel));
}

bool displayHearsGestureRecognizer(UIGestureRecognizer *recognizer)
{
    std::vector<UIGestureRecognizer *> heard = displayRecognizers();
    return std::ranges::find(heard, recognizer) != heard.end();
}

void resetSystemGestures()
{
    g_systemRecognizers.clear();
    g_gestureManager = {};
    g_mainDisplay = {};
}

bool swipeFromEdge(NSInteger directionality, CGFloat distance)
{
    auto touch = StrongRef<UITouch>::adopt(create<UITouch>(UITouch::class_()));
    touch->m_location = fingerAt(directionality, 0);
    for (UIGestureRecognizer *recognizer : displayRecognizers()) {
        if (!msg<BOOL, Class>(recognizer, "isKindOfClass:"_sel,
                              SBOffscreenSwipeGestureRecognizer::class_()) ||
            static_cast<SBOffscreenSwipeGestureRecognizer *>(recognizer)
                    ->m_requiredDirectionality != directionality)
            continue;
        StrongRef<UIGestureRecognizer> held(recognizer);
        if (!msg<BOOL, UITouch *>(recognizer, "firstTouchQualifies:"_sel, touch) ||
            !mayBegin(recognizer))
            continue;
        recognizer->m_location = touch->m_location;
        recognizer->transitionTo(UIGestureRecognizerStateBegan);
        for (int step = 1; step <= kStepsPerSwipe; ++step) {
            recognizer->m_location = fingerAt(directionality, distance * step / kStepsPerSwipe);
            recognizer->transitionTo(step == kStepsPerSwipe ? UIGestureRecognizerStateEnded
                                                            : UIGestureRecognizerStateChanged);
        }
        recognizer->m_state = UIGestureRecognizerStatePossible;
        return true;
    }
    return false;
}

} // namespace sim
