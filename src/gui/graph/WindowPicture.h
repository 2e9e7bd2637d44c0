#pragma once

// Pictures of the graph window: saved as JPEG or bitmap, printed, and the
// dive thumbnails.

#include <QImage>
#include <string>

#include "gui/graph/GraphScene.h"

class QPrinter;

namespace vk {

class VkDialogs;

enum class PictureFormat { Jpeg, Bitmap };

// JPEG at quality 90 (through libjpeg), or the platform's bitmap format.
bool SavePicture(const QImage& picture, const std::string& path, PictureFormat format);

// The picture on one page, scaled to fit it.
bool PrintPicture(QPrinter& printer, const QImage& picture);

// The thumbnail of `slot` over the window F1..F2, monochrome.
QImage RenderThumbnail(const GraphScene& scene, int slot, QSize size, const std::string& stamp);

// Saves a thumbnail as "<number>.bmp" in `folder` (created when missing); an
// existing file is replaced only after the user confirms. False when not saved
// (a failure is reported).
bool SaveThumbnail(const QImage& thumbnail, const std::string& folder, int number, VkDialogs& ui);

}  // namespace vk
