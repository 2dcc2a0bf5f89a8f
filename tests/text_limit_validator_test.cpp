// The text box limit that counts characters as the user sees them.

#include "platform/text_limit_validator.h"

#include <QLineEdit>
#include <QtTest>

namespace sordanel {

namespace {

const QString kViolin = QString::fromUtf8("\xF0\x9F\x8E\xBB");  // two UTF-16 units

}  // namespace

class TextLimitValidatorTest : public QObject {
    Q_OBJECT
private slots:
    void countsACharacterOfTwoUnitsOnce() {
        QCOMPARE(CharacterCount(u"abc"), 3);
        QCOMPARE(CharacterCount(kViolin + "a" + kViolin), 3);
        QCOMPARE(CharacterCount(QString()), 0);
    }

    void refusesTypingPastTheLimit() {
        QLineEdit box;
        box.setValidator(new TextLimitValidator(5, &box));
        QTest::keyClicks(&box, "abcdefg");
        QCOMPARE(box.text(), QString("abcde"));
        box.setCursorPosition(2);
        QTest::keyClicks(&box, "x");
        QCOMPARE(box.text(), QString("abcde"));
        QCOMPARE(box.cursorPosition(), 2);
    }

    void keepsTheHeadOfAPasteThatFits() {
        QLineEdit box;
        box.setValidator(new TextLimitValidator(6, &box));
        box.setText("ab");
        box.setCursorPosition(1);
        box.insert("1234567");
        QCOMPARE(box.text(), QString("a1234b"));
        QCOMPARE(box.cursorPosition(), 5);
    }

    void neverCutsACharacterInTwo() {
        QLineEdit box;
        box.setValidator(new TextLimitValidator(3, &box));
        box.insert("a" + kViolin + kViolin + kViolin);
        QCOMPARE(box.text(), "a" + kViolin + kViolin);
        box.clear();
        box.insert("ab");
        box.insert(kViolin);
        QCOMPARE(box.text(), "ab" + kViolin);  // four units, three characters
        box.insert(kViolin);
        QCOMPARE(box.text(), "ab" + kViolin);
    }
};

}  // namespace sordanel

QTEST_MAIN(sordanel::TextLimitValidatorTest)
#include "text_limit_validator_test.moc"
