#pragma once
// The settings model. Every option of the system lives in one typed field of one section
// object, and every process that links libcv3 holds exactly one object per section (the
// shared instances gCVGlobal … gCVNotificationCenter below). SpringBoard's hooks read
// those fields directly, at the moment they are called, without copies or locks; the
// settings panel edits the same objects through the four generic operations of
// CVSettingsEntity, by key. Each section describes its keys once, in a key table (key,
// field, kind, default; see CVKeyTable.h), and every operation walks that table: reset to
// defaults, load from a dictionary, answer one key, write all keys. The settings file is
// a dictionary of section dictionaries; a live change travels from the panel to
// SpringBoard as one section dictionary in a Mach message (CVReloadService.h) and is
// loaded there by the same walk, so SpringBoard takes it up without a restart.
//
// All sections are constant-initialised to zero when the library loads, so that nothing
// (the master switch "enabled" included) is on before CVLoadSettings has run; they get
// their real defaults from CVLoadSettings or setDefaults. Sections own their strings and
// lists. There is no virtual destructor: the instances are static and never destroyed.
// Everything here runs on the main thread of its process.

#include "foundation/CoreFoundation.h"
#include "quartzcore/CGGeometry.h" // CGFloat
#include "settings-core/CVSystemQueries.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Called after a live update of its section has been applied (set by the feature group
// that owns the section, cleared by setDefaults and CVLoadSettings).
using CVChangeCallback = void (*)();

// A colour as the settings file keeps it: red, green and blue 0–255, and a fourth byte
// that carries no colour (the panel writes 1, defaults hold 0), kept and written back
// unchanged. Users divide the components by 255 and draw with alpha 1.0.
struct CVColor {
    unsigned char red;
    unsigned char green;
    unsigned char blue;
    unsigned char reserved;

    bool operator==(const CVColor &) const = default;
};

// The sections that the reload service can update live; CVGlobal has no identifier.
enum CVSectionID : std::uint32_t {
    CVSectionIDStatusBar = 0,
    CVSectionIDIcons = 1,
    CVSectionIDDock = 2,
    CVSectionIDAppSlider = 3,
    CVSectionIDFolders = 4,
    CVSectionIDLockScreen = 5,
    CVSectionIDControlCenter = 6,
    CVSectionIDAnimations = 7,
    CVSectionIDNotificationCenter = 8,
};

class CVKeyVisitor;

// What a key path names in an entity (each part one level of nesting: "pages",
// "coverflow", "enabled"), and whether a load would store a given value there.
struct CVKeyCheck {
    bool known = false;    // the path names a key of the entity
    bool accepted = false; // a load would store the value (never for a group of keys)
    std::string expected;  // the value the key takes, in words: "a boolean"
};

class CVSettingsEntity {
public:
    // Every field to its default; clears the section's changeCallback.
    virtual void setDefaults();
    // Applies the keys present; absent keys keep their value, unknown keys and values of
    // the wrong kind are ignored.
    virtual void load(CFDictionaryRef dictionary);
    // One key's value, autoreleased (NSNumber, NSString or NSArray); nil for a key the
    // entity does not answer.
    virtual id getValue(CFStringRef key);
    // The whole entity in the file's form, every key present, autoreleased.
    virtual CFDictionaryRef getDictionary();
    // Looks a key path up without changing anything, so that an editor can refuse a value
    // the entity would ignore.
    CVKeyCheck checkKey(std::span<const std::string_view> path, id value);

protected:
    constexpr CVSettingsEntity() = default;
    ~CVSettingsEntity() = default;
    // The entity's key table: hands every key, its field and its default to the visitor.
    virtual void visitKeys(CVKeyVisitor &visitor) = 0;
};

class CVGlobal final : public CVSettingsEntity {
public:
    bool enabled{};

protected:
    void visitKeys(CVKeyVisitor &visitor) override;
};

inline constexpr int CVStatusBarItemCount = 25;

