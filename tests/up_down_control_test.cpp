// The up/down step control: which arrow steps which way, and repeating while held.

#include "up_down_control.h"

#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

namespace sordanel {

namespace {

QToolButton* Arrow(const UpDownControl& control, Qt::ArrowType direction) {
    for (auto* arrow : control.findChildren<QToolButton*>()) {
        if (arrow->arrowType() == direction) {
            return arrow;
        }
    }
    return nullptr;
}

}  // namespace

class UpDownControlTest : public QObject {
    Q_OBJECT
private slots:
    void arrowsStepByOneInTheRangesDirection() {
        UpDownControl control;
        control.resize(17, 23);
        QSignalSpy steps(&control, &UpDownControl::stepped);
        control.SetRange(0, 10);
        Arrow(control, Qt::UpArrow)->click();
        Arrow(control, Qt::DownArrow)->click();
        control.SetRange(10, 0);
        Arrow(control, Qt::UpArrow)->click();
        QCOMPARE(steps.count(), 3);
        QCOMPARE(steps[0][0].toInt(), 1);
        QCOMPARE(steps[1][0].toInt(), -1);
        QCOMPARE(steps[2][0].toInt(), -1);
    }

    void holdingAnArrowRepeatsTheStep() {
        UpDownControl control;
        control.resize(17, 23);
        control.show();
        QVERIFY(QTest::qWaitForWindowExposed(&control));
        QSignalSpy steps(&control, &UpDownControl::stepped);
        QToolButton* up = Arrow(control, Qt::UpArrow);
        QTest::mousePress(up, Qt::LeftButton);
        QTRY_VERIFY(steps.count() >= 3);
        QTest::mouseRelease(up, Qt::LeftButton);
        for (const auto& step : steps) {
            QCOMPARE(step[0].toInt(), 1);
        }
    }

    void arrowsShareTheControlsHeight() {
        UpDownControl control;
        control.resize(17, 23);
        control.show();
        QCOMPARE(Arrow(control, Qt::UpArrow)->geometry(), QRect(0, 0, 17, 11));
        QCOMPARE(Arrow(control, Qt::DownArrow)->geometry(), QRect(0, 11, 17, 12));
    }
};

}  // namespace sordanel

QTEST_MAIN(sordanel::UpDownControlTest)
#include "up_down_control_test.moc"
