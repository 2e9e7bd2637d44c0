#pragma once

// The program's icon, a dive profile under the sea's surface: one drawing
// written as SVG for the desktop's scalable icon and painted at the sizes
// of its pictures, so that the two cannot differ.

#include <QString>

namespace vk::icon {

// The SVG file.
bool WriteSvg(const QString& path);
// A square PNG of `size` pixels.
bool WritePng(const QString& path, int size);

}  // namespace vk::icon
