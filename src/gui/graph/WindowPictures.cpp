#include "gui/graph/WindowPictures.h"

#include <algorithm>

#include "core/view/RedrawRequest.h"
#include "gui/graph/GraphWindow.h"
#include "gui/graph/WindowPicture.h"

namespace vk {

bool WindowPictures::saveImage(const std::string& path)
{
    if (redraw_)
        window_.executeRedraw(redraw::Everything);
    return SavePicture(window_.picture(), path, PictureFormat::Jpeg);
}

bool WindowPictures::saveThumbnail(const std::string& folder, int number, const std::string& stamp)
{
    const QImage image = RenderThumbnail(window_.scene(), AnalysisSlot,
                                         QSize(std::max(t_.ThumbnailWidth, 8), std::max(t_.ThumbnailHeight, 8)), stamp);
    window_.showThumbnail(image);
    return SaveThumbnail(image, folder, number, ui_);
}

}  // namespace vk
