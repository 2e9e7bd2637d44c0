#pragma once

// The figures of the help pages, made at build time.

#include <QString>

namespace vk::figures {

bool DiveFrame(const QString& out);     // a framed dive: F4, F8, F9, F5, a dive stop, wiggles
bool Shapes(const QString& out);        // the six shapes and what the search calls them
bool BottomLevels(const QString& out);  // the bottom threshold and the slimness levels
bool Sections(const QString& out);      // the sections of the extended values
bool Polynomial(const QString& out);    // the polynomial dialog's formula (a bitmap)

}  // namespace vk::figures
