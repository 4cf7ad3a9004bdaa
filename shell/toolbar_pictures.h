#pragma once
// The toolbar button pictures: 16 x 15 pixels each, drawn here with QPainter
// on a transparent ground, one per command of the toolbar sets.

#include <QIcon>
#include <QImage>

namespace mok::shell {

inline constexpr int kToolbarPictureWidth = 16;
inline constexpr int kToolbarPictureHeight = 15;

// The picture of a toolbar command; a plain raised square for an id without
// one of its own. At `scale` 2 the same drawing has twice the pixels each
// way, for screens scaled by 200 % (its device pixel ratio says so).
QImage ToolbarImage(int id, int scale);
// Both pictures: the toolkit picks the one for the screen.
QIcon ToolbarPicture(int id);

}  // namespace mok::shell
