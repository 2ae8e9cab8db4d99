#pragma once
// The small system queries that the extension's feature groups share, so that every
// component asks the same way. Each asks the system afresh on every call and keeps no
// state; they are called on the main thread, at most about once a second.
//
// Besides CVIsSupportedSystem below and the two network queries of CVStatusBar
// (getIPAddress, getWifiSSID, declared with the section), the library adds one class
// method to NSDate, in its category "Extensions", when it loads:
//
//     + (NSString *)timeStringWithStyle:(NSDateFormatterStyle)style
//
// the current time as text in the given time style and the device's locale, without a
// date ("9:41 AM" in the short style, "9:41:07 AM" in the medium one):
//
//     NSString *now = msg<NSString *, NSDateFormatterStyle>(
//         reinterpret_cast<id>(NSDate::class_()), "timeStringWithStyle:"_sel, style);

extern "C" {

// True for Core Foundation versions 847.2 (iOS 7.0) to 1240.1 (iOS 9.0), both included.
bool CVIsSupportedSystem();

} // extern "C"
