// The drawn instrument at the sizes of the main dialog (upright) and of the progress dialog
// (on its side).

#include "control/instrument_picture.h"

#include <QtTest>
#include <memory>

#include "control/instrument_geometry.h"
#include "platform/flood_fill.h"

namespace sordanel {

namespace {

const QRgb kBrown = qRgb(150, 60, 18);
const QRgb kDark = qRgb(51, 51, 51);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kMarker = qRgb(0, 255, 0);

std::unique_ptr<CInstrumentPicture> DrawnPicture(bool horizontal, QSize size, float fraction) {
    auto picture = std::make_unique<CInstrumentPicture>(horizontal, 2);
    picture->resize(size);
    picture->PrepareImage();
    picture->DrawInstrument(fraction);
    return picture;
}

QRgb PixelAt(const CInstrumentPicture& picture, float across, float along) {
    return picture.image().pixel(picture.Map(across, along));
}

// Marks everything reachable from the image's corner without crossing black: the outside of
// the instrument, unless an outline has a gap.
QImage MarkOutside(const QImage& drawn) {
    QImage marked = drawn.convertToFormat(QImage::Format_RGB32);
    FloodFill(marked, {0, 0}, kMarker, kBlack, marked.rect());
    return marked;
}

int CountPixels(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixel(x, y) == colour;
        }
    }
    return count;
}

}  // namespace

class InstrumentPictureTest : public QObject {
    Q_OBJECT
private slots:
    void mapsUprightPictureAsPublished() {
        const auto picture = DrawnPicture(false, {105, 289}, 1);
        QCOMPARE(picture->originX(), 52);
        QCOMPARE(picture->originY(), 280);
        QCOMPARE(picture->scaleX(), 25);
        QCOMPARE(picture->scaleY(), -24);
        QCOMPARE(picture->SoundHolePenWidth(), 3);
        QCOMPARE(picture->image().size(), QSize(105, 289));
    }

    void mapsSidewaysPictureAsPublished() {
        const auto picture = DrawnPicture(true, {273, 96}, 1);
        QCOMPARE(picture->originX(), 8);
        QCOMPARE(picture->originY(), 48);
        QCOMPARE(picture->scaleX(), 23);
        QCOMPARE(picture->scaleY(), -22);
        // Turned clockwise: the bottom of the body at the left, the scroll at the right end,
        // the instrument's right side down.
        QCOMPARE(picture->Map(0, 0), QPoint(8, 48));
        QVERIFY(picture->Map(0, 10.8f).x() > 240);
        QVERIFY(picture->Map(2, 0).y() > 48);
    }

    void emptyBodyStillShowsTheFilledParts_data() {
        QTest::addColumn<bool>("horizontal");
        QTest::addColumn<QSize>("size");
        QTest::newRow("upright") << false << QSize(105, 289);
        QTest::newRow("on its side") << true << QSize(273, 96);
    }
    void emptyBodyStillShowsTheFilledParts() {
        QFETCH(bool, horizontal);
        QFETCH(QSize, size);
        const auto picture = DrawnPicture(horizontal, size, 0);
        const QRgb background = picture->image().pixel(1, 1);
        QCOMPARE(PixelAt(*picture, -1.5f, 1.5f), background);  // lower bout
        QCOMPARE(PixelAt(*picture, 1.2f, 5.5f), background);   // upper bout
        QCOMPARE(PixelAt(*picture, 0.15f, 10.5f), kBrown);     // pegbox
        QCOMPARE(PixelAt(*picture, 0, 2), kDark);              // tailpiece
        QCOMPARE(PixelAt(*picture, 0, 5.5f), kDark);           // fingerboard
        QCOMPARE(CountPixels(MarkOutside(picture->image()), kBrown),
                 CountPixels(picture->image(), kBrown));
    }

    void fullBodyIsBrownAndNothingOutsideIs_data() { emptyBodyStillShowsTheFilledParts_data(); }
    void fullBodyIsBrownAndNothingOutsideIs() {
        QFETCH(bool, horizontal);
        QFETCH(QSize, size);
        const auto picture = DrawnPicture(horizontal, size, 1);
        for (const ModelPoint inside :
             {ModelPoint{-1.5f, 1.5f}, ModelPoint{1.5f, 1.5f}, ModelPoint{-1.2f, 5.5f},
              ModelPoint{1.2f, 5.5f}, ModelPoint{0, 3.9f}, ModelPoint{-0.8f, 6.5f},
              ModelPoint{0.9f, 6.5f}}) {
            QCOMPARE(PixelAt(*picture, inside.across, inside.along), kBrown);
        }
        // Every outline is closed: flooding the outside from a corner reaches no fill at all.
        const QImage outside = MarkOutside(picture->image());
        QVERIFY(CountPixels(outside, kMarker) > 0);
        QCOMPARE(CountPixels(outside, kBrown), CountPixels(picture->image(), kBrown));
        QCOMPARE(CountPixels(outside, kDark), CountPixels(picture->image(), kDark));
        QCOMPARE(PixelAt(*picture, -1.9f, 6.5f), picture->image().pixel(1, 1));
    }

    void halfFractionFillsUpToAlong365() {
        const auto picture = DrawnPicture(false, {105, 289}, 0.5f);
        const int clipTop = picture->Map(2.2f, 3.65f).y();
        const int fingerboardEnd = picture->Map(0, 7.5f).y();
        QCOMPARE(PixelAt(*picture, -1.5f, 1.5f), kBrown);
        QCOMPARE(PixelAt(*picture, -1.2f, 5.5f), picture->image().pixel(1, 1));
        bool topRowFilled = false;
        for (int x = 0; x < picture->image().width(); ++x) {
            topRowFilled = topRowFilled || picture->image().pixel(x, clipTop) == kBrown;
            for (int y = fingerboardEnd; y < clipTop; ++y) {
                QVERIFY2(picture->image().pixel(x, y) != kBrown, "brown above along 3.65");
            }
        }
        QVERIFY(topRowFilled);
    }

    void stringsStayVisibleOverTheFills() {
        const auto picture = DrawnPicture(false, {105, 289}, 1);
        for (const ModelLine& string : kStringLines) {
            const QPoint from = picture->Map(string.from.across, string.from.along);
            const QPoint to = picture->Map(string.to.across, string.to.along);
            const QPoint middle = (from + to) / 2;
            bool black = false;
            for (int dx = -1; dx <= 1; ++dx) {
                black = black || picture->image().pixel(middle + QPoint(dx, 0)) == kBlack;
            }
            QVERIFY2(black, "a string is hidden by a fill");
        }
    }

    void redrawingStartsFromTheBackground() {
        const auto picture = DrawnPicture(false, {105, 289}, 1);
        picture->DrawInstrument(0);
        QCOMPARE(PixelAt(*picture, -1.5f, 1.5f), picture->image().pixel(1, 1));
    }
};

}  // namespace sordanel

QTEST_MAIN(sordanel::InstrumentPictureTest)
#include "instrument_picture_test.moc"
