// The up/down step control and its value box: which arrow or key steps which way, and
// repeating while held.

#include "platform/up_down_control.h"

#include "platform/step_value_box.h"

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
    void arrowsStepByOneAndTheBoxesKeysAsTheyDo() {
        UpDownControl control;
        control.resize(17, 23);
        QSignalSpy steps(&control, &UpDownControl::stepped);
        Arrow(control, Qt::UpArrow)->click();
        Arrow(control, Qt::DownArrow)->click();
        QCOMPARE(steps.count(), 2);
        QCOMPARE(steps[0][0].toInt(), 1);
        QCOMPARE(steps[1][0].toInt(), -1);
        QCOMPARE(Arrow(control, Qt::UpArrow)->focusPolicy(), Qt::NoFocus);

        StepValueBox box;
        QSignalSpy keys(&box, &StepValueBox::stepped);
        for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown}) {
            QTest::keyClick(&box, key);
        }
        QTest::keyClick(&box, Qt::Key_A);
        QCOMPARE(keys.count(), 4);
        QCOMPARE(keys[0][0].toInt(), 1);
        QCOMPARE(keys[1][0].toInt(), -1);
        QCOMPARE(keys[2][0].toInt(), 5);
        QCOMPARE(keys[3][0].toInt(), -5);
        QVERIFY(box.isReadOnly());
        QCOMPARE(box.text(), QString());
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
