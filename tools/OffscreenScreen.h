#pragma once

// Before the QApplication of a tool that draws without a display: the
// offscreen platform with a screen of the given size (the graph window lays
// itself out for its screen).
void UseOffscreenScreen(int width, int height);
