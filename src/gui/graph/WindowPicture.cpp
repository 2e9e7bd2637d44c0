#include "gui/graph/WindowPicture.h"

#include <QDir>
#include <QPainter>
#include <QPrinter>

#include "core/dive/Thumbnail.h"
#include "core/files/JpegWriter.h"
#include "core/store/FileUtil.h"
#include "core/store/VkDialogs.h"
#include "gui/graph/GraphPainter.h"

namespace vk {

bool SavePicture(const QImage& picture, const std::string& path, PictureFormat format)
{
    if (format == PictureFormat::Bitmap)
        return picture.save(QString::fromStdString(path), "BMP");
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    return WriteJpeg(path, rgb.width(), rgb.height(), rgb.constBits(), static_cast<std::size_t>(rgb.bytesPerLine()),
                     90);
}

bool PrintPicture(QPrinter& printer, const QImage& picture)
{
    QPainter p;
    if (picture.isNull() || !p.begin(&printer))
        return false;
    const QRect page = p.viewport();
    const QSize fitted = picture.size().scaled(page.size(), Qt::KeepAspectRatio);
    p.drawImage(QRect(page.topLeft(), fitted), picture);
    return p.end();
}

QImage RenderThumbnail(const GraphScene& scene, int slot, QSize size, const std::string& stamp)
{
    QImage image(size, QImage::Format_RGB32);
    {
        QPainter p(&image);
        PaintThumbnail(p, size, scene, slot, QString::fromStdString(stamp));
    }
    return image.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
}

bool SaveThumbnail(const QImage& thumbnail, const std::string& folder, int number, VkDialogs& ui)
{
    if (!QDir().mkpath(QString::fromStdString(folder))) {
        ui.message("Cannot create directory \r" + folder, Severity::Error);
        return false;
    }
    const std::string path = ThumbnailFile(folder, number);
    if (FileExists(path) &&
        ui.ask(FileNameOf(path) + "\r\nalready exist. Overwrite?", Buttons::OkCancel, Severity::Question) != Answer::Ok)
        return false;
    if (!thumbnail.save(QString::fromStdString(path), "BMP")) {
        ui.message(" Cannot write " + path, Severity::Error);
        return false;
    }
    return true;
}

}  // namespace vk
