#pragma once
// A view that shows an image: the image becomes its layer's contents, scaled to fill the
// bounds, at the image's own scale, its pixels set upright as its orientation says (an
// image of a landscape screen stored portrait shows landscape). initWithImage: sizes the
// view to the image.

#include "uikit/UIImage.h"
#include "uikit/UIView.h"

struct UIImageView : UIView {
    StrongRef<UIImage> m_image;

    static Class class_();
};
