#include "uikit/Snapshot.h"

#include "quartzcore/Renderer.h"
#include "uikit/UIScreen.h"
#include "uikit/UIWindow.h"
#include "uikit/ViewLayout.h"

#include <algorithm>

namespace sim {
namespace {

// One renderer for the process: it keeps its buffers between frames.
Renderer &renderer()
{
    static Renderer *const shared = new Renderer;
    return *shared;
}

// Lends `layer` to a stand-alone root for one render and puts it back where it was.
class DetachedLayer {
public:
    explicit DetachedLayer(CALayer *layer) : m_layer(layer), m_superlayer(layer->superlayer())
    {
        if (m_superlayer) {
            auto &siblings = m_superlayer->m_sublayers;
            m_index = static_cast<unsigned>(std::find(siblings.begin(), siblings.end(), layer) -
                                            siblings.begin());
        }
        m_root = CALayer::layer();
        m_root->addSublayer(layer);
    }

    ~DetachedLayer()
    {
        m_layer->removeFromSuperlayer();
        if (m_superlayer)
            m_superlayer->insertSublayerAtIndex(m_layer, m_index);
    }

    DetachedLayer(const DetachedLayer &) = delete;
    DetachedLayer &operator=(const DetachedLayer &) = delete;

    CALayer *root() const { return m_root; }

private:
    StrongRef<CALayer> m_layer;
    StrongRef<CALayer> m_superlayer;
    unsigned m_index = 0;
    StrongRef<CALayer> m_root;
};

UIView *viewShowing(CGImageRef image, CGSize size)
{
    auto *view = static_cast<UIView *>(autorelease(msg<id, CGRect>(
        msg<id>(UIView::class_(), "alloc"_sel), "initWithFrame:"_sel, CGRect{{0, 0}, size})));
    view->layer()->setContents(image);
    view->layer()->setContentsScale(UIScreen::mainScreen()->scale());
    return view;
}

} // namespace

void displayPendingLayers(CALayer *root)
{
    root->displayIfNeeded();
    std::vector<StrongRef<CALayer>> sublayers = root->m_sublayers;
    for (CALayer *sublayer : sublayers)
        displayPendingLayers(sublayer);
}

CGImageRef snapshotOfScreen()
{
    std::vector<CALayer *> roots;
    for (UIWindow *window : visibleWindowsBottomUp()) {
        displayPendingLayers(window->layer());
        roots.push_back(window->layer());
    }
    UIScreen *screen = UIScreen::mainScreen();
    return renderer().render(roots, screen->bounds().size, screen->scale());
}

CGImageRef snapshotOfView(UIView *view)
{
    if (!view)
        return nil;
    CALayer *layer = view->layer();
    displayPendingLayers(layer);
    DetachedLayer detached(layer);
    // The root's sublayer transform undoes the layer's own placement, so that its bounds
    // land at the frame's origin.
    CGRect bounds = layer->bounds();
    CATransform3D placement = layerToSuperlayer(layer->presented(), nullptr);
    detached.root()->setSublayerTransform(
        CATransform3DConcat(CATransform3DInvert(placement),
                            CATransform3DMakeTranslation(-bounds.origin.x, -bounds.origin.y, 0)));
    return renderer().render(detached.root(), bounds.size, UIScreen::mainScreen()->scale());
}

UIView *snapshotViewOfScreen(bool afterScreenUpdates)
{
    if (afterScreenUpdates)
        ViewLayout::layoutPendingViews();
    StrongRef<CGImage> image = StrongRef<CGImage>::adopt(snapshotOfScreen());
    return viewShowing(image, UIScreen::mainScreen()->bounds().size);
}

UIView *snapshotView(UIView *view, bool afterScreenUpdates)
{
    if (afterScreenUpdates)
        ViewLayout::layoutPendingViews();
    StrongRef<CGImage> image = StrongRef<CGImage>::adopt(snapshotOfView(view));
    return viewShowing(image, view->bounds().size);
}

} // namespace sim
