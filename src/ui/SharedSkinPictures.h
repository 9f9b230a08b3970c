#pragma once

#include <QImage>
#include <QString>

namespace solvane::ui {

// Skin pictures decoded once and shared by everything that draws them: the four state pictures of
// a button that twenty buttons wear, or the page background that four pages show, take memory once.
// A picture stays decoded while any image handed out for it is alive and is dropped with the last
// one, so a page that lets go of its background frees it. A file changed since it was decoded (a
// different size or modification time) is decoded again.
//
// Loads a bitmap file as the controls keep and draw it: 32 bits per pixel, no alpha. A null image
// when the file is missing or unreadable. For the program's one (GUI) thread.
QImage loadBitmapFile(const QString& path);

// Whether a picture of this file is decoded and held by someone now.
bool bitmapFileDecoded(const QString& path);

} // namespace solvane::ui
