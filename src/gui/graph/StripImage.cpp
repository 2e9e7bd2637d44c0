#include "gui/graph/StripImage.h"

#include <QPainter>

namespace vk {

TChanImage::TChanImage(const QString& name, Paint base, Paint overlay, QWidget* parent)
        : QWidget(parent), paintBase_(std::move(base)), paintOverlay_(std::move(overlay))
{
    setObjectName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TChanImage::invalidate()
{
    dirty_ = true;
    update();
}

const QImage& TChanImage::base()
{
    if (dirty_ || cache_.size() != size()) {
        cache_ = QImage(size(), QImage::Format_RGB32);
        QPainter p(&cache_);
        if (paintBase_)
            paintBase_(p, size());
        dirty_ = false;
    }
    return cache_;
}

QImage TChanImage::picture()
{
    QImage image = base().copy();
    QPainter p(&image);
    if (paintOverlay_)
        paintOverlay_(p, size());
    return image;
}

void TChanImage::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, base());
    if (paintOverlay_)
        paintOverlay_(p, size());
}

void TChanImage::mousePressEvent(QMouseEvent* event)
{
    Q_EMIT pressed(event);
}

void TChanImage::mouseMoveEvent(QMouseEvent* event)
{
    Q_EMIT moved(event);
}

void TChanImage::mouseReleaseEvent(QMouseEvent* event)
{
    Q_EMIT released(event);
}

void TChanImage::mouseDoubleClickEvent(QMouseEvent* event)
{
    Q_EMIT doubleClicked(event);
}

void TChanImage::wheelEvent(QWheelEvent* event)
{
    Q_EMIT wheeled(event);
}

}  // namespace vk
