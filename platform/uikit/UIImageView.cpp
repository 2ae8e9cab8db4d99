#include "uikit/UIImageView.h"

namespace {
namespace imp {

UIImage *image(UIImageView *self, SEL)
{
    return self->m_image;
}

void setImage(UIImageView *self, SEL, UIImage *image)
{
    self->m_image = image;
    // The layer shows pixels as stored, so a turned or flipped image is set upright first.
    auto upright = StrongRef<CGImage>::adopt(sim::createUprightImage(
        image ? image->CGImage() : nil, image ? image->m_orientation : UIImageOrientationUp));
    self->layer()->setContents(upright);
    if (image)
        self->layer()->setContentsScale(image->m_scale);
}

id initWithImage(UIImageView *self, SEL, UIImage *image)
{
    CGRect frame = {{0, 0}, image ? image->size() : CGSizeZero};
    if (!msg<id, CGRect>(self, "initWithFrame:"_sel, frame))
        return nil;
    msg<void>(self, "setImage:"_sel, image);
    return self;
}

id initWithFrame(UIImageView *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(UIImageView::class_(), self, _cmd, frame))
        return nil;
    self->m_userInteractionEnabled = false;
    return self;
}

} // namespace imp

const Class kRegistered = UIImageView::class_();

} // namespace

Class UIImageView::class_()
{
    static const Class cls = [] {
        UIView::class_();
        return ClassBuilder<UIImageView>("UIImageView", "UIView")
            .method("initWithFrame:", imp::initWithFrame)
            .method("initWithImage:", imp::initWithImage)
            .method("image", imp::image)
            .method("setImage:", imp::setImage)
            .registerClass();
    }();
    return cls;
}