// The item index of each status bar item, by position in the fixed list of item names
// (CVStatusBarItems::names); on every recognised system the index equals the position.
// Until the table is filled (a system whose numbering is unknown) the hidden flags are
// kept by position, so that each name keeps its own flag through a load and a save;
// SpringBoard's numbers are then unknown and no item may be hidden by them.
struct CVStatusBarItems {
    static const char *const names[CVStatusBarItemCount];
    unsigned char index[CVStatusBarItemCount]{};
    bool filled = false;

    // Stores index k for name k when the running system is a recognised one; otherwise
    // logs and leaves the table as it is.
    void fill();
};

class CVStatusBar final : public CVSettingsEntity {
public:
    bool customCarrier{};
    CFStringRef carrierString{};
    bool customTime{};
    bool lowercaseAMPM{};
    std::uint32_t timeStringOption{};
    CFStringRef timeString{};
    CVStatusBarItems items{};
    bool itemIsHidden[CVStatusBarItemCount]{}; // by item index
    CVChangeCallback changeCallback{};

    // The dotted IPv4 address of the Wi-Fi interface "en0", or "n/a" (autoreleased).
    static NSString *getIPAddress();
    // The name of the joined Wi-Fi network, or "n/a"; the caller owns the result.
    static NSString *getWifiSSID();

protected:
    void visitKeys(CVKeyVisitor &visitor) override;
};

class CVCoverFlowSettings final : public CVSettingsEntity {
public:
    bool enabled{};
    CGFloat flowFactor{};
    CGFloat perspective{};
    bool outside{};

protected:
    void visitKeys(CVKeyVisitor &visitor) override;
};

class CVIconListEntity final : public CVSettingsEntity {
public:
    bool resize{};
    CGFloat resizeFactor{};
    bool hideLabels{};
    unsigned char iconColumns{};
    unsigned char iconRows{};
    unsigned char iconColumnsLandscape{};
    unsigned char iconRowsLandscape{};
    CGFloat verticalPadding{};
    CGFloat horizontalPadding{};
    CGFloat sideInset{};
    CVCoverFlowSettings coverflow{};

protected:
    void visitKeys(CVKeyVisitor &visitor) override;
};

class CVIcons final : public CVSettingsEntity {
public:
    bool hideUpdatedMark{};
    CGFloat iconImageAlpha{};
    bool hideNewsstand{};
    bool hideCorvane{};
    bool lockLayout{};
    bool disableWiggling{};
    bool disableUninstall{};
    bool hideBadges{};
    bool hideBadgeText{};
    bool hideFolderBadges{};
    CVIconListEntity pages{};
    CVIconListEntity folders{};
    CVIconListEntity dock{};
    std::int32_t effect{};
    bool returnToFirstPage{};
    bool hideSiriSuggestions{};
    bool hideNearby{};
    bool hideNews{};
    bool customBadgeBackgroundColor{};
    CVColor badgeBackgroundColor{};
    bool customBadgeTextColor{};
    CVColor badgeTextColor{};
    bool hidePageDots{};
    bool disableSpotlight{};
    std::uint32_t disableSpotlightValue{};
    bool customLabelFont{};
    CFStringRef labelFontName{};
    CVColor labelColor{};
    CGFloat labelFontSize{};
    CFMutableArrayRef hiddenIcons{}; // bundle identifiers, without duplicates
    CVChangeCallback changeCallback{};

    // Also removes duplicate hidden icons and keeps the system's own application in the
    // hidden list exactly when "hideCorvane" is on, whatever keys the dictionary held.
    void load(CFDictionaryRef dictionary) override;
    // The defaults of every field but the three icon lists.
    void setBasicDefaults();

protected:
    void visitKeys(CVKeyVisitor &visitor) override;

private:
    void visitOwnKeys(CVKeyVisitor &visitor);
    void normaliseHiddenIcons();
};

class CVDock final : public CVSettingsEntity {
public:
    bool hideDock{};
    bool hideBackground{};
    CVChangeCallback changeCallback{};

protected:
    void visitKeys(CVKeyVisitor &visitor) override;
};

class CVAppSlider final : public CVSettingsEntity {
public:
    CGFloat pageScaleFactor{};
    bool hideIcons{};
    std::uint32_t homeAction{};
    std::uint32_t appsMode{};
    CVChangeCallback changeCallback{};

protected:
    void visitKeys(CVKeyVisitor &visitor) override;
};

