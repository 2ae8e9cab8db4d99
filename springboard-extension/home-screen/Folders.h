#pragma once
// SpringBoard's folders: folders inside folders, opening and closing without animation,
// closing an open folder with a pinch, names that cannot be edited, a title shown only
// while editing, folder icons without blur, and an open folder's backdrop transparent or
// dark. Every option is read when SpringBoard next calls the replaced method.
//
// FoldersInit installs the group; the backdrop replacements differ between iOS 7.0 and
// later systems.

void FoldersInit();
