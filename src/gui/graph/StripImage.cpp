#include "gui/graph/StripImage.h"

#include <QPainter>

#include "core/store/Parallel.h"

namespace vk {

StripImage::StripImage(const QString& name, Paint base, Paint overlay, QWidget* parent)
        : QWidget(parent), paintBase_(std::move(base)), paintOverlay_(std::move(overlay))
{
    setObjectName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void StripImage::invalidate()
{
    dirty_ = true;
    update();
}

void StripImage::drawBase(QSize size)
{
    if (!dirty_ && cache_.size() == size)
        return;
    // The same image is painted over while its size stays: a new one of a
    // few megabytes at every step cost more in fresh pages than the curve.
    if (cache_.size() != size)
        cache_ = QImage(size, QImage::Format_RGB32);
    QPainter p(&cache_);
    if (paintBase_)
        paintBase_(p, size);
    dirty_ = false;
}

const QImage& StripImage::base()
{
    drawBase(size());
    return cache_;
}

void DrawStaleTogether(const std::vector<StripImage*>& images)
{
    std::vector<std::pair<StripImage*, QSize>> stale;
    for (StripImage* image : images)
        if (image && image->isVisible() && !image->size().isEmpty() && image->stale())
            stale.emplace_back(image, image->size());
    if (stale.empty())
        return;  // (InParallel does one part at least)
    InParallel(static_cast<int>(stale.size()), [&stale](int k) {
        stale[static_cast<std::size_t>(k)].first->drawBase(stale[static_cast<std::size_t>(k)].second);
    });
}

QImage StripImage::picture()
{
    QImage image = base().copy();
    QPainter p(&image);
    if (paintOverlay_)
        paintOverlay_(p, size());
    return image;
}

void StripImage::paintEvent(QPaintEvent*)
{
    if (stale() && drawTogether_)
        drawTogether_();
    QPainter p(this);
    p.drawImage(0, 0, base());
    if (paintOverlay_)
        paintOverlay_(p, size());
}

void StripImage::mousePressEvent(QMouseEvent* event)
{
    Q_EMIT pressed(event);
}

void StripImage::mouseMoveEvent(QMouseEvent* event)
{
    Q_EMIT moved(event);
}

void StripImage::mouseReleaseEvent(QMouseEvent* event)
{
    Q_EMIT released(event);
}

void StripImage::mouseDoubleClickEvent(QMouseEvent* event)
{
    Q_EMIT doubleClicked(event);
}

void StripImage::wheelEvent(QWheelEvent* event)
{
    Q_EMIT wheeled(event);
}

}  // namespace vk