class CVFolders final : public CVSettingsEntity {
public:
    bool nestedFolders{};
    bool lockFolderNames{};
    bool pinchToClose{};
    bool transparentBackground{};
    bool unblurredIconBackground{};
    bool hideTitle{};
    bool fastOpen{};
    bool useFullScreen{};
    bool darkBackground{};
    CVChangeCallback changeCallback{};

protected:
    void visitKeys(CVKeyVisitor &visitor) override;
};

class CVLockScreen final : public CVSettingsEntity {
public:
    std::uint32_t sliderMode{};
    std::uint32_t sliderTimeStyle{}; // an NSDateFormatterStyle
    char sliderText[128]{};          // UTF-8, NUL-terminated
    bool hideCamera{};
    bool customTimeColor{};
    CVColor timeColor{};
    std::uint32_t timeMode{};
    char timeText[12]{};
    CGFloat timeFontSize{};
    std::uint32_t dateMode{};
    char dateText[15]{};
    CGFloat dateFontSize{};
    bool hideCCGrabber{};
    bool hideNCGrabber{};
    bool hideAlbumArtwork{};
    CVChangeCallback changeCallback{};

protected:
    void visitKeys(CVKeyVisitor &visitor) override;
};

class CVControlCenter final : public CVSettingsEntity {
public:
    bool disableCC{};
    bool hideSeparators{};
    bool hideSectionQuickLaunch{};
    bool hideSectionBrightness{};
    bool hideSectionMediaControls{};
    bool hideSectionAirStuff{};
    bool hideSectionSettings{};
    bool customBackdropColor{};
    CGFloat backdropColorAlpha{};
    CVColor backdropColor{};
    CGFloat blurRadius{};
    bool customNormalControlColor{};
    CVColor normalControlColor{};
    bool customHighlightedControlColor{};
    CVColor highlightedControlColor{};
    CVChangeCallback changeCallback{};

protected:
    void visitKeys(CVKeyVisitor &visitor) override;
};

class CVAnimations final : public CVSettingsEntity {
public:
    bool customSpeed{};
    CGFloat animationSpeed{};
    std::uint32_t lockAnimationType{}; // a CVLockAnimationType
    CGFloat lockAnimationDuration{};
    std::uint32_t scrollAnimationType{}; // a CVUIScrollAnimationID
    CVChangeCallback changeCallback{};

protected:
    void visitKeys(CVKeyVisitor &visitor) override;
};

class CVNotificationCenter final : public CVSettingsEntity {
public:
    bool customBackdropColor{};
    CGFloat backdropColorAlpha{};
    CVColor backdropColor{};
    CGFloat blurRadius{};
    bool customNCText{};
    CFStringRef customNotificationUnavailableText{};
    bool hideToday{};
    bool hideMissed{};
    bool disableNC{};
    CVChangeCallback changeCallback{};

protected:
    void visitKeys(CVKeyVisitor &visitor) override;
};

extern CVGlobal gCVGlobal;
extern CVStatusBar gCVStatusBar;
extern CVIcons gCVIcons;
extern CVDock gCVDock;
extern CVAppSlider gCVAppSlider;
extern CVFolders gCVFolders;
extern CVLockScreen gCVLockScreen;
extern CVControlCenter gCVControlCenter;
extern CVAnimations gCVAnimations;
extern CVNotificationCenter gCVNotificationCenter;

extern "C" {

// 0 until SpringBoard has finished launching (at once 1 in every other process).
extern unsigned char CVSpringBoardDidLaunch;
// Set by the SpringBoard extension when its entry has installed everything.
extern unsigned char CVExtensionInitialized;

// Resets every section, starts the reload service inside SpringBoard and reads the
// settings file.
void CVLoadSettings();
// Writes all ten sections to the settings file, atomically.
void CVSaveSettings();
// Sends a (complete or partial) section dictionary to SpringBoard's reload service.
void CVSendSectionUpdate(CVSectionID sectionID, CFDictionaryRef dictionary);
// The dictionary applier that CVLoadSettings applies to the file's top-level entries.
void _CVParseSettingsApplierFunction(const void *key, const void *value, void *context);

} // extern "C"
