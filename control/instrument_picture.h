#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

class QPainter;

namespace sordanel {

struct ModelArc;
struct ModelPoint;

// The drawn instrument: upright in the main dialog, on its side in the progress dialog, its
// body filled with brown up to a fraction of its length. The picture is drawn into a 24-bit
// image of the control's size in device pixels and shown from it.
class CInstrumentPicture : public QWidget {
    Q_OBJECT
public:
    // horizontal: lying on its side, bottom of the body at the left. outlineWidth: pixels.
    CInstrumentPicture(bool horizontal, int outlineWidth, QWidget* parent = nullptr);

    // Measures the control and creates the image; once, after the control has its size.
    void PrepareImage();
    // Draws the whole picture with the body filled up to `fraction` (0..1) of its length and
    // shows it.
    void DrawInstrument(float fraction);

    const QImage& image() const { return image_; }
    int originX() const { return originX_; }
    int originY() const { return originY_; }
    int scaleX() const { return scaleX_; }
    int scaleY() const { return scaleY_; }
    int SoundHolePenWidth() const;
    // The pixel of model point (across, along).
    QPoint Map(float across, float along) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPoint Map(const ModelPoint& point) const;
    void DrawArc(QPainter& painter, const ModelArc& arc) const;
    void FillBody(float fraction);
    // A pen width in logical pixels, in the image's device pixels.
    int ScaledPenWidth(int width) const;

    int originX_ = 0;
    int originY_ = 0;
    int scaleX_ = 0;
    int scaleY_ = 0;  // negative: model `along` grows upward, pixel rows downward
    int imageWidth_ = 0;
    int imageHeight_ = 0;
    int outlineWidth_;
    qreal pixelRatio_ = 1.0;
    bool horizontal_;
    QColor background_;
    QImage image_;
    QImage shown_;  // the last finished drawing, read by paintEvent
};

}  // namespace sordanel
