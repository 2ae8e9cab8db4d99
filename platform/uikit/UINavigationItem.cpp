#include "uikit/UINavigationItem.h"

#include "uikit/UINavigationBar.h"

namespace {

// The bar showing the item lays out again.
void changed(UINavigationItem *self)
{
    if (self->m_navigationBar)
        self->m_navigationBar->itemsChanged();
}

template <class T> void store(UINavigationItem *self, StrongRef<T> &slot, T *value)
{
    slot = value;
    changed(self);
}

namespace imp {

id initWithTitle(UINavigationItem *self, SEL, NSString *title)
{
    self->m_title = StrongRef<NSString>::adopt(msg<NSString *>(title, "copy"_sel));
    return self;
}

NSString *title(UINavigationItem *self, SEL)
{
    return self->m_title;
}

void setTitle(UINavigationItem *self, SEL, NSString *title)
{
    self->m_title = StrongRef<NSString>::adopt(msg<NSString *>(title, "copy"_sel));
    changed(self);
}

void setLeftBarButtonItem(UINavigationItem *self, SEL, UIBarButtonItem *item)
{
    store(self, self->m_leftBarButtonItem, item);
}

void setLeftBarButtonItemAnimated(UINavigationItem *self, SEL, UIBarButtonItem *item, BOOL)
{
    msg<void, UIBarButtonItem *>(self, "setLeftBarButtonItem:"_sel, item);
}

void setRightBarButtonItem(UINavigationItem *self, SEL, UIBarButtonItem *item)
{
    store(self, self->m_rightBarButtonItem, item);
}

void setRightBarButtonItemAnimated(UINavigationItem *self, SEL, UIBarButtonItem *item, BOOL)
{
    msg<void, UIBarButtonItem *>(self, "setRightBarButtonItem:"_sel, item);
}

void setBackBarButtonItem(UINavigationItem *self, SEL, UIBarButtonItem *item)
{
    store(self, self->m_backBarButtonItem, item);
}

void setHidesBackButton(UINavigationItem *self, SEL, BOOL hides)
{
    self->m_hidesBackButton = hides;
    changed(self);
}

} // namespace imp

const Class kRegistered = UINavigationItem::class_();

} // namespace

Class UINavigationItem::class_()
{
    static const Class cls =
        ClassBuilder<UINavigationItem>("UINavigationItem", "NSObject")
            .method("initWithTitle:", imp::initWithTitle)
            .method("title", imp::title)
            .method("setTitle:", imp::setTitle)
            .getter<&UINavigationItem::m_leftBarButtonItem>("leftBarButtonItem")
            .method("setLeftBarButtonItem:", imp::setLeftBarButtonItem)
            .method("setLeftBarButtonItem:animated:", imp::setLeftBarButtonItemAnimated)
            .getter<&UINavigationItem::m_rightBarButtonItem>("rightBarButtonItem")
            .method("setRightBarButtonItem:", imp::setRightBarButtonItem)
            .method("setRightBarButtonItem:animated:", imp::setRightBarButtonItemAnimated)
            .getter<&UINavigationItem::m_backBarButtonItem>("backBarButtonItem")
            .method("setBackBarButtonItem:", imp::setBackBarButtonItem)
            .getter<&UINavigationItem::m_hidesBackButton>("hidesBackButton")
            .method("setHidesBackButton:", imp::setHidesBackButton)
            .registerClass();
    return cls;
}
