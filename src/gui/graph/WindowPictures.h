#pragma once

// The pictures of a written dive from the graph window: the window as it
// shows the dive (JPEG), and the thumbnail, also shown beside the total window.

#include "core/dive/ResultStep.h"

namespace vk {

class GraphWindow;
struct ThumbnailSettings;

class WindowPictures : public PictureSink {
public:
    // `redraw`: the window is not kept up to date dive by dive (a run without
    // visualisation), so it is brought up to date for each image.
    WindowPictures(GraphWindow& window, VkDialogs& ui, const ThumbnailSettings& t, bool redraw = false)
            : window_(window), ui_(ui), t_(t), redraw_(redraw)
    {
    }
    bool saveImage(const std::string& path) override;
    bool saveThumbnail(const std::string& folder, int number, const std::string& stamp) override;

private:
    GraphWindow& window_;
    VkDialogs& ui_;
    const ThumbnailSettings& t_;
    bool redraw_;
};

}  // namespace vk
