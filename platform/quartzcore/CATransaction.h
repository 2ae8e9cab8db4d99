#pragma once
// Transactions group changes to layers. Layers of the stand-in have no implicit
// animations and the renderer reads the tree whenever it draws, so a transaction changes
// nothing on screen by itself; it keeps the nesting and the disable-actions flag that
// callers set and read, as the platform's code expects them to be kept.

#include "objc/ClassBuilder.h"

struct CATransaction : NSObject {
    static Class class_();

    static void begin();
    // Ends the innermost transaction; a commit without a begin is logged and ignored.
    static void commit();
    // Nothing is pending here: the renderer always reads the current tree.
    static void flush();
    // Per transaction: a nested transaction starts with its parent's flag and restores it
    // at commit. Outside any transaction the flag belongs to the implicit top level.
    static bool disableActions();
    static void setDisableActions(bool disable);
};
