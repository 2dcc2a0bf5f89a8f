#include "control/instrument_picture.h"

#include <QApplication>
#include <QPainter>
#include <cmath>
#include <numbers>

#include "control/instrument_geometry.h"
#include "platform/flood_fill.h"

namespace sordanel {

namespace {

const QRgb kBlack = qRgb(0, 0, 0);

int Trunc(double value) {
    return static_cast<int>(value);
}

QRgb ToRgb(std::uint32_t colour) {
    return qRgb((colour >> 16) & 0xff, (colour >> 8) & 0xff, colour & 0xff);
}

QPen SolidPen(int width) {
    return QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Qt's arc angle (degrees, counterclockwise from three o'clock) of the point where the ray from
// the ellipse's centre towards `towards` meets the ellipse.
double EllipseAngle(const QRectF& box, QPointF towards) {
    const QPointF centre = box.center();
    const double x = (towards.x() - centre.x()) / (box.width() / 2);
    const double y = (centre.y() - towards.y()) / (box.height() / 2);
    return std::atan2(y, x) * 180 / std::numbers::pi;
}

}  // namespace

CInstrumentPicture::CInstrumentPicture(bool horizontal, int outlineWidth, QWidget* parent)
    : QWidget(parent), outlineWidth_(outlineWidth), horizontal_(horizontal) {}

void CInstrumentPicture::PrepareImage() {
    // Drawn with the screen's own pixels, so that the outlines are as sharp as the text.
    pixelRatio_ = devicePixelRatioF();
    imageWidth_ = static_cast<int>(std::lround(width() * pixelRatio_));
    imageHeight_ = static_cast<int>(std::lround(height() * pixelRatio_));
    background_ = QApplication::palette().color(QPalette::Window);
    image_ = QImage(imageWidth_, imageHeight_, QImage::Format_RGB888);
    if (horizontal_) {
        originX_ = Trunc(imageWidth_ * double{0.03f});
        originY_ = imageHeight_ / 2;
        scaleX_ = Trunc(imageWidth_ / double{11.7f});
        scaleY_ = Trunc(-imageHeight_ / double{4.2f});
    } else {
        originX_ = imageWidth_ / 2;
        originY_ = Trunc(imageHeight_ * double{0.97f});
        scaleX_ = Trunc(imageWidth_ / double{4.2f});
        scaleY_ = Trunc(-imageHeight_ / double{11.7f});
    }
}

int CInstrumentPicture::SoundHolePenWidth() const {
    // 0.12 as a single-precision float lies just below 0.12, so a scale of 25 gives 3, not 4.
    return Trunc(scaleX_ * double{0.12f} + 1);
}

QPoint CInstrumentPicture::Map(float across, float along) const {
    if (horizontal_) {
        return {Trunc(static_cast<float>(originX_ + static_cast<double>(scaleX_) * along)),
                Trunc(static_cast<float>(originY_ - static_cast<double>(scaleY_) * across))};
    }
    return {Trunc(static_cast<float>(originX_ + static_cast<double>(scaleX_) * across)),
            Trunc(static_cast<float>(originY_ + static_cast<double>(scaleY_) * along))};
}

QPoint CInstrumentPicture::Map(const ModelPoint& point) const {
    return Map(point.across, point.along);
}

void CInstrumentPicture::DrawArc(QPainter& painter, const ModelArc& arc) const {
    const QRectF box = QRectF(QPointF(Map(arc.corner1)), QPointF(Map(arc.corner2))).normalized();
    if (box.isEmpty()) {
        return;
    }
    const double start = EllipseAngle(box, Map(arc.start));
    double span = EllipseAngle(box, Map(arc.end)) - start;
    if (span <= 0) {
        span += 360;
    }
    painter.drawArc(box, static_cast<int>(std::lround(start * 16)),
                    static_cast<int>(std::lround(span * 16)));
}

void CInstrumentPicture::DrawInstrument(float fraction) {
    if (image_.isNull()) {
        return;
    }
    image_.fill(background_);
    {
        QPainter painter(&image_);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(SolidPen(ScaledPenWidth(outlineWidth_)));
        painter.setBrush(Qt::black);
        for (const ModelArc& arc : kOutlineArcs) {
            DrawArc(painter, arc);
        }
        for (const auto& line : kOutlineLines) {
            painter.drawLine(Map(line.from), Map(line.to));
        }
        for (const ModelPoint& peg : kPegDots) {
            // The half-size is added in single precision before mapping.
            const QPoint corner1 = Map(peg.across - 0.1f, peg.along - 0.1f);
            const QPoint corner2 = Map(peg.across + 0.1f, peg.along + 0.1f);
            painter.drawEllipse(QRect(corner1, corner2).normalized());
        }
        painter.setPen(SolidPen(SoundHolePenWidth()));
        for (const ModelArc& arc : kSoundHoleArcs) {
            DrawArc(painter, arc);
        }
    }
    for (const auto& part : kPartFills) {
        FloodFill(image_, Map(part.seed), ToRgb(part.colour), kBlack, image_.rect());
    }
    FillBody(fraction);
    {
        QPainter painter(&image_);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(SolidPen(ScaledPenWidth(1)));
        for (const auto& line : kStringLines) {
            painter.drawLine(Map(line.from), Map(line.to));
        }
    }
    shown_ = image_;
    shown_.setDevicePixelRatio(pixelRatio_);
    update();
}

int CInstrumentPicture::ScaledPenWidth(int width) const {
    return std::max(1, static_cast<int>(std::lround(width * pixelRatio_)));
}

void CInstrumentPicture::FillBody(float fraction) {
    const auto top = static_cast<float>(fraction * double{7.1f} + double{0.1f});
    const QPoint corner1 = Map(-2.2f, 0.1f);
    const QPoint corner2 = Map(2.2f, top);
    // The clip's right and bottom edges lie just outside it.
    const QRect clip(
        QPoint(std::min(corner1.x(), corner2.x()), std::min(corner1.y(), corner2.y())),
        QPoint(std::max(corner1.x(), corner2.x()) - 1, std::max(corner1.y(), corner2.y()) - 1));
    for (const ModelPoint& seed : kBodySeeds) {
        FloodFill(image_, Map(seed), ToRgb(kProgressFillColour), kBlack, clip);
    }
}

void CInstrumentPicture::paintEvent(QPaintEvent*) {
    if (shown_.isNull()) {
        return;
    }
    QPainter painter(this);
    // Centred, for a control larger than the image it was prepared for.
    const QSizeF size = shown_.deviceIndependentSize();
    painter.drawImage(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2),
                      shown_);
}

}  // namespace sordanel
