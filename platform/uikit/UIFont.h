#pragma once
// Fonts. A UIFont is one installed face (FontCatalog.h) at a point size. Every font handed
// out is an instance of the private subclass UICTFont, as on the phone, where code that
// wants the system's light and bold variants asks UICTFont's class methods directly.
//
// fontWithName:size: answers nil for a name that no installed face carries as its
// PostScript or full name; the system fonts never fail.

#include "foundation/NSArray.h"
#include "foundation/NSString.h"
#include "quartzcore/CGGeometry.h"
#include "uikit/FontCatalog.h"
#include "uikit/UIFontDescriptor.h"

struct UIFont : NSObject {
    sim::FontFace m_face;
    CGFloat m_pointSize = 0;

    static Class class_();

    // Autoreleased.
    static UIFont *systemFontOfSize(CGFloat size);
    static UIFont *boldSystemFontOfSize(CGFloat size);
    static UIFont *ultraLightSystemFontOfSize(CGFloat size);
    static UIFont *fontWithNameSize(NSString *name, CGFloat size);
    static NSArray *familyNames();
    static NSArray *fontNamesForFamilyName(NSString *family);

    CGFloat pointSize() const { return m_pointSize; }
    NSString *fontName() const;
    NSString *familyName() const;
    UIFont *fontWithSize(CGFloat size) const;
    bool isBold() const;
    // Autoreleased.
    UIFontDescriptor *fontDescriptor() const;
};

// The class behind every font instance.
struct UICTFont : UIFont {
    static Class class_();
};
