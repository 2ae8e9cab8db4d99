#pragma once
// Table cells: one row of a table. A cell holds a content view, in which its labels and
// image view sit, and an accessory at the trailing edge (a drawn disclosure chevron,
// detail button or checkmark, or an accessory view of the owner's choice, which wins).
// The style decides the labels (each made on first use of its accessor):
//
//     Default    image, text label; no detail label (detailTextLabel answers nil)
//     Value1     image, text label at the leading edge, detail label at the trailing edge
//     Value2     detail-coloured text label in a narrow column, then the detail label
//     Subtitle   image, text label above a smaller detail label
//
// Cells are reused: a table keeps cells that left the screen by their reuse identifier
// and hands them back through dequeueReusableCellWithIdentifier:, after prepareForReuse.

#include "foundation/NSString.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"

enum UITableViewCellStyle : NSInteger {
    UITableViewCellStyleDefault = 0,
    UITableViewCellStyleValue1 = 1,
    UITableViewCellStyleValue2 = 2,
    UITableViewCellStyleSubtitle = 3,
};

enum UITableViewCellAccessoryType : NSInteger {
    UITableViewCellAccessoryNone = 0,
    UITableViewCellAccessoryDisclosureIndicator = 1,
    UITableViewCellAccessoryDetailDisclosureButton = 2,
    UITableViewCellAccessoryCheckmark = 3,
};

enum UITableViewCellSelectionStyle : NSInteger {
    UITableViewCellSelectionStyleNone = 0,
    UITableViewCellSelectionStyleBlue = 1,
    UITableViewCellSelectionStyleGray = 2,
    UITableViewCellSelectionStyleDefault = 3,
};

struct UITableViewCell : UIView {
    UITableViewCellStyle m_style = UITableViewCellStyleDefault;
    StrongRef<NSString> m_reuseIdentifier;
    StrongRef<UIView> m_contentView;
    StrongRef<UILabel> m_textLabel;       // made on first use
    StrongRef<UILabel> m_detailTextLabel; // made on first use, never for the Default style
    StrongRef<UIImageView> m_imageView;   // made on first use
    UITableViewCellAccessoryType m_accessoryType = UITableViewCellAccessoryNone;
    StrongRef<UIView> m_accessoryView;  // the owner's
    StrongRef<UIView> m_accessoryGlyph; // the drawn one, for the accessory type
    UITableViewCellSelectionStyle m_selectionStyle = UITableViewCellSelectionStyleDefault;
    bool m_selected = false;
    bool m_highlighted = false;

    static Class class_();

    static constexpr CGFloat kLeadingInset = 15;
};
