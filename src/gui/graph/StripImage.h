#pragma once

// One picture area of the graph window (a strip, a scale, the total window): a
// cached image of what changes rarely, and lines painted over it every time.

#include <QImage>
#include <QWidget>
#include <functional>
#include <vector>

namespace vk {

class StripImage : public QWidget {
    Q_OBJECT

public:
    using Paint = std::function<void(QPainter&, QSize)>;

    // `base` paints every pixel (it begins with the background): its image is
    // painted over, not made anew, while the size stays.
    StripImage(const QString& name, Paint base, Paint overlay, QWidget* parent);

    // The cached part is drawn anew at the next paint.
    void invalidate();
    // The cached part must be drawn anew before it is shown.
    bool stale() const { return dirty_ || cache_.size() != size(); }
    // Draws the cached part at `size` when stale. Safe on another thread while
    // the window's thread waits for it, as long as `base` paints only into its image.
    void drawBase(QSize size);
    // Called when this image is about to be shown stale: the window draws its
    // stale images side by side first (DrawStaleTogether).
    void setDrawTogether(std::function<void()> drawTogether) { drawTogether_ = std::move(drawTogether); }
    // What the screen shows: the cached part with the lines over it.
    QImage picture();

Q_SIGNALS:
    void pressed(QMouseEvent* event);
    void moved(QMouseEvent* event);
    void released(QMouseEvent* event);
    void doubleClicked(QMouseEvent* event);
    void wheeled(QWheelEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    const QImage& base();

    Paint paintBase_;
    Paint paintOverlay_;
    std::function<void()> drawTogether_;
    QImage cache_;
    bool dirty_ = true;
};

// Draws the stale cached parts of the shown `images` (nullptr allowed) side by side, one a core.
void DrawStaleTogether(const std::vector<StripImage*>& images);

}  // namespace vk
